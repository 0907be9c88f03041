#pragma once

#include <QFrame>

namespace qv70 {

// The place of one table inside a group or set tab: a borderless white panel
// that the table of its group (or set) fills. It knows which group or set it
// stands for and how many rows of data that holds; the table itself is built
// into it by the table pages.
class TablePanel : public QFrame {
  Q_OBJECT

 public:
  enum class Kind { ManualRecords, LoggingSamples };

  TablePanel(Kind kind, int position, QWidget* parent = nullptr);

  Kind kind() const { return kind_; }
  int position() const { return position_; }
  // The group (or set) shown and its record (or sample) count; -1 for none.
  int shownIndex() const { return shownIndex_; }
  int shownCount() const { return shownCount_; }
  void Bind(int index, int count);

 private:
  Kind kind_;
  int position_;
  int shownIndex_ = -1;
  int shownCount_ = 0;
};

}  // namespace qv70
