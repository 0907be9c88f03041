// The QPainter surface draws as the recording says, pixel for pixel, and
// measures through the font adapter.
#include "gui/draw/qt_surface.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <functional>
#include <string>
#include <vector>

#include "gui/draw/qt_font_metrics.h"

namespace qv70 {
namespace {

void EnsureApplication() {
  if (QGuiApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "test_gui_draw";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
  }
}

class QtSurfaceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  QtFontMetrics metrics;
};

// The image as rows of '.' (white) and '#' (anything else).
std::vector<std::string> Picture(const QImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) row += image.pixel(x, y) == qRgb(255, 255, 255) ? '.' : '#';
    rows.push_back(row);
  }
  return rows;
}

QImage Draw(const QtFontMetrics& metrics, QSize size, const std::function<void(QtSurface&)>& draw) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QtSurface surface(&painter, metrics);
  draw(surface);
  return image;
}

TEST_F(QtSurfaceTest, ShapesCoverWhatTheirNumbersSay) {
  const std::vector<unsigned char> pixels = {0, 0, 0, 255, 255, 255};  // one black, one white pixel
  const struct {
    const char* name;
    std::function<void(QtSurface&)> draw;
    std::vector<std::string> picture;
  } cases[] = {
      {"line stops before its last point", [](QtSurface& s) { s.DrawLine({1, 1}, {6, 1}); },
       {"........", ".#####..", "........", "........"}},
      {"upward line", [](QtSurface& s) { s.DrawLine({2, 3}, {2, 0}); },
       {"........", "..#.....", "..#.....", "..#....."}},
      {"dotted line in 3-pixel dashes",
       [](QtSurface& s) {
         s.SelectPen(Pen::Dotted(kBlack));
         s.DrawLine({0, 2}, {8, 2});
       },
       {"........", "........", "###...##", "........"}},
      {"leftward diagonal", [](QtSurface& s) { s.DrawLine({4, 3}, {0, 3}); s.DrawLine({3, 0}, {0, 3}); },
       {"...#....", "..#.....", ".#......", ".####..."}},
      {"one pixel long", [](QtSurface& s) { s.DrawLine({5, 2}, {6, 2}); s.DrawLine({1, 1}, {1, 1}); },
       {"........", "........", ".....#..", "........"}},
      {"rectangle right and bottom outside",
       [](QtSurface& s) {
         s.SelectBrush(Brush::Null());
         s.DrawRectangle({1, 0, 5, 4});
       },
       {".####...", ".#..#...", ".#..#...", ".####..."}},
      {"clip", [](QtSurface& s) {
         s.SetClip(Rect{0, 0, 3, 2});
         s.FillRect({0, 0, 8, 4}, kBlack);
       },
       {"###.....", "###.....", "........", "........"}},
      {"mapping to twice the size",
       [](QtSurface& s) {
         s.SetMapping({{0, 0}, {1, 1}, {0, 0}, {2, 2}});
         s.FillRect({1, 0, 2, 1}, kBlack);
       },
       {"..##....", "..##....", "........", "........"}},
      {"bitmap stretched",
       [&](QtSurface& s) { s.StretchBitmap({0, 1, 4, 3}, {2, 1, pixels.data(), 6}); },
       {"........", "##......", "##......", "........"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Picture(Draw(metrics, {8, 4}, c.draw)), c.picture) << c.name;
}

TEST_F(QtSurfaceTest, FacesAndSizesResolveAsOnTheDesktop) {
  const struct {
    const char* name;
    Font font;
    int unitsPerInch;
    int pixelSize;
  } cases[] = {
      {"8 pt Microsoft Sans Serif on screen", Font::Points("Microsoft Sans Serif", 80), 96, 11},
      {"8 pt Arial on screen", Font::Points("Arial", 80), 96, 11},
      {"10 pt Arial at 600 per inch", Font::Points("Arial", 100), 600, 83},
  };
  for (const auto& c : cases) {
    const QtResolvedFont& resolved = metrics.Resolve(c.font, c.unitsPerInch);
    EXPECT_EQ(resolved.font.pixelSize(), c.pixelSize) << c.name;
    EXPECT_EQ(QFontInfo(resolved.font).family(), "Liberation Sans") << c.name;
    const Size extent = metrics.Extent(c.font, "Resistance[Ohms]", c.unitsPerInch);
    EXPECT_EQ(extent.height, resolved.metrics.height) << c.name;
    EXPECT_EQ(metrics.Extent(c.font, "", c.unitsPerInch), (Size{0, resolved.metrics.height})) << c.name;
  }
  // Liberation Sans has Arial's widths: "0" is 0.556 em.
  EXPECT_EQ(metrics.Extent(Font::Points("Arial", 720), "0000000000", 100).width, 556);
}

TEST_F(QtSurfaceTest, CellFontsFitTheirCellAndTakeTheirCharacterWidth) {
  for (int cell : {12, 20, 37, 100}) {
    const LineMetrics m = metrics.Metrics(Font::Cell("Arial", cell, 0), 96);
    EXPECT_LE(m.height, cell) << cell;
    EXPECT_GE(m.height, cell - 2) << cell;
  }
  const Font natural = Font::Cell("Arial", 40, 0);
  const Font narrow = Font::Cell("Arial", 40, metrics.Metrics(natural, 96).averageWidth / 2);
  EXPECT_EQ(metrics.Metrics(narrow, 96).averageWidth, metrics.Metrics(natural, 96).averageWidth / 2);
  const int wide = metrics.Extent(natural, "Comment text", 96).width;
  EXPECT_NEAR(metrics.Extent(narrow, "Comment text", 96).width, wide / 2.0, wide * 0.05);
}

// Text with its cell's top-left corner at the point, turned about it upwards;
// in the opaque mode the cell is filled with the background colour.
TEST_F(QtSurfaceTest, TextSitsInItsCellAndTurnsUpwards) {
  const Font font = Font::Points("Arial", 80);
  const Size extent = metrics.Extent(font, "Time", 96);
  const auto ink = [&](const Font& f, Point at, QRgb background) {
    const QImage image = Draw(metrics, {60, 60}, [&](QtSurface& s) {
      s.SelectFont(f);
      s.SetBackgroundColor(Color::Rgb(qRed(background), qGreen(background), qBlue(background)));
      s.DrawTextAt(at, "Time");
    });
    QRect box;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    return std::make_pair(box, image);
  };
  const QRect level = ink(font, {10, 20}, qRgb(255, 255, 255)).first;
  EXPECT_TRUE(QRect(10, 20, extent.width, extent.height).contains(level)) << level.x() << "," << level.y();
  const QRect upwards = ink(font.Rotated(900), {10, 50}, qRgb(255, 255, 255)).first;
  EXPECT_TRUE(QRect(10, 50 - extent.width, extent.height, extent.width).contains(upwards));
  const QImage opaque = ink(font, {0, 0}, qRgb(0, 0, 255)).second;
  EXPECT_EQ(opaque.pixel(1, 1), qRgb(0, 0, 255));
  EXPECT_EQ(opaque.pixel(extent.width + 2, 1), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace qv70
