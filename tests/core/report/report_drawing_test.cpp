// Report page drawing: where each paper puts the frame, the texts, the logo,
// the graph and the page number, in which pens and fonts and in which order,
// and the page's description as `report --drawing` lines.
#include "core/report/report_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "core/chart/chart_ctrl.h"
#include "core/draw/fake_font_metrics.h"
#include "core/graphs/graph_tables.h"
#include "core/report/report_test_support.h"

namespace qv70 {
namespace {

constexpr PaperSize kA4 = PaperSize::A4, kB5 = PaperSize::B5, kLetter = PaperSize::Letter,
                    kLegal = PaperSize::Legal;
constexpr PageKind kLogging = PageKind::Logging, kNormal = PageKind::Normal, kTc = PageKind::TC,
                   kStep = PageKind::Step;

// A page whose every text is its own name, numbered 7, so that the drawing
// shows where each text went. The author, when given, replaces its name.
ReportPage NamedPage(PageKind kind, const std::string& author = "author") {
  static const std::vector<const char*> kNames[] = {
      {"interval", "data-number"},
      {"test-time", "dar15", "resistance-15s", "resistance-t1", "t2"},
      {"test-time", "table-no", "tc-resistance"},
      {"step-interval", "step2-voltage", "step3-resistance", "step5-voltage", "step5-resistance"}};
  ReportPage page;
  page.source.kind = kind;
  page.pageNumber = 7;
  for (const char* name : {"title", "data-name", "comment", "serial", "record-date", "test-method",
                           "set-voltage", "leak-current"})
    page.texts.push_back({name, name});
  page.texts.push_back({"author", author});
  for (const char* name : kNames[static_cast<int>(kind)]) page.texts.push_back({name, name});
  return page;
}

ReportSettings OnPaper(PaperSize paper) {
  ReportSettings settings;
  settings.paperSize = paper;
  return settings;
}

struct Drawing {
  std::vector<SurfaceRecord> records;
  std::vector<GraphMark> graphs;
  std::vector<std::string> Lines() const { return DescribePageDrawing(records, graphs); }
};

// The page drawn on a recording surface, the graph painter only noting its rectangle.
Drawing Draw(const std::optional<ReportPage>& page, const ReportSettings& settings, BitmapView logo = {}) {
  RecordingSurface surface(kFakeMetrics);
  Drawing drawing;
  const ReportArt art{logo, [&](Surface&, Rect rect) {
                        drawing.graphs.push_back({surface.Records().size(), rect});
                      }};
  DrawReportPage(surface, page, settings, art);
  drawing.records = surface.Records();
  return drawing;
}

bool EndsWith(std::string_view line, std::string_view end) {
  return line.size() >= end.size() && line.substr(line.size() - end.size()) == end;
}

// The font current when `text` was drawn.
std::optional<Font> FontWhenDrawn(const std::vector<SurfaceRecord>& records, std::string_view text) {
  Font current;
  for (const SurfaceRecord& r : records) {
    if (r.op == SurfaceOp::Font) {
      current = Font::Points(r.text, static_cast<int>(r.numbers[0]));
      current.cellHeight = static_cast<int>(r.numbers[1]);
      current.charWidth = static_cast<int>(r.numbers[2]);
    }
    if (r.op == SurfaceOp::Text && r.text == text) return current;
  }
  return std::nullopt;
}

// ---- Where things go, and with which pen ----------------------------------------

struct PlaceRow {
  const char* name;
  PaperSize paper;
  PageKind kind;
  const char* line;
  int penWidth = 0;  // for lines: the pen they are drawn with
};

void PrintTo(const PlaceRow& row, std::ostream* os) { *os << row.name; }

class PlacementTest : public testing::TestWithParam<PlaceRow> {};

TEST_P(PlacementTest, DrawsItWhereThePaperPutsIt) {
  const std::vector<std::string> lines = Draw(NamedPage(GetParam().kind), OnPaper(GetParam().paper)).Lines();
  const auto line = std::find(lines.begin(), lines.end(), GetParam().line);
  ASSERT_NE(line, lines.end());
  if (GetParam().penWidth == 0) return;
  const auto pen = std::find_if(std::make_reverse_iterator(line), lines.rend(),
                                [](const std::string& l) { return l.substr(0, 4) == "pen "; });
  ASSERT_NE(pen, lines.rend());
  EXPECT_EQ(*pen, "pen " + std::to_string(GetParam().penWidth));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PlacementTest,
    testing::Values(
        PlaceRow{"A4_author_label", kA4, kNormal, "text 484 82 578 118 L Author"},
        PlaceRow{"A4_title_centred", kA4, kNormal, "text 41 211 249 249 CE title"},
        PlaceRow{"A4_test_method_at_top", kA4, kNormal, "text 250 340 550 370 T test-method"},
        PlaceRow{"A4_normal_t2", kA4, kNormal, "text 510 840 720 860 L t2"},
        PlaceRow{"A4_footer_right", kA4, kTc, "text 40 1040 730 1060 R ZAVEL Corporation"},
        PlaceRow{"A4_tc_comment_raised", kA4, kTc, "text 368 122 728 208 W comment"},
        PlaceRow{"A4_tc_test_time_narrowed", kA4, kTc, "text 250 470 450 490 L test-time"},
        PlaceRow{"A4_step_column_from_230", kA4, kStep, "text 230 280 550 300 L record-date"},
        PlaceRow{"A4_step_set_voltage_to_520", kA4, kStep, "text 230 495 550 520 L set-voltage"},
        PlaceRow{"A4_logging_interval", kA4, kLogging, "text 250 470 550 490 L interval"},
        PlaceRow{"B5_date_label", kB5, kNormal, "text 50 280 200 300 L Date:"},
        PlaceRow{"B5_test_method_one_line", kB5, kNormal, "text 155 340 500 360 L test-method"},
        PlaceRow{"B5_normal_dar15", kB5, kNormal, "text 220 620 340 650 L dar15"},
        PlaceRow{"B5_footer_top_right", kB5, kNormal, "text 40 890 620 920 RT ZAVEL Corporation"},
        PlaceRow{"B5_tc_comment_lowered", kB5, kTc, "text 340 130 618 208 W comment"},
        PlaceRow{"B5_tc_test_time_label", kB5, kTc, "text 50 470 250 490 L Test Time:"},
        PlaceRow{"B5_logging_comment_deeper", kB5, kLogging, "text 340 122 618 210 W comment"},
        PlaceRow{"B5_step_record_date", kB5, kStep, "text 165 280 500 310 L record-date"},
        PlaceRow{"B5_step3_resistance", kB5, kStep, "text 470 475 630 495 L step3-resistance"},
        PlaceRow{"Letter_author", kLetter, kNormal, "text 568 82 728 118 L author"},
        PlaceRow{"Letter_normal_number_to_745", kLetter, kNormal, "text 40 950 745 970 CE 7"},
        PlaceRow{"Letter_logging_number_to_730", kLetter, kLogging, "text 40 950 730 970 CE 7"},
        PlaceRow{"Letter_step_test_method_230", kLetter, kStep, "text 230 340 550 370 T test-method"},
        PlaceRow{"Letter_step_record_date_stays", kLetter, kStep, "text 250 280 550 300 L record-date"},
        PlaceRow{"Legal_record_date_lower", kLegal, kNormal, "text 250 340 550 360 L record-date"},
        PlaceRow{"Legal_normal_number_lower", kLegal, kNormal, "text 40 1220 730 1240 CE 7"},
        PlaceRow{"Legal_tc_number", kLegal, kTc, "text 40 1200 730 1240 CE 7"},
        PlaceRow{"Legal_tc_resistance", kLegal, kTc, "text 310 905 630 935 L tc-resistance"},
        PlaceRow{"Legal_step2_voltage", kLegal, kStep, "text 630 495 720 515 L step2-voltage"},
        PlaceRow{"Legal_data_number_label", kLegal, kLogging, "text 100 710 250 730 L Data Number:"}));

INSTANTIATE_TEST_SUITE_P(
    LinesAndGraphs, PlacementTest,
    testing::Values(PlaceRow{"A4_outer_right", kA4, kNormal, "line 730 40 730 1000", 2},
                    PlaceRow{"A4_header_separator", kA4, kNormal, "line 40 250 730 250", 2},
                    PlaceRow{"A4_author_vertical", kA4, kNormal, "line 478 80 478 120", 1},
                    PlaceRow{"B5_value_column", kB5, kLogging, "line 338 40 338 250", 1},
                    PlaceRow{"Legal_outer_left", kLegal, kTc, "line 40 1200 40 40", 2},
                    PlaceRow{"A4_normal_box_right", kA4, kNormal, "line 710 670 710 960", 1},
                    PlaceRow{"Letter_normal_box_right", kLetter, kNormal, "line 725 610 725 900", 1},
                    PlaceRow{"B5_tc_last_row", kB5, kTc, "line 100 810 560 810", 1},
                    PlaceRow{"B5_tc_right", kB5, kTc, "line 560 630 560 810", 1},
                    PlaceRow{"A4_step_graph", kA4, kStep, "graph 60 670 710 980"},
                    PlaceRow{"B5_logging_graph", kB5, kLogging, "graph 45 635 615 850"},
                    PlaceRow{"Letter_step_graph", kLetter, kStep, "graph 60 650 710 930"},
                    PlaceRow{"Legal_logging_graph", kLegal, kLogging, "graph 60 800 710 1100"}));

TEST(ReportDrawing, DataNumberValueOffLegalAndGraphOffManualTests) {
  for (PaperSize paper : {kA4, kB5, kLetter, kLegal}) {
    const std::vector<std::string> lines = Draw(NamedPage(kLogging), OnPaper(paper)).Lines();
    EXPECT_EQ(std::any_of(lines.begin(), lines.end(), [](auto& l) { return EndsWith(l, " data-number"); }),
              paper != kLegal);
  }
  for (PageKind kind : {kNormal, kTc}) EXPECT_TRUE(Draw(NamedPage(kind), OnPaper(kA4)).graphs.empty());
}

// ---- Fonts, the author rule among them ----------------------------------------

// Fake metrics: base font characters are 10 units wide, B5 text font ones 8.
struct FontRow {
  const char* name;
  PaperSize paper;
  std::string text;
  Font font;
  std::string author = "author";
};

void PrintTo(const FontRow& row, std::ostream* os) { *os << row.name; }

class FontTest : public testing::TestWithParam<FontRow> {};

TEST_P(FontTest, DrawsTheTextInItsFont) {
  const Drawing drawing = Draw(NamedPage(kNormal, GetParam().author), OnPaper(GetParam().paper));
  EXPECT_EQ(FontWhenDrawn(drawing.records, GetParam().text), GetParam().font);
  // Whatever the author and comment took, the next text is in the page's font again.
  EXPECT_EQ(FontWhenDrawn(drawing.records, "serial"),
            Font::Points("Arial", GetParam().paper == kB5 ? 110 : 140));
}

std::string Times(int n, std::string_view piece) {
  std::string text;
  for (int i = 0; i < n; ++i) text += piece;
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FontTest,
    testing::Values(FontRow{"A4_title_base", kA4, "title", Font::Points("Arial", 140)},
                    FontRow{"B5_label_in_B5_font", kB5, "Data Name", Font::Points("Arial", 110)},
                    FontRow{"B5_page_number", kB5, "7", Font::Points("Arial", 110)},
                    FontRow{"A4_comment_9pt", kA4, "comment", Font::Points("Arial", 90)},
                    FontRow{"B5_comment_8.5pt", kB5, "comment", Font::Points("Arial", 85)},
                    FontRow{"B5_footer_base", kB5, "ZAVEL Corporation", Font::Points("Arial", 140)}));

INSTANTIATE_TEST_SUITE_P(
    Author, FontTest,
    testing::Values(
        FontRow{"A4_170_fits", kA4, Times(17, "a"), Font::Cell("Arial", 20, 0), Times(17, "a")},
        FontRow{"A4_180_narrowed", kA4, Times(18, "a"), Font::Cell("Arial", 16, 4), Times(18, "a")},
        FontRow{"A4_18_two_byte_characters", kA4, Times(18, "\xC3\xA9"), Font::Cell("Arial", 16, 4),
                Times(18, "\xC3\xA9")},
        FontRow{"B5_128_in_B5_font_fits", kB5, Times(16, "a"), Font::Cell("Arial", 16, 0), Times(16, "a")},
        FontRow{"B5_136_narrowed", kB5, Times(17, "a"), Font::Cell("Arial", 16, 3), Times(17, "a")},
        FontRow{"Letter_160_fits", kLetter, Times(16, "a"), Font::Cell("Arial", 20, 0), Times(16, "a")},
        FontRow{"Legal_170_narrowed", kLegal, Times(17, "a"), Font::Cell("Arial", 16, 4), Times(17, "a")}));

// ---- Logo -------------------------------------------------------------------

struct LogoRow {
  const char* name;
  PaperSize paper;
  bool logoOn;
  LogoKind kind;
  int width;
  int height;
  std::vector<std::string> box;  // what is drawn into the logo's box
};

void PrintTo(const LogoRow& row, std::ostream* os) { *os << row.name; }

class LogoTest : public testing::TestWithParam<LogoRow> {};

TEST_P(LogoTest, FillsTheLogoBox) {
  const LogoRow& row = GetParam();
  ReportSettings settings = OnPaper(row.paper);
  settings.logoOn = row.logoOn;
  settings.logoKind = row.kind;
  settings.companyName = "Hill & Sons";
  const std::uint8_t pixels[3] = {};
  const Drawing drawing = Draw(NamedPage(kNormal), settings, {row.width, row.height, pixels, 0});
  std::vector<std::string> box;
  for (const SurfaceRecord& r : drawing.records)
    if (r.op == SurfaceOp::Bitmap || (r.op == SurfaceOp::Text && r.numbers[0] < 245 && r.numbers[1] < 205))
      box.push_back(DescribePageDrawing({r}, {}).front());
  EXPECT_EQ(box, row.box);
  if (!box.empty() && row.kind == LogoKind::Text) {
    EXPECT_EQ(FontWhenDrawn(drawing.records, "Hill & Sons"), Font::Points("Arial", 230));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Logos, LogoTest,
    testing::Values(
        LogoRow{"400x100_height_kept", kA4, true, LogoKind::Picture, 400, 100, {"picture 45 75 200 100"}},
        LogoRow{"100x100_centred", kA4, true, LogoKind::Picture, 100, 100, {"picture 95 75 100 100"}},
        LogoRow{"200x400_height_only", kB5, true, LogoKind::Picture, 200, 400, {"picture 45 45 200 160"}},
        LogoRow{"333x320_both_scaled", kLetter, true, LogoKind::Picture, 333, 320, {"picture 45 45 166 160"}},
        LogoRow{"logo_off_box_empty", kA4, false, LogoKind::Picture, 100, 100, {}},
        LogoRow{"picture_not_loaded", kA4, true, LogoKind::Picture, 0, 0, {}},
        LogoRow{
            "company_text_A4", kA4, true, LogoKind::Text, 100, 100, {"text 45 60 245 205 WC Hill & Sons"}},
        LogoRow{"company_text_Legal",
                kLegal,
                true,
                LogoKind::Text,
                0,
                0,
                {"text 45 45 245 205 WC Hill & Sons"}}));

// ---- The page as a whole --------------------------------------------------------

TEST(ReportDrawing, WithoutAPageOnlyTheFrameFromBaseFontToRestore) {
  const std::vector<std::string> labels = {
      "Data Name",   "Date",          "Author",           "Comment",   "QV70 S/N",     "Date:",
      "Time:",       "Test Method:",  "Temperature:",     "Humidity:", "Set Voltage:", "Output Voltage:",
      "Resistance:", "Leak Current:", "ZAVEL Corporation"};
  for (PaperSize paper : {kA4, kB5, kLetter, kLegal}) {
    const Drawing drawing = Draw(std::nullopt, OnPaper(paper));
    std::vector<std::string> texts;
    for (const SurfaceRecord& r : drawing.records)
      if (r.op == SurfaceOp::Text) texts.push_back(r.text);
    EXPECT_EQ(texts, labels);
    EXPECT_TRUE(drawing.graphs.empty());
  }
  const std::vector<std::string> lines = Draw(std::nullopt, OnPaper(kA4)).Lines();
  EXPECT_EQ(
      std::vector<std::string>(lines.begin(), lines.begin() + 4),
      (std::vector<std::string>{"font Arial 14", "pen 2", "line 40 40 730 40", "line 730 40 730 1000"}));
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"text 40 1040 730 1060 R ZAVEL Corporation", "pen 1", "restore-font"}));
}

