// The download job over the fake driver: count query, boxes, status texts,
// command sequences, progress, every failure and the final move into the tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/instrument/download_job.h"
#include "core/instrument/messages.h"
#include "core/instrument/usb_link.h"
#include "core/platform/scripted_ui_services.h"
#include "fake_instrument.h"

namespace qv70 {
namespace {

using namespace instrument_message;

struct Snapshot {
  TableCopy raw, converted;
  CountList counts;
  InstrumentInfo info;
  DataState state;

  explicit Snapshot(const RecordTables& t)
      : raw(t.Copy(RecordCopy::Raw)), converted(t.Copy(RecordCopy::Converted)), counts(t.Counts()),
        info(t.info), state(t.dataState) {}

  bool Same(const RecordTables& t) const {
    Snapshot now(t);
    return raw == now.raw && converted == now.converted && counts == now.counts &&
           info == now.info && state == now.state;
  }
};

std::string NormalRecord(const std::string& number) {
  return number + ",MN,2009-03-05,14:07:09,60,23.5,45,5000,4980,5.0e+09,1.0e+09,2.0e+09,3.0e+09,"
                  "3.0,1.5,1,3.0e+09,10,6.0e+09,2.0";
}

std::string LoggingSetReply(int set, int samples) {
  std::string text = "L" + std::to_string(set) + ",Logging,2009-03-05,14:07:09,30,23.5,45,5000";
  for (int i = 0; i < samples; ++i) text += ",4990," + std::to_string(1000 + i) + ".0e+06";
  return text;
}

struct JobFixture {
  FakeUsbDriver driver;
  FakeInstrument instrument;
  ScriptedUiServices ui;
  RecordTables tables;
  UsbLink link{driver, ui};
  std::vector<int> progress;
  std::vector<std::string> statuses;
  int exchanges = 0;
  DownloadJob job{link, tables, ui,
                  DownloadJob::Callbacks{[this](const std::string& s) { statuses.push_back(s); },
                                         [this](int p) { progress.push_back(p); }, nullptr,
                                         [this] { ++exchanges; }}};

