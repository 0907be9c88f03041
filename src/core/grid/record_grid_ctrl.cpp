#include "core/grid/record_grid_ctrl.h"

namespace qv70 {

GridPress RecordGridCtrl::OnLButtonDown(GridPoint point) {
  const CellId cell = GetCellFromPt(point);
  if (!IsValid(cell)) return GridPress::Nothing;
  if (GetBorderAt(point).kind != GridBorderKind::None) return CGridCtrl::OnLButtonDown(point);
  SetSelectionStart(cell);
  const GridPress press = CGridCtrl::OnLButtonDown(point);
  if (recordClicked_) recordClicked_(cell.row - 1);
  return press;
}

}  // namespace qv70
