#include "core/report/rtf_export.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/chart/chart_ctrl.h"
#include "core/data/values.h"
#include "core/draw/surface.h"
#include "core/picture/picture_image.h"
#include "core/platform/environment.h"
#include "core/platform/ui_services.h"
#include "core/report/messages.h"
#include "core/wmf/wmf_surface.h"

namespace qv70 {
namespace {

const Font kTextFont = Font::Points("Arial", 115);
const Font kCommentFont = Font::Points("Arial", 95);
const Pen kThickPen = Pen::Solid(2, kBlack);
const Pen kThinPen = Pen::Solid(1, kBlack);

constexpr Rect kLogoBox{28, 28, 28 + 165, 28 + 140};
constexpr Rect kCompanyRect{25, 25, 200, 175};
constexpr Rect kGraphRect{30, 560, 650, 800};
constexpr Rect kPageNumberRect{25, 830, 655, 848};
constexpr Rect kFootRect{25, 848, 655, 880};
constexpr const char* kFootText = "ZAVEL Corporation";
constexpr int kRowHeight = 18;

struct Line {
  Point from;
  Point to;
};

// The ruled frame below the outer box, in the thin pen.
constexpr Line kFrameLines[] = {
    {{25, 200}, {655, 200}},  {{200, 25}, {200, 200}}, {{200, 50}, {655, 50}}, {{200, 75}, {655, 75}},
    {{200, 175}, {655, 175}}, {{285, 25}, {285, 200}}, {{375, 50}, {375, 75}}, {{430, 50}, {430, 75}},
};

// A label of the header block and the page text beside it (null: none).
struct HeaderItem {
  const char* label;
  Rect labelRect;
  const char* text;
  Rect textRect;
};

constexpr HeaderItem kHeaderItems[] = {
    {"Data Name", {205, 25, 285, 50}, "data-name", {290, 25, 655, 50}},
    {"Date", {205, 50, 275, 75}, "date", {290, 50, 375, 75}},
    {"Author", {380, 50, 425, 75}, "author", {440, 50, 655, 75}},
    {"Comment", {205, 75, 275, 100}, "comment", {290, 75, 655, 198}},
    {"QV70 S/N", {205, 175, 275, 200}, "serial", {290, 175, 655, 200}},
};
constexpr Rect kTitleRect{25, 175, 200, 200};
constexpr Rect kLoggingAuthorRect{436, 50, 655, 75};

std::size_t KindIndex(PageKind kind) { return static_cast<std::size_t>(kind); }

// A body row: its label and text per kind (logging, Normal, TC, Step), label
// in (50, y, 175, y + 18), text from x 180. Null: the kind has no such row.
struct BodyRow {
  int y;
  const char* labels[4];
  const char* texts[4];
  bool stepTextWide;  // on Step pages the text runs to 655, else to 340
};

constexpr BodyRow kBodyRows[] = {
    {236,
     {"Date:", "Date:", "Date:", "Date:"},
     {"record-date", "record-date", "record-date", "record-date"},
     false},
    {254,
     {"Time:", "Time:", "Time:", "Time:"},
     {"record-time", "record-time", "record-time", "record-time"},
     false},
    {290,
     {"Test Method:", "Test Method:", "Test Method:", "Test Method:"},
     {"test-method", "test-method", "test-method", "test-method"},
     false},
    {326,
     {"Temperature:", "Temperature:", "Temperature:", "Temperature:"},
     {"temperature", "temperature", "temperature", "temperature"},
     true},
    {344,
     {"Humidity:", "Humidity:", "Humidity:", "Humidity:"},
     {"humidity", "humidity", "humidity", "humidity"},
     false},
    {380,
     {"Time Interval:", "Test Time:", "Test Time:", "Step Interval:"},
     {"interval", "test-time", "test-time", "step-interval"},
     false},
    {398,
     {"Set Voltage:", "Set Voltage:", "Set Voltage:", "Set Voltage:"},
     {"set-voltage", "set-voltage", "set-voltage", "set-voltage"},
     false},
    {416,
     {"Output Voltage:", "Output Voltage:", "Output Voltage:", "Output Voltage:"},
     {"output-voltage", "output-voltage", "output-voltage", "output-voltage"},
     false},
    {434,
     {"Resistance:", "Resistance:", "Resistance:", "Resistance:"},
     {"resistance", "resistance", "resistance", "resistance"},
     false},
    {452,
     {"Leak Current:", "Leak Current:", "Leak Current:", "Leak Current:"},
     {"leak-current", "leak-current", "leak-current", "leak-current"},
     false},
    {488, {"Data Number:", nullptr, nullptr, nullptr}, {"data-number", nullptr, nullptr, nullptr}, false},
};
// The rows whose label every kind shares: what a page without data keeps.
constexpr int kSharedRowYs[] = {236, 254, 290, 326, 344, 398, 416, 434, 452};

struct ResultItem {
  const char* label;
  Rect labelRect;
  const char* text;
  Rect textRect;
};

constexpr ResultItem kNormalResults[] = {
    {"DAR Value[1min/15s]:", {50, 614, 200, 632}, "dar15", {200, 614, 340, 632}},
    {"Resistance[1min]:", {340, 614, 465, 632}, "resistance-1min-a", {465, 614, 655, 632}},
    {"Resistance[15s]:", {340, 632, 465, 650}, "resistance-15s", {465, 632, 655, 650}},
    {"DAR Value[1min/30s]:", {50, 668, 200, 686}, "dar30", {200, 668, 340, 686}},
    {"Resistance[1min]:", {340, 668, 465, 686}, "resistance-1min-b", {465, 668, 655, 686}},
    {"Resistance[30s]:", {340, 686, 465, 704}, "resistance-30s", {465, 686, 655, 704}},
    {"PI Value[t2/t1]:", {50, 722, 200, 740}, "pi", {200, 722, 340, 740}},
    {"t2:", {340, 722, 465, 740}, "t2", {465, 722, 655, 740}},
    {"t1:", {340, 740, 465, 758}, "t1", {465, 740, 655, 758}},
    {"Resistance[t2]:", {340, 758, 465, 776}, "resistance-t2", {465, 758, 655, 776}},
    {"Resistance[t1]:", {340, 776, 465, 794}, "resistance-t1", {465, 776, 655, 794}},
};

constexpr ResultItem kTcResults[] = {
    {"Table No.:", {75, 524, 225, 578}, "table-no", {230, 524, 555, 578}},
    {"Ref. Temperature:", {75, 578, 225, 632}, "ref-temperature", {230, 578, 555, 632}},
    {"TC Resistance:", {75, 632, 225, 686}, "tc-resistance", {230, 632, 555, 686}},
};

constexpr const char* kStepTexts[5][2] = {{"step1-voltage", "step1-resistance"},
                                          {"step2-voltage", "step2-resistance"},
                                          {"step3-voltage", "step3-resistance"},
                                          {"step4-voltage", "step4-resistance"},
                                          {"step5-voltage", "step5-resistance"}};
constexpr const char* kStepLabels[5] = {
    "Step1 Output Voltage:", "Step2 Output Voltage:", "Step3 Output Voltage:", "Step4 Output Voltage:",
    "Step5 Output Voltage:"};
constexpr int kStepColumnTop = 290;

std::vector<Point> ClosedBox(Rect r) {
  return {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}, {r.left, r.top}};
}

void Left(Surface& s, Rect r, std::string_view text) { s.DrawText(r, text, TextPlacement::Left); }

void DrawFrame(Surface& s) {
  s.SelectPen(kThickPen);
  s.DrawPolyline(ClosedBox({25, 25, 655, 830}));
  s.SelectPen(kThinPen);
  for (const Line& line : kFrameLines) s.DrawLine(line.from, line.to);
}

void DrawLogo(Surface& s, const ReportSettings& settings, const RtfLogo& logo) {
  if (!settings.logoOn) return;
  if (settings.logoKind == LogoKind::Text) {
    s.DrawText(kCompanyRect, settings.companyName, TextPlacement::WrapCentred);
  } else if (!logo.IsEmpty()) {
    s.StretchBitmap(logo.dest, logo.View());
  }
}

void DrawHeader(Surface& s, const ReportPage* page) {
  if (page) s.DrawText(kTitleRect, page->Text("title"), TextPlacement::Centre);
  for (const HeaderItem& item : kHeaderItems) {
    Left(s, item.labelRect, item.label);
    if (!page) continue;
    const std::string_view name = item.text;
    const std::string& text = page->Text(name);
    if (name == "comment") {
      const Font previous = s.SelectFont(kCommentFont);
      s.DrawText(item.textRect, text, TextPlacement::Wrap);
      s.SelectFont(previous);
    } else if (name == "author" && page->source.kind == PageKind::Logging) {
      Left(s, kLoggingAuthorRect, text);
    } else {
      Left(s, item.textRect, text);
    }
  }
}

void DrawBody(Surface& s, const ReportPage& page) {
  const std::size_t kind = KindIndex(page.source.kind);
  const bool step = page.source.kind == PageKind::Step;
  for (const BodyRow& row : kBodyRows) {
    if (!row.labels[kind]) continue;
    Left(s, {50, row.y, 175, row.y + kRowHeight}, row.labels[kind]);
    const int right = step && !row.stepTextWide ? 340 : 655;
    Left(s, {180, row.y, right, row.y + kRowHeight}, page.Text(row.texts[kind]));
  }
}

void DrawSharedLabels(Surface& s) {
  for (int y : kSharedRowYs) {
    const auto row =
        std::find_if(std::begin(kBodyRows), std::end(kBodyRows), [y](const BodyRow& r) { return r.y == y; });
    Left(s, {50, y, 175, y + kRowHeight}, row->labels[0]);
  }
}

void DrawStepColumn(Surface& s, const ReportPage& page) {
  for (int step = 0; step < 5; ++step) {
    for (int half = 0; half < 2; ++half) {
      const int y = kStepColumnTop + (2 * step + half) * kRowHeight;
      s.DrawText({340, y, 490, y + kRowHeight},
                 half == 0 ? kStepLabels[step] : "Resistance:", TextPlacement::Right);
      Left(s, {495, y, 655, y + kRowHeight}, page.Text(kStepTexts[step][half]));
    }
  }
}

template <std::size_t N>
void DrawResults(Surface& s, const ReportPage& page, const ResultItem (&items)[N]) {
  for (const ResultItem& item : items) {
    Left(s, item.labelRect, item.label);
    Left(s, item.textRect, page.Text(item.text));
  }
}

void DrawKindItems(Surface& s, const ReportPage& page) {
  switch (page.source.kind) {
    case PageKind::Step: DrawStepColumn(s, page); break;
    case PageKind::Normal:
      s.DrawPolyline(ClosedBox({38, 596, 642, 812}));
      DrawResults(s, page, kNormalResults);
      break;
    case PageKind::TC:
      s.DrawPolyline(ClosedBox({50, 524, 555, 686}));
      s.DrawLine({50, 578}, {555, 578});
      s.DrawLine({50, 632}, {555, 632});
      DrawResults(s, page, kTcResults);
      break;
    case PageKind::Logging: break;
  }
}

bool HasGraph(PageKind kind) { return kind == PageKind::Logging || kind == PageKind::Step; }

// Averages the picture down to `width` x `height` pixels (each no more than
// the picture's), blue, green and red bytes, top row first.
std::vector<std::uint8_t> AveragedPixels(const PictureImage& picture, int width, int height) {
  const int sourceWidth = picture.Width();
  const int sourceHeight = picture.Height();
  std::vector<int> column(static_cast<std::size_t>(sourceWidth));
  for (int x = 0; x < sourceWidth; ++x)
    column[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<long long>(x) * width / sourceWidth);
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  std::vector<std::uint32_t> sums(static_cast<std::size_t>(width) * 3);
  std::vector<std::uint32_t> counts(static_cast<std::size_t>(width));
  for (int row = 0; row < height; ++row) {
    std::fill(sums.begin(), sums.end(), 0);
    std::fill(counts.begin(), counts.end(), 0);
    const int first = static_cast<int>(static_cast<long long>(row) * sourceHeight / height);
    const int end = static_cast<int>(static_cast<long long>(row + 1) * sourceHeight / height);
    for (int y = first; y < end; ++y) {
      for (int x = 0; x < sourceWidth; ++x) {
        const Rgb c = picture.ColourAt(x, y);
        const auto at = static_cast<std::size_t>(column[static_cast<std::size_t>(x)]);
        sums[at * 3] += c.blue;
        sums[at * 3 + 1] += c.green;
        sums[at * 3 + 2] += c.red;
        ++counts[at];
      }
    }
    std::uint8_t* out = pixels.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width) * 3;
    for (std::size_t i = 0; i < sums.size(); ++i)
      out[i] = static_cast<std::uint8_t>((sums[i] + counts[i / 3] / 2) /
                                         std::max<std::uint32_t>(1, counts[i / 3]));
  }
  return pixels;
}

}  // namespace