  JobFixture() {
    instrument.Attach(driver);
    instrument.counts = {3, 0, 2, 0, 0, 0, 0, 0, 0, 10, 120, 0, 5, 0, 0, 0, 0, 0, 0, 0};
    instrument.records["A0"] = NormalRecord("A0");
    instrument.records["C1"] =
        "C1,MT,2009-03-05,14:07:09,60,23.5,45,1000,990,5.0e+03,20,2.1e+03,3";
    instrument.logging[0] = LoggingSetReply(0, 120);
    instrument.logging[2] = LoggingSetReply(2, 5);
  }
  void Count() {
    ASSERT_EQ(job.SelectData(), DownloadJob::Outcome::Stay);
    driver.written.clear();
    ui.messages.clear();
  }
};

TEST(DownloadCount, CaptionsEnabledBoxesAndTotal) {
  JobFixture f;
  f.Count();
  EXPECT_EQ(f.job.BoxCaption(0), "Group A ... 3");
  EXPECT_EQ(f.job.BoxCaption(1), "Group B ... 0");
  EXPECT_EQ(f.job.BoxCaption(9), "Group P ... 10");
  EXPECT_EQ(f.job.BoxCaption(10), "Data Lr0 ... 120");
  EXPECT_EQ(f.job.BoxCaption(19), "Data Lr9 ... 0");
  for (int i = 0; i < DownloadJob::kBoxCount; ++i) {
    EXPECT_EQ(f.job.BoxEnabled(i), f.instrument.counts[i] > 0) << i;
    EXPECT_FALSE(f.job.BoxTicked(i)) << i;
  }
  EXPECT_TRUE(f.job.ObtainDataEnabled());
  EXPECT_TRUE(f.job.SelectAllEnabled());
  EXPECT_TRUE(f.job.ReselectionEnabled());
  EXPECT_EQ(f.job.StatusText(), std::string(kDataTotalText) + "140");
  EXPECT_EQ(f.driver.openPipes, 0);
}

TEST(DownloadCount, RepeatedQueryKeepsCaptionsAndEnabledBoxes) {
  JobFixture f;
  f.Count();
  f.instrument.counts = {};
  f.instrument.counts[1] = 4;
  f.Count();
  EXPECT_EQ(f.job.BoxCaption(0), "Group A ... 3");
  EXPECT_EQ(f.job.BoxCaption(1), "Group B ... 0");
  // Boxes once enabled stay enabled; newly counted ones are enabled too.
  EXPECT_TRUE(f.job.BoxEnabled(0));
  EXPECT_TRUE(f.job.BoxEnabled(1));
  EXPECT_EQ(f.job.StatusText(), std::string(kDataTotalText) + "4");
}

TEST(DownloadCount, AllZeroLeavesEverythingDisabled) {
  JobFixture f;
  f.instrument.counts = {};
  f.Count();
  for (int i = 0; i < DownloadJob::kBoxCount; ++i) EXPECT_FALSE(f.job.BoxEnabled(i)) << i;
  EXPECT_FALSE(f.job.ObtainDataEnabled());
  EXPECT_EQ(f.job.StatusText(), std::string(kDataTotalText) + "0");
  EXPECT_EQ(f.job.BoxCaption(4), "Group E ... 0");
}

TEST(DownloadCount, OversizedCountsAreLimited) {
  JobFixture f;
  f.instrument.counts[10] = 5000;
  f.instrument.counts[0] = 99;
  f.Count();
  EXPECT_EQ(f.job.Counts()[10], 360);
  EXPECT_EQ(f.job.Counts()[0], 10);
  EXPECT_EQ(f.job.BoxCaption(10), "Data Lr0 ... 360");
}

TEST(DownloadCount, FailuresAtEachStep) {
  struct Row {
    const char* name;
    bool attached;
    bool pipesOpen;
    DownloadJob::Outcome outcome;
    const char* message;
  } rows[] = {
      {"no instrument closes", false, true, DownloadJob::Outcome::Close, kNoInstrument},
      {"pipes failing stays", true, false, DownloadJob::Outcome::Stay, kEquipmentUnusual},
  };
  for (const Row& row : rows) {
    JobFixture f;
    f.driver.checkResult = row.attached ? 1 : 0;
    if (!row.pipesOpen) f.driver.readPipeResult = kInvalidPipe;
    EXPECT_EQ(f.job.SelectData(), row.outcome) << row.name;
    ASSERT_EQ(f.ui.messages.size(), 1u) << row.name;
    EXPECT_EQ(f.ui.messages[0].text, row.message) << row.name;
    EXPECT_TRUE(f.driver.written.empty()) << row.name;
    EXPECT_FALSE(f.job.ObtainDataEnabled()) << row.name;
    EXPECT_EQ(f.job.BoxCaption(0), "Group A") << row.name;
    EXPECT_EQ(f.driver.openPipes, 0) << row.name;
  }
}

TEST(DownloadSelection, StatusTextsFollowTheTicks) {
  JobFixture f;
  f.Count();
  f.job.SetBoxTicked(0, true);
  EXPECT_EQ(f.job.StatusText(), std::string(kSelectNumberText) + "3");
  f.job.SetBoxTicked(10, true);
  EXPECT_EQ(f.job.StatusText(), std::string(kSelectNumberText) + "123");
  f.job.SetBoxTicked(1, true);  // disabled: cannot be ticked
  EXPECT_FALSE(f.job.BoxTicked(1));
  f.job.SetBoxTicked(0, false);
  EXPECT_EQ(f.job.StatusText(), std::string(kSelectNumberText) + "120");
  f.job.SelectAll();
  EXPECT_EQ(f.job.StatusText(), std::string(kSelectNumberText) + "140");
  for (int i = 0; i < DownloadJob::kBoxCount; ++i)
    EXPECT_EQ(f.job.BoxTicked(i), f.instrument.counts[i] > 0) << i;
  f.job.Reselect();
  EXPECT_EQ(f.job.StatusText(), std::string(kSelectNumberText) + "0");
  for (int i = 0; i < DownloadJob::kBoxCount; ++i) EXPECT_FALSE(f.job.BoxTicked(i)) << i;
}

TEST(DownloadRun, CommandSequencesByTicks) {
  struct Row {
    const char* name;
    std::vector<int> ticks;
    std::vector<std::string> commands;
  } rows[] = {
      {"only Lr2", {12}, {":MEM:DATA? L2", "*IDN?", ":SERIAL?", ":SET:PI?", ":SET:STEP?"}},
      {"group C with count 2 asks all ten",
       {2},
       {":MEM:DATA? C0", ":MEM:DATA? C1", ":MEM:DATA? C2", ":MEM:DATA? C3", ":MEM:DATA? C4",
        ":MEM:DATA? C5", ":MEM:DATA? C6", ":MEM:DATA? C7", ":MEM:DATA? C8", ":MEM:DATA? C9", "*IDN?",
        ":SERIAL?", ":SET:PI?", ":SET:STEP?"}},
      {"groups before sets whatever the tick order",
       {10, 9},
       {":MEM:DATA? P0", ":MEM:DATA? P1", ":MEM:DATA? P2", ":MEM:DATA? P3", ":MEM:DATA? P4",
        ":MEM:DATA? P5", ":MEM:DATA? P6", ":MEM:DATA? P7", ":MEM:DATA? P8", ":MEM:DATA? P9",
        ":MEM:DATA? L0", "*IDN?", ":SERIAL?", ":SET:PI?", ":SET:STEP?"}},
  };
  for (const Row& row : rows) {
    JobFixture f;
    f.Count();
    for (int box : row.ticks) f.job.SetBoxTicked(box, true);
    EXPECT_EQ(f.job.ObtainData(), DownloadJob::Outcome::Downloaded) << row.name;
    EXPECT_EQ(SentCommands(f.driver), row.commands) << row.name;
    EXPECT_EQ(f.exchanges, static_cast<int>(row.commands.size()) + 1) << row.name;
  }
}

TEST(DownloadRun, SuccessFillsTablesAndInfo) {
  JobFixture f;
  // Data from an earlier open must be gone from unchosen groups afterwards.
  f.tables.Manual(RecordCopy::Raw, 3, 0, 0) = "D0";
  f.tables.Manual(RecordCopy::Converted, 3, 0, 0) = "D0";
  f.tables.recordCount[3] = 1;
  f.tables.dataState = DataState::Saved;
  f.Count();
  f.job.SetBoxTicked(2, true);   // group C
  f.job.SetBoxTicked(12, true);  // Lr2
  EXPECT_EQ(f.job.ObtainData(), DownloadJob::Outcome::Downloaded);

  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, kAllReceived);
  EXPECT_EQ(f.ui.messages[0].caption, kDataReceiveCaption);
  EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::None);
  EXPECT_EQ(f.tables.dataState, DataState::Unsaved);
  EXPECT_EQ(f.job.ProgressPosition(), 100);
  EXPECT_TRUE(f.job.ProgressVisible());

