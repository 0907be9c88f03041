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

}  // namespace qv70
