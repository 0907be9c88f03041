// qv70cli report on data files written by hand, line by line, from the file
// format: the texts the page rules give for the values that catch faults, and
// the lines, fonts and rectangles that place them on each paper.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "support/data_file_test_support.h"

namespace qv70 {
namespace {

using test::CliRun;
using test::RunCli;

std::string CheckFile(const std::string& name) {
  return std::string(QV70_SOURCE_DIR) + "/tests/data/report_check/" + name;
}

// The lines `out` prints for page `index`, without its "page" line.
std::vector<std::string> PageBlock(const std::string& out, int index) {
  const std::string head = "page\t" + std::to_string(index) + "\t";
  std::vector<std::string> block;
  bool inside = false;
  for (const std::string& line : test::SplitLines(out)) {
    if (line.rfind("page\t", 0) == 0) {
      inside = line.rfind(head, 0) == 0;
      if (inside) block.push_back(line);
    } else if (inside) {
      block.push_back(line);
    }
  }
  return block;
}

const char* const kLogging = "normal_logging.csv";          // ",", ".": sets L0..L4, Normal Test A0..A4
const char* const kTcStep = "tc_step_semicolon_comma.csv";  // ";", ",": TC B0 B1 B3, Step B2 P0
const std::string kWideAuthor(16, 'W');

struct CheckRow {
  const char* name;
  const char* file;
  std::vector<std::string> options;
  int page;
  std::vector<std::string> lines;                // every one somewhere on the page
  std::vector<std::string> absentPrefixes = {};  // no line of the page starts so
};

void PrintTo(const CheckRow& row, std::ostream* os) { *os << row.name; }

class ReportCheckTest : public testing::TestWithParam<CheckRow> {};

TEST_P(ReportCheckTest, PrintsPage) {
  const CheckRow& row = GetParam();
  std::vector<std::string> args = {"report", CheckFile(row.file)};
  args.insert(args.end(), row.options.begin(), row.options.end());
  const CliRun run = RunCli(args);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> block = PageBlock(run.out, row.page);
  ASSERT_FALSE(block.empty()) << run.out;
  for (const std::string& line : row.lines)
    EXPECT_TRUE(std::find(block.begin(), block.end(), line) != block.end()) << line << "\n" << block[0];
  for (const std::string& prefix : row.absentPrefixes)
    for (const std::string& line : block) EXPECT_NE(line.rfind(prefix, 0), 0u) << line;
}

const std::vector<std::string> kTexts = {"--texts"};
const std::vector<std::string> kCommaTexts = {"--texts", "--decimal", "comma"};

INSTANTIATE_TEST_SUITE_P(
    Texts, ReportCheckTest,
    testing::Values(
        CheckRow{
            "L0_last_800k_on_its_MOhms_graph",
            kLogging,
            kTexts,
            1,
            {"page\t1\t1\tlogging\tL0", "text\tresistance\t0.800 [MOhms]", "text\tleak-current\t1.25 [mA]",
             "text\tinterval\t30 [s]", "text\tset-voltage\t1.00 [kV]", "text\tdata-number\t3"}},
        CheckRow{"L1_250nA_on_a_mA_current_graph",
                 kLogging,
                 {"--texts", "--logging-graph", "current"},
                 2,
                 {"text\tleak-current\t0.000250 [mA]", "text\tresistance\t2.00 [GOhms]"}},
        CheckRow{"L1_E_temperature_90s_interval",
                 kLogging,
                 kTexts,
                 2,
                 {"text\ttemperature\t", "text\thumidity\t0.0 [%rh]", "text\tinterval\t1 [min]",
                  "text\tset-voltage\t500 [V]", "text\tleak-current\t250 [nA]"}},
        CheckRow{"L2_1kV_over_4TOhms_is_250pA",
                 kLogging,
                 kTexts,
                 3,
                 {"text\tresistance\t4.00 [TOhms]", "text\tleak-current\t250 [pA]", "text\tinterval\t0 [s]"}},
        CheckRow{"L4_E_marks_read_as_0",
                 kLogging,
                 kTexts,
                 5,
                 {"text\tset-voltage\t0 [V]", "text\toutput-voltage\t0 [V]", "text\tresistance\t0.00 [Ohms]",
                  "text\tleak-current\tOF"}},
        CheckRow{"A0_999_4700_2.5G_and_500nA",
                 kLogging,
                 kTexts,
                 6,
                 {"page\t6\t6\tnormal\tA0", "text\tresistance\t2.00 [GOhms]", "text\tleak-current\t500 [nA]",
                  "text\tresistance-15s\t0.00 [Ohms]", "text\tresistance-30s\t0.00 [KOhms]",
                  "text\tresistance-1min-a\t2.50 [GOhms]", "text\tresistance-t2\t4.00 [TOhms]",
                  "text\ttest-time\t10 [min]0 [s]", "text\tt2\t10.0 [min]", "text\tt1\t1.00 [min]"}},
        CheckRow{"A1_zeros_and_no_PI_values",
                 kLogging,
                 kTexts,
                 7,
                 {"text\ttemperature\t0.000 [C]", "text\thumidity\t0.000 [%rh]", "text\ttest-time\t0 [s]",
                  "text\tset-voltage\t0 [V]", "text\tleak-current\t250 [pA]", "text\tdar15\t",
                  "text\tresistance-15s\t", "text\tt2\t0.000 [min]", "text\tt1\t0.000 [min]"}},
        CheckRow{
            "A2_OF_and_UF",
            kLogging,
            kTexts,
            8,
            {"text\tresistance\tOF", "text\tleak-current\tUF", "text\tresistance-15s\t0.00 [Ohms]",
             "text\tresistance-1min-a\t", "text\tresistance-t1\tOF", "text\tresistance-t2\t0.00 [Ohms]"}},
        CheckRow{"A3_zero_resistance",
                 kLogging,
                 kTexts,
                 9,
                 {"text\tresistance\t0.00 [Ohms]", "text\tleak-current\tOF",
                  "text\tresistance-15s\t0.00 [KOhms]", "text\ttest-time\t60 [min]0 [s]", "text\tpi\t0.000"}},
        CheckRow{"A4_marks_in_raw_voltages",
                 kLogging,
                 kTexts,
                 10,
                 {"text\thumidity\tUF [%rh]", "text\ttest-time\t", "text\tset-voltage\t0 [V]",
                  "text\toutput-voltage\t0 [V]", "text\tresistance\t5.00 [KOhms]",
                  "text\tleak-current\t0.000 [pA]", "text\tresistance-t2\t1000 [KOhms]"}},
        CheckRow{"B0_4700_999_comma",
                 kTcStep,
                 kCommaTexts,
                 1,
                 {"page\t1\t1\ttc\tB0", "text\tresistance\t0,00 [KOhms]", "text\tleak-current\t107 [mA]",
                  "text\ttc-resistance\t0,00 [Ohms]", "text\tserial\t2403,0502",
                  "text\ttemperature\t19,5 [C]", "text\ttest-time\t1 [min]15 [s]"}},
        CheckRow{"B1_zero_ref_temperature",
                 kTcStep,
                 kCommaTexts,
                 2,
                 {"text\tref-temperature\t0,000 [C]", "text\tleak-current\t400 [nA]", "text\ttable-no\t12"}},
        CheckRow{"B3_marks_in_converted_fields",
                 kTcStep,
                 kCommaTexts,
                 3,
                 {"text\ttemperature\tUF [C]", "text\ttest-time\t", "text\tset-voltage\t",
                  "text\tresistance\t", "text\tleak-current\t"}},
        CheckRow{"B2_steps_on_its_GOhms_graph",
                 kTcStep,
                 kCommaTexts,
                 4,
                 {"page\t4\t4\tstep\tB2", "text\tstep3-resistance\t0,00000500 [GOhms]",
                  "text\tstep2-resistance\tOF", "text\tstep4-resistance\t0,00 [Ohms]",
                  "text\tleak-current\t1,00 [uA]", "text\toutput-voltage\t2,50 [kV]",
                  "text\tstep1-voltage\t500 [V]"}},
        CheckRow{"B2_current_graph",
                 kTcStep,
                 {"--texts", "--decimal", "comma", "--step-graph", "current"},
                 4,
                 {"text\tstep3-resistance\t0,00 [KOhms]", "text\tleak-current\t0,00100 [mA]"}},
        CheckRow{"P0_5000V_period",
                 kTcStep,
                 kTexts,
                 5,
                 {"text\tset-voltage\t5.00 [kV]", "text\tstep1-resistance\t0.00000100 [GOhms]",
                  "text\tstep3-resistance\t0.00 [Ohms]", "text\tstep4-resistance\t", "text\tresistance\tOF",
                  "text\tleak-current\tUF", "text\tserial\t2403.0502"}}));

// --drawing is built with the window layer.
#ifdef QV70_CLI_GRAPH
INSTANTIATE_TEST_SUITE_P(
    Drawing, ReportCheckTest,
    testing::Values(
        CheckRow{"A4_logging_wide_author_company",
                 kLogging,
                 {"--drawing", "--select", "L0", "--author", kWideAuthor, "--company", "ACME"},
                 1,
                 {"line 40 40 730 40", "line 478 80 478 120", "font Arial 23", "text 45 60 245 205 WC ACME",
                  "font Arial cell 16 width 5", "text 552 82 725 118 L " + kWideAuthor,
                  "text 250 545 550 565 L 0.800 [MOhms]", "text 250 610 550 630 L 3", "graph 60 670 710 980",
                  "text 40 1020 730 1040 CE 1", "text 40 1040 730 1060 R ZAVEL Corporation"}},
        CheckRow{"B5_tc_table",
                 kTcStep,
                 {"--drawing", "--paper", "b5", "--author", "Ann"},
                 1,
                 {"line 620 40 620 860", "line 338 40 338 250", "font Arial 11", "font Arial cell 16 width 0",
                  "text 482 82 610 118 L Ann", "font Arial 8.5", "text 340 130 618 208 W ",
                  "text 50 470 250 490 L Test Time:", "line 100 630 560 630", "line 560 630 560 810",
                  "text 310 765 630 795 L 0.00 [Ohms]", "text 40 890 620 920 RT ZAVEL Corporation"}},
        CheckRow{"A4_step_column_at_230",
                 kTcStep,
                 {"--drawing"},
                 4,
                 {"text 230 340 550 370 T Step Voltage Test", "text 230 495 550 520 L 2.50 [kV]",
                  "text 630 560 750 575 L 2.50 [kV]", "text 550 475 700 495 L 0.00000500 [GOhms]",
                  "graph 60 670 710 980"}},
        CheckRow{"B5_step_column",
                 kTcStep,
                 {"--drawing", "--paper", "b5"},
                 4,
                 {"text 165 280 500 310 L 2024-03-07", "text 165 495 500 520 L 2.50 [kV]",
                  "text 340 122 618 208 W ", "text 470 580 630 600 L 2.50 [GOhms]", "graph 45 635 615 850"}},
        CheckRow{"Letter_normal_box_and_page_number",
                 kLogging,
                 {"--drawing", "--paper", "letter", "--select", "A"},
                 1,
                 {"line 745 40 745 940", "line 60 610 725 610", "text 510 780 720 800 L 10.0 [min]",
                  "text 40 950 745 970 CE 1", "text 40 970 745 1000 RT ZAVEL Corporation"}},
        CheckRow{"Legal_logging_without_a_data_number_value",
                 kLogging,
                 {"--drawing", "--paper", "legal", "--select", "L2"},
                 1,
                 {"text 100 710 250 730 L Data Number:", "text 250 670 550 690 L 250 [pA]",
                  "graph 60 800 710 1100", "text 40 1200 730 1240 CE 1"},
                 {"text 250 710 "}}));
#endif

}  // namespace
}  // namespace qv70