  CountList expected{};
  expected[2] = 2;
  expected[12] = 5;
  EXPECT_EQ(f.tables.Counts(), expected);
  EXPECT_EQ(f.tables.Manual(RecordCopy::Raw, 3, 0, 0), "");
  EXPECT_EQ(f.tables.Manual(RecordCopy::Converted, 3, 0, 0), "");
  EXPECT_EQ(f.tables.Manual(RecordCopy::Raw, 2, 1, field::kTestType), "TC Test");
  EXPECT_EQ(f.tables.Manual(RecordCopy::Converted, 2, 1, field::kTestType), "TC Test");
  EXPECT_EQ(f.tables.Manual(RecordCopy::Raw, 2, 1, field::kTableNo), "3");
  EXPECT_EQ(f.tables.Manual(RecordCopy::Raw, 2, 0, 0), "NO DATA");
  EXPECT_EQ(f.tables.Manual(RecordCopy::Raw, 2, 0, field::kTestType), "");
  EXPECT_EQ(f.tables.Header(RecordCopy::Raw, 2, header::kNo), "L2");
  EXPECT_EQ(f.tables.Sample(RecordCopy::Raw, 2, 4, sample::kOutputVoltage), "4990");
  // Sample times are filled for the chosen set: start + 30 s for the first.
  EXPECT_EQ(f.tables.Sample(RecordCopy::Converted, 2, 0, sample::kTime), "14:07:39");
  EXPECT_EQ(f.tables.Sample(RecordCopy::Converted, 2, 5, sample::kTime), "");

  EXPECT_EQ(f.tables.info.idn, "ZAVEL ,QV70 ,Ver1.00,X");
  EXPECT_EQ(f.tables.info.serialNumber, "SN12345");
  EXPECT_EQ(f.tables.info.piT1, "01");
  EXPECT_EQ(f.tables.info.piT2, "10");
  EXPECT_EQ(f.tables.info.stepInterval, "05");
  EXPECT_EQ(f.tables.info.stepIntervalUnit, "[min]");
}

