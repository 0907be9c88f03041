#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "grid_widget_fixture.h"

namespace qv70::test {
namespace {

QString Clipboard() { return QGuiApplication::clipboard()->text(); }

TEST_F(GridWidgetTest, PressTellsTheRecordOfTheRow) {
  const struct {
    const char* name;
    int row, col;
    std::optional<int> record;
  } rows[] = {
      {"row 5", 5, 2, 4}, {"row 1 in the fixed column", 1, 0, 0}, {"title row", 0, 3, -1}, {"outside", -1, -1, {}},
  };
  Build(11, 6, {600, 300});
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::optional<int> told;
    Grid().SetRecordClickHandler([&](int record) { told = record; });
    const QPoint at = row.row < 0 ? QPoint(Grid().GetVirtualWidth() + 10, 10) : Center(row.row, row.col);
    QTest::mousePress(View(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(View(), Qt::LeftButton, {}, at);
    EXPECT_EQ(told, row.record);
  }
}

TEST_F(GridWidgetTest, DraggedBlockCopiesWithCtrlC) {
  Build(11, 6);
  Grid().SetCellText(1, 1, "A");
  Grid().SetCellText(2, 1, "C");
  Grid().SetCellText(2, 2, "D");
  Drag(Center(1, 1), Center(2, 2));
  EXPECT_TRUE(widget->HasMultiCellSelection());
  QTest::keyClick(widget.get(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard(), "A\t \nC\tD");
}

TEST_F(GridWidgetTest, KeysMoveTheFocusAndUseTheClipboard) {
  const struct {
    const char* name;
    CellId start;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    CellId focus;
    CellRange selection;
    const char* cells;  // cells (2,2) and (2,3) afterwards
  } rows[] = {
      {"Down", {2, 2}, Qt::Key_Down, {}, {3, 2}, {3, 2, 3, 2}, "x|y"},
      {"Shift+Down grows the selection", {2, 2}, Qt::Key_Down, Qt::ShiftModifier, {3, 2}, {2, 2, 3, 2}, "x|y"},
      {"Tab at the row end wraps", {2, 5}, Qt::Key_Tab, {}, {3, 1}, {3, 1, 3, 1}, "x|y"},
      {"Shift+Tab at the row start wraps back", {2, 1}, Qt::Key_Backtab, Qt::ShiftModifier, {1, 5}, {1, 5, 1, 5}, "x|y"},
      {"Delete empties the cell", {2, 2}, Qt::Key_Delete, {}, {2, 2}, {2, 2, 2, 2}, "|y"},
      {"Ctrl+X cuts", {2, 2}, Qt::Key_X, Qt::ControlModifier, {2, 2}, {2, 2, 2, 2}, "|y"},
      {"Ctrl+V pastes", {2, 2}, Qt::Key_V, Qt::ControlModifier, {2, 2}, {2, 2, 2, 2}, "p|q"},
  };
  Build(11, 6);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Grid().SetCellText(2, 2, "x");
    Grid().SetCellText(2, 3, "y");
    QGuiApplication::clipboard()->setText("p\tq");
    Grid().SetFocusCell(row.start);
    QTest::keyClick(widget.get(), row.key, row.modifiers);
    EXPECT_EQ(Grid().GetFocusCell(), row.focus);
    EXPECT_EQ(Grid().GetSelectedCellRange(), row.selection);
    EXPECT_EQ(Grid().GetCellText(2, 2) + "|" + Grid().GetCellText(2, 3), row.cells);
    if (row.key == Qt::Key_X) {
      EXPECT_EQ(Clipboard(), "x");
    }
  }
}

TEST_F(GridWidgetTest, WheelScrollsByTheDesktopLines) {
  const int lines = QApplication::wheelScrollLines();
  const struct {
    const char* name;
    std::vector<int> deltas;
    int top;  // scroll bar value afterwards
  } rows[] = {
      {"one notch down", {-120}, lines},
      {"two half notches down", {-60, -60}, lines},
      {"half a notch", {-60}, 0},
      {"up at the top", {120}, 0},
      {"down then up", {-120, 120}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Renew();
    Build(361, 6);
    for (int delta : row.deltas) {
      QWheelEvent event(QPointF(50, 50), View()->mapToGlobal(QPointF(50, 50)), {}, {0, delta}, Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(View(), &event);
    }
    EXPECT_EQ(widget->verticalScrollBar()->value(), row.top);
    EXPECT_EQ(Grid().GetTopleftNonFixedCell().row, 1 + row.top);
  }
}

TEST_F(GridWidgetTest, DraggingABorderTracksThenResizes) {
  const struct {
    const char* name;
    bool column;
    int by;
    int size;  // of column 1 or row 2 afterwards
  } rows[] = {
      {"column wider", true, 30, 110},
      {"column narrower", true, -30, 50},
      {"column pulled past its left edge", true, -200, 0},
      {"row higher", false, 10, 30},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Renew();
    Build(11, 6);
    const GridRect cell = Grid().GetCellRect(row.column ? 0 : 2, row.column ? 1 : 0);
    const QPoint border = row.column ? QPoint(cell.Right(), cell.top + 15) : QPoint(cell.left + 40, cell.Bottom());
    const QPoint to = border + (row.column ? QPoint(row.by, 0) : QPoint(0, row.by));
    Mouse(QEvent::MouseButtonPress, border);
    Mouse(QEvent::MouseMove, to, Qt::NoButton);
    // The tracking line inverts the white cells under it.
    const int line = std::max(row.column ? to.x() : to.y(), row.column ? cell.left : cell.top);
    const QPoint probe = row.column ? QPoint(line, Center(5, 1).y()) : QPoint(Center(1, 3).x(), line);
    if (row.by > 0) {
      EXPECT_EQ(View()->grab().toImage().pixel(probe), qRgb(0, 0, 0));
    }
    Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(row.column ? Grid().GetColumnWidth(1) : Grid().GetRowHeight(2), row.size);
    EXPECT_FALSE(Grid().GetTrackLine());
  }
}

TEST_F(GridWidgetTest, DoubleClickOnABorderFitsTheColumn) {
  Build(11, 6);
  Grid().SetCellText(4, 1, "1234567890.123456789 GOhms");
  const GridRect title = Grid().GetCellRect(0, 1);
  Mouse(QEvent::MouseButtonDblClick, {title.Right(), title.top + 15});
  int widest = 0;
  for (int r = 0; r < Grid().GetRowCount(); ++r) widest = std::max(widest, Grid().GetCellExtent(r, 1).width);
  EXPECT_EQ(Grid().GetColumnWidth(1), widest);
  EXPECT_GT(widest, 80);
}

TEST_F(GridWidgetTest, HoldingThePointerBelowTheViewScrollsTheSelection) {
  Build(361, 6);
  Mouse(QEvent::MouseButtonPress, Center(2, 2));
  const QPoint below(Center(2, 2).x(), View()->height() + 10);
  Mouse(QEvent::MouseMove, below, Qt::NoButton);
  QTest::qWait(200);
  EXPECT_GT(widget->verticalScrollBar()->value(), 0);
  const int scrolled = widget->verticalScrollBar()->value();
  Mouse(QEvent::MouseButtonRelease, below, Qt::LeftButton, Qt::NoButton);
  QTest::qWait(100);
  EXPECT_EQ(widget->verticalScrollBar()->value(), scrolled);
  EXPECT_EQ(Grid().GetSelectedCellRange().minRow, 2);
  EXPECT_GT(Grid().GetSelectedCellRange().maxRow, 2 + (View()->height() - 30) / 20);
}

TEST_F(GridWidgetTest, ScrollBarsAndGridFollowEachOther) {
  Build(361, 6, {500, 300});
  QScrollBar* bar = widget->verticalScrollBar();
  const int sampleRowsInView = (View()->height() - 30) / 20;
  EXPECT_EQ(bar->maximum(), 360 - sampleRowsInView);
  EXPECT_EQ(bar->pageStep(), sampleRowsInView);
  EXPECT_EQ(widget->horizontalScrollBar()->maximum(), Grid().GetScrollBar(GridAxis::Horizontal).max);

  bar->setValue(100);
  EXPECT_EQ(Grid().GetTopleftNonFixedCell().row, 101);
  Grid().SetFocusCell({101, 1});
  QTest::keyClick(widget.get(), Qt::Key_End);
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(Grid().GetFocusCell().row, 360);
}

QWidget* ShownTitleTip() {
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->objectName() == "ZTitleTip" && top->isVisible()) return top;
  return nullptr;
}

TEST_F(GridWidgetTest, TitleTipShowsAClippedTextOverItsCell) {
  const struct {
    const char* name;
    int row, col;
    bool shown;
  } rows[] = {
      {"clipped cell", 2, 2, true},
      {"fitting cell", 2, 3, false},
      {"clipped fixed cell", 0, 2, false},
  };
  Build(11, 6);
  const std::string longText = "1.23456789012345678901234567890";
  for (int col = 1; col < 6; ++col) Grid().SetCellText(0, col, longText);
  Grid().SetCellText(2, 2, longText);
  Grid().SetCellText(2, 3, "1.2");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Mouse(QEvent::MouseMove, Center(row.row, row.col), Qt::NoButton, Qt::NoButton);
    QWidget* tip = ShownTitleTip();
    ASSERT_EQ(tip != nullptr, row.shown);
    if (!tip) continue;
    const GridRect cell = Grid().GetCellRect(row.row, row.col);
    EXPECT_EQ(tip->pos(), View()->mapToGlobal(QPoint(cell.left, cell.top)));
    EXPECT_GT(tip->width(), cell.width);
    EXPECT_EQ(tip->height(), cell.height);
  }
  Mouse(QEvent::MouseMove, Center(2, 2), Qt::NoButton, Qt::NoButton);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(View(), &leave);
  EXPECT_EQ(ShownTitleTip(), nullptr);
}

TEST_F(GridWidgetTest, DroppedTextPastesWhereTheGridTakesIt) {
  const struct {
    const char* name;
    bool dragDrop;
    int row;
    const char* cells;  // (2,2) and (2,3) afterwards
  } rows[] = {
      {"on a scrolled cell", true, 2, "d|e"},
      {"drag and drop off", false, 2, "x|y"},
      {"on the title row", true, 0, "x|y"},
  };
  Build(11, 6);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Grid().SetCellText(2, 2, "x");
    Grid().SetCellText(2, 3, "y");
    Grid().SetDragDrop(row.dragDrop);
    QMimeData data;
    data.setText("d\te");
    const QPoint at = Center(row.row, 2);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(View(), &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(View(), &drop);
    EXPECT_EQ(Grid().GetCellText(2, 2) + "|" + Grid().GetCellText(2, 3), row.cells);
    EXPECT_EQ(drop.isAccepted() && drop.dropAction() == Qt::CopyAction, row.dragDrop && row.row > 0);
  }
}

}  // namespace
}  // namespace qv70::test
