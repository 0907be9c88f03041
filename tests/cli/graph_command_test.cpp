// qv70cli graph: a data file's graph as numbers, PNG or SVG, and its refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "core/data/program_state.h"
#include "core/draw/number_text.h"
#include "core/files/data_file.h"
#include "core/files/messages.h"
#include "core/graphs/graph_tables.h"
#include "support/data_file_test_support.h"
#include "support/sim_process.h"

namespace qv70 {
namespace {

using test::CliRun;
using test::ExamplePath;
using test::RunCli;

#ifndef QV70_CLI_GRAPH
#define SKIP_WITHOUT_GRAPH() GTEST_SKIP() << "qv70cli is built without the drawing layer"
#else
#define SKIP_WITHOUT_GRAPH() (void)0
#endif

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  return fields;
}

// A data file with the graphs' edge cases, written by the program's writer:
// A0 the 2500 V step record with an over-range second step, A1 the same at
// 5000 V, A2 a Normal Test; L1 120 samples at 30 s ending over range.
class GraphFile {
 public:
  GraphFile() {
    ProgramState state;
    RecordTables& t = state.tables;
    const std::array<std::string, 5> volts = {"500", "1000", "1500", "2000", "2500"};
    const std::array<std::string, 5> ohms = {"2000000000", "OF", "5000000000", "4000000000", "3000000000"};
    test::PutStepRecord(t, 0, 0, {"2500", volts, ohms});
    test::PutStepRecord(t, 0, 1, {"5000", volts, ohms});
    test::PutStepRecord(t, 0, 2, {"1000", volts, ohms, "Normal Test"});
    for (int r = 0; r < kRecordsPerGroup; ++r)
      for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
        t.Manual(copy, 0, r, field::kDataNo) = "A" + std::to_string(r);
        t.Manual(copy, 0, r, field::kDate) = "2010-01-01";
        t.Manual(copy, 0, r, field::kTime) = "10:00:00";
      }
    auto samples = test::SameSamples(119, "1000", "5000000000");
    samples.push_back({"1000", "OF"});
    test::PutLoggingSet(t, 1, "30", samples);
    for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
      t.Header(copy, 1, header::kNo) = "L1";
      t.Header(copy, 1, header::kDate) = "2010-01-01";
      t.Header(copy, 1, header::kTime) = "10:00:00";
    }
    t.info = {"ZAVEL QV70 Ver1.10,0,0", "09120345", "1", "10", "1", "[min]"};
    t.dataState = DataState::Unsaved;
    const Result written = WriteDataFile(path, t, state.numberFormat);
    EXPECT_TRUE(written) << written.message;
  }
  test::TempDir dir;
  std::string path = dir.File("graphs.csv");
};

// Each line of `lines` is a line of `out`; one ending in '*' begins one.
void ExpectLines(const std::string& out, const std::vector<std::string>& lines, const std::string& name) {
  const std::vector<std::string> all = test::SplitLines(out);
  for (const std::string& line : lines) {
    const bool prefix = line.back() == '*';
    const std::string wanted = prefix ? line.substr(0, line.size() - 1) : line;
    const bool found = std::any_of(all.begin(), all.end(), [&](const std::string& l) {
      return prefix ? l.rfind(wanted, 0) == 0 : l == wanted;
    });
    EXPECT_TRUE(found) << name << ": no line\n" << line << "\nin\n" << out;
  }
}