TEST(DownloadRun, StepUnitFromTheStepReply) {
  struct Row {
    const char* step;
    const char* unit;
  } rows[] = {{"30", "[s]"}, {"05", "[min]"}, {"01", "[min]"}, {"", "[min]"}};
  for (const Row& row : rows) {
    JobFixture f;
    f.instrument.step = row.step;
    f.Count();
    f.job.SetBoxTicked(0, true);
    ASSERT_EQ(f.job.ObtainData(), DownloadJob::Outcome::Downloaded) << row.step;
    EXPECT_EQ(f.tables.info.stepInterval, row.step);
    EXPECT_EQ(f.tables.info.stepIntervalUnit, row.unit) << row.step;
  }
}

TEST(DownloadRun, ProgressStepsAreEqualWholeSteps) {
  struct Row {
    std::vector<int> ticks;
    std::vector<int> positions;
  } rows[] = {
      {{0, 2, 9}, {0, 33, 66, 99, 100}},
      {{0, 10, 12}, {0, 33, 66, 99, 100}},
      {{0}, {0, 100, 100}},
      {{0, 2, 9, 10, 12, 13, 14}, {0, 14, 28, 42, 56, 70, 84, 98, 100}},
  };
  for (const Row& row : rows) {
    JobFixture f;
    for (int i = 0; i < kCountListSize; ++i) f.instrument.counts[i] = 1;
    for (int set = 0; set < kSetCount; ++set) f.instrument.logging[set] = LoggingSetReply(set, 1);
    f.Count();
    for (int box : row.ticks) f.job.SetBoxTicked(box, true);
    f.progress.clear();
    ASSERT_EQ(f.job.ObtainData(), DownloadJob::Outcome::Downloaded);
    EXPECT_EQ(f.progress, row.positions) << row.ticks.size();
  }
}

TEST(DownloadRun, NothingTickedStaysWithAMessage) {
  JobFixture f;
  f.Count();
  EXPECT_EQ(f.job.ObtainData(), DownloadJob::Outcome::Stay);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, kNothingSelected);
  EXPECT_EQ(f.ui.messages[0].caption, kWarningCaption);
  EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Information);
  EXPECT_TRUE(f.driver.written.empty());
}

// Every way a download can fail, at every step: the tables stay as they were,
// the right message is shown, no command follows the failing one.
TEST(DownloadRun, EveryFailureLeavesTheTablesUnchanged) {
  struct Row {
    const char* name;
    std::string faultPrefix;  // commands answered with `faultReply`
    bool attached = true;
    bool pipesOpen = true;
    const char* message = kEquipmentUnusual;
    const char* caption = kObtainDataCaption;
    size_t commandsSent;
    std::string faultReply = "";
  } rows[] = {
      {"no instrument", "", false, true, kNoInstrument, kWarningCaption, 0},
      {"pipes do not open", "", true, false, kEquipmentUnusual, kWarningCaption, 0},
      {"first record of A", ":MEM:DATA? A0", true, true, kEquipmentUnusual, kObtainDataCaption, 1},
      {"last record of A", ":MEM:DATA? A9", true, true, kEquipmentUnusual, kObtainDataCaption, 10},
      {"third group C", ":MEM:DATA? C", true, true, kEquipmentUnusual, kObtainDataCaption, 11},
      {"group P", ":MEM:DATA? P5", true, true, kEquipmentUnusual, kObtainDataCaption, 26},
      {"first set", ":MEM:DATA? L0", true, true, kEquipmentUnusual, kObtainDataCaption, 31},
      {"second set", ":MEM:DATA? L2", true, true, kEquipmentUnusual, kObtainDataCaption, 32},
      // Replies the saved file could not be opened with again.
      {"NG for a set", ":MEM:DATA? L0", true, true, kEquipmentUnusual, kObtainDataCaption, 31, "NG\r\n"},
      {"another set's label", ":MEM:DATA? L2", true, true, kEquipmentUnusual, kObtainDataCaption, 32,
       "L3,Logging,2009-03-05,14:07:09,30,23.5,45,5000,4990,1.0e+09\r\n"},
      {"a set without a label", ":MEM:DATA? L0", true, true, kEquipmentUnusual, kObtainDataCaption, 31,
       "\r\n"},
      {"no identification", "*IDN?", true, true, kEquipmentUnusual, kObtainDataCaption, 33},
      {"NG for the identification", "*IDN?", true, true, kEquipmentUnusual, kObtainDataCaption, 33,
       "NG\r\n"},
      {"an identification without its mark", "*IDN?", true, true, kEquipmentUnusual, kObtainDataCaption,
       33, "ZAVEL,QV70,Ver1.00\r\n"},
  };
  for (const Row& row : rows) {
    JobFixture f;
    f.tables.Manual(RecordCopy::Raw, 0, 0, 0) = "old";
    f.tables.Header(RecordCopy::Converted, 4, 0) = "old header";
    f.tables.recordCount[0] = 1;
    f.tables.info.idn = "old idn";
    f.tables.dataState = DataState::Saved;
    const Snapshot before(f.tables);
    f.Count();
    f.job.SelectAll();  // A, C, P, Lr0, Lr2
    f.driver.checkResult = row.attached ? 1 : 0;
    if (!row.pipesOpen) f.driver.writePipeResult = kInvalidPipe;
    f.instrument.faultPrefix = row.faultPrefix;
    f.instrument.faultReply = row.faultReply;
    f.progress.clear();

    EXPECT_EQ(f.job.ObtainData(), DownloadJob::Outcome::Close) << row.name;
    EXPECT_TRUE(before.Same(f.tables)) << row.name;
    ASSERT_EQ(f.ui.messages.size(), 1u) << row.name;
    EXPECT_EQ(f.ui.messages[0].text, row.message) << row.name;
    EXPECT_EQ(f.ui.messages[0].caption, row.caption) << row.name;
    EXPECT_EQ(f.ui.messages[0].icon, MessageIcon::Warning) << row.name;
    EXPECT_EQ(f.driver.written.size(), row.commandsSent) << row.name;
    EXPECT_EQ(f.job.ProgressPosition(), 0) << row.name;
    f.job.Finish();
    EXPECT_EQ(f.driver.openPipes, 0) << row.name;
    EXPECT_EQ(f.job.StatusText(), "") << row.name;
  }
}