std::string HexDigits(const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(count * 2, '0');
  for (std::size_t i = 0; i < count; ++i) {
    text[2 * i] = kDigits[bytes[i] >> 4];
    text[2 * i + 1] = kDigits[bytes[i] & 0x0F];
  }
  return text;
}

Rect RtfLogoDestination(int width, int height) {
  const int boxWidth = kLogoBox.Width();
  const int boxHeight = kLogoBox.Height();
  const double scale = std::max(double(width) / boxWidth, double(height) / boxHeight);
  int drawnWidth = width, drawnHeight = height, x = 0, y = 0;
  if (width <= boxWidth)
    x = (boxWidth - width) / 2;
  else
    drawnWidth = static_cast<int>(width / scale);
  if (height <= boxHeight)
    y = (boxHeight - height) / 2;
  else
    drawnHeight = static_cast<int>(height / scale);
  return {kLogoBox.left + x, kLogoBox.top + y, kLogoBox.left + x + drawnWidth,
          kLogoBox.top + y + drawnHeight};
}

RtfLogo MakeRtfLogo(const PictureImage& picture) {
  RtfLogo logo;
  if (!picture.IsValid()) return logo;
  logo.dest = RtfLogoDestination(picture.Width(), picture.Height());
  logo.width = std::max(1, std::min(picture.Width(), 2 * logo.dest.Width()));
  logo.height = std::max(1, std::min(picture.Height(), 2 * logo.dest.Height()));
  logo.pixels = AveragedPixels(picture, logo.width, logo.height);
  return logo;
}

