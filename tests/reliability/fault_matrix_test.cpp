// The fault matrix: every fault qv70-sim can inject, at every command of a full
// download (the count, a record of each group, each logging set, the queries
// after them) and of Apply, through the jobs, the built instrument library and
// the simulator. Each cell checks the operator's message; that a failure leaves
// the tables and the saved file as they were and asks nothing after the broken
// exchange; that a success holds what the instrument holds and saves a file
// that opens again; and the time, against the one exchange deadline a fault
// may cost.
//
// CTest runs a sample: one kind at every command of a download (so every kind
// at several commands) and every cell of Apply. QV70_FULL_FAULT_MATRIX=1
// (tools/reliability) runs every cell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "core/instrument/download_job.h"
#include "core/instrument/messages.h"
#include "core/instrument/protocol.h"
#include "core/instrument/settings_job.h"
#include "core/instrument/usb_driver.h"
#include "core/instrument/usb_link.h"
#include "core/platform/environment.h"
#include "core/platform/scripted_ui_services.h"
#include "support/data_file_test_support.h"
#include "support/sim_process.h"

namespace qv70 {
namespace {

using namespace instrument_message;

constexpr int kReadTimeoutMs = 600;
constexpr int kExchangeTimeoutMs = 1200;
// Slower than the exchange deadline allows for any reply (the shortest, CR LF
// and the empty packet, takes three intervals), faster than the read time-out.
constexpr const char* kDripIntervalMs = "500";
// A loaded machine's share on top of a healthy run and one exchange deadline.
constexpr double kSlackSeconds = 1.5;
// What the reply fault answers: no count, no type code, no set label, no "OK",
// and both list separators and a line break a data file could be split at.
constexpr const char* kWrongReply = "x;y,\r\nz";

const std::string kExample = std::string(QV70_SOURCE_DIR) + "/examples/current_comma_period.csv";

enum class Job { Download, Apply };
// What the command is to its job, which decides what a fault there must do.
enum class Role { Count, Record, Set, Identification, Query, Setting, None };

struct Kind {
  const char* name;
  bool empties;    // the program reads an empty reply
  bool dropsLink;  // the library gives up on the connection: nothing more reaches the instrument
};
const Kind kKinds[] = {{"silent", true, false},   {"nak", false, false}, {"hang", true, true},
                       {"garbage", false, false}, {"drip", true, true},  {"reply", false, false}};

// How a cell ended; a cell may allow more than one.
namespace ended {
enum Outcome : unsigned {
  kCountRefused = 1,     // the count query failed: nothing counted, "unusual"
  kNothingSelected = 2,  // counted nothing, so the download refused to start
  kBrokenOff = 4,        // the download failed: "unusual", nothing installed
  kReceived = 8,         // the download installed its data
  kNotSent = 16,         // Apply stopped at the command: "unusual"
  kNoInstrument = 32,    // the link found no instrument
};
}  // namespace ended

const char* OutcomeName(unsigned outcome) {
  switch (outcome) {
    case ended::kCountRefused: return "count-refused";
    case ended::kNothingSelected: return "nothing-selected";
    case ended::kBrokenOff: return "broken-off";
    case ended::kReceived: return "received";
    case ended::kNotSent: return "not-sent";
    case ended::kNoInstrument: return "no-instrument";
  }
  return "unknown";
}

struct Cell {
  Job job;
  const Kind* kind;  // null: the absent fault
  std::string prefix;
  Role role;
  int position;  // the command's place among those of its job

  std::string Fault() const {
    if (kind == nullptr) return "absent";
    if (std::string(kind->name) == "reply") return "reply:" + prefix + "=" + kWrongReply;
    return std::string(kind->name) + ":" + prefix;
  }

