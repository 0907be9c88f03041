// graph: the step or logging graph of a data file, as numbers, PNG or SVG,
// drawn by the same core and the same surface as the program's windows.

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "commands.h"
#include "core/chart/chart_ctrl.h"
#include "core/chart/chart_description.h"
#include "core/data/program_state.h"
#include "core/draw/measuring_surface.h"
#include "core/draw/number_text.h"
#include "core/draw/recording_surface.h"
#include "core/files/atomic_file.h"
#include "core/files/data_file.h"
#include "core/graphs/graphs.h"
#include "gui/draw/qt_font_metrics.h"
#include "gui/draw/qt_surface.h"
#include "qt_output.h"

namespace qv70::cli {
namespace {

constexpr int kMaxSide = 10000;

struct GraphRequest {
  std::string file;
  int group = -1, record = -1;  // --step
  int set = -1;                 // --logging
  bool report = false;
  bool current = false;
  int width = 640, height = 400;
  char decimalChar = '.';
  enum class Output { Describe, Png, Svg } output = Output::Describe;
  std::string outputPath;
};

bool TakeFlag(Arguments& args, const std::string& name, bool& flag) {
  const auto count = std::count(args.begin(), args.end(), name);
  flag = count > 0;
  args.erase(std::remove(args.begin(), args.end(), name), args.end());
  return count <= 1;
}

// "--name value" with any value; false when the value is missing or the option is given twice.
bool TakeValue(Arguments& args, const std::string& name, std::string& value, bool& given) {
  given = false;
  auto it = std::find(args.begin(), args.end(), name);
  if (it == args.end()) return true;
  if (it + 1 == args.end()) return false;
  value = *(it + 1);
  given = true;
  args.erase(it, it + 2);
  return std::find(args.begin(), args.end(), name) == args.end();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool ParseSide(const std::string& text, int& side) {
  if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), IsDigit)) return false;
  side = std::stoi(text);
  return side >= 1 && side <= kMaxSide;
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const auto x = text.find('x');
  return x != std::string::npos && ParseSide(text.substr(0, x), width) &&
         ParseSide(text.substr(x + 1), height);
}

// The words of the command as a request; false for a usage error.
bool ParseRequest(Arguments args, GraphRequest& request) {
  std::string step, logging, size, decimal = "period";
  bool hasStep = false, hasLogging = false, hasSize = false, describe = false, hasPng = false, hasSvg = false;
  std::string png, svg;
  if (!TakeValue(args, "--step", step, hasStep) || !TakeValue(args, "--logging", logging, hasLogging) ||
      !TakeValue(args, "--size", size, hasSize) || !TakeValue(args, "--png", png, hasPng) ||
      !TakeValue(args, "--svg", svg, hasSvg) ||
      !TakeOption(args, "--decimal", {"period", "comma"}, decimal) ||
      !TakeFlag(args, "--report", request.report) || !TakeFlag(args, "--current", request.current) ||
      !TakeFlag(args, "--describe", describe))
    return false;
  if (args.size() != 1 || args[0].rfind("--", 0) == 0) return false;
  request.file = args[0];
  if (hasStep == hasLogging || int(describe) + int(hasPng) + int(hasSvg) != 1) return false;
  if (request.current && !request.report) return false;
  if (hasStep) {
    if (step.size() != 2 || GroupIndex(step[0]) < 0 || !IsDigit(step[1])) return false;
    request.group = GroupIndex(step[0]);
    request.record = step[1] - '0';
  }
  if (hasLogging) {
    if (logging.size() != 1 || !IsDigit(logging[0])) return false;
    request.set = logging[0] - '0';
  }
  if (hasSize && !ParseSize(size, request.width, request.height)) return false;
  request.decimalChar = decimal == "comma" ? ',' : '.';
  request.output = describe ? GraphRequest::Output::Describe
                   : hasPng ? GraphRequest::Output::Png
                            : GraphRequest::Output::Svg;
  request.outputPath = hasPng ? png : svg;
  return true;
}