void DrawRtfPage(Surface& surface, const std::optional<ReportPage>& page, const ReportSettings& settings,
                 const RtfLogo& logo, ChartCtrl& chart) {
  const ReportPage* content = page ? &*page : nullptr;
  surface.FillRect({0, 0, kRtfPageSize.width, kRtfPageSize.height}, kWhite);
  const Pen previousPen = surface.SelectPen(kThickPen);
  const Font previousFont = surface.SelectFont(kTextFont);
  DrawFrame(surface);
  DrawLogo(surface, settings, logo);
  if (content && HasGraph(content->source.kind)) chart.DrawInto(surface, kGraphRect);
  DrawHeader(surface, content);
  if (content) {
    DrawBody(surface, *content);
    DrawKindItems(surface, *content);
    if (content->NumberPrinted())
      surface.DrawText(kPageNumberRect, FormatText("%d", content->pageNumber), TextPlacement::Centre);
  } else {
    DrawSharedLabels(surface);
  }
  surface.DrawText(kFootRect, kFootText, TextPlacement::Right);
  surface.SelectFont(previousFont);
  surface.SelectPen(previousPen);
}

Result RtfPageWriter::Append(std::string_view text) {
  if (file_.Append(text)) return Result::Success();
  const std::string reason = file_.FailureReason();
  file_.Discard();
  return Result::Failure(report_message::RtfNotSaved(path_, reason));
}

