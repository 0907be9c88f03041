#include <QFontMetrics>
#include <QImage>
#include <QPalette>
#include <string>
#include <vector>

#include "grid_widget_fixture.h"
#include "gui/grid/grid_painter.h"

namespace qv70::test {
namespace {

TEST_F(GridWidgetTest, PaintsCellsLinesAndOutside) {
  Build(4, 3);
  Grid().SetCellText(1, 1, "Resistance 1234567890123456789");
  Grid().SetFocusCell({2, 2});
  widget->Refresh();
  const QImage image = View()->grab().toImage();
  const QPalette& palette = widget->palette();
  const GridRect fixed = Grid().GetCellRect(0, 2);
  const GridRect selected = Grid().GetCellRect(2, 2);
  const GridRect plain = Grid().GetCellRect(3, 1);
  const struct {
    const char* name;
    QPoint at;
    QColor expected;
  } probes[] = {
      {"fixed cell face", {fixed.left + 40, fixed.top + 15}, palette.color(QPalette::Button)},
      {"fixed cell raised top edge", {fixed.left + 40, fixed.top}, palette.color(QPalette::Light)},
      {"fixed cell raised right edge", {fixed.Right() - 1, fixed.top + 15}, palette.color(QPalette::Dark)},
      {"selected cell", {selected.left + 40, selected.top + 10}, palette.color(QPalette::Highlight)},
      {"plain cell", {plain.left + 40, plain.top + 10}, palette.color(QPalette::Base)},
      {"grid line at the right edge", {plain.Right() - 1, plain.top + 10}, Qt::black},
      {"grid line at the bottom edge", {plain.left + 40, plain.Bottom() - 1}, Qt::black},
      {"outside right of the last column", {Grid().GetVirtualWidth() + 5, 5}, Qt::white},
      {"outside below the last row", {5, Grid().GetVirtualHeight() + 5}, Qt::white},
  };
  for (const auto& probe : probes) EXPECT_EQ(image.pixel(probe.at), probe.expected.rgb()) << probe.name;

  // The long text is drawn, and ends before the grid line instead of running on.
  const GridRect text = Grid().GetCellRect(1, 1);
  const QRgb base = palette.color(QPalette::Base).rgb();
  int inked = 0;
  for (int x = text.left; x < text.Right() - 1; ++x)
    for (int y = text.top; y < text.Bottom() - 1; ++y) inked += image.pixel(x, y) != base;
  EXPECT_GT(inked, 10);
  for (int y = text.top; y < text.Bottom() - 1; ++y) EXPECT_EQ(image.pixel(text.Right(), y), base) << "row " << y;
}

TEST(CellTextLines, EachLineThatDoesNotFitEndsInAnEllipsis) {
  EnsureApplication();
  const QFontMetrics metrics(DefaultGridFont());
  const int unitWidth = metrics.horizontalAdvance(" [kV] ");
  const QString kElided = QStringLiteral("*");  // a prefix of the line, then the ellipsis
  const struct {
    const char* name;
    const char* text;
    unsigned format;
    std::vector<QString> expected;
  } rows[] = {
      {"short text", " [kV]", 0, {" [kV]"}},
      {"long value", "1.23456789012345 GOhms", 0, {kElided}},
      {"two-line title", " Output Voltage \n [kV]", 0, {kElided, " [kV]"}},
      {"two long lines", " Output Voltage \n Resistance", 0, {kElided, kElided}},
      {"single line joins lines", "kV\nV", grid_format::kSingleLine, {"kV V"}},
      {"empty text", "", 0, {""}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const QStringList source = QString(row.text).split('\n');
    const QStringList lines = CellTextLines(row.text, row.format, metrics, unitWidth);
    ASSERT_EQ(static_cast<std::size_t>(lines.size()), row.expected.size());
    for (int i = 0; i < lines.size(); ++i) {
      EXPECT_LE(metrics.horizontalAdvance(lines[i]), unitWidth);
      if (row.expected[i] != kElided) {
        EXPECT_EQ(lines[i], row.expected[i]);
        continue;
      }
      EXPECT_TRUE(lines[i].endsWith(QChar(0x2026))) << lines[i].toStdString();
      EXPECT_TRUE(source[i].startsWith(lines[i].chopped(1))) << lines[i].toStdString();
    }
  }
}

}  // namespace
}  // namespace qv70::test