// The chart's window without a window: every refresh lays the chart out for
// the client size, measured as the window measures.
class LayoutHost : public ChartHost {
 public:
  LayoutHost(const QtFontMetrics& metrics, Rect client) : metrics_(metrics), client_(client) {}
  void RefreshChart(ChartCtrl& chart) override {
    MeasuringSurface layer(metrics_, kScreenPixelsPerInch);
    chart.Refresh(layer, client_);
  }
  void DrawAppended(PlotSeries&) override {}

 private:
  const QtFontMetrics& metrics_;
  Rect client_;
};

// The graph builder the request names; its divisor (1 for the screen graphs).
double Build(const GraphRequest& request, ChartCtrl& chart, const RecordTables& tables) {
  if (request.set >= 0) {
    if (!request.report) {
      ShowLoggingGraph(chart, tables, request.set);
      return 1;
    }
    return request.current ? PrepareLoggingCurrentChart(chart, tables, request.set)
                           : PrepareLoggingResistanceChart(chart, tables, request.set);
  }
  if (!request.report) {
    ShowStepGraph(chart, tables, request.group, request.record);
    return 1;
  }
  return request.current ? PrepareStepCurrentChart(chart, tables, request.group, request.record)
                         : PrepareStepResistanceChart(chart, tables, request.group, request.record);
}

// The first paint of the window: laid out once more, then layer and series.
void Paint(ChartCtrl& chart, QPainter& painter, const QtFontMetrics& metrics, Rect client) {
  QtSurface surface(&painter, metrics);
  chart.Refresh(surface, client);
  chart.DrawSeries(surface);
}

QByteArray PngOf(ChartCtrl& chart, const QtFontMetrics& metrics, Rect client) {
  QImage image(client.Width(), client.Height(), QImage::Format_RGB32);
  if (image.isNull()) return {};
  QPainter painter(&image);
  Paint(chart, painter, metrics, client);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  return image.save(&buffer, "PNG") ? bytes : QByteArray();
}

QByteArray SvgOf(ChartCtrl& chart, const QtFontMetrics& metrics, Rect client) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(client.Width(), client.Height()));
  generator.setViewBox(QRect(0, 0, client.Width(), client.Height()));
  generator.setResolution(kScreenPixelsPerInch.height);
  QPainter painter;
  if (!painter.begin(&generator)) return {};
  Paint(chart, painter, metrics, client);
  painter.end();
  return bytes;
}

int Draw(const GraphRequest& request, const RecordTables& tables) {
  const auto application = OffscreenApplication();

  const QtFontMetrics metrics;
  const Rect client{0, 0, request.width, request.height};
  LayoutHost host(metrics, client);
  ChartCtrl chart;
  chart.SetHost(&host);
  chart.SetDecimalChar(request.decimalChar);
  if (request.report) chart.SetBackgroundColor(kWhite);
  chart.Refresh();
  const double divisor = Build(request, chart, tables);

  switch (request.output) {
    case GraphRequest::Output::Describe: {
      RecordingSurface layer(metrics, kScreenPixelsPerInch);
      chart.Refresh(layer, client);
      std::string text = request.report ? "divisor\t" + ExactText(divisor) + "\n" : std::string();
      text += DescribeChart(chart);
      std::fwrite(text.data(), 1, text.size(), stdout);
      return kExitOk;
    }
    case GraphRequest::Output::Png: return WriteOutput(request.outputPath, PngOf(chart, metrics, client), "graph");
    case GraphRequest::Output::Svg: return WriteOutput(request.outputPath, SvgOf(chart, metrics, client), "graph");
  }
  return kExitOk;
}

std::string RecordName(int group, int record) { return std::string{GroupLetter(group), char('0' + record)}; }

}  // namespace

int RunGraph(Arguments args) {
  GraphRequest request;
  if (!ParseRequest(std::move(args), request)) return kExitUsage;
  ProgramState state;
  if (Result opened = ReadDataFile(request.file, state.tables); !opened) return Refuse(opened.message);
  if (request.set >= 0 && !HasLoggingGraph(state.tables, request.set))
    return Refuse("Logging set " + SetDataName(request.set) + " has no samples.");
  if (request.set < 0 && !HasStepGraph(state.tables, request.group, request.record))
    return Refuse("Record " + RecordName(request.group, request.record) + " is not a Step Voltage Test.");
  return Draw(request, state.tables);
}

}  // namespace qv70::cli