TEST(GraphCommand, DescribesTheGraphsOfTheEdgeCases) {
  SKIP_WITHOUT_GRAPH();
  GraphFile file;
  const struct {
    const char* name;
    std::vector<std::string> options;
    std::vector<std::string> lines;
  } cases[] = {
      {"2500 V step",
       {"--step", "A0"},
       {"axis\tleft\tResistance[GOhms]\t-0.5\t10\t*", "axis\tbottom\tOutput voltage[kV]\t-0.050000000000000003\t3\t*",
        "series\t0\tline\t255,0,0", "point\t0.5\t2", "point\t0.5\t1009", "point\t1.5\t1009", "point\t1.5\t5",
        "point\t2\t4", "point\t2.5\t3", "series\t1\tpoints\t255,0,0"}},
      {"5000 V step", {"--step", "A1"}, {"axis\tbottom\tOutput voltage[kV]\t-0.050000000000000003\t6\t*",
                                         "point\t1\t1009", "point\t3\t1009", "point\t5\t3"}},
      {"report step current", {"--step", "A0", "--report", "--current"},
       {"divisor\t1", "axis\tbottom\tSet Voltage[kV]\t0\t3\t*", "series\t2\tline\t0,0,0"}},
      {"120 samples at 30 s", {"--logging", "1"},
       {"axis\tbottom\tTime[min]\t0\t60.5\t*", "axis\tleft\tResistance[GOhms]\t-0.5\t8.25\t*", "point\t0.5\t5",
        "point\t59.5\t5", "point\t60.5\t1009"}},
      {"report logging", {"--logging", "1", "--report"}, {"divisor\t1000000000", "point\t60.5\t1009"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"graph", file.path, "--describe"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = RunCli(args);
    ASSERT_EQ(run.status, 0) << c.name << ": " << run.err;
    EXPECT_EQ(run.err, "") << c.name;
    ExpectLines(run.out, c.lines, c.name);
  }
}

// The ticks of a description keep the chart's rules: each is a step from
// the first, labelled with the axis's decimals, inside the printed plot.
void ExpectTicksFollowTheRules(const std::string& out, char decimalChar) {
  std::vector<std::string> plot, axis;
  int ticks = 0;
  for (const std::string& line : test::SplitLines(out)) {
    const std::vector<std::string> f = Fields(line);
    if (f[0] == "plot") plot = f;
    if (f[0] == "axis") axis = f, ticks = 0;
    if (f[0] != "tick") continue;
    ASSERT_EQ(plot.size(), 5u);
    ASSERT_EQ(axis.size(), 8u);
    const double step = std::stod(axis[5]), first = std::stod(axis[7]);
    const int decimals = std::stoi(axis[6]);
    const double value = std::stod(f[2]);
    EXPECT_NEAR(value, first + ticks * step, std::abs(step) * 1e-9) << line;
    EXPECT_LE(value, std::stod(axis[4])) << line;
    std::string label = FixedPointText(value, decimals);
    if (label.find_first_not_of("-0.") == std::string::npos && label[0] == '-') label.erase(0, 1);
    for (char& ch : label)
      if (ch == '.') ch = decimalChar;
    EXPECT_EQ(f[3], label) << line;
    const int pixel = std::stoi(f[4]);
    if (f[1] == "bottom") {
      EXPECT_GE(pixel, std::stoi(plot[1])) << line;
      EXPECT_LE(pixel, std::stoi(plot[3])) << line;
    } else {
      EXPECT_GE(pixel, std::stoi(plot[2])) << line;
      EXPECT_LE(pixel, std::stoi(plot[4])) << line;
    }
    ++ticks;
  }
}

TEST(GraphCommand, TheDemoInstrumentsGraphsKeepTheTickRules) {
  SKIP_WITHOUT_GRAPH();
  QV70_REQUIRE_SIM();
  test::TempDir dir;
  const std::string demo = dir.File("demo.csv");
  {
    test::SimProcess sim;  // named to the library through QV70_SIM_SOCKET while it runs
    ASSERT_TRUE(sim.Start({"--demo"})) << sim.Output();
    ASSERT_EQ(RunCli({"download", "-o", demo}).status, 0);
  }
  std::vector<std::string> stepRecords;
  for (const std::string& line : test::SplitLines(RunCli({"dump", demo}).out)) {
    const std::vector<std::string> f = Fields(line);
    if (f.size() > 3 && f[0] == "record" && f[3] == "Step Voltage Test") stepRecords.push_back(f[1]);
  }
  ASSERT_FALSE(stepRecords.empty());
  for (const char* decimal : {"period", "comma"}) {
    const std::vector<std::vector<std::string>> graphs = {
        {"--step", stepRecords.front()},
        {"--step", stepRecords.back(), "--report", "--current", "--size", "500x300"},
        {"--logging", "0"},
        {"--logging", "0", "--report", "--current"},
    };
    for (const auto& options : graphs) {
      std::vector<std::string> args = {"graph", demo, "--describe", "--decimal", decimal};
      args.insert(args.end(), options.begin(), options.end());
      const CliRun run = RunCli(args);
      ASSERT_EQ(run.status, 0) << options[1] << ": " << run.err;
      ExpectTicksFollowTheRules(run.out, decimal[0] == 'c' ? ',' : '.');
    }
  }
}

TEST(GraphCommand, TheDisplayChangesNothing) {
  SKIP_WITHOUT_GRAPH();
  GraphFile file;
  const std::vector<std::string> args = {"graph", file.path, "--step", "A0", "--describe"};
  const std::string plain = RunCli(args, "DISPLAY=").out;
  ASSERT_NE(plain, "");
  for (const char* environment : {"DISPLAY=:97 QT_QPA_PLATFORM=xcb", "QT_FONT_DPI=144", "QT_SCALE_FACTOR=2"}) {
    const CliRun run = RunCli(args, environment);
    EXPECT_EQ(run.status, 0) << environment << ": " << run.err;
    EXPECT_EQ(run.out, plain) << environment;
  }
}

TEST(GraphCommand, DrawsPngAndSvgOfTheGivenSize) {
  SKIP_WITHOUT_GRAPH();
  GraphFile file;
  const std::string png = file.dir.File("graph.png"), svg = file.dir.File("graph.svg");
  ASSERT_EQ(RunCli({"graph", file.path, "--step", "A0", "--size", "320x200", "--png", png}).status, 0);
  const std::string bytes = test::ReadWholeFile(png);
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_EQ(bytes.substr(16, 8), std::string("\0\0\x01\x40\0\0\0\xc8", 8));  // 320 x 200
  ASSERT_EQ(RunCli({"graph", file.path, "--logging", "1", "--report", "--svg", svg}).status, 0);
  const std::string text = test::ReadWholeFile(svg);
  EXPECT_NE(text.find("viewBox=\"0 0 640 400\""), std::string::npos);
  EXPECT_NE(text.find("Time[min]"), std::string::npos);
  EXPECT_NE(text.find("font-family=\"Liberation Sans\""), std::string::npos);
}

TEST(GraphCommand, RefusalsAndUsageErrors) {
  SKIP_WITHOUT_GRAPH();
  GraphFile file;
  const std::string good = file.path;
  const std::string example = ExamplePath("current_comma_period.csv");
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;  // the whole message for status 1
  } cases[] = {
      {"missing file", {"graph", file.dir.File("none.csv"), "--step", "A0", "--describe"}, 1,
       open_message::FileNotFound(file.dir.File("none.csv"))},
      {"not a step record", {"graph", good, "--step", "A2", "--describe"}, 1,
       "Record A2 is not a Step Voltage Test."},
      {"set without samples", {"graph", example, "--logging", "5", "--report", "--current", "--describe"}, 1,
       "Logging set L5 has no samples."},
      {"unwritable output", {"graph", good, "--step", "A0", "--png", file.dir.File("no/such/g.png")}, 1, ""},
      {"no graph named", {"graph", good, "--describe"}, 2, ""},
      {"step and logging", {"graph", good, "--step", "A0", "--logging", "1", "--describe"}, 2, ""},
      {"group G", {"graph", good, "--step", "G0", "--describe"}, 2, ""},
      {"slot 10", {"graph", good, "--step", "A10", "--describe"}, 2, ""},
      {"current on screen", {"graph", good, "--step", "A0", "--current", "--describe"}, 2, ""},
      {"size 0", {"graph", good, "--step", "A0", "--size", "0x400", "--describe"}, 2, ""},
      {"size too large", {"graph", good, "--step", "A0", "--size", "20000x100", "--describe"}, 2, ""},
      {"no output", {"graph", good, "--step", "A0"}, 2, ""},
      {"two outputs", {"graph", good, "--step", "A0", "--describe", "--svg", "x.svg"}, 2, ""},
      {"describe twice", {"graph", good, "--step", "A0", "--describe", "--describe"}, 2, ""},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.name;
    if (c.status == 2) {
      EXPECT_NE(run.err.find("  graph FILE (--step GR | --logging N)"), std::string::npos) << c.name;
    } else if (!c.err.empty()) {
      EXPECT_EQ(run.err, c.err + "\n") << c.name;
    } else {
      EXPECT_EQ(run.err.rfind("Cannot write ", 0), 0u) << c.name << ": " << run.err;
    }
  }
}

}  // namespace
}  // namespace qv70
