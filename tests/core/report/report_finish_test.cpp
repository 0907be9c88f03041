// Finish: which groups, sets and records a report covers, how the item boxes
// decide the pages per kind, and the header texts the first page's boxes give.
#include "core/report/report_finish.h"

#include <gtest/gtest.h>

#include "core/report/messages.h"
#include "core/report/report_test_support.h"

namespace qv70 {
namespace {

using test::kNormal;
using test::kStep;
using test::kTc;
using test::MakeTables;
using test::ReportData;
using test::Selected;
using test::Ticked;

constexpr int kGroupA = 0, kGroupB = 1, kGroupP = 9, kSetLr1 = 11, kSetLr3 = 13;
constexpr int kNormalTestTime = 0, kTcTestTime = 14, kStepInterval = 24, kLoggingInterval = 28;

const DataSelection kNothing{};

ReportData Data(std::vector<ReportData::Group> groups, std::vector<int> sets = {}) {
  return ReportData{std::move(groups), std::move(sets)};
}
KindCounts Pages(int normal, int tc, int step, int logging) { return {normal, tc, step, logging}; }

struct FinishRow {
  const char* name;
  ReportData data;
  CreationMethod method;
  DataSelection partial;
  std::string itemFlags;
  bool ok;
  KindCounts pages;  // Normal, TC, Step, Logging
  DataSelection selected;
};

TEST(FinishReport, CountsThePagesOfEachKind) {
  const CreationMethod all = CreationMethod::AllData, partial = CreationMethod::PartialData;
  const std::string everything(kItemFlagCount, '1');
  const FinishRow rows[] = {
      {"first finish: three normal records, all data", Data({{kGroupA, {kNormal, kNormal, kNormal}}}), all,
       kNothing, everything, true, Pages(3, 0, 0, 0), Selected({kGroupA})},
      {"tc-only group with only normal items ticked", Data({{kGroupB, {kTc, kTc}}}), all, kNothing,
       Ticked({kNormalTestTime}), false, Pages(0, 0, 0, 0), kNothing},
      {"tc boxes ticked without tc records are not counted", Data({{kGroupA, {kNormal, kNormal}}}), all,
       kNothing, Ticked({kNormalTestTime, kTcTestTime}), true, Pages(2, 0, 0, 0), Selected({kGroupA})},
      {"only tc boxes ticked without tc records", Data({{kGroupA, {kNormal}}}), all, kNothing,
       Ticked({kTcTestTime}), false, Pages(0, 0, 0, 0), kNothing},
      {"a present kind without ticks gets no pages", Data({{kGroupA, {kNormal, kTc, kStep}}}), all, kNothing,
       Ticked({kStepInterval}), true, Pages(0, 0, 1, 0), Selected({kGroupA})},
      {"every kind with its ticks", Data({{kGroupA, {kNormal, kTc}}, {kGroupP, {kStep, kNormal}}}, {1, 3}),
       all, kNothing, Ticked({kNormalTestTime, kTcTestTime, kStepInterval, kLoggingInterval}), true,
       Pages(2, 1, 1, 2), Selected({kGroupA, kGroupP, kSetLr1, kSetLr3})},
      {"other and misspelt types count nowhere",
       Data({{kGroupA, {"normal test", "Normal Test ", "", "MN", kNormal}}}), all, kNothing, everything, true,
       Pages(1, 0, 0, 0), Selected({kGroupA})},
      {"all data never selects groups or sets without data", Data({{kGroupB, {kNormal}}}, {3}), all, kNothing,
       everything, true, Pages(1, 0, 0, 1), Selected({kGroupB, kSetLr3})},
      {"partial data keeps to the ticked boxes",
       Data({{kGroupA, {kNormal}}, {kGroupB, {kNormal, kNormal}}}, {1, 3}), partial,
       Selected({kGroupB, kSetLr3}), everything, true, Pages(2, 0, 0, 1), Selected({kGroupB, kSetLr3})},
      {"partial box without data is not selected", Data({{kGroupA, {kNormal}}}), partial,
       Selected({kGroupA, kGroupP, kSetLr1}), everything, true, Pages(1, 0, 0, 0), Selected({kGroupA})},
      {"partial with nothing ticked", Data({{kGroupA, {kNormal}}}), partial, kNothing, everything, false,
       Pages(0, 0, 0, 0), kNothing},
      {"no data at all", Data({}), all, kNothing, everything, false, Pages(0, 0, 0, 0), kNothing},
  };
  for (const FinishRow& row : rows) {
    const auto tables = MakeTables(row.data);
    ReportChoices choices;
    choices.first.creationMethod = row.method;
    choices.partialSelection = row.partial;
    choices.itemFlags = row.itemFlags;
    const ResultOf<ReportSettings> finished = FinishReport(choices, *tables);
    ASSERT_EQ(finished.ok, row.ok) << row.name;
    if (!row.ok) {
      EXPECT_EQ(finished.message, report_message::kChooseData) << row.name;
      continue;
    }
    const ReportSettings& s = finished.value;
    EXPECT_EQ((KindCounts{s.normalCount, s.tcCount, s.stepCount, s.loggingCount}), row.pages) << row.name;
    EXPECT_EQ(s.reportPageCount, row.pages[0] + row.pages[1] + row.pages[2] + row.pages[3]) << row.name;
    EXPECT_EQ(s.selectedSets, row.selected) << row.name;
    EXPECT_EQ(s.itemFlags, row.itemFlags) << row.name << ": every tick is stored, counted or not";
  }
}

TEST(FinishReport, HeaderTextsFollowTheirBoxes) {
  const struct {
    const char* name;
    void (*change)(ReportSetChoices&);
    ReportHeaderTexts header;
  } rows[] = {
      {"every box ticked", [](ReportSetChoices&) {}, {"7", "2026-1-5", "Jo", ""}},
      {"author unticked keeps the author text",
       [](ReportSetChoices& c) { c.authorOn = false; },
       {"7", "2026-1-5", "", ""}},
      {"page numbers off start at 1",
       [](ReportSetChoices& c) { c.pageNumberOn = false; },
       {"1", "2026-1-5", "Jo", ""}},
      {"time unticked", [](ReportSetChoices& c) { c.timeOn = false; }, {"7", "", "Jo", ""}},
      {"data name ticked",
       [](ReportSetChoices& c) { c.dataNameOn = true; },
       {"7", "2026-1-5", "Jo", "Cable 3"}},
  };
  const auto tables = MakeTables({{{0, {kNormal}}}, {}});
  for (const auto& row : rows) {
    ReportChoices choices;
    choices.itemFlags = Ticked({kNormalTestTime});
    ReportSetChoices& first = choices.first;
    first.startPageText = "7";
    first.timeText = "2026-1-5";
    first.author = "Jo";
    first.dataName = "Cable 3";
    row.change(first);
    const ResultOf<ReportSettings> finished = FinishReport(choices, *tables);
    ASSERT_TRUE(finished.ok) << row.name;
    EXPECT_EQ(finished.value.header, row.header) << row.name;
    EXPECT_EQ(finished.value.author, "Jo") << row.name;
    EXPECT_EQ(finished.value.startPageText, "7") << row.name;
  }
}

TEST(FinishReport, CutsTextsToTheirLimitsInCharacters) {
  const auto tables = MakeTables({{{0, {kNormal}}}, {}});
  ReportChoices choices;
  choices.itemFlags = Ticked({kNormalTestTime});
  for (int i = 0; i < 40; ++i) choices.first.companyName += "绝";
  choices.first.author = "Zhang Wei and colleagues";
  choices.first.commentText = std::string(300, 'c');
  choices.first.timeText = "2026-12-31 noon";
  const ResultOf<ReportSettings> finished = FinishReport(choices, *tables);
  ASSERT_TRUE(finished.ok);
  std::string thirtyTwo;
  for (int i = 0; i < 32; ++i) thirtyTwo += "绝";
  EXPECT_EQ(finished.value.companyName, thirtyTwo);
  EXPECT_EQ(finished.value.author, "Zhang Wei and co");
  EXPECT_EQ(finished.value.commentText, std::string(250, 'c'));
  EXPECT_EQ(finished.value.header.time, "2026-12-31");
}

}  // namespace
}  // namespace qv70
