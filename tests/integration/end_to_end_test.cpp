// The jobs through the real instrument library and the simulator: what is
// downloaded equals the instrument's memory, the command sequences, every fault
// at every step, a hanging instrument, no instrument, and qv70cli.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/data/program_state.h"
#include "core/data/values.h"
#include "core/files/data_file.h"
#include "core/instrument/download_job.h"
#include "core/instrument/messages.h"
#include "core/instrument/settings_job.h"
#include "core/instrument/usb_driver.h"
#include "core/instrument/usb_link.h"
#include "core/platform/environment.h"
#include "core/platform/scripted_ui_services.h"
#include "support/sim_process.h"

namespace qv70 {
namespace {

using namespace instrument_message;

using test::BinPath;
using test::SimProcess;
// The library's read time-out and exchange deadline for these tests; a hang or
// a reply trickling in must end well within a second of them.
constexpr int kReadTimeoutMs = 600;
constexpr int kExchangeTimeoutMs = 1200;
// Slower than the deadline allows for any reply, faster than the read time-out.
constexpr const char* kDripIntervalMs = "400";

const std::string kExample = std::string(QV70_SOURCE_DIR) + "/examples/current_comma_period.csv";

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string missing = test::SimMissing();
    if (!missing.empty()) GTEST_SKIP() << missing;
    limits.Set("ZVUSBSGL_READ_TIMEOUT_MS", std::to_string(kReadTimeoutMs));
    limits.Set("ZVUSBSGL_EXCHANGE_TIMEOUT_MS", std::to_string(kExchangeTimeoutMs));
  }

  void StartSim(const std::vector<std::string>& arguments) {
    ASSERT_TRUE(sim.Start(arguments)) << "qv70-sim did not start";
  }

  test::ScopedEnvironment limits;
  SimProcess sim;
  DlopenUsbDriver driver{BinPath(kUsbLibraryName)};
  ScriptedUiServices ui;
  UsbLink link{driver, ui};
  ProgramState state;
};

bool SameCells(const TableCopy& a, const TableCopy& b, const CountList& counts, std::string& where) {
  for (int g = 0; g < kGroupCount; ++g) {
    if (counts[g] == 0) continue;
    for (int r = 0; r < kRecordsPerGroup; ++r) {
      for (int f = 0; f < kManualFieldCount; ++f) {
        if (a.manual[g][r][f] != b.manual[g][r][f]) {
          where = std::string(1, GroupLetter(g)) + std::to_string(r) + " field " + std::to_string(f) +
                  ": \"" + a.manual[g][r][f] + "\" vs \"" + b.manual[g][r][f] + "\"";
          return false;
        }
      }
    }
  }
  for (int s = 0; s < kSetCount; ++s) {
    const int count = counts[kGroupCount + s];
    if (count == 0) continue;
    for (int f = 0; f < kHeaderFieldCount; ++f) {
      if (a.headers[s][f] != b.headers[s][f]) {
        where = "L" + std::to_string(s) + " header " + std::to_string(f) + ": \"" + a.headers[s][f] +
                "\" vs \"" + b.headers[s][f] + "\"";
        return false;
      }
    }
    for (int i = 0; i < count; ++i) {
      for (int f = 0; f < kSampleFieldCount; ++f) {
        if (a.samples[s][i][f] != b.samples[s][i][f]) {
          where = "L" + std::to_string(s) + " sample " + std::to_string(i) + " field " +
                  std::to_string(f) + ": \"" + a.samples[s][i][f] + "\" vs \"" + b.samples[s][i][f] + "\"";
          return false;
        }
      }
    }
  }
  return true;
}

std::vector<std::string> DownloadTail() { return {"*IDN?", ":SERIAL?", ":SET:PI?", ":SET:STEP?"}; }

