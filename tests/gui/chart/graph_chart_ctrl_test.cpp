// The chart window: layer and series, the copy menu while a graph is shown,
// the clipboard and the bitmap snapshot.
#include "gui/chart/graph_chart_ctrl.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <utility>

#include "core/chart/bitmap_file_writer.h"
#include "core/chart/messages.h"
#include "core/platform/scripted_ui_services.h"

namespace qv70 {
namespace {

void EnsureApplication() {
  if (QApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "test_gui_chart";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kButtonFaceRgb = qRgb(240, 240, 240);

class GraphChartTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  void SetUp() override {
    chart.setGeometry(0, 0, 400, 300);
    chart.SetGraphShownSource([this] { return graphShown; });
    ChartCtrl& c = chart.Chart();
    c.BottomAxis().SetRange(0, 4);
    c.LeftAxis().SetRange(0, 4);
    PlotSeries* line = c.AddSeries(kLineSeries);
    line->SetColor(Color::Rgb(255, 0, 0));
    PlotSeries* marks = c.AddSeries(kPointSeries);
    marks->SetColor(Color::Rgb(255, 0, 0));
    // Off the ticks, so no grid line runs under the probes below.
    for (const auto& [x, y] : {std::pair{1.1, 1.1}, {2.1, 2.1}, {3.1, 2.1}}) {
      line->AppendPoint(x, y);
      marks->AppendPoint(x, y);
    }
    chart.Refresh();
  }

  QPoint PixelOf(double x, double y) const {
    const ChartCtrl& c = chart.Chart();
    return {static_cast<int>(c.Axis(AxisSide::Bottom).LaidOutScale().Position(x)),
            static_cast<int>(c.Axis(AxisSide::Left).LaidOutScale().Position(y))};
  }

  static int Count(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
  }

  ScriptedUiServices ui;
  GraphChartCtrl chart{ui};
  bool graphShown = false;
};

TEST_F(GraphChartTest, TheLayerHoldsTheAxesAndThePaintAddsTheSeries) {
  const QImage snapshot = chart.Snapshot();
  ASSERT_EQ(snapshot.size(), QSize(400, 300));
  const Rect plot = chart.Chart().PlotRect();
  const struct {
    const char* name;
    QPoint at;
    QRgb snapshot;
    QRgb layer;
  } probes[] = {
      {"a mark", PixelOf(2.1, 2.1), kRed, kButtonFaceRgb},
      {"the line between marks", PixelOf(2.6, 2.1), kRed, kButtonFaceRgb},
      {"the plot frame", {plot.left + 50, plot.top}, qRgb(0, 0, 0), qRgb(0, 0, 0)},
      {"outside the plot", {2, 2}, kButtonFaceRgb, kButtonFaceRgb},
  };
  for (const auto& p : probes) {
    EXPECT_EQ(snapshot.pixel(p.at), p.snapshot) << p.name;
    EXPECT_EQ(chart.Layer().pixel(p.at), p.layer) << p.name;
  }
  EXPECT_EQ(chart.grab().toImage().convertToFormat(QImage::Format_RGB32), snapshot);
  EXPECT_EQ(Count(chart.Layer(), kRed), 0);

  // A smaller window keeps the layer it has and shows only its own part.
  chart.setGeometry(0, 0, 200, 150);
  chart.Refresh();
  EXPECT_EQ(chart.Layer().size(), QSize(400, 300));
  EXPECT_EQ(chart.Snapshot().size(), QSize(200, 150));
}

TEST_F(GraphChartTest, TheMenuOpensOnlyWhileAGraphIsShownAndCopies) {
  QGuiApplication::clipboard()->clear();
  for (bool shown : {false, true}) {
    graphShown = shown;
    QStringList items;
    QTimer::singleShot(0, [&] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        for (QAction* action : menu->actions()) items << action->text();
        menu->setActiveAction(menu->actions().front());
        QTest::keyClick(menu, Qt::Key_Return);
      }
    });
    chart.Snapshot();
    QTest::mousePress(&chart, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseRelease(&chart, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QApplication::processEvents();
    EXPECT_EQ(items, shown ? QStringList{chart_message::kCopyToClipboardItem} : QStringList{}) << shown;
  }
  const QImage copied = QGuiApplication::clipboard()->image();
  EXPECT_EQ(copied.size(), QSize(400, 300));
  EXPECT_EQ(copied.pixel(PixelOf(2.1, 2.1)), kRed);
  EXPECT_TRUE(ui.messages.empty());
}

// Copy Graph's path: nothing while no graph is shown; a window of no size
// has no picture to place.
TEST_F(GraphChartTest, CopyCommandCopiesOnlyWhileAGraphIsShown) {
  QGuiApplication::clipboard()->setText("before");
  chart.CopyCommand();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");
  graphShown = true;
  chart.setGeometry(0, 0, 0, 0);
  chart.CopyCommand();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Can't set clipboard data!");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Warning);
}

struct RecordingBitmapWriter : BitmapFileWriter {
  bool WriteBitmap(const BitmapView& picture, const std::string& path) override {
    size = {picture.width, picture.height};
    this->path = path;
    const std::uint8_t* pixel = picture.pixels + at.y() * picture.stride + at.x() * 3;
    blueGreenRed = {pixel[0], pixel[1], pixel[2]};
    return true;
  }
  QPoint at;
  QSize size;
  std::string path;
  std::vector<int> blueGreenRed;
};

TEST_F(GraphChartTest, SaveBitmapHandsTheSnapshotToTheWriter) {
  EXPECT_FALSE(chart.SaveBitmap("/tmp/none.bmp"));
  RecordingBitmapWriter writer;
  chart.Snapshot();  // the first picture lays the chart out for good
  writer.at = PixelOf(3.1, 2.1);
  chart.SetBitmapWriter(&writer);
  EXPECT_TRUE(chart.SaveBitmap("DAT/Temp.bmp"));
  EXPECT_EQ(writer.size, QSize(400, 300));
  EXPECT_EQ(writer.path, "DAT/Temp.bmp");
  EXPECT_EQ(writer.blueGreenRed, (std::vector<int>{0, 0, 255}));
}

}  // namespace
}  // namespace qv70
