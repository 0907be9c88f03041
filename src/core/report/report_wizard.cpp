#include "core/report/report_wizard.h"

#include "core/report/messages.h"

namespace qv70 {

namespace {

OperatorMessage ChooseDataMessage() { return {report_message::kChooseData, report_message::kCaption}; }

}  // namespace

void ReportWizard::Open(const ReportSettings& settings, const std::string& today) {
  if (!opened_) {
    first_ = ChoicesFromSettings(settings, today);
    graphs_ = {settings.stepGraphKind, settings.loggingGraphKind};
    opened_ = true;
  } else {
    ChooseTimeKind(first_, first_.timeKind, today);
  }
  groups_ = GroupSelection(GroupsAndSetsWithData(tables_), rememberedBoxes_, rememberedSelectAll_);
  items_ = ItemSelection(settings.itemFlags);
  ShowItems();
  page_ = Page::ReportSet;
}

ReportWizard::ButtonRow ReportWizard::Buttons() const {
  switch (page_) {
    case Page::ReportSet: return {false, "Next"};
    case Page::DataChoice: return {true, "Next"};
    case Page::DisplayItems: break;
  }
  return {true, "Finish"};
}

void ReportWizard::ShowItems() {
  selection_ = AllData() ? GroupsAndSetsWithData(tables_) : groups_.Ticked();
  items_.Activate(PresentKinds(CountSelectedRecords(tables_, selection_)));
  page_ = Page::DisplayItems;
}

ReportWizard::Step ReportWizard::PressOk(ReportSettings& settings) {
  switch (page_) {
    case Page::ReportSet:
      if (AllData()) {
        ShowItems();
      } else {
        page_ = Page::DataChoice;
      }
      return {Outcome::Moved, {}};
    case Page::DataChoice:
      if (!groups_.AnyTicked()) return {Outcome::Stay, ChooseDataMessage()};
      ShowItems();
      return {Outcome::Moved, {}};
    case Page::DisplayItems: break;
  }
  return Finish(settings);
}

void ReportWizard::Back() {
  if (page_ == Page::DisplayItems && !AllData()) {
    page_ = Page::DataChoice;
  } else {
    page_ = Page::ReportSet;
  }
}

ReportWizard::Step ReportWizard::Finish(ReportSettings& settings) {
  ReportChoices choices;
  choices.first = first_;
  choices.partialSelection = groups_.Ticked();
  choices.itemFlags = items_.Flags();
  choices.stepGraphKind = graphs_.step;
  choices.loggingGraphKind = graphs_.logging;
  ResultOf<ReportSettings> finished = FinishReport(choices, tables_);
  if (!finished) {
    page_ = AllData() ? Page::DisplayItems : Page::DataChoice;
    return {Outcome::Stay, ChooseDataMessage()};
  }
  settings = std::move(finished.value);
  rememberedBoxes_ = AllData() ? settings.selectedSets : groups_.Ticked();
  rememberedSelectAll_ = AllData() || groups_.SelectAllTicked();
  return {Outcome::Finished, {}};
}

}  // namespace qv70
