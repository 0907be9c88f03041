// The pages' rules: the time box, the first page's enabling, and the group
// and item pages' Select All / Select None and dependants.
#include "core/report/report_pages.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/report/report_test_support.h"

namespace qv70 {
namespace {

using testing::Selected;
using testing::Ticked;

TEST(ReportSetPage, TimeAndTextSwitchKeepTheirOwnTexts) {
  const std::string today = "2026-1-5";
  ReportSetChoices choices = ChoicesFromSettings(ReportSettings{}, today);
  const struct {
    const char* step;
    std::function<void()> act;
    std::string timeText;
    std::string customTimeText;
  } steps[] = {
      {"start on Time", [] {}, today, ""},
      {"Text shows the kept text", [&] { ChooseTimeKind(choices, TimeKind::Text, today); }, "", ""},
      {"typing under Text keeps it", [&] { EditTimeText(choices, "Shift 2"); }, "Shift 2", "Shift 2"},
      {"Time restores the date", [&] { ChooseTimeKind(choices, TimeKind::Date, today); }, today, "Shift 2"},
      {"typing under Time keeps nothing", [&] { EditTimeText(choices, "today!"); }, "today!", "Shift 2"},
      {"Text restores the last text", [&] { ChooseTimeKind(choices, TimeKind::Text, today); }, "Shift 2",
       "Shift 2"},
      {"a long text is cut to 10 characters", [&] { EditTimeText(choices, "一二三四五六七八九十十一"); },
       "一二三四五六七八九十", "一二三四五六七八九十"},
  };
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(choices.timeText, step.timeText) << step.step;
    EXPECT_EQ(choices.customTimeText, step.customTimeText) << step.step;
  }
}

TEST(ReportSetPage, EditsFollowTheirBoxes) {
  const struct {
    const char* name;
    bool logoOn;
    LogoKind kind;
    bool pageNumberOn;
    ReportSetEnabling enabled;
  } rows[] = {
      {"picture logo", true, LogoKind::Picture, true, {true, true, false, true, false, true, true}},
      {"text logo", true, LogoKind::Text, true, {true, false, true, true, false, true, true}},
      {"no logo", false, LogoKind::Text, false, {false, false, false, false, false, true, true}},
  };
  for (const auto& row : rows) {
    ReportSetChoices choices;
    choices.logoOn = row.logoOn;
    choices.logoKind = row.kind;
    choices.pageNumberOn = row.pageNumberOn;
    const ReportSetEnabling e = EnabledControls(choices);
    const ReportSetEnabling& x = row.enabled;
    EXPECT_EQ(
        (std::vector<bool>{e.logoKinds, e.browse, e.companyName, e.startPage, e.dataName, e.author, e.time}),
        (std::vector<bool>{x.logoKinds, x.browse, x.companyName, x.startPage, x.dataName, x.author, x.time}))
        << row.name;
  }
}

constexpr int kA = 0, kB = 1, kP = 9, kLr1 = 11;

TEST(GroupPage, SelectAllNoneAndClicks) {
  const DataSelection hasData = Selected({kA, kB, kLr1});
  const struct {
    const char* name;
    DataSelection remembered;
    bool rememberedSelectAll;
    std::function<void(GroupSelection&)> act;
    DataSelection ticked;
    bool selectAll;
    bool selectNone;
  } rows[] = {
      {"created as remembered, only with data", Selected({kA, kP, kLr1}), true, [](GroupSelection&) {},
       Selected({kA, kLr1}), true, false},
      {"select all ticks every box with data",
       {},
       false,
       [](GroupSelection& g) { g.SetSelectAll(true); },
       hasData,
       true,
       false},
      {"select none unticks every box",
       hasData,
       true,
       [](GroupSelection& g) { g.SetSelectNone(true); },
       {},
       false,
       true},
      {"a box ticked unticks select none",
       {},
       false,
       [](GroupSelection& g) {
         g.SetSelectNone(true);
         g.SetBox(kB, true);
       },
       Selected({kB}),
       false,
       false},
      {"a box unticked unticks select all", hasData, true, [](GroupSelection& g) { g.SetBox(kA, false); },
       Selected({kB, kLr1}), false, false},
      {"a box without data takes no tick",
       {},
       false,
       [](GroupSelection& g) { g.SetBox(kP, true); },
       {},
       false,
       false},
  };
  for (const auto& row : rows) {
    GroupSelection groups(hasData, row.remembered, row.rememberedSelectAll);
    row.act(groups);
    EXPECT_EQ(groups.Ticked(), row.ticked) << row.name;
    EXPECT_EQ(groups.SelectAllTicked(), row.selectAll) << row.name;
    EXPECT_EQ(groups.SelectNoneTicked(), row.selectNone) << row.name;
    EXPECT_EQ(groups.BoxEnabled(kP), false) << row.name;
  }
}

// Items by number; "all" of a kind spelled out where a row needs it.
std::vector<int> Range(int first, int last) {
  std::vector<int> items;
  for (int i = first; i <= last; ++i) items.push_back(i);
  return items;
}
std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
std::string FlagsOf(const std::vector<int>& items, bool selectAll = false) {
  std::string flags(kItemFlagCount, '0');
  for (int item : items) flags[static_cast<size_t>(item)] = '1';
  if (selectAll) flags[kSelectAllFlag] = '1';
  return flags;
}
std::string EnabledOf(const ItemSelection& items) {
  std::string enabled;
  for (int i = 0; i < kReportItemCount; ++i) enabled += items.ItemEnabled(i) ? '1' : '0';
  return enabled;
}
std::string EnabledString(const std::vector<int>& items) {
  return FlagsOf(items).substr(0, kReportItemCount);
}

TEST(ItemPage, KindsDependantsAndSelectAllNone) {
  const KindPresence normal{true, false, false, false};
  const KindPresence tcAndStep{false, true, true, false};
  const std::vector<int> normalItems = Range(0, 13), tcItems = Range(14, 23), stepItems = Range(24, 27),
                         loggingItems = Range(28, 31);
  const std::vector<int> normalWithoutDependants{0, 1, 2, 3, 4, 5, 6, 7, 9, 11};
  const std::string everything(kItemFlagCount, '1');
  const struct {
    const char* name;
    std::string flags;
    KindPresence present;
    std::function<void(ItemSelection&)> act;
    std::string ticked;  // as itemFlags
    std::vector<int> enabled;
    bool selectNone;
  } rows[] = {
      {"created from the flags, absent kinds disabled", Ticked({0, 14, 24, 28}), normal,
       [](ItemSelection&) {}, Ticked({0, 14, 24, 28}), normalWithoutDependants, false},
      {"select all ticks the kinds present and enables the dependants",
       "",
       {true, false, false, true},
       [](ItemSelection& i) { i.SetSelectAll(true); },
       FlagsOf(Join(normalItems, loggingItems), true),
       Join(normalItems, loggingItems),
       false},
      {"select all remembered runs again on activation", Ticked({kSelectAllFlag}), tcAndStep,
       [](ItemSelection&) {}, FlagsOf(Join(tcItems, stepItems), true), Join(tcItems, stepItems), false},
      {"select none unticks only the kinds present", everything, normal,
       [](ItemSelection& i) { i.SetSelectNone(true); }, FlagsOf(Join(Join(tcItems, stepItems), loggingItems)),
       normalWithoutDependants, true},
      {"PI ticks and enables its two dependants", "", normal, [](ItemSelection& i) { i.SetItem(11, true); },
       FlagsOf({11, 12, 13}), Join(normalWithoutDependants, {12, 13}), false},
      {"DAR 15s unticked takes its dependant and select all",
       everything,
       normal,
       [](ItemSelection& i) { i.SetItem(7, false); },
       FlagsOf(Join(Join(Join({0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13}, tcItems), stepItems), loggingItems)),
       {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13},
       false},
      {"disabled boxes take no clicks", "", normal,
       [](ItemSelection& i) {
         i.SetItem(14, true);
         i.SetItem(8, true);
       },
       FlagsOf({}), normalWithoutDependants, false},
      {"reference temperature, TC set voltage and step interval leave select none", "", tcAndStep,
       [](ItemSelection& i) {
         i.SetSelectNone(true);
         i.SetItem(20, true);
         i.SetItem(22, true);
         i.SetItem(24, true);
       },
       FlagsOf({20, 22, 24}), Join(tcItems, stepItems), true},
      {"any other box ticked unticks select none", "", tcAndStep,
       [](ItemSelection& i) {
         i.SetSelectNone(true);
         i.SetItem(15, true);
       },
       FlagsOf({15}), Join(tcItems, stepItems), false},
      {"reference temperature unticked unticks select all", "", tcAndStep,
       [](ItemSelection& i) {
         i.SetSelectAll(true);
         i.SetItem(20, false);
       },
       FlagsOf([&] {
         std::vector<int> items = Join(tcItems, stepItems);
         items.erase(items.begin() + 6);  // item 20
         return items;
       }()),
       Join(tcItems, stepItems), false},
  };
  for (const auto& row : rows) {
    ItemSelection items(row.flags);
    items.Activate(row.present);
    row.act(items);
    EXPECT_EQ(items.Flags(), row.ticked) << row.name;
    EXPECT_EQ(EnabledOf(items), EnabledString(row.enabled)) << row.name;
    EXPECT_EQ(items.SelectNoneTicked(), row.selectNone) << row.name;
  }
}

}  // namespace
}  // namespace qv70