DownloadJob::Selection Choose(std::vector<int> groups, std::vector<int> sets) {
  DownloadJob::Selection selection;
  for (int g : groups) selection.groups[g] = true;
  for (int s : sets) selection.sets[s] = true;
  return selection;
}

// The download without the boxes: the selection decides what is fetched, and
// what there is to tell comes back with the outcome instead of being shown.
// The job's buffer is reused: a later download through the same job leaves
// exactly what the same download through a new job leaves, nothing of the first.
TEST(DownloadRun, ALaterDownloadKeepsNothingOfAnEarlierOne) {
  JobFixture reused;
  reused.Count();
  // Twice: the buffer then holds the converted copy the first one made.
  for (int i = 0; i < 2; ++i)
    ASSERT_EQ(reused.job.Download(Choose({0, 2}, {0, 2})).outcome, DownloadJob::Outcome::Downloaded);
  ASSERT_EQ(reused.job.Download(Choose({0}, {2})).outcome, DownloadJob::Outcome::Downloaded);
  JobFixture fresh;
  fresh.Count();
  ASSERT_EQ(fresh.job.Download(Choose({0}, {2})).outcome, DownloadJob::Outcome::Downloaded);
  EXPECT_TRUE(Snapshot(fresh.tables).Same(reused.tables));
  EXPECT_EQ(reused.tables.Manual(RecordCopy::Converted, 2, 1, field::kTestType), "");
  EXPECT_EQ(reused.tables.Sample(RecordCopy::Converted, 0, 0, sample::kResistance), "");
}

