// The sample report (a page of every kind and a logo) as the program makes
// it, text measured with its Qt font metrics: written as RTF to OUT.rtf, and
// each RTF page also drawn by the Qt surface into PREFIX-<n>.png (twice the
// page's size), to be laid beside another program's rendering of the file.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <string>

#include "core/chart/chart_ctrl.h"
#include "core/report/report_sample.h"
#include "core/report/rtf_export.h"
#include "gui/draw/qt_font_metrics.h"
#include "gui/draw/qt_surface.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: rtf_pages_qt OUT.rtf PNG-PREFIX\n");
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  using namespace qv70;
  const QtFontMetrics metrics;
  const auto tables = test::SampleReportTables();
  const ReportSettings settings = test::SampleReportSettings();
  const PictureImage logo = test::SampleLogo();
  ChartCtrl chart;
  const Result saved = SaveReportRtf(argv[1], settings, *tables, chart, logo, metrics);
  if (!saved) {
    std::fprintf(stderr, "%s\n", saved.message.c_str());
    return 1;
  }
  const RtfLogo rtfLogo = MakeRtfLogo(logo);
  const int pages = PageCount(settings, *tables);
  for (int index = 1; index <= pages; ++index) {
    constexpr int kScale = 2;
    QImage image(kRtfPageSize.width * kScale, kRtfPageSize.height * kScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.scale(kScale, kScale);
      QtSurface surface(&painter, metrics);
      DrawRtfPage(surface, BuildPage(index, settings, *tables, chart, PageTexts::Rtf), settings, rtfLogo,
                  chart);
    }
    const std::string png = std::string(argv[2]) + "-" + std::to_string(index) + ".png";
    if (!image.save(QString::fromStdString(png))) {
      std::fprintf(stderr, "cannot write %s\n", png.c_str());
      return 1;
    }
  }
  std::printf("%d\n", pages);
  return 0;
}