Result RtfPageWriter::BeginRtf(const std::string& path) {
  path_ = path;
  if (Result opened = file_.Open(path); !opened)
    return Result::Failure(report_message::RtfNotSaved(path, opened.message));
  return Append(rtf_text::kPrologue);
}

Result RtfPageWriter::WriteRtfPage(const std::optional<ReportPage>& page, const ReportSettings& settings,
                                   const RtfLogo& logo, ChartCtrl& chart) {
  if (Result started = Append(rtf_text::kPictureStart); !started) return started;
  std::string hex;
  {
    WmfSurface surface(metrics_, kRtfPageSize);
    DrawRtfPage(surface, page, settings, logo, chart);
    const std::vector<std::uint8_t> metafile = surface.Finish();
    hex = HexDigits(metafile.data(), metafile.size());
  }
  if (Result written = Append(hex); !written) return written;
  return Append(rtf_text::kPictureEnd);
}

Result RtfPageWriter::EndRtf() {
  if (Result ended = Append(rtf_text::kEpilogue); !ended) return ended;
  if (Result committed = file_.Commit(); !committed)
    return Result::Failure(report_message::RtfNotSaved(path_, committed.message));
  return Result::Success();
}

bool CanOpenForWriting(const std::string& path) {
  if (path.empty()) return false;
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return errno == ENOENT;
  if (!S_ISREG(info.st_mode) || (info.st_mode & 0222) == 0) return false;
  const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  close(fd);
  return true;
}