TEST(DownloadSelection, FetchesTheSelectionAndReturnsItsMessage) {
  struct Row {
    const char* name;
    DownloadJob::Selection selection;
    std::string faultPrefix;
    DownloadJob::Outcome outcome;
    const char* message;
    const char* caption;
    MessageIcon icon;
    bool brokeOff;
    size_t commandsSent;
    std::vector<int> progress;
    std::string faultReply = "";  // what `faultPrefix` is answered with
  } rows[] = {
      {"group A and set 2", Choose({0}, {2}), "", DownloadJob::Outcome::Downloaded,
       kAllReceived, kDataReceiveCaption, MessageIcon::None, false,
       15, {0, 50, 100, 100}},
      // Counted 0 by now, still chosen: all ten records are asked for.
      {"group B without records", Choose({1}, {}), "", DownloadJob::Outcome::Downloaded,
       kAllReceived, kDataReceiveCaption, MessageIcon::None, false,
       14, {0, 100, 100}},
      {"nothing", Choose({}, {}), "", DownloadJob::Outcome::Stay, kNothingSelected, kWarningCaption,
       MessageIcon::Information, false, 0, {0}},
      {"set 2 silent", Choose({0}, {0, 2}), ":MEM:DATA? L2", DownloadJob::Outcome::Close, kEquipmentUnusual,
       kObtainDataCaption, MessageIcon::Warning, true, 12, {0, 33, 66}},
      // Replies no saved file could be opened with again end as a silent one does.
      {"NG for set 0", Choose({}, {0}), ":MEM:DATA? L0", DownloadJob::Outcome::Close, kEquipmentUnusual,
       kObtainDataCaption, MessageIcon::Warning, true, 1, {0}, "NG\r\n"},
      {"NG for the identification", Choose({0}, {}), "*IDN?", DownloadJob::Outcome::Close, kEquipmentUnusual,
       kObtainDataCaption, MessageIcon::Warning, true, 11, {0, 100}, "NG\r\n"},
  };
  for (const Row& row : rows) {
    JobFixture f;
    f.Count();
    f.instrument.faultPrefix = row.faultPrefix;
    f.instrument.faultReply = row.faultReply;
    f.progress.clear();
    const DownloadJob::Result result = f.job.Download(row.selection);
    EXPECT_EQ(result.outcome, row.outcome) << row.name;
    EXPECT_EQ(result.message.text, row.message) << row.name;
    EXPECT_EQ(result.message.caption, row.caption) << row.name;
    EXPECT_EQ(result.message.icon, row.icon) << row.name;
    EXPECT_EQ(result.brokeOff, row.brokeOff) << row.name;
    EXPECT_EQ(f.driver.written.size(), row.commandsSent) << row.name;
    EXPECT_EQ(f.progress, row.progress) << row.name;
    EXPECT_TRUE(f.ui.messages.empty()) << row.name;
    // The boxes play no part.
    for (int i = 0; i < DownloadJob::kBoxCount; ++i) EXPECT_FALSE(f.job.BoxTicked(i)) << row.name;

    // Shown as the dialog shows it: the message, then a broken-off download's
    // progress back at 0.
    f.job.Report(result);
    EXPECT_EQ(f.ui.messages.size(), 1u) << row.name;
    EXPECT_EQ(f.job.ProgressPosition(), row.brokeOff ? 0 : row.progress.back()) << row.name;
  }
}

TEST(DownloadRun, OverlongReplyFailsTheDownload) {
  JobFixture f;
  const Snapshot before(f.tables);
  f.instrument.logging[0] = std::string(kReplyBufferSize + 10, '1');
  f.Count();
  f.job.SetBoxTicked(10, true);
  EXPECT_EQ(f.job.ObtainData(), DownloadJob::Outcome::Close);
  EXPECT_TRUE(before.Same(f.tables));
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, kEquipmentUnusual);
}

TEST(DownloadRun, FinishClosesPipesOnceAndClearsStatus) {
  JobFixture f;
  f.Count();
  f.job.SetBoxTicked(0, true);
  ASSERT_EQ(f.job.ObtainData(), DownloadJob::Outcome::Downloaded);
  EXPECT_EQ(f.driver.openPipes, 2);
  f.job.Finish();
  f.job.Finish();
  EXPECT_EQ(f.driver.openPipes, 0);
  EXPECT_EQ(f.statuses.back(), "");
}

}  // namespace
}  // namespace qv70

namespace qv70 {
namespace {

TEST(DownloadCount, SilentInstrumentIsNotAnEmptyOne) {
  JobFixture f;
  f.instrument.faultPrefix = ":MEM:DATA? COUNT";
  f.instrument.faultReply = "";
  EXPECT_EQ(f.job.SelectData(), DownloadJob::Outcome::Stay);
  EXPECT_FALSE(f.job.Counted());
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, kEquipmentUnusual);
  EXPECT_EQ(f.ui.messages[0].caption, kObtainDataCaption);
  EXPECT_EQ(f.job.BoxCaption(0), "Group A");
  EXPECT_EQ(f.job.StatusText(), "");
  EXPECT_EQ(f.driver.openPipes, 0);
}

}  // namespace
}  // namespace qv70
