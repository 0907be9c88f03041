#pragma once

#include <QFrame>
#include <QPointer>

namespace qv70 {

// One of the ten table slots of a group or set tab control, one per tab
// position: a borderless white panel inside the tab control. It knows which
// group (or set) it stands for and how many rows of data that holds; the grid
// that lists them is put into it with SetGrid and fills it.
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

  // The grid of this slot, kept at the slot's full size; the slot owns it and
  // a new one replaces (and deletes) the old. Null until one is set.
  void SetGrid(QWidget* grid);
  QWidget* Grid() const { return grid_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  Kind kind_;
  int position_;
  int shownIndex_ = -1;
  int shownCount_ = 0;
  QPointer<QWidget> grid_;
};

}  // namespace qv70
