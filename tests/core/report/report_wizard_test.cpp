// The Set Report walk: page order both ways, the button row, Finish and its
// refusals, and what an opening starts from after Finish or Cancel.
#include "core/report/report_wizard.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/report/messages.h"
#include "core/report/report_start.h"
#include "core/report/report_test_support.h"

namespace qv70 {
namespace {

using test::kNormal;
using test::kTc;
using test::MakeTables;
using test::Selected;
using Page = ReportWizard::Page;

const char* const kToday = "2026-1-5";
constexpr int kA = 0, kB = 1, kLr2 = 12;

enum class Press { Ok, Back, TickGroupB };

TEST(ReportWizard, WalksThePagesInOrder) {
  const auto tables = MakeTables({{{kA, {kNormal}}, {kB, {kNormal, kTc}}}, {2}});
  const struct {
    const char* name;
    CreationMethod method;
    std::vector<Press> presses;
    std::vector<Page> pages;  // after each press
    std::vector<bool> told;   // whether "Please Choose Data To Print!" came
  } rows[] = {
      {"all data skips the group page forward and back",
       CreationMethod::AllData,
       {Press::Ok, Press::Back},
       {Page::DisplayItems, Page::ReportSet},
       {false, false}},
      {"partial data passes the group page both ways",
       CreationMethod::PartialData,
       {Press::Ok, Press::TickGroupB, Press::Ok, Press::Back, Press::Back},
       {Page::DataChoice, Page::DataChoice, Page::DisplayItems, Page::DataChoice, Page::ReportSet},
       {false, false, false, false, false}},
      {"group page with nothing ticked stays",
       CreationMethod::PartialData,
       {Press::Ok, Press::Ok},
       {Page::DataChoice, Page::DataChoice},
       {false, true}},
      {"finish without items stays on the item page",
       CreationMethod::AllData,
       {Press::Ok, Press::Ok},
       {Page::DisplayItems, Page::DisplayItems},
       {false, true}},
      {"partial finish without items goes back to the group page",
       CreationMethod::PartialData,
       {Press::Ok, Press::TickGroupB, Press::Ok, Press::Ok},
       {Page::DataChoice, Page::DataChoice, Page::DisplayItems, Page::DataChoice},
       {false, false, false, true}},
  };
  for (const auto& row : rows) {
    ReportWizard wizard(*tables);
    ReportSettings settings;
    wizard.Open(settings, kToday);
    EXPECT_EQ(wizard.CurrentPage(), Page::ReportSet) << row.name;
    wizard.First().creationMethod = row.method;
    for (size_t i = 0; i < row.presses.size(); ++i) {
      ReportWizard::Step step;
      switch (row.presses[i]) {
        case Press::Ok: step = wizard.PressOk(settings); break;
        case Press::Back: wizard.Back(); break;
        case Press::TickGroupB: wizard.Groups().SetBox(kB, true); break;
      }
      EXPECT_EQ(wizard.CurrentPage(), row.pages[i]) << row.name << " press " << i;
      EXPECT_EQ(step.message.text == report_message::kChooseData, row.told[i]) << row.name << " press " << i;
      if (row.told[i]) {
        EXPECT_EQ(step.message.caption, "Message") << row.name;
      }
      const ReportWizard::ButtonRow buttons = wizard.Buttons();
      EXPECT_EQ(buttons.backShown, row.pages[i] != Page::ReportSet) << row.name << " press " << i;
      EXPECT_STREQ(buttons.okText, row.pages[i] == Page::DisplayItems ? "Finish" : "Next") << row.name;
    }
    EXPECT_EQ(settings.reportPageCount, 0) << row.name << ": nothing committed";
  }
}

TEST(ReportWizard, FirstFinishWithThreeNormalRecords) {
  const auto tables = MakeTables({{{kB, {kNormal, kNormal, kNormal}}}, {}});
  ReportWizard wizard(*tables);
  ReportSettings settings = StartReportSettings(ReportStart{});
  wizard.Open(settings, kToday);
  ASSERT_EQ(wizard.PressOk(settings).outcome, ReportWizard::Outcome::Moved);
  EXPECT_EQ(wizard.Selection(), Selected({kB}));
  EXPECT_TRUE(wizard.Items().ItemEnabled(0));
  EXPECT_FALSE(wizard.Items().ItemEnabled(14)) << "no TC record selected";
  wizard.Items().SetSelectAll(true);
  ASSERT_EQ(wizard.PressOk(settings).outcome, ReportWizard::Outcome::Finished);
  EXPECT_EQ(settings.normalCount, 3);
  EXPECT_EQ(settings.reportPageCount, 3);
  EXPECT_EQ(settings.selectedSets, Selected({kB}));
  EXPECT_EQ(settings.header.time, kToday);
  EXPECT_EQ(settings.itemFlags, std::string(14, '1') + std::string(18, '0') + "1")
      << "Select All ticks the Normal Test boxes only";
}

TEST(ReportWizard, ARefusalLeavesTheSettingsAsTheyWere) {
  const auto tables = MakeTables({{{kA, {kNormal}}, {kB, {kTc}}}, {2}});
  ReportWizard wizard(*tables);
  ReportSettings settings;
  wizard.Open(settings, kToday);
  wizard.PressOk(settings);
  wizard.Items().SetSelectAll(true);
  ASSERT_EQ(wizard.PressOk(settings).outcome, ReportWizard::Outcome::Finished);
  const ReportSettings committed = settings;

  wizard.Open(settings, kToday);
  wizard.First().author = "changed";
  wizard.Graphs().step = GraphKind::LeakCurrent;
  wizard.PressOk(settings);
  wizard.Items().SetSelectNone(true);
  const ReportWizard::Step refused = wizard.PressOk(settings);
  EXPECT_EQ(refused.outcome, ReportWizard::Outcome::Stay);
  EXPECT_EQ(refused.message.text, report_message::kChooseData);
  EXPECT_EQ(settings.selectedSets, committed.selectedSets);
  EXPECT_EQ(settings.itemFlags, committed.itemFlags);
  EXPECT_EQ((KindCounts{settings.normalCount, settings.tcCount, settings.stepCount, settings.loggingCount}),
            (KindCounts{1, 1, 0, 1}));
  EXPECT_EQ(settings.reportPageCount, 3);
  EXPECT_EQ(settings.author, committed.author);
  EXPECT_EQ(settings.stepGraphKind, GraphKind::Resistance);
}

TEST(ReportWizard, AnOpeningStartsFromTheLastFinish) {
  const auto tables = MakeTables({{{kA, {kNormal}}, {kB, {kNormal}}}, {2}});
  ReportWizard wizard(*tables);
  ReportSettings settings;
  settings.itemFlags = test::Ticked({0});

  // Finish with partial data: group B and Lr2 ticked.
  wizard.Open(settings, kToday);
  wizard.First().creationMethod = CreationMethod::PartialData;
  wizard.PressOk(settings);
  wizard.Groups().SetBox(kB, true);
  wizard.Groups().SetBox(kLr2, true);
  wizard.PressOk(settings);
  wizard.Items().SetItem(28, true);
  wizard.Graphs().logging = GraphKind::LeakCurrent;
  ASSERT_EQ(wizard.PressOk(settings).outcome, ReportWizard::Outcome::Finished);
  EXPECT_EQ(settings.loggingGraphKind, GraphKind::LeakCurrent);
  EXPECT_EQ((std::vector<int>{settings.normalCount, settings.loggingCount}), (std::vector<int>{1, 1}));

  // Cancelled opening: the first page's copy persists, the item page does not.
  wizard.Open(settings, kToday);
  EXPECT_TRUE(wizard.Groups().BoxTicked(kB));
  EXPECT_TRUE(wizard.Groups().BoxTicked(kLr2));
  EXPECT_FALSE(wizard.Groups().BoxTicked(kA));
  EXPECT_FALSE(wizard.Groups().SelectAllTicked());
  wizard.First().author = "typed, then cancelled";
  wizard.Items().SetItem(28, false);

  wizard.Open(settings, "2026-1-6");
  EXPECT_EQ(wizard.First().author, "typed, then cancelled");
  EXPECT_EQ(wizard.First().timeText, "2026-1-6");
  EXPECT_TRUE(wizard.Items().ItemTicked(28));
  EXPECT_EQ(settings.author, "");

  // Finish with all data: the group page remembers Select All and the automatic selection.
  wizard.First().creationMethod = CreationMethod::AllData;
  wizard.PressOk(settings);
  ASSERT_EQ(wizard.PressOk(settings).outcome, ReportWizard::Outcome::Finished);
  EXPECT_EQ(settings.selectedSets, Selected({kA, kB, kLr2}));
  wizard.Open(settings, kToday);
  EXPECT_TRUE(wizard.Groups().SelectAllTicked());
  EXPECT_EQ(wizard.Groups().Ticked(), Selected({kA, kB, kLr2}));
}

}  // namespace
}  // namespace qv70
