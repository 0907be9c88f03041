#include "gui/grid/record_grid_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtMath>
#include <algorithm>
#include <optional>
#include <string>

#include "gui/grid/grid_painter.h"
#include "gui/grid/title_tip.h"

namespace qv70 {

namespace {

constexpr int kSelectionTimerMs = 25;
constexpr int kWheelNotch = 120;  // angle delta of one wheel notch

GridPoint ToGridPoint(const QPointF& pos) { return {qFloor(pos.x()), qFloor(pos.y())}; }

std::optional<GridKey> ToGridKey(int key) {
  switch (key) {
    case Qt::Key_Left: return GridKey::Left;
    case Qt::Key_Right: return GridKey::Right;
    case Qt::Key_Up: return GridKey::Up;
    case Qt::Key_Down: return GridKey::Down;
    case Qt::Key_PageUp: return GridKey::PageUp;
    case Qt::Key_PageDown: return GridKey::PageDown;
    case Qt::Key_Home: return GridKey::Home;
    case Qt::Key_End: return GridKey::End;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return GridKey::Tab;
    case Qt::Key_Delete: return GridKey::Delete;
    case Qt::Key_A: return GridKey::A;
    case Qt::Key_C: return GridKey::C;
    case Qt::Key_X: return GridKey::X;
    case Qt::Key_V: return GridKey::V;
    default: return std::nullopt;
  }
}

// Shift+Tab arrives as Backtab, with or without the Shift flag.
unsigned ToGridModifiers(Qt::KeyboardModifiers modifiers, int key) {
  unsigned result = 0;
  if ((modifiers & Qt::ShiftModifier) || key == Qt::Key_Backtab) result |= grid_modifier::kShift;
  if (modifiers & Qt::ControlModifier) result |= grid_modifier::kControl;
  return result;
}

bool IsTabKey(const QKeyEvent& event) {
  return (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab) &&
         !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

void ApplyScrollBar(QScrollBar* bar, const GridScrollBar& state) {
  bar->setRange(0, state.max);
  bar->setPageStep(std::max(1, state.page));
  bar->setSingleStep(1);
  bar->setValue(state.value);
}

void PutOnClipboard(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace

RecordGridWidget::RecordGridWidget(QWidget* parent)
    : QAbstractScrollArea(parent), fonts_(DefaultGridFont()) {
  grid_.Create(fonts_);
  grid_.SetWheelScrollLines(QApplication::wheelScrollLines());
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  viewport()->setAcceptDrops(true);
  // Every paint covers the whole viewport: cells, then the outside area.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  selectionTimer_.setInterval(kSelectionTimerMs);
  connect(&selectionTimer_, &QTimer::timeout, this, &RecordGridWidget::OnSelectionTimer);
  titleTip_ = new TitleTip(this);
}

RecordGridWidget::~RecordGridWidget() = default;

void RecordGridWidget::Refresh() {
  HideTitleTip();
  SyncScrollBars();
  viewport()->update();
}

bool RecordGridWidget::HasMultiCellSelection() const {
  const CellRange selection = grid_.GetSelectedCellRange();
  return selection.RowSpan() > 1 || selection.ColSpan() > 1;
}

void RecordGridWidget::CopySelection() {
  if (grid_.GetSelectedCellRange().IsEmpty()) return;
  PutOnClipboard(grid_.CopyText());
}

// ---- Painting and scrolling

void RecordGridWidget::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  PaintGrid(painter, grid_, fonts_, palette());
  if (const std::optional<GridTrackLine> line = grid_.GetTrackLine())
    PaintTrackLine(painter, *line, viewport()->size());
}

void RecordGridWidget::resizeEvent(QResizeEvent*) {
  HideTitleTip();
  SyncScrollBars();
}

// A scroll bar that appears or goes resizes the viewport, which changes what
// the bars should show; a few passes settle it.
void RecordGridWidget::SyncScrollBars() {
  if (syncing_) {
    resyncWanted_ = true;
    return;
  }
  const QScopedValueRollback<bool> guard(syncing_, true);
  for (int pass = 0; pass < 3; ++pass) {
    resyncWanted_ = false;
    grid_.SetViewportSize(viewport()->width(), viewport()->height());
    ApplyScrollBar(horizontalScrollBar(), grid_.GetScrollBar(GridAxis::Horizontal));
    ApplyScrollBar(verticalScrollBar(), grid_.GetScrollBar(GridAxis::Vertical));
    if (!resyncWanted_) break;
  }
}

void RecordGridWidget::scrollContentsBy(int, int) {
  if (syncing_) return;  // the grid moved first and the bars follow it
  grid_.SetScrollPos(GridAxis::Horizontal, horizontalScrollBar()->value());
  grid_.SetScrollPos(GridAxis::Vertical, verticalScrollBar()->value());
  HideTitleTip();
  viewport()->update();
}

bool RecordGridWidget::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Leave) HideTitleTip();
  return QAbstractScrollArea::viewportEvent(event);
}

void RecordGridWidget::hideEvent(QHideEvent* event) {
  HideTitleTip();
  selectionTimer_.stop();
  QAbstractScrollArea::hideEvent(event);
}

// ---- Mouse

void RecordGridWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  HideTitleTip();
  pressPos_ = lastPos_ = event->position().toPoint();
  const GridPress press = grid_.OnLButtonDown(ToGridPoint(event->position()));
  if (press != GridPress::Nothing) setFocus(Qt::MouseFocusReason);
  dragPending_ = press == GridPress::PendingDrag;
  if (grid_.IsSelecting()) selectionTimer_.start();
  viewport()->update();
}