TEST_F(EndToEnd, FullDownloadEqualsTheInstrumentMemory) {
  ProgramState expected;
  ASSERT_TRUE(ReadDataFile(kExample, expected.tables).ok);
  StartSim({"--load", kExample});

  DownloadJob job(link, state.tables, ui);
  ASSERT_EQ(job.SelectData(), DownloadJob::Outcome::Stay);
  EXPECT_EQ(job.Counts(), expected.tables.Counts());
  job.SelectAll();
  ASSERT_EQ(job.ObtainData(), DownloadJob::Outcome::Downloaded);
  job.Finish();

  EXPECT_EQ(state.tables.Counts(), expected.tables.Counts());
  std::string where;
  EXPECT_TRUE(SameCells(state.tables.Copy(RecordCopy::Raw), expected.tables.Copy(RecordCopy::Raw),
                        expected.tables.Counts(), where))
      << "raw " << where;
  EXPECT_TRUE(SameCells(state.tables.Copy(RecordCopy::Converted),
                        expected.tables.Copy(RecordCopy::Converted), expected.tables.Counts(), where))
      << "converted " << where;
  EXPECT_EQ(state.tables.info.serialNumber, expected.tables.info.serialNumber);
  EXPECT_EQ(state.tables.info.piT1, expected.tables.info.piT1);
  EXPECT_EQ(state.tables.info.piT2, expected.tables.info.piT2);
  EXPECT_EQ(state.tables.info.stepInterval, expected.tables.info.stepInterval);
  EXPECT_EQ(state.tables.info.stepIntervalUnit, expected.tables.info.stepIntervalUnit);
  EXPECT_EQ(state.tables.dataState, DataState::Unsaved);
  EXPECT_EQ(driver.References() > 0, true);
}

TEST_F(EndToEnd, DemoDownloadSavesAndOpensAgain) {
  StartSim({"--demo", "--seed", "7"});
  DownloadJob job(link, state.tables, ui);
  ASSERT_EQ(job.SelectData(), DownloadJob::Outcome::Stay);
  job.SelectAll();
  ASSERT_EQ(job.ObtainData(), DownloadJob::Outcome::Downloaded);
  job.Finish();

  const std::string path = "/tmp/qv70-instrument-test-" + std::to_string(getpid()) + "-demo.csv";
  ASSERT_TRUE(WriteDataFile(path, state.tables, NumberFormat{}).ok);
  ProgramState reopened;
  Result opened = ReadDataFile(path, reopened.tables);
  std::remove(path.c_str());
  ASSERT_TRUE(opened.ok) << opened.message;
  EXPECT_EQ(reopened.tables.Counts(), state.tables.Counts());
  // The file read back writes the same file again.
  EXPECT_EQ(FormatDataFile(reopened.tables, NumberFormat{}), FormatDataFile(state.tables, NumberFormat{}));
  EXPECT_EQ(reopened.tables.info, state.tables.info);
}

TEST_F(EndToEnd, DownloadCommandSequences) {
  struct Row {
    const char* name;
    std::vector<int> ticks;
    std::vector<std::string> commands;
  } rows[] = {
      {"only Lr2", {12}, {":MEM:DATA? L2"}},
      {"group C then Lr0",
       {10, 2},
       {":MEM:DATA? C0", ":MEM:DATA? C1", ":MEM:DATA? C2", ":MEM:DATA? C3", ":MEM:DATA? C4",
        ":MEM:DATA? C5", ":MEM:DATA? C6", ":MEM:DATA? C7", ":MEM:DATA? C8", ":MEM:DATA? C9",
        ":MEM:DATA? L0"}},
  };
  StartSim({"--demo"});
  for (const Row& row : rows) {
    RecordTables tables;
    DownloadJob job(link, tables, ui);
    const size_t before = sim.Log().size();
    ASSERT_EQ(job.SelectData(), DownloadJob::Outcome::Stay) << row.name;
    for (int box : row.ticks) job.SetBoxTicked(box, true);
    ASSERT_EQ(job.ObtainData(), DownloadJob::Outcome::Downloaded) << row.name;
    job.Finish();
    std::vector<std::string> expected = {":MEM:DATA? COUNT"};
    expected.insert(expected.end(), row.commands.begin(), row.commands.end());
    for (const std::string& tail : DownloadTail()) expected.push_back(tail);
    EXPECT_EQ(sim.LogAfter(before), expected) << row.name;
  }
}

