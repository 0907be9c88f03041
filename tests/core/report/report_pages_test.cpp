// The pages' rules: the time box, the first page's enabling, and the group
// and item pages' Select All / Select None and dependants.
#include "core/report/report_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "core/report/report_test_support.h"

namespace qv70 {
namespace {

using test::Selected;
using test::Ticked;

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

// A click on a page: a box (by index) left ticked or unticked, or one of the
// two selection boxes ticked.
struct Click {
  enum Box { Numbered, SelectAll, SelectNone } box;
  int index;
  bool ticked;
};
const Click kAll{Click::SelectAll, 0, true};
const Click kNone{Click::SelectNone, 0, true};
Click Tick(int index) { return {Click::Numbered, index, true}; }
Click Untick(int index) { return {Click::Numbered, index, false}; }

void SetNumbered(GroupSelection& page, int index, bool ticked) { page.SetBox(index, ticked); }
void SetNumbered(ItemSelection& page, int index, bool ticked) { page.SetItem(index, ticked); }

template <typename... Clicked>
std::vector<Click> Clicks(Clicked... clicks) {
  return {clicks...};
}

template <typename Page>
void Apply(Page& page, const std::vector<Click>& clicks) {
  for (const Click& click : clicks) {
    switch (click.box) {
      case Click::Numbered: SetNumbered(page, click.index, click.ticked); break;
      case Click::SelectAll: page.SetSelectAll(click.ticked); break;
      case Click::SelectNone: page.SetSelectNone(click.ticked); break;
    }
  }
}

constexpr int kA = 0, kB = 1, kP = 9, kLr1 = 11;

TEST(GroupPage, SelectAllNoneAndClicks) {
  const DataSelection hasData = Selected({kA, kB, kLr1});
  const struct {
    const char* name;
    DataSelection remembered;
    bool rememberedSelectAll;
    std::vector<Click> clicks;
    DataSelection ticked;
    bool selectAll;
    bool selectNone;
  } rows[] = {
      {"created as remembered, only with data", Selected({kA, kP, kLr1}), true, Clicks(),
       Selected({kA, kLr1}), true, false},
      {"select all ticks every box with data", {}, false, Clicks(kAll), hasData, true, false},
      {"select none unticks every box", hasData, true, Clicks(kNone), {}, false, true},
      {"a box ticked unticks select none", {}, false, Clicks(kNone, Tick(kB)), Selected({kB}), false, false},
      {"a box unticked unticks select all", hasData, true, Clicks(Untick(kA)), Selected({kB, kLr1}), false,
       false},
      {"a box without data takes no tick", {}, false, Clicks(Tick(kP)), {}, false, false},
  };
  for (const auto& row : rows) {
    GroupSelection groups(hasData, row.remembered, row.rememberedSelectAll);
    Apply(groups, row.clicks);
    EXPECT_EQ(groups.Ticked(), row.ticked) << row.name;
    EXPECT_EQ(groups.SelectAllTicked(), row.selectAll) << row.name;
    EXPECT_EQ(groups.SelectNoneTicked(), row.selectNone) << row.name;
    EXPECT_FALSE(groups.BoxEnabled(kP)) << row.name;
  }
}

std::vector<int> List(std::initializer_list<int> items) { return items; }
std::vector<int> Items(int first, int last) {
  std::vector<int> items;
  for (int i = first; i <= last; ++i) items.push_back(i);
  return items;
}
std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
std::vector<int> Without(std::vector<int> items, std::initializer_list<int> left) {
  for (int item : left) items.erase(std::find(items.begin(), items.end(), item));
  return items;
}
// The items as one '0'/'1' per item, then "Select All" when `withSelectAll`.
std::string FlagsOf(const std::vector<int>& items, bool withSelectAll = false) {
  std::string flags(kItemFlagCount, '0');
  for (int item : items) flags[static_cast<size_t>(item)] = '1';
  if (withSelectAll) flags[kSelectAllFlag] = '1';
  return flags;
}
std::string EnabledOf(const ItemSelection& page) {
  std::string enabled(kItemFlagCount, '0');
  for (int i = 0; i < kReportItemCount; ++i)
    enabled[static_cast<size_t>(i)] = page.ItemEnabled(i) ? '1' : '0';
  return enabled;
}

TEST(ItemPage, KindsDependantsAndSelectAllNone) {
  const KindPresence normal{true, false, false, false};
  const KindPresence tcAndStep{false, true, true, false};
  const KindPresence normalAndLogging{true, false, false, true};
  const std::vector<int> normalItems = Items(0, 13), tcItems = Items(14, 23), stepItems = Items(24, 27),
                         loggingItems = Items(28, 31), tcStep = Join(tcItems, stepItems);
  const std::vector<int> otherKinds = Join(tcStep, loggingItems);
  const std::vector<int> parentsOnly = Without(normalItems, {8, 10, 12, 13});
  const std::string everything(kItemFlagCount, '1');
  const struct {
    const char* name;
    std::string flags;
    KindPresence present;
    std::vector<Click> clicks;
    std::vector<int> ticked;
    bool selectAll;
    std::vector<int> enabled;
    bool selectNone;
  } rows[] = {
      {"created from the flags, absent kinds disabled", Ticked({0, 14, 24, 28}), normal, Clicks(),
       List({0, 14, 24, 28}), false, parentsOnly, false},
      {"select all ticks the kinds present and enables the dependants", "", normalAndLogging, Clicks(kAll),
       Join(normalItems, loggingItems), true, Join(normalItems, loggingItems), false},
      {"select all remembered runs again on activation", Ticked({kSelectAllFlag}), tcAndStep, Clicks(),
       tcStep, true, tcStep, false},
      {"select none unticks only the kinds present", everything, normal, Clicks(kNone), otherKinds, false,
       parentsOnly, true},
      {"PI ticks and enables its two dependants", "", normal, Clicks(Tick(11)), List({11, 12, 13}), false,
       Join(parentsOnly, List({12, 13})), false},
      {"DAR 15s unticked takes its dependant and select all", everything, normal, Clicks(Untick(7)),
       Join(Without(normalItems, {7, 8}), otherKinds), false, Without(normalItems, {8}), false},
      {"disabled boxes take no clicks", "", normal, Clicks(Tick(14), Tick(8)), List({}), false, parentsOnly,
       false},
      {"reference temperature, TC set voltage and step interval leave select none", "", tcAndStep,
       Clicks(kNone, Tick(20), Tick(22), Tick(24)), List({20, 22, 24}), false, tcStep, true},
      {"any other box ticked unticks select none", "", tcAndStep, Clicks(kNone, Tick(15)), List({15}), false,
       tcStep, false},
      {"reference temperature unticked unticks select all", "", tcAndStep, Clicks(kAll, Untick(20)),
       Without(tcStep, {20}), false, tcStep, false},
  };
  for (const auto& row : rows) {
    ItemSelection page(row.flags);
    page.Activate(row.present);
    Apply(page, row.clicks);
    EXPECT_EQ(page.Flags(), FlagsOf(row.ticked, row.selectAll)) << row.name;
    EXPECT_EQ(EnabledOf(page), FlagsOf(row.enabled)) << row.name;
    EXPECT_EQ(page.SelectNoneTicked(), row.selectNone) << row.name;
  }
}

}  // namespace
}  // namespace qv70
