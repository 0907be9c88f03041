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

constexpr const char* kCommonNames[] = {"title",          "data-name",   "date",        "author",
                                        "comment",        "serial",      "record-date", "record-time",
                                        "test-method",    "temperature", "humidity",    "set-voltage",
                                        "output-voltage", "resistance",  "leak-current"};
constexpr const char* kLoggingNames[] = {"interval", "data-number"};
constexpr const char* kNormalNames[] = {"test-time",
                                        "dar15",
                                        "resistance-1min-a",
                                        "resistance-15s",
                                        "dar30",
                                        "resistance-1min-b",
                                        "resistance-30s",
                                        "pi",
                                        "t2",
                                        "t1",
                                        "resistance-t2",
                                        "resistance-t1"};
constexpr const char* kTcNames[] = {"test-time", "table-no", "ref-temperature", "tc-resistance"};
constexpr const char* kStepNames[] = {"step-interval",    "step1-voltage",    "step1-resistance",
                                      "step2-voltage",    "step2-resistance", "step3-voltage",
                                      "step3-resistance", "step4-voltage",    "step4-resistance",
                                      "step5-voltage",    "step5-resistance"};

template <size_t N>
void AddNamed(ReportPage& page, const char* const (&names)[N]) {
  for (const char* name : names) page.texts.push_back({name, name});
}

// A page of `kind` whose every text is its own name, numbered 7, so that the
// drawing shows where each text went.
ReportPage NamedPage(PageKind kind) {
  ReportPage page;
  page.source.kind = kind;
  page.pageNumber = 7;
  AddNamed(page, kCommonNames);
  if (kind == PageKind::Logging) AddNamed(page, kLoggingNames);
  if (kind == PageKind::Normal) AddNamed(page, kNormalNames);
  if (kind == PageKind::TC) AddNamed(page, kTcNames);
  if (kind == PageKind::Step) AddNamed(page, kStepNames);
  return page;
}

void SetText(ReportPage& page, std::string_view name, std::string value) {
  for (PageText& text : page.texts)
    if (name == text.name) text.value = std::move(value);
}

struct Drawing {
  std::vector<SurfaceRecord> records;
  std::vector<GraphMark> graphs;
  std::vector<std::string> Lines() const { return DescribePageDrawing(records, graphs); }
};

ReportSettings OnPaper(PaperSize paper) {
  ReportSettings settings;
  settings.paperSize = paper;
  return settings;
}

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

Drawing Draw(PaperSize paper, PageKind kind) { return Draw(NamedPage(kind), OnPaper(paper)); }

bool EndsWith(std::string_view line, std::string_view end) {
  return line.size() >= end.size() && line.substr(line.size() - end.size()) == end;
}

// The text of a "text L T R B CODE TEXT" line, or empty.
std::string_view TextField(std::string_view line) {
  if (line.substr(0, 5) != "text ") return {};
  size_t at = 0;
  for (int field = 0; field < 6 && at != std::string_view::npos; ++field) at = line.find(' ', at + 1);
  return at == std::string_view::npos ? std::string_view() : line.substr(at + 1);
}

// Where a text or line was drawn instead, for the failure message.
std::string Neighbours(const std::vector<std::string>& lines, std::string_view wanted) {
  std::string found;
  for (const std::string& line : lines)
    if (TextField(line) == TextField(wanted) && line.substr(0, 5) == wanted.substr(0, 5))
      found += line + "\n";
  return found.empty() ? "nothing alike" : found;
}

const std::vector<std::string>::const_iterator Find(const std::vector<std::string>& lines,
                                                    std::string_view line) {
  return std::find(lines.begin(), lines.end(), line);
}

// The font current when the text `text` was drawn.
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

const char* KindName(PageKind kind) {
  const char* names[] = {"Logging", "Normal", "TC", "Step"};
  return names[static_cast<int>(kind)];
}
const char* PaperName(PaperSize paper) {
  const char* names[] = {"A4", "B5", "Letter", "Legal"};
  return names[static_cast<int>(paper)];
}

constexpr PaperSize kA4 = PaperSize::A4, kB5 = PaperSize::B5, kLetter = PaperSize::Letter,
                    kLegal = PaperSize::Legal;