// Each fault at each step of a download. A silent, hanging or trickling
// instrument ends the download with the message and leaves the tables as they
// were, and so does a reply the saved file could not be opened with again (a
// logging set not headed by its label, an identification without
// "ZAVEL QV70 Ver"); the other replies at the end are taken unchecked, and "NG"
// to a memory record is a reply like any other.
TEST_F(EndToEnd, DownloadFaultsAtEachStep) {
  enum class Expect { CountFails, Fails, Succeeds };
  struct Row {
    const char* fault;
    Expect expect;
    size_t commandsLogged;  // commands the simulator saw in all
  } rows[] = {
      {"silent::MEM:DATA? COUNT", Expect::CountFails, 1},
      {"hang::MEM:DATA? COUNT", Expect::CountFails, 1},
      {"silent::MEM:DATA? A0", Expect::Fails, 2},
      {"silent::MEM:DATA? B5", Expect::Fails, 17},
      {"hang::MEM:DATA? B5", Expect::Fails, 17},
      {"silent::MEM:DATA? P9", Expect::Fails, 101},
      {"silent::MEM:DATA? L0", Expect::Fails, 102},
      {"hang::MEM:DATA? L9", Expect::Fails, 111},
      {"drip::MEM:DATA? COUNT", Expect::CountFails, 1},
      {"drip::MEM:DATA? C4", Expect::Fails, 26},
      {"drip::MEM:DATA? L3", Expect::Fails, 105},
      {"silent:*IDN?", Expect::Fails, 112},
      {"reply:*IDN?=NG", Expect::Fails, 112},
      {"garbage:*IDN?", Expect::Fails, 112},
      {"nak::MEM:DATA? L0", Expect::Fails, 102},
      {"garbage::MEM:DATA? L3", Expect::Fails, 105},
      {"reply::MEM:DATA? L4=L5,LOGGING", Expect::Fails, 106},
      {"reply::MEM:DATA? L4=l4,LOGGING", Expect::Succeeds, 115},
      {"silent::SET:STEP?", Expect::Fails, 115},
      {"hang::SERIAL?", Expect::Fails, 113},
      {"nak::MEM:DATA? A3", Expect::Succeeds, 115},
  };
  for (const Row& row : rows) {
    SimProcess faulty;
    ASSERT_TRUE(faulty.Start({"--demo", "--fault", row.fault, "--drip-interval", kDripIntervalMs})) << row.fault;
    ProgramState target;
    target.tables.Manual(RecordCopy::Raw, 0, 0, 0) = "kept";
    target.tables.info.idn = "kept";
    target.tables.dataState = DataState::Saved;
    ScriptedUiServices messages;
    UsbLink faultyLink(driver, messages);
    DownloadJob job(faultyLink, target.tables, messages);

    const auto start = std::chrono::steady_clock::now();
    DownloadJob::Outcome counted = job.SelectData();
    if (row.expect == Expect::CountFails) {
      EXPECT_EQ(counted, DownloadJob::Outcome::Stay) << row.fault;
      EXPECT_FALSE(job.Counted()) << row.fault;
    } else {
      ASSERT_TRUE(job.Counted()) << row.fault;
      job.SelectAll();
      DownloadJob::Outcome outcome = job.ObtainData();
      EXPECT_EQ(outcome, row.expect == Expect::Fails ? DownloadJob::Outcome::Close
                                                     : DownloadJob::Outcome::Downloaded)
          << row.fault;
    }
    job.Finish();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, kExchangeTimeoutMs / 1000.0 + 2.0) << row.fault;

    if (row.expect == Expect::Succeeds) {
      ASSERT_EQ(messages.messages.size(), 1u) << row.fault;
      EXPECT_EQ(target.tables.dataState, DataState::Unsaved) << row.fault;
      // What a download accepts, the saved file gives back.
      test::TempDir saved;
      ASSERT_TRUE(WriteDataFile(saved.File("download.csv"), target.tables, NumberFormat{}).ok) << row.fault;
      ProgramState reopened;
      const Result opened = ReadDataFile(saved.File("download.csv"), reopened.tables);
      EXPECT_TRUE(opened.ok) << row.fault << ": " << opened.message;
    } else {
      ASSERT_EQ(messages.messages.size(), 1u) << row.fault;
      EXPECT_EQ(messages.messages[0].text, kEquipmentUnusual) << row.fault;
      EXPECT_EQ(messages.messages[0].caption, kObtainDataCaption) << row.fault;
      EXPECT_EQ(target.tables.Manual(RecordCopy::Raw, 0, 0, 0), "kept") << row.fault;
      EXPECT_EQ(target.tables.info.idn, "kept") << row.fault;
      EXPECT_EQ(target.tables.dataState, DataState::Saved) << row.fault;
      EXPECT_EQ(target.tables.Counts(), CountList{}) << row.fault;
    }
    EXPECT_EQ(faulty.Log().size(), row.commandsLogged) << row.fault;
  }
}

