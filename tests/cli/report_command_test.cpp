// qv70cli report --texts: the page list and texts of an example file, what the
// settings options change in them, and the refusals and usage errors.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "core/report/report_start.h"
#include "support/data_file_test_support.h"

namespace qv70 {
namespace {

using test::CliRun;
using test::ExamplePath;
using test::RunCli;

// The "page" lines of `out`.
std::string PageLines(const std::string& out) {
  std::string pages;
  for (const std::string& line : test::SplitLines(out))
    if (line.rfind("page\t", 0) == 0) pages += line + '\n';
  return pages;
}

bool HasLine(const std::string& out, const std::string& wanted) {
  for (const std::string& line : test::SplitLines(out))
    if (line == wanted) return true;
  return false;
}

const std::string kEveryPage =
    "page\t1\t1\tlogging\tL0\npage\t2\t2\tlogging\tL3\npage\t3\t3\tnormal\tA0\npage\t4\t4\tnormal\tP0\n"
    "page\t5\t5\tnormal\tP1\npage\t6\t6\ttc\tA1\npage\t7\t7\tstep\tA2\n";

// Sixteen characters, 48 bytes.
const std::string kCjkAuthor16 = "山田太郎山田太郎山田太郎山田太郎";

TEST(ReportCommand, ListsPagesAndTexts) {
  const std::string file = ExamplePath("current_comma_period.csv");
  const struct {
    const char* name;
    std::vector<std::string> options;
    std::string pages;
    std::vector<std::string> lines;
  } cases[] = {
      {"every page",
       {},
       "page\t1\t1\tlogging\tL0\npage\t2\t2\tlogging\tL3\npage\t3\t3\tnormal\tA0\npage\t4\t4\tnormal\tP0\n"
       "page\t5\t5\tnormal\tP1\npage\t6\t6\ttc\tA1\npage\t7\t7\tstep\tA2\n",
       {"text\tdata-name\t(L0)", "text\tinterval\t1 [min]", "text\tresistance\t5.19 [GOhms]",
        "text\tleak-current\t192 [nA]", "text\tdata-number\t4", "text\tinterval\t30 [s]",
        "text\tresistance\t990 [MOhms]"}},
      {"P and A with an empty set",
       {"--select", "P,A,L7"},
       "page\t1\t1\tnormal\tA0\npage\t2\t2\tnormal\tP0\npage\t3\t3\tnormal\tP1\npage\t4\t4\ttc\tA1\n"
       "page\t5\t5\tstep\tA2\n",
       {"text\tleak-current\tUF", "text\tresistance\t123 [KOhms]", "text\tresistance-15s\t0.00 [Ohms]",
        "text\ttc-resistance\t625 [MOhms]", "text\tstep5-resistance\t3.60 [GOhms]",
        "text\tleak-current\t1.39 [uA]"}},
      {"comma decimals",
       {"--select", "A", "--decimal", "comma"},
       "page\t1\t1\tnormal\tA0\npage\t2\t2\ttc\tA1\npage\t3\t3\tstep\tA2\n",
       {"text\ttemperature\t23,5 [C]", "text\tresistance\t5,00 [GOhms]", "text\tdar15\t2,83"}},
      {"logging interval only",
       {"--items", "000000000000000000000000000010000"},
       "page\t1\t1\tlogging\tL0\npage\t2\t2\tlogging\tL3\n",
       {"text\tinterval\t1 [min]", "text\ttemperature\t", "text\tset-voltage\t",
        "text\tresistance\t5.19 [GOhms]"}},
      {"start page 7",
       {"--start-page", "7"},
       "page\t1\t7\tlogging\tL0\npage\t2\t8\tlogging\tL3\npage\t3\t9\tnormal\tA0\npage\t4\t10\tnormal\tP0\n"
       "page\t5\t11\tnormal\tP1\npage\t6\t12\ttc\tA1\npage\t7\t13\tstep\tA2\n",
       {}},
      {"start page 99998, the last one printed",
       {"--start-page", "99998", "--select", "A"},
       "page\t1\t99998\tnormal\tA0\npage\t2\t-\ttc\tA1\npage\t3\t-\tstep\tA2\n",
       {}},
      {"no page numbers",
       {"--no-page-numbers", "--select", "A"},
       "page\t1\t-\tnormal\tA0\npage\t2\t-\ttc\tA1\npage\t3\t-\tstep\tA2\n",
       {}},
      // Period decimals turn every comma of a page's texts into a period.
      {"data name with a comma",
       {"--data-name", "Motor 3, west"},
       kEveryPage,
       {"text\tdata-name\tMotor 3. west"}},
      {"date text", {"--date", "2024-1-2"}, kEveryPage, {"text\tdate\t2024-1-2"}},
      {"no date", {"--no-date"}, kEveryPage, {"text\tdate\t"}},
      {"author of 16 CJK characters",
       {"--author", kCjkAuthor16},
       kEveryPage,
       {"text\tauthor\t" + kCjkAuthor16}},
      {"author that reads like an option",
       {"--author", "--no-date"},
       kEveryPage,
       {"text\tauthor\t--no-date"}},
      {"comment with backslash, tab and line feed",
       {"--comment", "a\\b\tc\r\nd"},
       kEveryPage,
       {"text\tcomment\ta\\\\b\\tc\\nd"}},
      {"comment with comma decimals",
       {"--comment", "a.b, c", "--decimal", "comma", "--select", "A"},
       "page\t1\t1\tnormal\tA0\npage\t2\t2\ttc\tA1\npage\t3\t3\tstep\tA2\n",
       {"text\tcomment\ta,b, c"}},
      {"every text at its limit",
       {"--author", std::string(16, 'a'), "--company", std::string(32, 'c'), "--data-name",
        std::string(30, 'd'), "--comment", std::string(250, 'x'), "--start-page", "12345", "--date",
        "2024-12-31", "--select", "A"},
       "page\t1\t12345\tnormal\tA0\npage\t2\t12346\ttc\tA1\npage\t3\t12347\tstep\tA2\n",
       {"text\tauthor\t" + std::string(16, 'a'), "text\tdata-name\t" + std::string(30, 'd'),
        "text\tcomment\t" + std::string(250, 'x'), "text\tdate\t2024-12-31"}},
      {"paper, company and no author leave the texts",
       {"--paper", "legal", "--company", "ACME", "--no-author", "--select", "A"},
       "page\t1\t1\tnormal\tA0\npage\t2\t2\ttc\tA1\npage\t3\t3\tstep\tA2\n",
       {"text\tauthor\t", "text\tdata-name\t(A0)"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"report", file, "--texts"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = RunCli(args);
    ASSERT_EQ(run.status, 0) << c.name << ": " << run.err;
    EXPECT_EQ(PageLines(run.out), c.pages) << c.name;
    for (const std::string& line : c.lines) EXPECT_TRUE(HasLine(run.out, line)) << c.name << ": " << line;
  }
}

// The graph a page carries decides its resistance unit: with a graph of 4 GΩ
// to 500 kΩ (step) and 987 MΩ to 500 kΩ (logging) the last 500 kΩ prints in
// the graph's unit, and in its own with the other graph.
TEST(ReportCommand, GraphKindsChooseTheResistanceUnit) {
  test::TempDir dir;
  const std::string file = dir.File("small_last.csv");
  test::WriteWholeFile(
      file, test::EditLines(
                test::ReadWholeFile(ExamplePath("current_comma_period.csv")),
                {{"2,2010-02-10,08:01:00,501,990000000", "2,2010-02-10,08:01:00,501,500000"},
                 {std::string("A2,Step Voltage Test,2009-12-01,11:30:00,,23.5,45.0,5000,,,,,,,,,,,,,,,,") +
                      "60,1000,4000000000,2000,3900000000,3000,3800000000,4000,3700000000,5000,3600000000",
                  std::string("A2,Step Voltage Test,2009-12-01,11:30:00,,23.5,45.0,5000,,,,,,,,,,,,,,,,") +
                      "60,1000,4000000000,2000,3900000000,3000,3800000000,4000,3700000000,5000,500000"}}));
  const struct {
    const char* name;
    std::vector<std::string> options;
    std::string line;
  } cases[] = {
      {"step resistance graph", {"--select", "A"}, "text\tstep5-resistance\t0.000500 [GOhms]"},
      {"step current graph",
       {"--select", "A", "--step-graph", "current"},
       "text\tstep5-resistance\t500 [KOhms]"},
      {"logging resistance graph", {"--select", "L3"}, "text\tresistance\t0.500 [MOhms]"},
      {"logging current graph",
       {"--select", "L3", "--logging-graph", "current"},
       "text\tresistance\t500 [KOhms]"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"report", file, "--texts"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = RunCli(args);
    ASSERT_EQ(run.status, 0) << c.name << ": " << run.err;
    EXPECT_TRUE(HasLine(run.out, c.line)) << c.name << ":\n" << run.out;
  }
}

TEST(ReportCommand, DateIsTodayUnlessGiven) {
  const std::string before = ReportDateText(std::time(nullptr));
  const CliRun run = RunCli({"report", ExamplePath("current_comma_period.csv"), "--texts", "--select", "A"});
  const std::string after = ReportDateText(std::time(nullptr));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(HasLine(run.out, "text\tdate\t" + before) || HasLine(run.out, "text\tdate\t" + after))
      << run.out;
}

TEST(ReportCommand, RefusalsAndUsageErrors) {
  const std::string file = ExamplePath("current_comma_period.csv");
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;  // the whole message for status 1
  } cases[] = {
      {"only sets without data",
       {"report", file, "--texts", "--select", "L5,L7"},
       1,
       "Please Choose Data To Print!\n"},
      {"no item ticked",
       {"report", file, "--texts", "--items", std::string(33, '0')},
       1,
       "Please Choose Data To Print!\n"},
      {"no --texts", {"report", file}, 2, ""},
      {"group G", {"report", file, "--texts", "--select", "G"}, 2, ""},
      {"set L10", {"report", file, "--texts", "--select", "L10"}, 2, ""},
      {"empty word", {"report", file, "--texts", "--select", "A,"}, 2, ""},
      {"32 item flags", {"report", file, "--texts", "--items", std::string(32, '1')}, 2, ""},
      {"item flag 2", {"report", file, "--texts", "--items", std::string(32, '1') + "2"}, 2, ""},
      {"unknown option", {"report", file, "--texts", "--pdf", "x.pdf"}, 2, ""},
      {"rtf without its file", {"report", file, "--rtf"}, 2, ""},
      {"two output modes", {"report", file, "--texts", "--drawing"}, 2, ""},
      {"two files", {"report", file, file, "--texts"}, 2, ""},
      {"option given twice", {"report", file, "--texts", "--author", "a", "--author", "b"}, 2, ""},
      {"text option without its text", {"report", file, "--texts", "--comment"}, 2, ""},
      {"paper a3", {"report", file, "--texts", "--paper", "a3"}, 2, ""},
      {"step graph leak", {"report", file, "--texts", "--step-graph", "leak"}, 2, ""},
      {"logging graph Resistance", {"report", file, "--texts", "--logging-graph", "Resistance"}, 2, ""},
      {"start page and no page numbers",
       {"report", file, "--texts", "--start-page", "3", "--no-page-numbers"},
       2,
       ""},
      {"logo and company", {"report", file, "--texts", "--logo", "l.bmp", "--company", "ACME"}, 2, ""},
      {"company and no logo", {"report", file, "--texts", "--company", "ACME", "--no-logo"}, 2, ""},
      {"date and no date", {"report", file, "--texts", "--date", "today", "--no-date"}, 2, ""},
      {"author and no author", {"report", file, "--texts", "--author", "me", "--no-author"}, 2, ""},
      {"author of 17 CJK characters", {"report", file, "--texts", "--author", kCjkAuthor16 + "山"}, 2, ""},
      {"author of 17 letters", {"report", file, "--texts", "--author", std::string(17, 'a')}, 2, ""},
      {"company of 33", {"report", file, "--texts", "--company", std::string(33, 'c')}, 2, ""},
      {"data name of 31", {"report", file, "--texts", "--data-name", std::string(31, 'd')}, 2, ""},
      {"comment of 251", {"report", file, "--texts", "--comment", std::string(251, 'x')}, 2, ""},
      {"start page of 6", {"report", file, "--texts", "--start-page", "123456"}, 2, ""},
      {"date of 11", {"report", file, "--texts", "--date", "2024-12-310"}, 2, ""},
      {"logo path of 260", {"report", file, "--texts", "--logo", std::string(260, 'p')}, 2, ""},
      {"author not UTF-8", {"report", file, "--texts", "--author", "\xe5\xb1"}, 2, ""},
      {"usage before the file", {"report", "/nonexistent/x.csv", "--texts", "--paper", "a3"}, 2, ""},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.name;
    if (c.status == 2)
      EXPECT_NE(run.err.find("  report FILE "), std::string::npos) << c.name;
    else
      EXPECT_EQ(run.err, c.err) << c.name;
  }
}

}  // namespace
}  // namespace qv70