void RecordGridWidget::mouseMoveEvent(QMouseEvent* event) {
  lastPos_ = event->position().toPoint();
  if (!(event->buttons() & Qt::LeftButton)) {
    Hover(lastPos_);
    return;
  }
  if (dragPending_) {
    if ((lastPos_ - pressPos_).manhattanLength() >= QApplication::startDragDistance()) StartDrag();
    return;
  }
  grid_.OnMouseMove(ToGridPoint(event->position()));
  if (grid_.IsSelecting() || grid_.GetTrackLine()) viewport()->update();
}

void RecordGridWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mouseReleaseEvent(event);
    return;
  }
  selectionTimer_.stop();
  dragPending_ = false;
  const bool resizing = grid_.GetTrackLine().has_value();
  grid_.OnLButtonUp(ToGridPoint(event->position()));
  if (resizing) SyncScrollBars();
  viewport()->update();
}

void RecordGridWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && grid_.OnLButtonDblClk(ToGridPoint(event->position()))) {
    SyncScrollBars();
    viewport()->update();
    return;
  }
  // Off a border the second click of a double-click is a click like the first.
  mousePressEvent(event);
}

void RecordGridWidget::OnSelectionTimer() {
  if (!grid_.IsSelecting()) {
    selectionTimer_.stop();
    return;
  }
  grid_.OnSelectionTimer(ToGridPoint(lastPos_));
  SyncScrollBars();
  viewport()->update();
}

void RecordGridWidget::StartDrag() {
  dragPending_ = false;
  const std::string text = grid_.BeginDrag();
  if (text.empty()) return;
  auto* data = new QMimeData;
  data->setText(QString::fromStdString(text));
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  drag->exec(Qt::CopyAction);
  viewport()->update();
}

