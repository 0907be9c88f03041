// Save as RTF: the document byte by byte, every picture read back record by
// record, the RTF page's layout, its texts where they differ from paper, and
// the file left alone when it cannot be written.
#include "core/report/rtf_export.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "core/chart/chart_ctrl.h"
#include "core/data/values.h"
#include "core/draw/fake_font_metrics.h"
#include "core/draw/recording_surface.h"
#include "core/graphs/graph_tables.h"
#include "core/picture/picture_image.h"
#include "core/report/report_sample.h"
#include "support/temp_dir.h"
#include "support/wmf_walk.h"

namespace qv70 {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::WalkWmf;
using test::WmfWalk;
using test::WriteWholeFile;

// Spelled out here rather than taken from the writer, so a typo there shows.
const std::string kPrologue =
    "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052 "
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}}"
    "{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\nowidctlpar\\f0";
const std::string kGroupStart = "\\fs20{\\pict\\wmetafile8\\picwgoal10300\\pichgoal13500 \n";
const std::string kGroupEnd = "}\\fs24\\par \n";

// The pictures of a report file, which must be exactly the prologue, picture
// groups of lower-case hexadecimal and "}".
struct RtfReport {
  std::string error;
  std::vector<WmfWalk> pictures;
};

RtfReport ReadReport(const std::string& text) {
  RtfReport report;
  if (text.compare(0, kPrologue.size(), kPrologue) != 0) {
    report.error = "no prologue";
    return report;
  }
  std::size_t at = kPrologue.size();
  while (text.compare(at, kGroupStart.size(), kGroupStart) == 0) {
    at += kGroupStart.size();
    const std::size_t end = text.find(kGroupEnd, at);
    if (end == std::string::npos) {
      report.error = "picture group without its end";
      return report;
    }
    const std::string hex = text.substr(at, end - at);
    if (hex.size() % 2 != 0 || hex.find_first_not_of("0123456789abcdef") != std::string::npos) {
      report.error = "picture not in lower-case hexadecimal pairs";
      return report;
    }
    std::vector<std::uint8_t> bytes(hex.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
      bytes[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    report.pictures.push_back(WalkWmf(bytes));
    at = end + kGroupEnd.size();
  }
  if (text.substr(at) != "}") report.error = "not ended by \"}\" alone";
  return report;
}

bool HasLine(const WmfWalk& walk, const std::string& part) {
  return std::any_of(walk.lines.begin(), walk.lines.end(),
                     [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

// The texts drawn into `rect` ("L T R B"), in order.
std::vector<std::string> TextsIn(const WmfWalk& walk, const std::string& rect) {
  std::vector<std::string> texts;
  const std::string clip = " clip " + rect + " \"";
  for (const std::string& line : walk.lines)
    if (const std::size_t at = line.find(clip); at != std::string::npos)
      texts.push_back(line.substr(at + clip.size(), line.size() - at - clip.size() - 1));
  return texts;
}

ReportSettings NormalPages(int groupRecords, bool numbering, const std::string& startPage) {
  ReportSettings settings;
  settings.selectedSets[0] = true;
  settings.normalCount = groupRecords;
  settings.itemFlags = std::string(kItemFlagCount, '1');
  settings.pageNumberOn = numbering;
  settings.startPageText = startPage;
  settings.header.startPage = numbering ? startPage : "1";
  settings.logoOn = false;
  return settings;
}

TEST(HexDigits, TwoLowerCaseDigitsPerByte) {
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string hex;
  } rows[] = {
      {"0 159 255", {0, 159, 255}, "009fff"},
      {"no bytes", {}, ""},
      {"every digit", {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef}, "0123456789abcdef"},
  };
  for (const auto& row : rows) EXPECT_EQ(HexDigits(row.bytes.data(), row.bytes.size()), row.hex) << row.name;
}

TEST(RtfLogoDestination, FitsThePictureIntoTheBox) {
  const struct {
    const char* name;
    int width, height;
    Rect dest;
  } rows[] = {
      {"330x70 scaled in width, centred in height", 330, 70, {28, 63, 193, 133}},
      {"100x100 centred both ways", 100, 100, {60, 48, 160, 148}},
      {"165x140 fills the box", 165, 140, {28, 28, 193, 168}},
      {"100x280 scaled in height only", 100, 280, {60, 28, 160, 168}},
      {"700x150 scaled both ways by the width's ratio", 700, 150, {28, 28, 193, 63}},
  };
  for (const auto& row : rows) EXPECT_EQ(RtfLogoDestination(row.width, row.height), row.dest) << row.name;
}

TEST(MakeRtfLogo, KeepsASmallPictureAndAveragesALargeOneToTwiceItsDrawnSize) {
  // Left half red, right half blue; 8-bit through a palette.
  const struct {
    const char* name;
    int width, height, bits;
    int keptWidth, keptHeight;
  } rows[] = {
      {"small 24-bit kept pixel for pixel", 100, 100, 24, 100, 100},
      {"large 8-bit averaged down", 1320, 280, 8, 330, 70},
  };
  for (const auto& row : rows) {
    PictureImage picture;
    ASSERT_TRUE(picture.Create(row.width, row.height, row.bits));
    picture.SetPaletteEntry(1, {255, 0, 0, 0});  // blue
    picture.SetPaletteEntry(2, {0, 0, 255, 0});  // red
    for (int y = 0; y < row.height; ++y)
      for (int x = 0; x < row.width; ++x) {
        const bool left = x < row.width / 2;
        if (row.bits == 8) {
          picture.Row(y)[x] = left ? 2 : 1;
        } else {
          std::uint8_t* p = picture.Row(y) + 3 * x;
          p[0] = left ? 0 : 255;
          p[2] = left ? 255 : 0;
        }
      }
    const RtfLogo logo = MakeRtfLogo(picture);
    EXPECT_EQ(logo.width, row.keptWidth) << row.name;
    ASSERT_EQ(logo.height, row.keptHeight) << row.name;
    const auto pixel = [&](int x, int y) {
      const std::uint8_t* p = logo.pixels.data() + (static_cast<std::size_t>(y) * logo.width + x) * 3;
      return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(pixel(0, 0), (std::vector<int>{0, 0, 255})) << row.name;  // blue, green, red bytes
    EXPECT_EQ(pixel(logo.width - 1, logo.height - 1), (std::vector<int>{255, 0, 0})) << row.name;
  }
  EXPECT_TRUE(MakeRtfLogo(PictureImage()).IsEmpty());
}

class RtfFileTest : public testing::Test {
 protected:
  Result Save(const ReportSettings& settings, const RecordTables& tables, const PictureImage& logo = {}) {
    return SaveReportRtf(path_, settings, tables, chart_, logo, kFakeMetrics);
  }
  TempDir dir_;
  std::string path_ = dir_.File("report.rtf");
  ChartCtrl chart_;
};

TEST_F(RtfFileTest, OneLoggingPageIsThePrologueOneGroupAndTheEnd) {
  RecordTables tables;
  test::PutLoggingSet(tables, 1, "60", test::SameSamples(3, "1000", "2000000000"));
  ReportSettings settings;
  settings.selectedSets[10 + 1] = true;
  settings.loggingCount = 1;
  ASSERT_TRUE(Save(settings, tables).ok);

  const std::string text = ReadWholeFile(path_);
  ASSERT_EQ(text.compare(0, kPrologue.size() + kGroupStart.size(), kPrologue + kGroupStart), 0);
  ASSERT_EQ(text.substr(text.size() - kGroupEnd.size() - 1), kGroupEnd + "}");
  const RtfReport report = ReadReport(text);
  ASSERT_EQ(report.error, "");
  ASSERT_EQ(report.pictures.size(), 1u);
  EXPECT_TRUE(report.pictures[0].ok()) << report.pictures[0].error;
  EXPECT_TRUE(HasLine(report.pictures[0], "window-ext 880 680"));
}

TEST_F(RtfFileTest, NoPagesGiveThePrologueAndTheEnd) {
  RecordTables tables;
  ASSERT_TRUE(Save(ReportSettings(), tables).ok);
  EXPECT_EQ(ReadWholeFile(path_), kPrologue + "}");
}

TEST_F(RtfFileTest, NumbersPagesFromTheStartPageText) {
  const struct {
    const char* name;
    bool numbering;
    std::vector<std::vector<std::string>> numbers;
  } rows[] = {
      {"numbering on from 7", true, {{"7"}, {"8"}, {"9"}}},
      {"numbering off", false, {{}, {}, {}}},
  };
  RecordTables tables;
  for (int r = 0; r < 3; ++r) test::PutSampleRecord(tables, 0, r, {{field::kTestType, "Normal Test"}});
  for (const auto& row : rows) {
    ReportSettings settings = NormalPages(3, row.numbering, "7");
    settings.header.startPage = "1";  // the RTF file counts from startPageText
    ASSERT_TRUE(Save(settings, tables).ok) << row.name;
    const RtfReport report = ReadReport(ReadWholeFile(path_));
    ASSERT_EQ(report.pictures.size(), 3u) << row.name;
    std::vector<std::vector<std::string>> numbers;
    for (const WmfWalk& picture : report.pictures) numbers.push_back(TextsIn(picture, "25 830 655 848"));
    EXPECT_EQ(numbers, row.numbers) << row.name;
  }
}

// Every page of a report with every kind: a picture each, every record sound,
// the kind's own labels, the logo reduced to twice its drawn size.
TEST_F(RtfFileTest, EveryPageOfEveryKindIsASoundPicture) {
  const auto tables = test::SampleReportTables();
  ASSERT_TRUE(Save(test::SampleReportSettings(), *tables, test::SampleLogo()).ok);
  const RtfReport report = ReadReport(ReadWholeFile(path_));
  ASSERT_EQ(report.error, "");
  const struct {
    const char* kind;
    std::vector<std::string> texts;  // labels only this kind shows, and its page number
  } pages[] = {
      {"logging Lr0", {"Time Interval:", "Data Number:", "40", "7"}},
      {"logging Lr3 without samples", {}},
      {"Normal Test", {"DAR Value[1min/15s]:", "Resistance[t1]:", "Test Time:", "9"}},
      {"TC Test", {"Table No.:", "TC Resistance:", "10"}},
      {"Step Voltage Test", {"Step5 Output Voltage:", "Step Interval:", "11"}},
  };
  ASSERT_EQ(report.pictures.size(), std::size(pages));
  for (std::size_t i = 0; i < std::size(pages); ++i) {
    const WmfWalk& picture = report.pictures[i];
    ASSERT_TRUE(picture.ok()) << pages[i].kind << ": " << picture.error;
    EXPECT_TRUE(HasLine(picture, "bitmap 28 28 165 35 from 330x70")) << pages[i].kind;
    EXPECT_TRUE(HasLine(picture, "\"ZAVEL Corporation\"")) << pages[i].kind;
    EXPECT_TRUE(HasLine(picture, "\"Date:\"")) << pages[i].kind;
    for (const std::string& text : pages[i].texts)
      EXPECT_TRUE(HasLine(picture, "\"" + text + "\"")) << pages[i].kind << ": " << text;
  }
  // The page the data no longer fills has its frame and labels, no texts.
  EXPECT_FALSE(HasLine(report.pictures[1], "\"Report with QV70\""));
  EXPECT_TRUE(TextsIn(report.pictures[1], "25 830 655 848").empty());
  // The comment's Chinese in code page 936, with the charset that says so.
  EXPECT_TRUE(HasLine(report.pictures[0], "\"\xbe\xf8\xd4\xb5\xb5\xe7\xd7\xe8"));
  EXPECT_TRUE(HasLine(report.pictures[0], "400 134"));
}

// On Normal Test pages the six secondary resistances and on Step Voltage
// Test pages the five step resistances are computed from the raw value even
// when the converted one reads 0; everything else is as printed.
TEST(RtfTexts, SecondaryResistancesReadingZeroComeFromTheRawValue) {
  const std::string zeroInGigaOhms = FormatThreeFigures(FormatText("%lf", 0.0)) + " [GOhms]";
  RecordTables tables;
  test::PutStepRecord(tables, 0, 0,
                      {"5000",
                       {"1000", "2000", "3000", "4000", "5000"},
                       {"5000000000", "0", "3000000000", "2000000000", "0"}});
  test::PutSampleRecord(tables, 1, 0,
                        {{field::kTestType, "Normal Test"},
                         {field::kResistance, "0"},
                         {field::kT2Resistance, "0"},
                         {field::kRes15s, "4700"}});
  ReportSettings settings;
  settings.selectedSets[0] = settings.selectedSets[1] = true;
  settings.normalCount = settings.stepCount = 1;
  settings.itemFlags = std::string(kItemFlagCount, '1');
  const struct {
    const char* name;
    int page;
    const char* text;
    std::string printed;
    std::string rtf;
  } rows[] = {
      {"step resistance 0 on a GOhms graph", 2, "step2-resistance", "0.00 [Ohms]", zeroInGigaOhms},
      {"step 5 resistance 0 on a GOhms graph", 2, "step5-resistance", "0.00 [Ohms]", zeroInGigaOhms},
      {"main resistance of the step page", 2, "resistance", "0.00 [Ohms]", "0.00 [Ohms]"},
      {"step resistance of 5 GOhms", 2, "step1-resistance", "5.00 [GOhms]", "5.00 [GOhms]"},
      {"t2 resistance 0 in threshold mode", 1, "resistance-t2", "0.00 [Ohms]", "0.00 [Ohms]"},
      {"15 s resistance of 4700 Ohms", 1, "resistance-15s", "0.00 [KOhms]", "0.00 [KOhms]"},
      {"main resistance of the Normal page", 1, "resistance", "0.00 [Ohms]", "0.00 [Ohms]"},
  };
  ChartCtrl chart;
  for (const auto& row : rows) {
    const auto printed = BuildPage(row.page, settings, tables, chart, PageTexts::Printed);
    const auto rtf = BuildPage(row.page, settings, tables, chart, PageTexts::Rtf);
    ASSERT_TRUE(printed && rtf) << row.name;
    EXPECT_EQ(printed->Text(row.text), row.printed) << row.name;
    EXPECT_EQ(rtf->Text(row.text), row.rtf) << row.name;
  }
  // A converted value that is no number at all, as an error mark leaves it.
  tables.Manual(RecordCopy::Converted, 1, 0, field::kRes15s) = "x";
  EXPECT_EQ(BuildPage(1, settings, tables, chart, PageTexts::Rtf)->Text("resistance-15s"), "0.00 [KOhms]");
  EXPECT_EQ(BuildPage(1, settings, tables, chart, PageTexts::Printed)->Text("resistance-15s"), "0.00 [Ohms]");
}

// Judged by the permission bits, as a process running as root could still
// write the file; a file that cannot be opened is never touched.
TEST_F(RtfFileTest, AFileThatCannotBeOpenedGivesTheMessageAndStaysAsItWas) {
  RecordTables tables;
  for (int r = 0; r < 2; ++r) test::PutSampleRecord(tables, 0, r, {{field::kTestType, "Normal Test"}});
  const ReportSettings settings = NormalPages(2, true, "1");
  const struct {
    const char* name;
    std::string path;
    mode_t mode;  // 0: no file there
  } rows[] = {
      {"read-only file", dir_.File("read-only.rtf"), 0444},
      {"missing folder", dir_.File("no-folder/report.rtf"), 0},
      {"a folder", dir_.path(), 0},
  };
  for (const auto& row : rows) {
    if (row.mode != 0) {
      WriteWholeFile(row.path, "old report");
      chmod(row.path.c_str(), row.mode);
    }
    const Result saved = SaveReportRtf(row.path, settings, tables, chart_, {}, kFakeMetrics);
    EXPECT_FALSE(saved.ok) << row.name;
    EXPECT_EQ(saved.message, row.path + " .The File is opened or read only!Can not be saved!") << row.name;
    if (row.mode != 0) {
      EXPECT_EQ(ReadWholeFile(row.path), "old report") << row.name;
    }
  }
  struct stat info;
  EXPECT_NE(stat(dir_.File("no-folder").c_str(), &info), 0);
}

// A write that fails after the open test (here the file size limit, as a
// full disk would) reports the same message and keeps the old file.
TEST_F(RtfFileTest, AFailureWhileWritingKeepsTheOldFile) {
  WriteWholeFile(path_, "old report");
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto tables = test::SampleReportTables();
    ChartCtrl chart;
    const Result saved =
        SaveReportRtf(path_, test::SampleReportSettings(), *tables, chart, test::SampleLogo(), kFakeMetrics);
    _exit(!saved.ok && saved.message == path_ + " .The File is opened or read only!Can not be saved!" ? 0
                                                                                                      : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  EXPECT_EQ(ReadWholeFile(path_), "old report");
  EXPECT_EQ(std::system(("test $(ls -A '" + dir_.path() + "' | wc -l) -eq 1").c_str()), 0);
}

// The RTF page's own layout, as the drawing calls give it.
struct LayoutRow {
  const char* name;
  int page;                        // of the sample report
  std::vector<std::string> calls;  // in this order among the page's calls
};

void PrintTo(const LayoutRow& row, std::ostream* os) { *os << row.name; }

class RtfLayoutTest : public testing::TestWithParam<LayoutRow> {};

TEST_P(RtfLayoutTest, DrawsInTheRtfPagesPlaces) {
  const auto tables = test::SampleReportTables();
  ReportSettings settings = test::SampleReportSettings();
  settings.logoKind = LogoKind::Text;
  settings.companyName = "ZAVEL";
  ChartCtrl chart;
  RecordingSurface surface(kFakeMetrics);
  const std::optional<ReportPage> page = BuildPage(GetParam().page, settings, *tables, chart, PageTexts::Rtf);
  DrawRtfPage(surface, page, settings, RtfLogo{}, chart);
  std::vector<std::string> calls;
  for (const SurfaceRecord& record : surface.Records()) calls.push_back(record.Describe());
  // Looked for in order among all the calls, the graph's included.
  std::size_t at = 0;
  for (const std::string& want : GetParam().calls) {
    const auto found = std::find(calls.begin() + static_cast<std::ptrdiff_t>(at), calls.end(), want);
    ASSERT_NE(found, calls.end()) << "missing, or out of order: " << want;
    at = static_cast<std::size_t>(found - calls.begin()) + 1;
  }
  EXPECT_EQ(surface.CurrentFont(), Font()) << "the surface's font restored";
  EXPECT_EQ(surface.CurrentPen(), Pen()) << "the surface's pen restored";
}

INSTANTIATE_TEST_SUITE_P(
    Pages, RtfLayoutTest,
    testing::Values(
        LayoutRow{"frame_and_header_of_a_logging_page",
                  1,
                  {"fill 0 0 680 880 255 255 255",
                   "pen solid 2 0 0 0",
                   "font 115 0 0 400 0 \"Arial\"",
                   "polyline 25 25 655 25 655 830 25 830 25 25",
                   "pen solid 1 0 0 0",
                   "line 25 200 655 200",
                   "line 200 25 200 200",
                   "line 200 50 655 50",
                   "line 200 75 655 75",
                   "line 200 175 655 175",
                   "line 285 25 285 200",
                   "line 375 50 375 75",
                   "line 430 50 430 75",
                   "text WC 25 25 200 175 \"ZAVEL\"",
                   "text CE 25 175 200 200 \"Report with QV70\"",
                   "text L 205 25 285 50 \"Data Name\"",
                   "text L 290 25 655 50 \"(L0)\"",
                   "text L 205 50 275 75 \"Date\"",
                   "text L 290 50 375 75 \"2024-5-6\"",
                   "text L 380 50 425 75 \"Author\"",
                   "text L 436 50 655 75 \"Inspector\"",
                   "text L 205 75 275 100 \"Comment\"",
                   "font 95 0 0 400 0 \"Arial\"",
                   "font 115 0 0 400 0 \"Arial\"",
                   "text L 205 175 275 200 \"QV70 S/N\"",
                   "text L 290 175 655 200 \"09120345\"",
                   "text L 50 236 175 254 \"Date:\"",
                   "text L 180 236 655 254 \"2024/05/06\"",
                   "text L 50 380 175 398 \"Time Interval:\"",
                   "text L 180 380 655 398 \"1 [min]\"",
                   "text L 50 488 175 506 \"Data Number:\"",
                   "text L 180 488 655 506 \"40\"",
                   "text CE 25 830 655 848 \"7\"",
                   "text R 25 848 655 880 \"ZAVEL Corporation\""}},
        LayoutRow{"normal_results_box",
                  3,
                  {"text L 380 50 425 75 \"Author\"", "text L 440 50 655 75 \"Inspector\"",
                   "text L 50 380 175 398 \"Test Time:\"", "text L 180 380 655 398 \"10 [min]0 [s]\"",
                   "polyline 38 596 642 596 642 812 38 812 38 596",
                   "text L 50 614 200 632 \"DAR Value[1min/15s]:\"", "text L 200 614 340 632 \"1.25\"",
                   "text L 340 614 465 632 \"Resistance[1min]:\"", "text L 465 614 655 632 \"2.50 [GOhms]\"",
                   "text L 340 632 465 650 \"Resistance[15s]:\"", "text L 465 632 655 650 \"0.00 [KOhms]\"",
                   "text L 50 722 200 740 \"PI Value[t2/t1]:\"", "text L 340 776 465 794 \"Resistance[t1]:\"",
                   "text L 465 776 655 794 \"0.00 [Ohms]\"", "text CE 25 830 655 848 \"9\""}},
        LayoutRow{
            "tc_results_box",
            4,
            {"polyline 50 524 555 524 555 686 50 686 50 524", "line 50 578 555 578", "line 50 632 555 632",
             "text L 75 524 225 578 \"Table No.:\"", "text L 230 524 555 578 \"3\"",
             "text L 75 578 225 632 \"Ref. Temperature:\"", "text L 230 578 555 632 \"20.0 [C]\"",
             "text L 75 632 225 686 \"TC Resistance:\"", "text L 230 632 555 686 \"123 [KOhms]\""}},
        LayoutRow{"step_column_and_narrow_values",
                  5,
                  {"text L 50 290 175 308 \"Test Method:\"", "text L 180 290 340 308 \"Step Voltage Test\"",
                   "text L 180 326 655 344 \"\"", "text L 50 380 175 398 \"Step Interval:\"",
                   "text R 340 290 490 308 \"Step1 Output Voltage:\"", "text L 495 290 655 308 \"1.00 [kV]\"",
                   "text R 340 308 490 326 \"Resistance:\"", "text L 495 308 655 326 \"2.00 [GOhms]\"",
                   "text R 340 434 490 452 \"Step5 Output Voltage:\"",
                   "text R 340 452 490 470 \"Resistance:\"", "text L 495 452 655 470 \"4.10 [GOhms]\""}},
        LayoutRow{"page_without_data_keeps_frame_labels_and_foot",
                  2,
                  {"polyline 25 25 655 25 655 830 25 830 25 25", "text WC 25 25 200 175 \"ZAVEL\"",
                   "text L 205 25 285 50 \"Data Name\"", "text L 205 175 275 200 \"QV70 S/N\"",
                   "text L 50 236 175 254 \"Date:\"", "text L 50 452 175 470 \"Leak Current:\"",
                   "text R 25 848 655 880 \"ZAVEL Corporation\""}}));

}  // namespace
}  // namespace qv70
