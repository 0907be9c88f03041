// qv70cli report --texts: the page list and texts of an example file, and its refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_run.h"
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

TEST(ReportCommand, RefusalsAndUsageErrors) {
  const std::string file = ExamplePath("current_comma_period.csv");
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;  // the whole message for status 1
  } cases[] = {
      {"only sets without data", {"report", file, "--texts", "--select", "L5,L7"}, 1,
       "Please Choose Data To Print!\n"},
      {"no item ticked", {"report", file, "--texts", "--items", std::string(33, '0')}, 1,
       "Please Choose Data To Print!\n"},
      {"no --texts", {"report", file}, 2, ""},
      {"group G", {"report", file, "--texts", "--select", "G"}, 2, ""},
      {"set L10", {"report", file, "--texts", "--select", "L10"}, 2, ""},
      {"empty word", {"report", file, "--texts", "--select", "A,"}, 2, ""},
      {"32 item flags", {"report", file, "--texts", "--items", std::string(32, '1')}, 2, ""},
      {"item flag 2", {"report", file, "--texts", "--items", std::string(32, '1') + "2"}, 2, ""},
      {"unknown option", {"report", file, "--texts", "--pdf", "x.pdf"}, 2, ""},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.name;
    if (c.status == 2) EXPECT_NE(run.err.find("  report FILE --texts"), std::string::npos) << c.name;
    else EXPECT_EQ(run.err, c.err) << c.name;
  }
}

}  // namespace
}  // namespace qv70
