// The settings job over the fake driver: box queries, Apply's checks, its
// command order and acknowledgements.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/instrument/messages.h"
#include "core/instrument/settings_job.h"
#include "core/instrument/usb_link.h"
#include "core/platform/environment.h"
#include "core/platform/scripted_ui_services.h"
#include "fake_instrument.h"
#include "support/local_time.h"

namespace qv70 {
namespace {

using namespace instrument_message;

using test::LocalTime;

struct SettingsFixture {
  FakeUsbDriver driver;
  FakeInstrument instrument;
  ScriptedUiServices ui;
  RecordTables tables;
  FixedClock clock{LocalTime(2009, 3, 5, 14, 7, 9)};
  UsbLink link{driver, ui};
  std::vector<bool> timer;
  SettingsJob job{link, tables, ui, clock,
                  SettingsJob::Callbacks{nullptr, [this](bool on) { timer.push_back(on); }}};

  SettingsFixture() { instrument.Attach(driver); }
};

TEST(SettingsClock, TextFormatTwelveHour) {
  struct Row {
    int hour, minute, second;
    const char* text;
  } rows[] = {{14, 7, 9, "2009-03-05 PM 02:07:09"},
              {0, 0, 0, "2009-03-05 AM 12:00:00"},
              {12, 30, 5, "2009-03-05 PM 12:30:05"},
              {11, 59, 59, "2009-03-05 AM 11:59:59"}};
  for (const Row& row : rows) {
    std::tm when{};
    when.tm_year = 109;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = row.hour;
    when.tm_min = row.minute;
    when.tm_sec = row.second;
    EXPECT_EQ(SettingsJob::FormatClockText(when), row.text);
  }
}

TEST(SettingsClock, TickingStartsTheTimerAndTheTextFollowsTicks) {
  SettingsFixture f;
  EXPECT_EQ(f.job.SetClockTicked(true), SettingsJob::Outcome::Stay);
  EXPECT_EQ(f.job.ClockText(), "");  // first filled at the first tick
  f.job.Tick();
  EXPECT_EQ(f.job.ClockText(), "2009-03-05 PM 02:07:09");
  f.clock.Set(f.clock.Now() + 1);
  f.job.Tick();
  EXPECT_EQ(f.job.ClockText(), "2009-03-05 PM 02:07:10");
  f.job.SetClockTicked(false);
  EXPECT_EQ(f.job.ClockText(), "");
  EXPECT_EQ(f.timer, (std::vector<bool>{true, false}));
  EXPECT_TRUE(f.driver.written.empty());  // a check only, nothing sent
}

TEST(SettingsClock, NoInstrumentCloses) {
  SettingsFixture f;
  f.driver.checkResult = 0;
  EXPECT_EQ(f.job.SetClockTicked(true), SettingsJob::Outcome::Close);
  EXPECT_TRUE(f.timer.empty());
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, kNoInstrument);
}

TEST(SettingsQueries, PiReplyFillsFieldsAndInfo) {
  struct Row {
    const char* reply;
    const char* t1;
    const char* t2;
  } rows[] = {{"01,10", "01", "10"}, {"5,30", "5", "30"}, {"NG", "", "NG"}};
  for (const Row& row : rows) {
    SettingsFixture f;
    f.instrument.pi = row.reply;
    EXPECT_EQ(f.job.SetPiTicked(true), SettingsJob::Outcome::Stay);
    EXPECT_EQ(f.job.T1(), row.t1) << row.reply;
    EXPECT_EQ(f.job.T2(), row.t2) << row.reply;
    EXPECT_EQ(f.tables.info.piT1, row.t1) << row.reply;
    EXPECT_EQ(f.tables.info.piT2, row.t2) << row.reply;
    EXPECT_TRUE(f.job.PiFieldsEnabled());
    EXPECT_EQ(SentCommands(f.driver), std::vector<std::string>{":SET:PI?"});
    EXPECT_EQ(f.driver.openPipes, 0);
    f.job.SetPiTicked(false);
    EXPECT_EQ(f.job.T1(), "");
    EXPECT_FALSE(f.job.PiFieldsEnabled());
    EXPECT_EQ(f.tables.info.piT1, row.t1) << "unticking leaves the tables alone";
  }
}

TEST(SettingsQueries, StepReplySelectsTheListEntry) {
  struct Row {
    const char* reply;
    int before;
    int entry;
  } rows[] = {{"30", -1, 0}, {"05", -1, 3}, {"01", -1, 1}, {"02", -1, 2},
              {"NG", 2, 2},  {"", -1, -1},  {"13", -1, 0}};
  for (const Row& row : rows) {
    SettingsFixture f;
    f.tables.info.stepIntervalUnit = "[s]";
    f.instrument.step = row.reply;
    f.job.SetStepEntry(row.before);
    EXPECT_EQ(f.job.SetStepTicked(true), SettingsJob::Outcome::Stay);
    EXPECT_EQ(f.job.StepEntry(), row.entry) << row.reply;
    EXPECT_EQ(f.tables.info.stepInterval, row.reply);
    EXPECT_EQ(f.tables.info.stepIntervalUnit, "[s]") << "the unit is not touched here";
    EXPECT_TRUE(f.job.StepListEnabled());
    f.job.SetStepTicked(false);
    EXPECT_EQ(f.job.StepEntry(), -1);
    EXPECT_FALSE(f.job.StepListEnabled());
  }
}

TEST(SettingsQueries, FailuresWhenTicking) {
  struct Row {
    const char* name;
    bool attached;
    SettingsJob::Outcome outcome;
    const char* message;
  } rows[] = {
      {"no instrument closes", false, SettingsJob::Outcome::Close, kNoInstrument},
      {"pipes failing stays ticked, fields disabled", true, SettingsJob::Outcome::Stay, kEquipmentUnusual},
  };
  for (const Row& row : rows) {
    for (bool pi : {true, false}) {
      SettingsFixture f;
      f.driver.checkResult = row.attached ? 1 : 0;
      f.driver.writePipeResult = kInvalidPipe;
      f.tables.info.piT1 = "07";
      SettingsJob::Outcome outcome = pi ? f.job.SetPiTicked(true) : f.job.SetStepTicked(true);
      EXPECT_EQ(outcome, row.outcome) << row.name;
      ASSERT_EQ(f.ui.messages.size(), 1u) << row.name;
      EXPECT_EQ(f.ui.messages[0].text, row.message) << row.name;
      EXPECT_FALSE(f.job.PiFieldsEnabled()) << row.name;
      EXPECT_FALSE(f.job.StepListEnabled()) << row.name;
      EXPECT_EQ(f.tables.info.piT1, "07") << row.name;
      EXPECT_TRUE(f.driver.written.empty()) << row.name;
    }
  }
}

TEST(SettingsSelectAll, StopsAtTheFirstFailedCheck) {
  SettingsFixture f;
  EXPECT_EQ(f.job.SelectAll(), SettingsJob::Outcome::Stay);
  EXPECT_TRUE(f.job.ClockTicked());
  EXPECT_TRUE(f.job.PiTicked());
  EXPECT_TRUE(f.job.StepTicked());
  EXPECT_EQ(SentCommands(f.driver), (std::vector<std::string>{":SET:PI?", ":SET:STEP?"}));

  SettingsFixture absent;
  absent.driver.checkResult = 0;
  EXPECT_EQ(absent.job.SelectAll(), SettingsJob::Outcome::Close);
  EXPECT_EQ(absent.ui.messages.size(), 1u);
  EXPECT_FALSE(absent.job.PiTicked());
}

SettingsJob::Choices Choose(bool clock, bool pi, bool step, const char* t1 = "", const char* t2 = "",
                            int entry = -1) {
  SettingsJob::Choices choices;
  choices.clock = clock;
  choices.pi = pi;
  choices.t1 = t1;
  choices.t2 = t2;
  choices.step = step;
  choices.stepEntry = entry;
  return choices;
}

// Apply(choices) tells nothing itself: what it has to say comes back with its
// outcome (the link still tells its own failures).
void ExpectResult(const SettingsJob::Result& result, SettingsJob::Outcome outcome, const char* text,
                  const char* caption, bool sent, const char* name) {
  EXPECT_EQ(result.outcome, outcome) << name;
  EXPECT_EQ(result.message.text, text) << name;
  EXPECT_EQ(result.message.caption, caption) << name;
  EXPECT_EQ(result.message.icon, MessageIcon::Information) << name;
  EXPECT_EQ(result.sent, sent) << name;
}

TEST(SettingsApply, ChecksBeforeAnythingIsSent) {
  struct Row {
    const char* name;
    bool clock, pi, step;
    const char* t1;
    const char* t2;
    const char* message;
  } rows[] = {
      {"nothing ticked", false, false, false, "", "", kNeedSelect},
      {"t1 empty", false, true, false, "", "10", kPiRange},
      {"t2 empty", false, true, false, "1", "", kPiRange},
      {"t1 zero", false, true, false, "0", "10", kPiRange},
      {"t2 above 30", false, true, false, "1", "31", kPiRange},
      {"t1 equals t2", false, true, false, "5", "5", kPiOrder},
      {"t1 above t2", false, true, false, "20", "10", kPiOrder},
      {"range is checked before order", true, true, true, "40", "10", kPiRange},
      {"letters never reach a command", false, true, false, "1x", "10", kPiRange},
      {"three digits never reach a command", false, true, false, "001", "10", kPiRange},
  };
  for (const Row& row : rows) {
    SettingsFixture f;
    const SettingsJob::Result result = f.job.Apply(Choose(row.clock, row.pi, row.step, row.t1, row.t2));
    ExpectResult(result, SettingsJob::Outcome::Stay, row.message, kSettingCaption, false, row.name);
    EXPECT_TRUE(f.ui.messages.empty()) << row.name;
    EXPECT_TRUE(f.driver.calls.empty()) << row.name;
  }
}

TEST(SettingsApply, CommandOrderAndSuccess) {
  struct Row {
    const char* name;
    bool clock, pi, step;
    const char* t1;
    const char* t2;
    int entry;
    std::vector<std::string> commands;
  } rows[] = {
      {"only step 2min", false, false, true, "", "", 2, {":SET:STEP 02"}},
      {"only PI 1 10", false, true, false, "1", "10", -1, {":SET:PI 1, 10"}},
      {"only clock", true, false, false, "", "", -1, {":TIME 2009, 03, 05, 14, 07, 09"}},
      {"all three in fixed order", true, true, true, "01", "30", 0,
       {":TIME 2009, 03, 05, 14, 07, 09", ":SET:PI 01, 30", ":SET:STEP 30"}},
      {"step without an entry is skipped", true, false, true, "", "", -1,
       {":TIME 2009, 03, 05, 14, 07, 09"}},
      {"step entry out of range is skipped", true, false, true, "", "", 7,
       {":TIME 2009, 03, 05, 14, 07, 09"}},
  };
  for (const Row& row : rows) {
    SettingsFixture f;
    const SettingsJob::Result result =
        f.job.Apply(Choose(row.clock, row.pi, row.step, row.t1, row.t2, row.entry));
    ExpectResult(result, SettingsJob::Outcome::Close, kAllSent, kSendingSuccessCaption, true,
                 row.name);
    EXPECT_EQ(SentCommands(f.driver), row.commands) << row.name;
    for (const std::string& written : f.driver.written) EXPECT_EQ(written.back(), '\n');
    EXPECT_TRUE(f.ui.messages.empty()) << row.name;
    EXPECT_EQ(f.driver.openPipes, 0) << row.name;
  }
}

TEST(SettingsApply, UnacknowledgedCommandStopsTheRest) {
  struct Row {
    const char* name;
    const char* faultPrefix;
    const char* faultReply;
    size_t sent;
  } rows[] = {
      {"clock answered NG", ":TIME", "NG\r\n", 1},
      {"clock answered nothing", ":TIME", "", 1},
      {"PI answered NG", ":SET:PI", "NG\r\n", 2},
      {"step answered garbage", ":SET:STEP", "\x01\x02zz", 3},
  };
  for (const Row& row : rows) {
    SettingsFixture f;
    f.tables.info.piT1 = "kept";
    f.instrument.faultPrefix = row.faultPrefix;
    f.instrument.faultReply = row.faultReply;
    const SettingsJob::Result result = f.job.Apply(Choose(true, true, true, "2", "20", 1));
    ExpectResult(result, SettingsJob::Outcome::Stay, kEquipmentUnusual, kSettingCaption, false, row.name);
    EXPECT_EQ(f.driver.written.size(), row.sent) << row.name;
    EXPECT_TRUE(f.ui.messages.empty()) << row.name;
    EXPECT_EQ(f.driver.openPipes, 0) << row.name;
    EXPECT_EQ(f.tables.info.piT1, "kept") << row.name;
  }
}

TEST(SettingsApply, LinkFailuresClose) {
  struct Row {
    const char* name;
    bool attached;
    const char* message;
  } rows[] = {{"no instrument", false, kNoInstrument}, {"pipes do not open", true, kEquipmentUnusual}};
  for (const Row& row : rows) {
    SettingsFixture f;
    f.driver.checkResult = row.attached ? 1 : 0;
    f.driver.readPipeResult = kInvalidPipe;
    const SettingsJob::Result result = f.job.Apply(Choose(true, false, false));
    EXPECT_EQ(result.outcome, SettingsJob::Outcome::Close) << row.name;
    EXPECT_TRUE(result.message.Empty()) << row.name;
    EXPECT_FALSE(result.sent) << row.name;
    // The link has told it, once.
    ASSERT_EQ(f.ui.messages.size(), 1u) << row.name;
    EXPECT_EQ(f.ui.messages[0].text, row.message) << row.name;
    EXPECT_EQ(f.ui.messages[0].caption, kWarningCaption) << row.name;
    EXPECT_TRUE(f.driver.written.empty()) << row.name;
  }
}

}  // namespace
}  // namespace qv70
