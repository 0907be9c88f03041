#include "gui/pages/table_panels.h"

namespace qv70 {

TablePanel::TablePanel(Kind kind, int position, QWidget* parent)
    : QFrame(parent), kind_(kind), position_(position) {
  setObjectName(QString(kind == Kind::ManualRecords ? "RecordTablePanel%1" : "SampleTablePanel%1")
                    .arg(position));
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
}

void TablePanel::Bind(int index, int count) {
  shownIndex_ = index;
  shownCount_ = count;
}

void TablePanel::SetGrid(QWidget* grid) {
  if (grid == grid_) return;
  delete grid_;
  grid_ = grid;
  if (!grid_) return;
  grid_->setParent(this);
  grid_->setGeometry(contentsRect());
  grid_->show();
}

void TablePanel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  if (grid_) grid_->setGeometry(contentsRect());
}

}  // namespace qv70