void RecordGridWidget::Hover(const QPoint& pos) {
  const GridPoint point{pos.x(), pos.y()};
  const GridBorder border = grid_.GetBorderAt(point);
  if (border.kind == GridBorderKind::Column) viewport()->setCursor(Qt::SplitHCursor);
  else if (border.kind == GridBorderKind::Row) viewport()->setCursor(Qt::SplitVCursor);
  else viewport()->unsetCursor();

  const std::optional<GridTitleTip> tip =
      border.kind == GridBorderKind::None ? grid_.GetTitleTipAt(point) : std::nullopt;
  if (!tip) {
    HideTitleTip();
    return;
  }
  if (titleTip_->isVisible() && tip->cell == tipCell_) return;
  tipCell_ = tip->cell;
  const TitleTip::Look look{fonts_.Font(false), ToQColor(grid_.CellTextColor(tip->cell.row, tip->cell.col), palette()),
                            ToQColor(grid_.CellBackColor(tip->cell.row, tip->cell.col), palette()),
                            grid_.GetMargin()};
  const QPoint topLeft = viewport()->mapToGlobal(QPoint(tip->rect.left, tip->rect.top));
  titleTip_->ShowOver(QRect(topLeft, QSize(tip->rect.width, tip->rect.height)),
                      QString::fromStdString(tip->text), look);
}

void RecordGridWidget::HideTitleTip() {
  tipCell_ = {};
  if (titleTip_ && titleTip_->isVisible()) titleTip_->hide();
}

void RecordGridWidget::wheelEvent(QWheelEvent* event) {
  grid_.SetWheelScrollLines(QApplication::wheelScrollLines());
  // Fine-grained wheels send parts of a notch; they add up to whole ones.
  wheelRemainder_ += event->angleDelta().y();
  const int notches = wheelRemainder_ / kWheelNotch;
  wheelRemainder_ -= notches * kWheelNotch;
  event->accept();
  if (notches == 0) return;
  HideTitleTip();
  grid_.OnMouseWheel(notches);
  SyncScrollBars();
  viewport()->update();
}

// ---- Keyboard

bool RecordGridWidget::event(QEvent* event) {
  // Tab moves between cells while there is a focus cell, not to the next widget.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (IsTabKey(*key) && grid_.GetFocusCell().IsSet()) {
      keyPressEvent(key);
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void RecordGridWidget::keyPressEvent(QKeyEvent* event) {
  const std::optional<GridKey> key = ToGridKey(event->key());
  if (!key) {
    event->ignore();
    return;
  }
  HideTitleTip();
  switch (grid_.OnKeyDown(*key, ToGridModifiers(event->modifiers(), event->key()))) {
    case GridKeyResult::Ignored:
      event->ignore();
      return;
    case GridKeyResult::Copy:
      CopySelection();
      event->accept();
      return;
    case GridKeyResult::Cut:
      if (!grid_.GetSelectedCellRange().IsEmpty()) PutOnClipboard(grid_.CutText());
      break;
    case GridKeyResult::Paste:
      grid_.PasteText(QGuiApplication::clipboard()->text().toStdString());
      break;
    case GridKeyResult::Handled:
      break;
  }
  const CellId focus = grid_.GetFocusCell();
  if (focus.IsSet()) grid_.EnsureVisible(focus.row, focus.col);
  SyncScrollBars();
  viewport()->update();
  event->accept();
}

// ---- Drop target

bool RecordGridWidget::AcceptsDrop(const QDropEvent& event) const {
  return event.mimeData()->hasText() && grid_.CanDropAt(grid_.GetCellFromPt(ToGridPoint(event.position())));
}

void RecordGridWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (!grid_.IsDragDropEnabled() || !event->mimeData()->hasText()) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void RecordGridWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (!AcceptsDrop(*event)) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

// A drop copies: a source offering a move must not lose its text to us.
void RecordGridWidget::dropEvent(QDropEvent* event) {
  if (!AcceptsDrop(*event)) {
    event->ignore();
    return;
  }
  grid_.DropText(grid_.GetCellFromPt(ToGridPoint(event->position())), event->mimeData()->text().toStdString());
  event->setDropAction(Qt::CopyAction);
  event->accept();
  viewport()->update();
}

}  // namespace qv70