// No instrument attached, or a simulator that listens but never accepts: told
// once for each dialog, within a second or two.
TEST_F(EndToEnd, NoInstrumentIsToldOnce) {
  const struct {
    const char* name;
    std::vector<std::string> arguments;
  } rows[] = {{"absent", {"--fault", "absent"}}, {"never accepting", {"--no-accept"}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SimProcess absent;
    ASSERT_TRUE(absent.Start(row.arguments));
    ScriptedUiServices messages;
    UsbLink absentLink(driver, messages);
    const auto start = std::chrono::steady_clock::now();
    DownloadJob job(absentLink, state.tables, messages);
    EXPECT_EQ(job.SelectData(), DownloadJob::Outcome::Close);
    job.Finish();
    SettingsJob settings(absentLink, state.tables, messages, SystemClock{});
    EXPECT_EQ(settings.SetPiTicked(true), SettingsJob::Outcome::Close);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 3.0);
    ASSERT_EQ(messages.messages.size(), 2u);
    for (const auto& message : messages.messages) {
      EXPECT_EQ(message.text, kNoInstrument);
      EXPECT_EQ(message.caption, kWarningCaption);
    }
    EXPECT_TRUE(absent.Log().empty());
    EXPECT_EQ(driver.References(), 0);
  }
}

TEST_F(EndToEnd, MissingLibraryIsNoInstrument) {
  DlopenUsbDriver nowhere{"/nonexistent/" + std::string(kUsbLibraryName)};
  UsbLink lost(nowhere, ui);
  EXPECT_EQ(lost.CheckInstrument(), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kNoInstrument);
  DlopenUsbDriver bare{kUsbLibraryName};  // never from the search path
  EXPECT_FALSE(bare.Acquire());
}

TEST_F(EndToEnd, SettingsSequencesAndStoredValues) {
  StartSim({"--demo"});
  SystemClock clock;
  {
    SettingsJob job(link, state.tables, ui, clock);
    ASSERT_EQ(job.SelectAll(), SettingsJob::Outcome::Stay);
    EXPECT_TRUE(job.PiFieldsEnabled());
    EXPECT_NE(job.StepEntry(), -1);
    job.SetT1("2");
    job.SetT2("20");
    job.SetStepEntry(2);
    ASSERT_EQ(job.Apply(), SettingsJob::Outcome::Close);
    EXPECT_TRUE(job.LastApplySucceeded());
  }
  std::vector<std::string> log = sim.Log();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[0], ":SET:PI?");
  EXPECT_EQ(log[1], ":SET:STEP?");
  EXPECT_EQ(log[2].rfind(":TIME ", 0), 0u);
  EXPECT_EQ(log[2].size(), 30u);
  EXPECT_EQ(log[3], ":SET:PI 2, 20");
  EXPECT_EQ(log[4], ":SET:STEP 02");

  // The instrument keeps what was set: the next queries read it back.
  SettingsJob again(link, state.tables, ui, clock);
  again.SetPiTicked(true);
  again.SetStepTicked(true);
  EXPECT_EQ(TextToInt(again.T1()), 2);
  EXPECT_EQ(TextToInt(again.T2()), 20);
  EXPECT_EQ(again.StepEntry(), 2);
  EXPECT_EQ(TextToInt(state.tables.info.piT2), 20);
}

