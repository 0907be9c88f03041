#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/report/report_settings.h"

namespace qv70 {

// The rules of the Set Report pages without their windows: each page's
// dialog mirrors one of these into its controls and forwards every click.

// The first page's boxes as the operator left them (its working copy).
struct ReportSetChoices {
  CreationMethod creationMethod = CreationMethod::AllData;
  bool logoOn = true;
  LogoKind logoKind = LogoKind::Picture;
  std::string picturePath;
  std::string companyName;
  PaperSize paperSize = PaperSize::A4;
  bool pageNumberOn = true;
  std::string startPageText = "1";
  bool dataNameOn = false;
  std::string dataName;
  bool authorOn = true;
  std::string author;
  bool timeOn = true;
  TimeKind timeKind = TimeKind::Date;
  std::string timeText;        // what the time box shows
  std::string customTimeText;  // the text "Text" brings back
  std::string commentText;
  std::string commentRtf;
};

// The first page as the settings fill it; the time box shows `today` for
// "Time" and the kept text for "Text".
ReportSetChoices ChoicesFromSettings(const ReportSettings& settings, const std::string& today);

// "Time" puts today's date into the time box, "Text" the text last typed while
// "Text" was chosen.
void ChooseTimeKind(ReportSetChoices& choices, TimeKind kind, const std::string& today);
// The time box edited (cut to its 10 characters); while "Text" is chosen the
// text is also kept for it.
void EditTimeText(ReportSetChoices& choices, std::string_view text);

// The header texts the boxes give: an unticked box keeps its text but prints
// none, and with numbering off the first page is "1".
ReportHeaderTexts EffectiveHeaderTexts(const ReportSetChoices& choices);

// Which of the first page's edits and buttons take input.
struct ReportSetEnabling {
  bool logoKinds = false;  // "Picture" and "Text"
  bool browse = false;     // "Browse..." (the path edit itself never)
  bool companyName = false;
  bool startPage = false;
  bool dataName = false;
  bool author = false;
  bool time = false;  // "Time", "Text" and the time box
};
ReportSetEnabling EnabledControls(const ReportSetChoices& choices);

// The group page: 20 boxes (index as DataSelection) with "Select All" and
// "Select None". A box is enabled only when its group or set has data.
class GroupSelection {
 public:
  GroupSelection() = default;
  // The page as an opening creates it: boxes enabled by `hasData`, ticked as
  // remembered from the last Finish, "Select All" as remembered. A remembered
  // box whose group or set no longer has data stays unticked, so it is never
  // selected without data.
  GroupSelection(const DataSelection& hasData, const DataSelection& remembered, bool rememberedSelectAll);

  // A click on box `index` leaving it `ticked`; ignored for a disabled box.
  void SetBox(int index, bool ticked);
  // Ticked: unticks "Select None" and ticks every box with data.
  void SetSelectAll(bool ticked);
  // Ticked: unticks "Select All" and every box.
  void SetSelectNone(bool ticked);

  bool BoxEnabled(int index) const { return enabled_[index]; }
  bool BoxTicked(int index) const { return ticked_[index]; }
  bool SelectAllTicked() const { return selectAll_; }
  bool SelectNoneTicked() const { return selectNone_; }
  const DataSelection& Ticked() const { return ticked_; }
  bool AnyTicked() const;

 private:
  DataSelection enabled_{};
  DataSelection ticked_{};
  bool selectAll_ = false;
  bool selectNone_ = false;
};

// Which report kinds the selection holds records (or sets) of, by ReportKind.
using KindPresence = std::array<bool, kReportKindCount>;

// The item page: the 32 item boxes with "Select All" and "Select None". Only
// the boxes of the kinds present take clicks; a dependant (8, 10, 12, 13)
// follows its parent's box.
class ItemSelection {
 public:
  ItemSelection() : ItemSelection(std::string_view{}) {}
  // The page as an opening creates it: every box enabled, ticked from
  // `itemFlags` (kSelectAllFlag is "Select All").
  explicit ItemSelection(std::string_view itemFlags);

  // The page became active for a selection holding `present`: "Select All"
  // runs again when ticked, the boxes of absent kinds are disabled (their
  // ticks kept), and a dependant whose parent is unticked is disabled.
  void Activate(const KindPresence& present);
  // A click on item `item` leaving it `ticked`; ignored for a disabled box.
  void SetItem(int item, bool ticked);
  // Ticked: unticks "Select None" and ticks the boxes of the kinds present.
  void SetSelectAll(bool ticked);
  // Ticked: unticks "Select All" and the boxes of the kinds present.
  void SetSelectNone(bool ticked);

  bool ItemEnabled(int item) const { return enabled_[item]; }
  bool ItemTicked(int item) const { return ticked_[item]; }
  bool SelectAllTicked() const { return selectAll_; }
  bool SelectNoneTicked() const { return selectNone_; }
  // The boxes as `itemFlags`: one '0'/'1' per item, then "Select All".
  std::string Flags() const;

 private:
  bool Present(int item) const;
  void SetDependants(int parent, bool ticked);

  std::array<bool, kReportItemCount> ticked_{};
  std::array<bool, kReportItemCount> enabled_{};
  bool selectAll_ = false;
  bool selectNone_ = false;
  KindPresence present_{};
};

}  // namespace qv70
