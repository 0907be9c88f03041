#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <QTimer>

#include "core/grid/record_grid_ctrl.h"
#include "gui/grid/qt_grid_text_measure.h"

namespace qv70 {

class TitleTip;

// The window of one table: paints its RecordGridCtrl and hands it the
// operator's mouse, wheel and keys. The owner changes the grid directly
// (counts, texts, sizes, colours) and then calls Refresh; the widget keeps no
// state of the grid's own.
//
// In-place editing of a cell is left out: cells change by paste, cut, Delete and drops.
class RecordGridWidget : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit RecordGridWidget(QWidget* parent = nullptr);
  ~RecordGridWidget() override;

  RecordGridCtrl& Grid() { return grid_; }
  const RecordGridCtrl& Grid() const { return grid_; }
  const QtGridTextMeasure& Fonts() const { return fonts_; }

  // After the grid was changed: the scroll bars follow it and the view repaints.
  void Refresh();

  // Whether more than one cell is selected, for the main window's Ctrl+C.
  bool HasMultiCellSelection() const;
  // The selected cells' copy text onto the clipboard; nothing without a selection.
  void CopySelection();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool viewportEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void SyncScrollBars();
  void OnSelectionTimer();
  void StartDrag();
  // Cursor shape over borders and the title tip, while no button is held.
  void Hover(const QPoint& pos);
  void HideTitleTip();
  bool AcceptsDrop(const QDropEvent& event) const;

  QtGridTextMeasure fonts_;  // before grid_, which keeps a pointer to it
  RecordGridCtrl grid_;
  QTimer selectionTimer_;
  TitleTip* titleTip_ = nullptr;
  CellId tipCell_;
  QPoint pressPos_;
  QPoint lastPos_;
  bool dragPending_ = false;
  bool syncing_ = false;
  bool resyncWanted_ = false;
  int wheelRemainder_ = 0;
};

}  // namespace qv70