TEST_F(EndToEnd, ApplyFaultsAtEachCommand) {
  struct Row {
    const char* fault;
    size_t sent;  // set commands the simulator saw
  } rows[] = {
      {"silent::TIME", 1},     {"nak::TIME", 1},          {"hang::TIME", 1},
      {"silent::SET:PI ", 2},  {"nak::SET:PI ", 2},       {"garbage::SET:PI ", 2},
      {"hang::SET:STEP ", 3},  {"nak::SET:STEP ", 3},     {"garbage::TIME", 1},
      {"drip::SET:PI ", 2},    {"drip::TIME", 1},
  };
  for (const Row& row : rows) {
    SimProcess faulty;
    ASSERT_TRUE(faulty.Start({"--demo", "--fault", row.fault, "--drip-interval", kDripIntervalMs})) << row.fault;
    ScriptedUiServices messages;
    UsbLink faultyLink(driver, messages);
    SystemClock clock;
    SettingsJob job(faultyLink, state.tables, messages, clock);
    SettingsJob::Choices choices;
    choices.clock = choices.pi = choices.step = true;
    choices.t1 = "3";
    choices.t2 = "15";
    choices.stepEntry = 3;
    const auto start = std::chrono::steady_clock::now();
    const SettingsJob::Result result = job.Apply(choices);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, kExchangeTimeoutMs / 1000.0 + 2.0) << row.fault;
    EXPECT_EQ(result.outcome, SettingsJob::Outcome::Stay) << row.fault;
    EXPECT_FALSE(result.sent) << row.fault;
    EXPECT_TRUE(messages.messages.empty()) << row.fault;
    EXPECT_EQ(result.message.text, kEquipmentUnusual) << row.fault;
    EXPECT_EQ(result.message.caption, kSettingCaption) << row.fault;
    EXPECT_EQ(faulty.Log().size(), row.sent) << row.fault;
  }
}

// qv70cli against the simulator: exit status, output and the file written.
std::string RunCli(const std::string& arguments, int& status) {
  std::string command = BinPath("qv70cli") + " " + arguments + " 2>/dev/null";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  char chunk[4096];
  for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, got);
  int raw = pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}

TEST_F(EndToEnd, CliCountDownloadAndSet) {
  if (!FileExists(BinPath("qv70cli"))) GTEST_SKIP() << "qv70cli has not been built";
  StartSim({"--load", kExample});
  int status = -1;
  EXPECT_EQ(RunCli("count", status), "counts\t3\t0\t0\t0\t0\t0\t0\t0\t0\t2\t4\t0\t0\t2\t0\t0\t0\t0\t0\t0\n");
  EXPECT_EQ(status, 0);

  const std::string out = "/tmp/qv70-instrument-test-" + std::to_string(getpid()) + "-cli.csv";
  std::remove(out.c_str());
  RunCli("download -o " + out + " --groups A --sets 3", status);
  EXPECT_EQ(status, 0);
  ProgramState saved;
  ASSERT_TRUE(ReadDataFile(out, saved.tables).ok);
  CountList expected{};
  expected[0] = 3;
  expected[13] = 2;
  EXPECT_EQ(saved.tables.Counts(), expected);
  std::remove(out.c_str());

  struct Row {
    const char* arguments;
    int status;
  } rows[] = {
      {"download -o", 2},
      {"download -o OUT --groups B", 1},   // B holds nothing
      {"download -o OUT --groups X", 1},
      {"download -o OUT --sets 12", 1},
      {"set", 1},                           // nothing chosen
      {"set --pi 5 5", 1},
      {"set --step 3min", 2},
      {"set --pi 1 10 --step 5min --clock", 0},
  };
  for (const Row& row : rows) {
    std::string arguments = row.arguments;
    size_t at = arguments.find("OUT");
    if (at != std::string::npos) arguments.replace(at, 3, out);
    RunCli(arguments, status);
    EXPECT_EQ(status, row.status) << row.arguments;
    EXPECT_FALSE(FileExists(out)) << row.arguments;
  }
  std::vector<std::string> log = sim.Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[log.size() - 2], ":SET:PI 1, 10");
  EXPECT_EQ(log.back(), ":SET:STEP 05");
}

// A download that fails, or would end in a file that cannot be opened again,
// writes nothing.
TEST_F(EndToEnd, CliDownloadFailureWritesNothing) {
  if (!FileExists(BinPath("qv70cli"))) GTEST_SKIP() << "qv70cli has not been built";
  test::TempDir dir;
  const std::string out = dir.File("x.csv");
  for (const char* fault : {"silent::MEM:DATA? L", "nak::MEM:DATA? L0", "reply:*IDN?=NG", "silent:*IDN?"}) {
    SimProcess faulty;
    ASSERT_TRUE(faulty.Start({"--demo", "--fault", fault})) << fault;
    int status = -1;
    RunCli("download -o " + out, status);
    EXPECT_EQ(status, 1) << fault;
    EXPECT_FALSE(FileExists(out)) << fault;
  }
}

}  // namespace
}  // namespace qv70
