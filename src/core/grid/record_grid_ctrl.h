#pragma once

#include <functional>
#include <utility>

#include "core/grid/grid_ctrl.h"

namespace qv70 {

// The grid of every record and sample table: a click on a cell also asks for
// the step graph of that row's record.
class RecordGridCtrl : public CGridCtrl {
 public:
  // Called after a click on a cell with its row minus 1 (-1 for the title
  // row); the owner makes that the selected record and shows its step graph.
  using RecordClicked = std::function<void(int record)>;

  RecordGridCtrl() : CGridCtrl(0, 0, 0, 0) {}

  void SetRecordClickHandler(RecordClicked handler) { recordClicked_ = std::move(handler); }

  // Outside every cell nothing happens; a grabbed border is a resize, not a
  // click; otherwise the cell becomes the selection start, the grid handles
  // the press, then the handler is told.
  GridPress OnLButtonDown(GridPoint point) override;

 private:
  RecordClicked recordClicked_;
};

}  // namespace qv70