constexpr PageKind kLogging = PageKind::Logging, kNormal = PageKind::Normal, kTc = PageKind::TC,
                   kStep = PageKind::Step;

// ---- Where things go --------------------------------------------------------

struct PlaceRow {
  const char* name;
  PaperSize paper;
  PageKind kind;
  const char* line;
};

void PrintTo(const PlaceRow& row, std::ostream* os) { *os << row.name; }

class PlacementTest : public testing::TestWithParam<PlaceRow> {};

TEST_P(PlacementTest, DrawsItWhereThePaperPutsIt) {
  const std::vector<std::string> lines = Draw(GetParam().paper, GetParam().kind).Lines();
  EXPECT_NE(Find(lines, GetParam().line), lines.end()) << "drawn instead:\n"
                                                       << Neighbours(lines, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    A4, PlacementTest,
    testing::Values(
        PlaceRow{"data_name_label", kA4, kNormal, "text 258 42 358 78 L Data Name"},
        PlaceRow{"author_label", kA4, kNormal, "text 484 82 578 118 L Author"},
        PlaceRow{"leak_current_label", kA4, kLogging, "text 100 570 250 590 L Leak Current:"},
        PlaceRow{"title_centred", kA4, kNormal, "text 41 211 249 249 CE title"},
        PlaceRow{"comment_wrapped", kA4, kNormal, "text 368 130 728 208 W comment"},
        PlaceRow{"test_method_at_top", kA4, kNormal, "text 250 340 550 370 T test-method"},
        PlaceRow{"normal_test_time", kA4, kNormal, "text 250 470 550 490 L test-time"},
        PlaceRow{"normal_t2", kA4, kNormal, "text 510 840 720 860 L t2"},
        PlaceRow{"normal_resistance_t1_label", kA4, kNormal, "text 340 915 510 935 L Resistance[t1]:"},
        PlaceRow{"page_number", kA4, kNormal, "text 40 1020 730 1040 CE 7"},
        PlaceRow{"footer_right", kA4, kTc, "text 40 1040 730 1060 R ZAVEL Corporation"},
        PlaceRow{"tc_comment_raised", kA4, kTc, "text 368 122 728 208 W comment"},
        PlaceRow{"tc_test_time_narrowed", kA4, kTc, "text 250 470 450 490 L test-time"},
        PlaceRow{"tc_table_no", kA4, kTc, "text 310 680 630 720 L table-no"},
        PlaceRow{"step_column_from_230", kA4, kStep, "text 230 280 550 300 L record-date"},
        PlaceRow{"step_test_method_from_230", kA4, kStep, "text 230 340 550 370 T test-method"},
        PlaceRow{"step_set_voltage_down_to_520", kA4, kStep, "text 230 495 550 520 L set-voltage"},
        PlaceRow{"step_interval_from_230", kA4, kStep, "text 230 470 550 490 L step-interval"},
        PlaceRow{"step5_voltage", kA4, kStep, "text 630 560 750 575 L step5-voltage"},
        PlaceRow{"logging_interval", kA4, kLogging, "text 250 470 550 490 L interval"},
        PlaceRow{"logging_data_number", kA4, kLogging, "text 250 610 550 630 L data-number"},
        PlaceRow{"logging_graph", kA4, kLogging, "graph 60 670 710 980"},
        PlaceRow{"step_graph", kA4, kStep, "graph 60 670 710 980"}));

INSTANTIATE_TEST_SUITE_P(
    B5, PlacementTest,
    testing::Values(PlaceRow{"date_label_narrow_column", kB5, kNormal, "text 50 280 200 300 L Date:"},
                    PlaceRow{"author_label", kB5, kNormal, "text 428 82 518 118 L Author"},
                    PlaceRow{"data_name", kB5, kNormal, "text 344 42 618 78 L data-name"},
                    PlaceRow{"author", kB5, kNormal, "text 482 82 610 118 L author"},
                    PlaceRow{"test_method_one_line", kB5, kNormal, "text 155 340 500 360 L test-method"},
                    PlaceRow{"normal_comment", kB5, kNormal, "text 340 122 618 208 W comment"},
                    PlaceRow{"normal_dar15", kB5, kNormal, "text 220 620 340 650 L dar15"},
                    PlaceRow{"footer_top_right", kB5, kNormal, "text 40 890 620 920 RT ZAVEL Corporation"},
                    PlaceRow{"page_number", kB5, kNormal, "text 40 860 620 900 CE 7"},
                    PlaceRow{"tc_comment_lowered", kB5, kTc, "text 340 130 618 208 W comment"},
                    PlaceRow{"tc_test_time_label", kB5, kTc, "text 50 470 250 490 L Test Time:"},
                    PlaceRow{"logging_comment_deeper", kB5, kLogging, "text 340 122 618 210 W comment"},
                    PlaceRow{"step_record_date", kB5, kStep, "text 165 280 500 310 L record-date"},
                    PlaceRow{"step_test_method", kB5, kStep, "text 165 340 500 370 L test-method"},
                    PlaceRow{"step_leak_current", kB5, kStep, "text 165 570 500 590 L leak-current"},
                    PlaceRow{"step3_resistance", kB5, kStep, "text 470 475 630 495 L step3-resistance"},
                    PlaceRow{"logging_graph", kB5, kLogging, "graph 45 635 615 850"}));

INSTANTIATE_TEST_SUITE_P(
    Letter, PlacementTest,
    testing::Values(
        PlaceRow{"author", kLetter, kNormal, "text 568 82 728 118 L author"},
        PlaceRow{"normal_page_number_to_745", kLetter, kNormal, "text 40 950 745 970 CE 7"},
        PlaceRow{"logging_page_number_to_730", kLetter, kLogging, "text 40 950 730 970 CE 7"},
        PlaceRow{"footer_top_right", kLetter, kLogging, "text 40 970 745 1000 RT ZAVEL Corporation"},
        PlaceRow{"tc_comment_as_table", kLetter, kTc, "text 368 130 728 208 W comment"},
        PlaceRow{"step_test_method_from_230", kLetter, kStep, "text 230 340 550 370 T test-method"},
        PlaceRow{"step_record_date_stays", kLetter, kStep, "text 250 280 550 300 L record-date"},
        PlaceRow{"step4_label", kLetter, kStep, "text 410 505 600 530 L Step4 Output Voltage:"},
        PlaceRow{"normal_t1_label", kLetter, kNormal, "text 340 805 510 825 L t1:"},
        PlaceRow{"step_graph", kLetter, kStep, "graph 60 650 710 930"}));

INSTANTIATE_TEST_SUITE_P(
    Legal, PlacementTest,
    testing::Values(
        PlaceRow{"record_date_lower", kLegal, kNormal, "text 250 340 550 360 L record-date"},
        PlaceRow{"test_method_label", kLegal, kNormal, "text 100 440 250 460 L Test Method:"},
        PlaceRow{"footer_right", kLegal, kNormal, "text 40 1240 745 1260 R ZAVEL Corporation"},
        PlaceRow{"normal_page_number_lower", kLegal, kNormal, "text 40 1220 730 1240 CE 7"},
        PlaceRow{"tc_page_number", kLegal, kTc, "text 40 1200 730 1240 CE 7"},
        PlaceRow{"normal_t2", kLegal, kNormal, "text 510 1000 680 1020 L t2"},
        PlaceRow{"tc_resistance", kLegal, kTc, "text 310 905 630 935 L tc-resistance"},
        PlaceRow{"step_test_method_from_230", kLegal, kStep, "text 230 440 550 470 T test-method"},
        PlaceRow{"step2_voltage", kLegal, kStep, "text 630 495 720 515 L step2-voltage"},
        PlaceRow{"logging_data_number_label", kLegal, kLogging, "text 100 710 250 730 L Data Number:"},
        PlaceRow{"logging_graph", kLegal, kLogging, "graph 60 800 710 1100"}));

TEST(ReportDrawing, LegalLoggingPageDrawsNoDataNumberValue) {
  for (PaperSize paper : {kA4, kB5, kLetter, kLegal}) {
    const std::vector<std::string> lines = Draw(paper, kLogging).Lines();
    const bool drawn = std::any_of(lines.begin(), lines.end(),
                                   [](const std::string& line) { return EndsWith(line, " data-number"); });
    EXPECT_EQ(drawn, paper != kLegal) << PaperName(paper);
  }
}

TEST(ReportDrawing, ManualTestPagesHaveNoGraph) {
  for (PageKind kind : {kNormal, kTc}) EXPECT_TRUE(Draw(kA4, kind).graphs.empty()) << KindName(kind);
}

// ---- Lines and pens ---------------------------------------------------------

struct LineRow {
  const char* name;
  PaperSize paper;
  PageKind kind;
  const char* line;
  int penWidth;
};

void PrintTo(const LineRow& row, std::ostream* os) { *os << row.name; }

class LineTest : public testing::TestWithParam<LineRow> {};

TEST_P(LineTest, DrawsTheLineWithItsPen) {
  const std::vector<std::string> lines = Draw(GetParam().paper, GetParam().kind).Lines();
  const auto line = Find(lines, GetParam().line);
  ASSERT_NE(line, lines.end());
  const auto pen = std::find_if(std::make_reverse_iterator(line), lines.rend(),
                                [](const std::string& l) { return l.substr(0, 4) == "pen "; });
  ASSERT_NE(pen, lines.rend());
  EXPECT_EQ(*pen, "pen " + std::to_string(GetParam().penWidth));
}

INSTANTIATE_TEST_SUITE_P(
    Frame, LineTest,
    testing::Values(LineRow{"A4_outer_top", kA4, kNormal, "line 40 40 730 40", 2},
                    LineRow{"A4_outer_right", kA4, kNormal, "line 730 40 730 1000", 2},
                    LineRow{"A4_header_separator", kA4, kNormal, "line 40 250 730 250", 2},
                    LineRow{"A4_logo_column", kA4, kNormal, "line 250 40 250 250", 1},
                    LineRow{"A4_author_vertical", kA4, kNormal, "line 478 80 478 120", 1},
                    LineRow{"B5_value_column", kB5, kLogging, "line 338 40 338 250", 1},
                    LineRow{"B5_outer_bottom", kB5, kLogging, "line 620 860 40 860", 2},
                    LineRow{"B5_header_row_210", kB5, kLogging, "line 250 210 620 210", 1},
                    LineRow{"Letter_author_vertical", kLetter, kStep, "line 560 80 560 120", 1},
                    LineRow{"Legal_outer_left", kLegal, kTc, "line 40 1200 40 40", 2}));

INSTANTIATE_TEST_SUITE_P(
    Boxes, LineTest,
    testing::Values(LineRow{"A4_normal_box_top", kA4, kNormal, "line 60 670 710 670", 1},
                    LineRow{"A4_normal_box_right", kA4, kNormal, "line 710 670 710 960", 1},
                    LineRow{"Letter_normal_box_right", kLetter, kNormal, "line 725 610 725 900", 1},
                    LineRow{"Legal_normal_box_bottom", kLegal, kNormal, "line 725 1160 60 1160", 1},
                    LineRow{"A4_tc_second_row", kA4, kTc, "line 100 730 600 730", 1},
                    LineRow{"B5_tc_last_row", kB5, kTc, "line 100 810 560 810", 1},
                    LineRow{"B5_tc_right", kB5, kTc, "line 560 630 560 810", 1},
                    LineRow{"Legal_tc_first_row", kLegal, kTc, "line 100 770 600 770", 1}));

// ---- Fonts ------------------------------------------------------------------

struct FontRow {
  const char* name;
  PaperSize paper;
  PageKind kind;
  const char* text;
  Font font;
};

void PrintTo(const FontRow& row, std::ostream* os) { *os << row.name; }

class FontTest : public testing::TestWithParam<FontRow> {};

TEST_P(FontTest, DrawsTheTextInItsFont) {
  EXPECT_EQ(FontWhenDrawn(Draw(GetParam().paper, GetParam().kind).records, GetParam().text), GetParam().font);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FontTest,
    testing::Values(FontRow{"A4_title_base", kA4, kNormal, "title", Font::Points("Arial", 140)},
                    FontRow{"A4_label_base", kA4, kNormal, "Data Name", Font::Points("Arial", 140)},
                    FontRow{"B5_title", kB5, kNormal, "title", Font::Points("Arial", 110)},
                    FontRow{"B5_label", kB5, kStep, "Step1 Output Voltage:", Font::Points("Arial", 110)},
                    FontRow{"B5_page_number", kB5, kTc, "7", Font::Points("Arial", 110)},
                    FontRow{"A4_comment_9pt", kA4, kLogging, "comment", Font::Points("Arial", 90)},
                    FontRow{"B5_comment_8.5pt", kB5, kLogging, "comment", Font::Points("Arial", 85)},
                    FontRow{"Legal_comment_9pt", kLegal, kTc, "comment", Font::Points("Arial", 90)},
                    FontRow{"A4_footer_base", kA4, kNormal, "ZAVEL Corporation", Font::Points("Arial", 140)},
                    FontRow{"B5_footer_base", kB5, kNormal, "ZAVEL Corporation", Font::Points("Arial", 140)},
                    FontRow{"B5_text_after_comment", kB5, kNormal, "serial", Font::Points("Arial", 110)}));

// Fake metrics: base font characters 10 units wide, B5 text font 8.
struct AuthorRow {
  const char* name;
  PaperSize paper;
  std::string author;
  Font font;
};

void PrintTo(const AuthorRow& row, std::ostream* os) { *os << row.name; }

class AuthorFontTest : public testing::TestWithParam<AuthorRow> {};

std::string Repeated(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST_P(AuthorFontTest, NarrowsOnlyAnAuthorWiderThanThePaperAllows) {
  ReportPage page = NamedPage(kNormal);
  SetText(page, "author", GetParam().author);
  const Drawing drawing = Draw(page, OnPaper(GetParam().paper));
  EXPECT_EQ(FontWhenDrawn(drawing.records, GetParam().author), GetParam().font);
  const Font pageFont = Font::Points("Arial", GetParam().paper == kB5 ? 110 : 140);
  EXPECT_EQ(FontWhenDrawn(drawing.records, "serial"), pageFont);
}

INSTANTIATE_TEST_SUITE_P(
    Papers, AuthorFontTest,
    testing::Values(
        AuthorRow{"A4_170_wide_fits", kA4, Repeated("a", 17), Font::Cell("Arial", 20, 0)},
        AuthorRow{"A4_180_wide", kA4, Repeated("a", 18), Font::Cell("Arial", 16, 4)},
        AuthorRow{"A4_18_two_byte_characters", kA4, Repeated("\xC3\xA9", 18), Font::Cell("Arial", 16, 4)},
        AuthorRow{"B5_128_wide_in_B5_font_fits", kB5, Repeated("a", 16), Font::Cell("Arial", 16, 0)},
        AuthorRow{"B5_136_wide", kB5, Repeated("a", 17), Font::Cell("Arial", 16, 3)},
        AuthorRow{"Letter_160_wide_fits", kLetter, Repeated("a", 16), Font::Cell("Arial", 20, 0)},
        AuthorRow{"Letter_170_wide", kLetter, Repeated("a", 17), Font::Cell("Arial", 16, 4)},
        AuthorRow{"Legal_170_wide", kLegal, Repeated("a", 17), Font::Cell("Arial", 16, 4)},
        AuthorRow{"A4_empty", kA4, "", Font::Cell("Arial", 20, 0)}));

// ---- Logo -------------------------------------------------------------------

struct LogoRow {
  const char* name;
  PaperSize paper;
  bool logoOn;
  LogoKind kind;
  int width;
  int height;
  std::vector<std::string> header;  // what the page draws left of the header grid
};

void PrintTo(const LogoRow& row, std::ostream* os) { *os << row.name; }

class LogoTest : public testing::TestWithParam<LogoRow> {};

// The lines drawn into the logo's box: pictures, and texts reaching above y 205.
std::vector<std::string> HeaderBoxLines(const Drawing& drawing) {
  std::vector<std::string> box;
  for (const SurfaceRecord& r : drawing.records) {
    const bool picture = r.op == SurfaceOp::Bitmap;
    const bool text = r.op == SurfaceOp::Text && r.numbers[0] < 245 && r.numbers[1] < 205;
    if (picture || text) box.push_back(DescribePageDrawing({r}, {}).front());
  }
  return box;
}

TEST_P(LogoTest, FillsTheLogoBox) {
  const LogoRow& row = GetParam();
  ReportSettings settings = OnPaper(row.paper);
  settings.logoOn = row.logoOn;
  settings.logoKind = row.kind;
  settings.companyName = "Hill & Sons Electrical";
  const std::vector<std::uint8_t> pixels(3, 0);
  const BitmapView logo{row.width, row.height, row.width > 0 ? pixels.data() : nullptr, 0};
  const Drawing drawing = Draw(NamedPage(kNormal), settings, logo);
  EXPECT_EQ(HeaderBoxLines(drawing), row.header);
  if (row.logoOn && row.kind == LogoKind::Text) {
    EXPECT_EQ(FontWhenDrawn(drawing.records, settings.companyName), Font::Points("Arial", 230));
    EXPECT_EQ(FontWhenDrawn(drawing.records, "Data Name"),
              Font::Points("Arial", row.paper == kB5 ? 110 : 140));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, LogoTest,
    testing::Values(
        LogoRow{
            "400x100_height_kept_centred", kA4, true, LogoKind::Picture, 400, 100, {"picture 45 75 200 100"}},
        LogoRow{"100x100_centred", kA4, true, LogoKind::Picture, 100, 100, {"picture 95 75 100 100"}},
        LogoRow{"200x400_squeezed_in_height_only",
                kB5,
                true,
                LogoKind::Picture,
                200,
                400,
                {"picture 45 45 200 160"}},
        LogoRow{"333x320_height_sets_the_scale",
                kLetter,
                true,
                LogoKind::Picture,
                333,
                320,
                {"picture 45 45 166 160"}},
        LogoRow{"1000x300_width_sets_the_scale",
                kLegal,
                true,
                LogoKind::Picture,
                1000,
                300,
                {"picture 45 45 200 60"}},
        LogoRow{"logo_off", kA4, false, LogoKind::Picture, 100, 100, {}},
        LogoRow{"picture_not_loaded", kA4, true, LogoKind::Picture, 0, 0, {}},
        LogoRow{"company_text_instead_of_loaded_picture",
                kA4,
                true,
                LogoKind::Text,
                100,
                100,
                {"text 45 60 245 205 WC Hill & Sons Electrical"}},
        LogoRow{"company_text_B5",
                kB5,
                true,
                LogoKind::Text,
                0,
                0,
                {"text 45 45 245 205 WC Hill & Sons Electrical"}},
        LogoRow{"company_text_Letter",
                kLetter,
                true,
                LogoKind::Text,
                0,
                0,
                {"text 45 60 245 205 WC Hill & Sons Electrical"}},
        LogoRow{"company_text_Legal",
                kLegal,
                true,
                LogoKind::Text,
                0,
                0,
                {"text 45 45 245 205 WC Hill & Sons Electrical"}},
        LogoRow{"company_text_off", kLegal, false, LogoKind::Text, 0, 0, {}}));

// ---- Page as a whole ----------------------------------------------------------

TEST(ReportDrawing, WithoutAPageOnlyTheFrame) {
  const std::vector<std::string> labels = {
      "Data Name",   "Date",          "Author",           "Comment",   "QV70 S/N",     "Date:",
      "Time:",       "Test Method:",  "Temperature:",     "Humidity:", "Set Voltage:", "Output Voltage:",
      "Resistance:", "Leak Current:", "ZAVEL Corporation"};
  for (PaperSize paper : {kA4, kB5, kLetter, kLegal}) {
    const Drawing drawing = Draw(std::nullopt, OnPaper(paper));
    std::vector<std::string> texts;
    for (const std::string& line : drawing.Lines())
      if (line.substr(0, 5) == "text ") texts.emplace_back(TextField(line));
    EXPECT_EQ(texts, labels) << PaperName(paper);
    EXPECT_TRUE(drawing.graphs.empty()) << PaperName(paper);
  }
}

TEST(ReportDrawing, DescribesAFramePageFromBaseFontToRestore) {
  const std::vector<std::string> lines = Draw(std::nullopt, OnPaper(kA4)).Lines();
  ASSERT_GE(lines.size(), 16u);
  const std::vector<std::string> start(lines.begin(), lines.begin() + 10);
  EXPECT_EQ(start,
            (std::vector<std::string>{"font Arial 14", "pen 2", "line 40 40 730 40", "line 730 40 730 1000",
                                      "line 730 1000 40 1000", "line 40 1000 40 40", "line 40 250 730 250",
                                      "pen 1", "line 250 40 250 250", "line 360 40 360 250"}));
  const std::vector<std::string> end(lines.end() - 3, lines.end());
  EXPECT_EQ(end,
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
  const std::vector<std::string> lines = Draw(kA4, GetParam().kind).Lines();
  size_t previous = 0;
  for (const std::string& end : GetParam().order) {
    const auto found =
        std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return EndsWith(l, end); });
    ASSERT_NE(found, lines.end()) << end;
    const size_t at = static_cast<size_t>(found - lines.begin());
    EXPECT_GT(at, previous) << end;
    previous = at;
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

TEST(ReportDrawing, RestoresTheSurfacesFontAndPen) {
  for (PaperSize paper : {kA4, kB5}) {
    RecordingSurface surface(kFakeMetrics);
    const Font caller = Font::Points("Courier New", 100);
    surface.SelectFont(caller);
    surface.SelectPen(Pen::Solid(3, kBlack));
    DrawReportPage(surface, NamedPage(kStep), OnPaper(paper), {});
    EXPECT_EQ(surface.CurrentFont(), caller) << PaperName(paper);
    EXPECT_EQ(surface.CurrentPen(), Pen::Solid(3, kBlack)) << PaperName(paper);
    const std::vector<SurfaceRecord> fonts = surface.RecordsOf(SurfaceOp::Font);
    ASSERT_GE(fonts.size(), 2u);
    EXPECT_EQ(fonts[1].text, "Arial");
    EXPECT_EQ(fonts[1].numbers[0], 140) << "the base font comes first, whatever the caller's";
  }
}

TEST(ReportDrawing, PageNumberOnlyBelowTheUnprintedNumber) {
  ReportPage page = NamedPage(kTc);
  page.pageNumber = kUnprintedPageNumber;
  for (const std::string& line : Draw(page, OnPaper(kA4)).Lines())
    EXPECT_EQ(line.find("text 40 1020 730 1040"), std::string::npos) << line;
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
  const auto dataNumber = Find(lines, "text 155 610 500 630 L 3");
  ASSERT_NE(dataNumber, lines.end());
  // The chart was laid out in the B5 graph rectangle and drew after the page's texts.
  const Rect plot = chart.Layout().plotRect;
  EXPECT_TRUE(plot.left >= 45 && plot.top >= 635 && plot.right <= 615 && plot.bottom <= 850);
  EXPECT_TRUE(
      std::any_of(dataNumber, lines.end(), [](const std::string& l) { return l.substr(0, 5) == "line "; }));

  RecordingSurface beyond(kFakeMetrics);
  DrawReportPageAt(beyond, 2, settings, tables, chart, {});
  for (const SurfaceRecord& r : beyond.RecordsOf(SurfaceOp::Text)) EXPECT_NE(r.text, "Report with QV70");
}

// ---- Description, units, paper -----------------------------------------------

TEST(DescribePageDrawing, WritesEveryKindOfLine) {
  RecordingSurface s(kFakeMetrics);
  const std::vector<std::uint8_t> pixels(3, 0);
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
  s.StretchBitmap({95, 75, 195, 175}, BitmapView{100, 100, pixels.data(), 0});
  s.SelectFont(Font::Points("Arial", 140));
  s.SelectFont(Font{});
  EXPECT_EQ(DescribePageDrawing(s.Records(), graphs),
            (std::vector<std::string>{"font Arial 14", "pen 2", "line 40 40 730 40", "font Arial 8.5",
                                      "text 368 130 728 208 W a\\\\b\\tc\\nd", "restore-font",
                                      "graph 60 670 710 980", "font Arial cell 16 width 4",
                                      "picture 95 75 100 100", "restore-font", "restore-font"}));
}

TEST(PageUnits, MapDisplayPixelsOntoTheDevice) {
  const UnitMapping mapping = PageUnitMapping({600, 300});
  EXPECT_EQ(mapping, (UnitMapping{{0, 0}, {96, 96}, {0, 0}, {600, 300}}));
}

TEST(PageUnits, PaperSizesAt96PerInch) {
  const struct {
    PaperSize paper;
    Size units;
  } rows[] = {{kA4, {794, 1123}}, {kB5, {688, 971}}, {kLetter, {816, 1056}}, {kLegal, {816, 1344}}};
  for (const auto& row : rows) EXPECT_EQ(PaperSizeInUnits(row.paper), row.units) << PaperName(row.paper);
}

}  // namespace
}  // namespace qv70