Result SaveReportRtf(const std::string& path, const ReportSettings& settings, const RecordTables& tables,
                     ChartCtrl& chart, const PictureImage& logo, const FontMetrics& metrics) {
  if (!CanOpenForWriting(path)) return Result::Failure(report_message::RtfNotSaved(path));
  RtfPageWriter writer(metrics);
  if (Result begun = writer.BeginRtf(path); !begun) return begun;
  // Made once for the whole report: every page draws the same picture.
  const RtfLogo rtfLogo =
      settings.logoOn && settings.logoKind == LogoKind::Picture ? MakeRtfLogo(logo) : RtfLogo{};
  const int pageCount = PageCount(settings, tables);
  for (int index = 1; index <= pageCount; ++index) {
    const std::optional<ReportPage> page = BuildPage(index, settings, tables, chart, PageTexts::Rtf);
    if (Result written = writer.WriteRtfPage(page, settings, rtfLogo, chart); !written) return written;
  }
  return writer.EndRtf();
}

namespace {

// The name's last part has no extension: the dialog's default one is added.
bool HasExtension(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  return dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool SaveReportAsRtf(UiServices& ui, const ReportSettings& settings, const RecordTables& tables, ChartCtrl& chart,
                     const PictureImage& logo, const FontMetrics& metrics) {
  FileDialogRequest request;
  request.filterDescription = report_message::kRtfFilterDescription;
  request.filterPattern = report_message::kRtfFilterPattern;
  std::string path;
  if (!ui.AskSaveFileName(request, path)) return false;
  if (!HasExtension(path)) path += std::string(".") + report_message::kRtfExtension;
  if (FileExists(path) &&
      ui.ShowMessage(report_message::ReplaceRtfQuestion(BaseName(path)), report_message::kReplaceRtfCaption,
                     MessageButtons::YesNo, MessageIcon::Warning) != MessageAnswer::Yes)
    return false;
  const Result saved = SaveReportRtf(path, settings, tables, chart, logo, metrics);
  if (!saved) ui.ShowMessage(saved.message, report_message::kSaveRtfCaption, MessageButtons::Ok, MessageIcon::None);
  return saved.ok;
}

}  // namespace qv70
