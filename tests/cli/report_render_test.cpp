// qv70cli report --drawing, --pdf and --rtf: the printed pages as drawing
// calls in page units, as a PDF of the chosen paper, and the RTF export.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/data_file_test_support.h"
#include "core/platform/environment.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

#ifdef QV70_CLI_GRAPH

using test::CliRun;
using test::ExamplePath;
using test::RunCli;
using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

// The drawing lines of page `index` of a --drawing output, its page line first.
std::vector<std::string> PageDrawing(const std::string& out, int index) {
  std::vector<std::string> lines;
  bool inPage = false;
  for (const std::string& line : test::SplitLines(out)) {
    if (line.rfind("page\t", 0) == 0) inPage = line.rfind("page\t" + std::to_string(index) + "\t", 0) == 0;
    if (inPage) lines.push_back(line);
  }
  return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& wanted) {
  for (const std::string& line : lines)
    if (line == wanted) return true;
  return false;
}

bool HasPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& line : lines)
    if (line.rfind(prefix, 0) == 0) return true;
  return false;
}

TEST(ReportDrawing, PagesAreDrawnInPageUnitsOfTheirPaperAndSettings) {
  const std::string file = ExamplePath("current_comma_period.csv");
  struct Row {
    const char* name;
    std::vector<std::string> options;
    int page;
    std::vector<std::string> present;
    std::vector<std::string> absentPrefixes;
  };
  const Row rows[] = {
      {"A4 logging page with the shipped logo",
       {},
       1,
       {"page\t1\t1\tlogging\tL0", "font Arial 14", "pen 2", "line 40 40 730 40", "pen 1", "line 478 80 478 120",
        "picture 73 101 144 48", "graph 60 670 710 980", "text 40 1020 730 1040 CE 1",
        "text 40 1040 730 1060 R ZAVEL Corporation", "restore-font"},
       {}},
      {"B5 normal page",
       {"--paper", "b5", "--select", "A"},
       1,
       {"page\t1\t1\tnormal\tA0", "line 40 40 620 40", "font Arial 11", "font Arial 8.5",
        "text 60 620 220 650 L DAR Value[1min/15s]:", "text 40 860 620 900 CE 1"},
       {"graph "}},
      {"Letter step page without numbers, the company text",
       {"--paper", "letter", "--select", "A", "--no-page-numbers", "--company", "ACME Test Lab"},
       3,
       {"page\t3\t-\tstep\tA2", "font Arial 23", "text 45 60 245 205 WC ACME Test Lab", "graph 60 650 710 930"},
       {"picture ", "text 40 950 "}},
      {"Legal TC page without a logo, a long author",
       {"--paper", "legal", "--select", "A", "--no-logo", "--author", "Wolfgang Amadeus"},
       2,
       {"page\t2\t2\ttc\tA1", "line 745 40 745 1200", "font Arial cell 16 width 5",
        "text 568 82 728 118 L Wolfgang Amadeus", "text 40 1200 730 1240 CE 2"},
       {"picture ", "font Arial 23"}},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args = {"report", file, "--drawing"};
    args.insert(args.end(), row.options.begin(), row.options.end());
    const CliRun run = RunCli(args);
    ASSERT_EQ(run.status, 0) << row.name << ": " << run.err;
    const std::vector<std::string> page = PageDrawing(run.out, row.page);
    for (const std::string& line : row.present) EXPECT_TRUE(Has(page, line)) << row.name << ": " << line;
    for (const std::string& prefix : row.absentPrefixes)
      EXPECT_FALSE(HasPrefix(page, prefix)) << row.name << ": " << prefix;
  }
}

// The pages of a PDF and the size of its first page, in points.
struct PdfFacts {
  int pages = 0;
  std::string mediaBox;
};

PdfFacts ReadPdfFacts(const std::string& bytes) {
  PdfFacts facts;
  for (size_t at = bytes.find("/Type /Page\n"); at != std::string::npos; at = bytes.find("/Type /Page\n", at + 1))
    ++facts.pages;
  const size_t box = bytes.find("/MediaBox [");
  if (box != std::string::npos) facts.mediaBox = bytes.substr(box + 11, bytes.find(']', box) - box - 11);
  return facts;
}

TEST(ReportPdf, EveryPageOnTheChosenPaperWrittenWholeOrNotAtAll) {
  const std::string file = ExamplePath("current_comma_period.csv");
  TempDir dir;
  struct Row {
    const char* paper;
    const char* mediaBox;  // points, as Qt writes them
  };
  for (const Row& row : {Row{"a4", "0 0 595.000000 842.000000"}, Row{"b5", "0 0 516.000000 729.000000"}, Row{"letter", "0 0 612.000000 792.000000"},
                         Row{"legal", "0 0 612.000000 1008.000000"}}) {
    const std::string pdf = dir.File(std::string(row.paper) + ".pdf");
    const CliRun run = RunCli({"report", file, "--pdf", pdf, "--paper", row.paper});
    ASSERT_EQ(run.status, 0) << row.paper << ": " << run.err;
    EXPECT_EQ(run.out, "") << row.paper;
    const PdfFacts facts = ReadPdfFacts(ReadWholeFile(pdf));
    EXPECT_EQ(facts.pages, 7) << row.paper;
    EXPECT_EQ(facts.mediaBox, row.mediaBox) << row.paper;
  }

  // A folder that is not there: refused, nothing written.
  const std::string missing = dir.File("no-such-folder/report.pdf");
  const CliRun refused = RunCli({"report", file, "--pdf", missing});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err.rfind("Cannot write " + missing, 0), 0u) << refused.err;
  // Finish's refusal writes no page either.
  const std::string none = dir.File("none.pdf");
  const CliRun empty = RunCli({"report", file, "--pdf", none, "--select", "L5"});
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "Please Choose Data To Print!\n");
  EXPECT_FALSE(FileExists(none));
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(ReportRtf, OnePictureGroupPerPageAndAReadOnlyFileLeftAsItWas) {
  const std::string file = ExamplePath("current_comma_period.csv");
  TempDir dir;
  const std::string rtf = dir.File("report.rtf");
  const CliRun run = RunCli({"report", file, "--rtf", rtf, "--select", "A,L0", "--start-page", "7"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string bytes = ReadWholeFile(rtf);
  EXPECT_EQ(bytes.rfind("{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052 {\\fonttbl", 0), 0u);
  EXPECT_EQ(Count(bytes, "\\fs20{\\pict\\wmetafile8\\picwgoal10300\\pichgoal13500 \n"), 4u);
  EXPECT_EQ(Count(bytes, "}\\fs24\\par \n"), 4u);
  EXPECT_EQ(bytes.back(), '}');

  // A file without write permission: the message, the file unchanged.
  const std::string locked = dir.File("locked.rtf");
  WriteWholeFile(locked, "old report");
  ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
  const CliRun refused = RunCli({"report", file, "--rtf", locked});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, locked + " .The File is opened or read only!Can not be saved!\n");
  EXPECT_EQ(ReadWholeFile(locked), "old report");
}

#endif

}  // namespace
}  // namespace qv70