  unsigned Expected() const {
    if (kind == nullptr) return ended::kNoInstrument;
    switch (role) {
      case Role::Count:
        if (kind->empties) return ended::kCountRefused;
        // Random bytes may hold digits after a comma, so counts.
        return std::string(kind->name) == "garbage" ? ended::kNothingSelected | ended::kReceived
                                                    : ended::kNothingSelected;
      // No reply at all breaks a download off wherever it comes; an answer,
      // however odd, is kept as the record's or the text's value.
      case Role::Record:
      case Role::Query: return kind->empties ? ended::kBrokenOff : ended::kReceived;
      // Neither a set not headed by its label nor an identification the
      // data file reader refuses may end in a saved file.
      case Role::Set:
      case Role::Identification: return ended::kBrokenOff;
      case Role::Setting: return ended::kNotSent;
      case Role::None: break;
    }
    return 0;
  }
};

// A command text as a fault prefix: without its line feed.
std::string Prefix(std::string command) {
  if (!command.empty() && command.back() == '\n') command.pop_back();
  return command;
}

struct Command {
  std::string prefix;
  Role role;
};

std::vector<Command> DownloadCommands() {
  std::vector<Command> commands = {{Prefix(CountCommand()), Role::Count}};
  // A different record of every group: A0, B1, ... P9.
  for (int g = 0; g < kGroupCount; ++g) commands.push_back({Prefix(MemoryRecordCommand(g, g)), Role::Record});
  for (int s = 0; s < kSetCount; ++s) commands.push_back({Prefix(LoggingCommand(s)), Role::Set});
  commands.push_back({Prefix(IdentificationCommand()), Role::Identification});
  for (const std::string& query : {SerialCommand(), PiQueryCommand(), StepQueryCommand()})
    commands.push_back({Prefix(query), Role::Query});
  return commands;
}

// The set commands as far as their first blank: ":TIME ", ":SET:PI ", ":SET:STEP ".
std::vector<Command> ApplyCommands() {
  std::vector<Command> commands;
  for (const std::string& command :
       {ClockCommand(std::tm{}), PiSetCommand("3", "15"), StepSetCommand("5min")})
    commands.push_back({command.substr(0, command.find(' ') + 1), Role::Setting});
  return commands;
}

bool FullMatrix() {
  const char* full = std::getenv("QV70_FULL_FAULT_MATRIX");
  return full != nullptr && std::string(full) == "1";
}

std::vector<Cell> MatrixCells() {
  const bool full = FullMatrix();
  const int kinds = static_cast<int>(std::size(kKinds));
  std::vector<Cell> cells;
  for (Job job : {Job::Download, Job::Apply}) {
    const std::vector<Command> commands = job == Job::Download ? DownloadCommands() : ApplyCommands();
    for (int c = 0; c < static_cast<int>(commands.size()); ++c) {
      for (int k = 0; k < kinds; ++k) {
        // Apply has three commands: all its cells are the sample too.
        if (full || job == Job::Apply || (c + k) % kinds == 0)
          cells.push_back({job, &kKinds[k], commands[c].prefix, commands[c].role, c});
      }
    }
    cells.push_back({job, nullptr, "", Role::None, -1});
  }
  return cells;
}

void PrintTo(const Cell& cell, std::ostream* out) { *out << cell.Fault(); }

std::string CellName(const ::testing::TestParamInfo<Cell>& info) {
  const Cell& cell = info.param;
  std::string name = std::string(cell.job == Job::Download ? "Download_" : "Apply_") +
                     (cell.kind == nullptr ? "absent" : std::string(cell.kind->name) + "_at_" + cell.prefix);
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  while (name.back() == '_') name.pop_back();
  return name;
}

// Where two data files part, or empty when they are the same.
std::string FirstDifference(const std::string& a, const std::string& b) {
  const std::vector<std::string> left = test::SplitLines(a), right = test::SplitLines(b);
  for (size_t i = 0; i < std::max(left.size(), right.size()); ++i) {
    const std::string one = i < left.size() ? left[i] : "(none)",
                      other = i < right.size() ? right[i] : "(none)";
    if (one != other) return "line " + std::to_string(i + 1) + ": \"" + one + "\" vs \"" + other + "\"";
  }
  return a == b ? "" : "the line ends";
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What a fault-free download of the demo instrument gives, once per process,
// and how long it took.
struct Reference {
  ProgramState state;
  double seconds = 0;
};

class FaultMatrix : public ::testing::TestWithParam<Cell> {
 protected:
  void SetUp() override {
    QV70_REQUIRE_SIM();
    limits.Set("ZVUSBSGL_READ_TIMEOUT_MS", std::to_string(kReadTimeoutMs));
    limits.Set("ZVUSBSGL_EXCHANGE_TIMEOUT_MS", std::to_string(kExchangeTimeoutMs));
  }

  // The data an operator had open before: the example file, saved once.
  void OpenEarlierData() {
    ASSERT_TRUE(ReadDataFile(kExample, state.tables).ok);
    InstallLoadedData(state.tables);
    state.tables.dataState = DataState::Saved;
    ASSERT_TRUE(WriteDataFile(savedPath, state.tables, NumberFormat{}).ok);
    savedBytes = test::ReadWholeFile(savedPath);
  }

  const Reference& HealthyDownload() {
    static std::unique_ptr<Reference> reference;
    if (reference) return *reference;
    reference = std::make_unique<Reference>();
    test::SimProcess healthy;
    EXPECT_TRUE(healthy.Start({"--demo"}));
    ScriptedUiServices ui;
    UsbLink link(driver, ui);
    DownloadJob job(link, reference->state.tables, ui);
    const auto start = std::chrono::steady_clock::now();
    job.SelectData();
    EXPECT_EQ(job.Download(job.CountedSelection()).outcome, DownloadJob::Outcome::Downloaded);
    job.Finish();
    reference->seconds = SecondsSince(start);
    return *reference;
  }

  unsigned RunDownload(const Cell& cell, ScriptedUiServices& ui) {
    UsbLink link(driver, ui);
    DownloadJob job(link, state.tables, ui);
    job.SelectData();
    if (!job.Counted()) {
      job.Finish();
      if (ui.messages.size() != 1) return 0;
      told = {ui.messages[0].text, ui.messages[0].caption, ui.messages[0].icon};
      if (told.text == kNoInstrument) return ended::kNoInstrument;
      const bool unusual = told.text == kEquipmentUnusual && told.caption == kObtainDataCaption;
      return unusual ? unsigned{ended::kCountRefused} : 0u;
    }
    const DownloadJob::Result result = job.Download(job.CountedSelection());
    job.Finish();
    told = result.message;
    if (told.text == kNothingSelected) return ended::kNothingSelected;
    if (told.text == kEquipmentUnusual && told.caption == kObtainDataCaption && result.brokeOff)
      return ended::kBrokenOff;
    if (result.outcome == DownloadJob::Outcome::Downloaded && told.text == kAllReceived &&
        told.caption == kDataReceiveCaption) {
      // As the Save command would: the new data replaces the saved file.
      EXPECT_TRUE(WriteDataFile(savedPath, state.tables, NumberFormat{}).ok) << cell.Fault();
      return ended::kReceived;
    }
    return 0;
  }

  unsigned RunApply(ScriptedUiServices& ui) {
    UsbLink link(driver, ui);
    SystemClock clock;
    SettingsJob job(link, state.tables, ui, clock);
    SettingsJob::Choices choices;
    choices.clock = choices.pi = choices.step = true;
    choices.t1 = "3";
    choices.t2 = "15";
    choices.stepEntry = 3;
    const SettingsJob::Result result = job.Apply(choices);
    told = result.message;
    if (ui.messages.size() == 1 && ui.messages[0].text == kNoInstrument) return ended::kNoInstrument;
    if (!result.sent && result.outcome == SettingsJob::Outcome::Stay && told.text == kEquipmentUnusual &&
        told.caption == kSettingCaption)
      return ended::kNotSent;
    return 0;
  }

  // A download that went through: the instrument's data but for the faulted
  // record, and a saved file that reads back as it was written.
  void ExpectReceived(const Cell& cell) {
    if (cell.role != Role::Count) {
      const Reference& reference = HealthyDownload();
      EXPECT_EQ(state.tables.Counts(), reference.state.tables.Counts());
      for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
        auto expected = std::make_unique<TableCopy>(reference.state.tables.Copy(copy));
        if (cell.role == Role::Record)
          expected->manual[cell.position - 1][cell.position - 1] =
              state.tables.Copy(copy).manual[cell.position - 1][cell.position - 1];
        EXPECT_TRUE(*expected == state.tables.Copy(copy)) << "copy " << static_cast<int>(copy);
      }
      EXPECT_EQ(state.tables.info.idn, reference.state.tables.info.idn);
    }
    EXPECT_EQ(state.tables.dataState, DataState::Unsaved);
    ProgramState reopened;
    const Result opened = ReadDataFile(savedPath, reopened.tables);
    ASSERT_TRUE(opened.ok) << opened.message;
    InstallLoadedData(reopened.tables);
    EXPECT_EQ(FirstDifference(FormatDataFile(reopened.tables, NumberFormat{}),
                              FormatDataFile(state.tables, NumberFormat{})),
              "");
  }

  test::ScopedEnvironment limits;
  DlopenUsbDriver driver{test::BinPath(kUsbLibraryName)};
  test::TempDir folder;
  const std::string savedPath = folder.File("earlier.csv");
  std::string savedBytes;
  ProgramState state;
  OperatorMessage told;
};

TEST_P(FaultMatrix, Cell) {
  const Cell& cell = GetParam();
  OpenEarlierData();
  // The healthy run is timed before the simulator of the cell starts.
  const double healthySeconds = cell.job == Job::Download ? HealthyDownload().seconds : 0.0;
  test::SimProcess sim;
  ASSERT_TRUE(sim.Start({"--demo", "--fault", cell.Fault(), "--drip-interval", kDripIntervalMs}));
  const test::WorkingSnapshot before(state.tables);

  ScriptedUiServices ui;
  const auto start = std::chrono::steady_clock::now();
  const unsigned outcome = cell.job == Job::Download ? RunDownload(cell, ui) : RunApply(ui);
  const double seconds = SecondsSince(start);
  std::printf("fault-matrix %s %s \"%s\" %s %.3f\n", cell.job == Job::Download ? "download" : "apply",
              cell.kind == nullptr ? "absent" : cell.kind->name, cell.prefix.c_str(), OutcomeName(outcome),
              seconds);

  EXPECT_NE(outcome & cell.Expected(), 0u) << OutcomeName(outcome) << ", told \"" << told.text << "\"";
  EXPECT_LT(seconds, healthySeconds + kExchangeTimeoutMs / 1000.0 + kSlackSeconds);
  const std::vector<std::string> log = sim.Log();
  const size_t fullDownload = 1 + kGroupCount * kRecordsPerGroup + kSetCount + 4;
  switch (outcome) {
    case ended::kReceived:
      if (cell.kind->dropsLink) {
        EXPECT_EQ(log.back(), cell.prefix);
      } else if (cell.role != Role::Count) {
        EXPECT_EQ(log.size(), fullDownload);
      }
      ExpectReceived(cell);
      return;
    case ended::kNothingSelected: EXPECT_EQ(log.size(), 1u); break;
    case ended::kNoInstrument: EXPECT_TRUE(log.empty()); break;
    default:
      // Nothing is asked after the exchange that failed.
      ASSERT_FALSE(log.empty());
      EXPECT_EQ(log.back().rfind(cell.prefix, 0), 0u) << log.back();
      if (cell.job == Job::Apply) {
        EXPECT_EQ(log.size(), static_cast<size_t>(cell.position + 1));
      }
      EXPECT_TRUE(ui.messages.size() == (outcome == ended::kCountRefused ? 1u : 0u));
  }
  test::ExpectUnchanged(before, state.tables);
  EXPECT_EQ(test::ReadWholeFile(savedPath), savedBytes);
}

INSTANTIATE_TEST_SUITE_P(Reliability, FaultMatrix, ::testing::ValuesIn(MatrixCells()), CellName);

}  // namespace
}  // namespace qv70
