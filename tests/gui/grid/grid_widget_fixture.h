#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "gui/grid/record_grid_widget.h"
#include "support/qt/application.h"

namespace qv70::test {

// A shown grid shaped as the table pages build theirs (first row and column
// fixed, white outside), with sizes that do not depend on the desktop font:
// columns 80 wide, the title row 30 high, the others 20. An edit field beside
// it would take the focus from a grid that let Tab through.
class GridWidgetTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  void Build(int rows, int cols, QSize size = {400, 200}) {
    RecordGridCtrl& grid = widget->Grid();
    grid.SetColumnCount(cols);
    grid.SetRowCount(rows);
    grid.SetFixedRows(1);
    grid.SetFixedColumns(1);
    for (int c = 0; c < cols; ++c) grid.SetColumnWidth(c, 80);
    for (int r = 0; r < rows; ++r) grid.SetRowHeight(r, r == 0 ? 30 : 20);
    grid.SetOutsideColor(GridColor::FromRgb(0xffffff));
    grid.SetDragDrop(true);
    widget->setGeometry(QRect(QPoint(0, 0), size));
    neighbour.setGeometry(0, size.height(), 100, 20);
    window.resize(size.width(), size.height() + 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    widget->Refresh();
  }
  RecordGridCtrl& Grid() { return widget->Grid(); }
  QWidget* View() { return widget->viewport(); }
  QPoint Center(int row, int col) {
    const GridRect r = Grid().GetCellRect(row, col);
    return {r.left + r.width / 2, r.top + r.height / 2};
  }
  // Mouse events straight to the viewport, the button state as given.
  void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
             Qt::MouseButtons held = Qt::LeftButton) {
    QMouseEvent event(type, pos, View()->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(View(), &event);
  }
  void Drag(QPoint from, QPoint to) {
    Mouse(QEvent::MouseButtonPress, from);
    Mouse(QEvent::MouseMove, to, Qt::NoButton);
    Mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }

  void Renew() { widget = std::make_unique<RecordGridWidget>(&window); }

  QWidget window;
  QLineEdit neighbour{&window};
  std::unique_ptr<RecordGridWidget> widget = std::make_unique<RecordGridWidget>(&window);
};

}  // namespace qv70::test
