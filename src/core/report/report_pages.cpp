#include "core/report/report_pages.h"

#include <algorithm>

namespace qv70 {

namespace {

ReportKind KindOf(int item) { return kReportItems[item].kind; }

// Items 20, 22 and 24 leave "Select None" alone when ticked.
bool KeepsSelectNone(int item) { return item == 20 || item == 22 || item == 24; }

}  // namespace

ReportSetChoices ChoicesFromSettings(const ReportSettings& settings, const std::string& today) {
  ReportSetChoices choices;
  choices.creationMethod = settings.creationMethod;
  choices.logoOn = settings.logoOn;
  choices.logoKind = settings.logoKind;
  choices.picturePath = settings.picturePath;
  choices.companyName = settings.companyName;
  choices.paperSize = settings.paperSize;
  choices.pageNumberOn = settings.pageNumberOn;
  choices.startPageText = settings.startPageText;
  choices.dataNameOn = settings.dataNameOn;
  choices.dataName = settings.dataName;
  choices.authorOn = settings.authorOn;
  choices.author = settings.author;
  choices.timeOn = settings.timeOn;
  choices.customTimeText = settings.customTimeText;
  ChooseTimeKind(choices, settings.timeKind, today);
  choices.commentText = settings.commentText;
  choices.commentRtf = settings.commentRtf;
  return choices;
}

void ChooseTimeKind(ReportSetChoices& choices, TimeKind kind, const std::string& today) {
  choices.timeKind = kind;
  choices.timeText =
      kind == TimeKind::Text ? choices.customTimeText : LimitText(today, report_limit::kTimeText);
}

void EditTimeText(ReportSetChoices& choices, std::string_view text) {
  choices.timeText = LimitText(text, report_limit::kTimeText);
  if (choices.timeKind == TimeKind::Text) choices.customTimeText = choices.timeText;
}

ReportHeaderTexts EffectiveHeaderTexts(const ReportSetChoices& choices) {
  ReportHeaderTexts header;
  header.startPage = choices.pageNumberOn ? choices.startPageText : "1";
  header.time = choices.timeOn ? choices.timeText : "";
  header.author = choices.authorOn ? choices.author : "";
  header.dataName = choices.dataNameOn ? choices.dataName : "";
  return header;
}

ReportSetEnabling EnabledControls(const ReportSetChoices& choices) {
  ReportSetEnabling enabling;
  enabling.logoKinds = choices.logoOn;
  enabling.browse = choices.logoOn && choices.logoKind == LogoKind::Picture;
  enabling.companyName = choices.logoOn && choices.logoKind == LogoKind::Text;
  enabling.startPage = choices.pageNumberOn;
  enabling.dataName = choices.dataNameOn;
  enabling.author = choices.authorOn;
  enabling.time = choices.timeOn;
  return enabling;
}

GroupSelection::GroupSelection(const DataSelection& hasData, const DataSelection& remembered,
                               bool rememberedSelectAll)
    : enabled_(hasData), selectAll_(rememberedSelectAll) {
  for (size_t i = 0; i < ticked_.size(); ++i) ticked_[i] = remembered[i] && hasData[i];
}

void GroupSelection::SetBox(int index, bool ticked) {
  if (!BoxEnabled(index)) return;
  ticked_[index] = ticked;
  if (ticked) {
    selectNone_ = false;
  } else {
    selectAll_ = false;
  }
}

void GroupSelection::SetSelectAll(bool ticked) {
  selectAll_ = ticked;
  if (!ticked) return;
  selectNone_ = false;
  ticked_ = enabled_;
}

void GroupSelection::SetSelectNone(bool ticked) {
  selectNone_ = ticked;
  if (!ticked) return;
  selectAll_ = false;
  ticked_.fill(false);
}

bool GroupSelection::AnyTicked() const {
  return std::find(ticked_.begin(), ticked_.end(), true) != ticked_.end();
}

ItemSelection::ItemSelection(std::string_view itemFlags) {
  const std::string flags = NormalizedItemFlags(itemFlags);
  for (int i = 0; i < kReportItemCount; ++i) ticked_[i] = flags[i] == '1';
  enabled_.fill(true);
  selectAll_ = flags[kSelectAllFlag] == '1';
}

bool ItemSelection::Present(int item) const { return present_[static_cast<size_t>(KindOf(item))]; }

void ItemSelection::Activate(const KindPresence& present) {
  present_ = present;
  if (selectAll_) SetSelectAll(true);
  for (int i = 0; i < kReportItemCount; ++i) enabled_[i] = Present(i);
  for (int i = 0; i < kReportItemCount; ++i) {
    const int parent = ReportItemParent(i);
    if (parent >= 0 && !ItemTicked(parent)) enabled_[i] = false;
  }
}

void ItemSelection::SetDependants(int parent, bool ticked) {
  for (int i = 0; i < kReportItemCount; ++i) {
    if (ReportItemParent(i) != parent) continue;
    enabled_[i] = ticked;
    ticked_[i] = ticked;
  }
}

void ItemSelection::SetItem(int item, bool ticked) {
  if (!ItemEnabled(item)) return;
  ticked_[item] = ticked;
  const bool isParent = item == 7 || item == 9 || item == 11;
  if (isParent) SetDependants(item, ticked);
  if (!ticked) {
    selectAll_ = false;
  } else if (!KeepsSelectNone(item)) {
    selectNone_ = false;
  }
}

void ItemSelection::SetSelectAll(bool ticked) {
  selectAll_ = ticked;
  if (!ticked) return;
  selectNone_ = false;
  for (int i = 0; i < kReportItemCount; ++i) {
    if (Present(i)) ticked_[i] = true;
  }
  if (present_[static_cast<size_t>(ReportKind::Normal)]) {
    for (int i = 0; i < kReportItemCount; ++i) {
      if (ReportItemParent(i) >= 0) enabled_[i] = true;
    }
  }
}

void ItemSelection::SetSelectNone(bool ticked) {
  selectNone_ = ticked;
  if (!ticked) return;
  selectAll_ = false;
  for (int i = 0; i < kReportItemCount; ++i) {
    if (Present(i)) ticked_[i] = false;
    if (ReportItemParent(i) >= 0) enabled_[i] = false;
  }
}

std::string ItemSelection::Flags() const {
  std::string flags(kItemFlagCount, '0');
  for (int i = 0; i < kReportItemCount; ++i) {
    if (ItemTicked(i)) flags[i] = '1';
  }
  if (selectAll_) flags[kSelectAllFlag] = '1';
  return flags;
}

}  // namespace qv70