struct OrderRow {
  const char* name;
  PageKind kind;
  std::vector<std::string> order;  // line ends, in the order they must be drawn
};

void PrintTo(const OrderRow& row, std::ostream* os) { *os << row.name; }

class DrawingOrderTest : public testing::TestWithParam<OrderRow> {};

TEST_P(DrawingOrderTest, DrawsThePartsInOrder) {
  const std::vector<std::string> lines = Draw(NamedPage(GetParam().kind), OnPaper(kA4)).Lines();
  auto previous = lines.begin();
  for (const std::string& end : GetParam().order) {
    const auto found = std::find_if(lines.begin(), lines.end(), [&](auto& l) { return EndsWith(l, end); });
    ASSERT_NE(found, lines.end()) << end;
    EXPECT_GT(found, previous) << end;
    previous = found;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DrawingOrderTest,
    testing::Values(OrderRow{"logging",
                             kLogging,
                             {"ZAVEL Corporation", "L Time Interval:", " title", " leak-current",
                              "L Data Number:", " data-number", "graph 60 670 710 980", "CE 7"}},
                    OrderRow{"normal",
                             kNormal,
                             {"ZAVEL Corporation", "L Test Time:", "line 60 670 710 670", " title",
                              " test-time", "L DAR Value[1min/15s]:", " resistance-t1", "CE 7"}},
                    OrderRow{"tc",
                             kTc,
                             {"ZAVEL Corporation", "L Test Time:", "line 100 670 600 670", " title",
                              "L Table No.:", " tc-resistance", "CE 7"}},
                    OrderRow{"step_block_first",
                             kStep,
                             {"ZAVEL Corporation", "L Step Interval:", " step5-resistance", " title",
                              " leak-current", "graph 60 670 710 980", "CE 7"}}));

TEST(ReportDrawing, RestoresTheCallersFontAndPenAndLeavesUnprintedNumbersOut) {
  for (PaperSize paper : {kA4, kB5}) {
    RecordingSurface surface(kFakeMetrics);
    const Font caller = Font::Points("Courier New", 100);
    surface.SelectFont(caller);
    surface.SelectPen(Pen::Solid(3, kBlack));
    ReportPage page = NamedPage(kStep);
    page.pageNumber = kUnprintedPageNumber;
    DrawReportPage(surface, page, OnPaper(paper), {});
    EXPECT_EQ(surface.CurrentFont(), caller);
    EXPECT_EQ(surface.CurrentPen(), Pen::Solid(3, kBlack));
    EXPECT_EQ(surface.RecordsOf(SurfaceOp::Font).at(1).numbers[0], 140) << "the base font first";
    for (const SurfaceRecord& r : surface.RecordsOf(SurfaceOp::Text)) EXPECT_NE(r.text, "99999");
  }
}

TEST(ReportDrawing, DrawReportPageAtDrawsTheBuiltPageAndItsChart) {
  RecordTables tables;
  test::PutLoggingSet(tables, 1, "60", test::SameSamples(3, "1000", "2000000000"));
  ReportSettings settings = OnPaper(kB5);
  settings.selectedSets = test::Selected({11});
  settings.loggingCount = 1;
  ChartCtrl chart;
  RecordingSurface surface(kFakeMetrics);
  DrawReportPageAt(surface, 1, settings, tables, chart, {});
  const std::vector<std::string> lines = DescribePageDrawing(surface.Records(), {});
  const auto dataNumber = std::find(lines.begin(), lines.end(), "text 155 610 500 630 L 3");
  ASSERT_NE(dataNumber, lines.end());
  // The chart was laid out in the B5 graph rectangle and drew after the page's texts.
  const Rect plot = chart.Layout().plotRect;
  EXPECT_TRUE(plot.left >= 45 && plot.top >= 635 && plot.right <= 615 && plot.bottom <= 850);
  EXPECT_TRUE(std::any_of(dataNumber, lines.end(), [](auto& l) { return l.substr(0, 5) == "line "; }));

  RecordingSurface beyond(kFakeMetrics);
  DrawReportPageAt(beyond, 2, settings, tables, chart, {});
  EXPECT_EQ(beyond.RecordsOf(SurfaceOp::Text).size(), 15u) << "the frame's labels and footer only";
}

// ---- Description, units, paper -----------------------------------------------

TEST(DescribePageDrawing, WritesEveryKindOfLine) {
  RecordingSurface s(kFakeMetrics);
  const std::uint8_t pixels[3] = {};
  s.SelectFont(Font::Points("Arial", 140));
  s.SelectPen(Pen::Solid(2, kBlack));
  s.SetBackgroundMode(BackgroundMode::Transparent);
  s.DrawLine({40, 40}, {730, 40});
  s.SelectFont(Font::Points("Arial", 85));
  s.DrawText({368, 130, 728, 208}, "a\\b\tc\nd", TextPlacement::Wrap);
  s.SelectFont(Font::Points("Arial", 140));
  const std::vector<GraphMark> graphs = {{s.Records().size(), {60, 670, 710, 980}}};
  s.SelectFont(Font::Cell("Arial", 16, 4));
  s.SelectBrush(Brush::Null());
  s.StretchBitmap({95, 75, 195, 175}, BitmapView{100, 100, pixels, 0});
  s.SelectFont(Font::Points("Arial", 140));
  s.SelectFont(Font{});
  EXPECT_EQ(DescribePageDrawing(s.Records(), graphs),
            (std::vector<std::string>{"font Arial 14", "pen 2", "line 40 40 730 40", "font Arial 8.5",
                                      "text 368 130 728 208 W a\\\\b\\tc\\nd", "restore-font",
                                      "graph 60 670 710 980", "font Arial cell 16 width 4",
                                      "picture 95 75 100 100", "restore-font", "restore-font"}));
}

TEST(PageUnits, MapDisplayPixelsOntoTheDeviceAndSizeThePaper) {
  EXPECT_EQ(PageUnitMapping({600, 300}), (UnitMapping{{0, 0}, {96, 96}, {0, 0}, {600, 300}}));
  const std::pair<PaperSize, Size> papers[] = {
      {kA4, {794, 1123}}, {kB5, {688, 971}}, {kLetter, {816, 1056}}, {kLegal, {816, 1344}}};
  for (const auto& [paper, units] : papers) EXPECT_EQ(PaperSizeInUnits(paper), units);
}

}  // namespace
}  // namespace qv70
