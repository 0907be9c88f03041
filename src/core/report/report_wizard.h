#pragma once

#include <string>

#include "core/platform/ui_services.h"
#include "core/report/report_finish.h"
#include "core/report/report_pages.h"

namespace qv70 {

class RecordTables;

// The Set Report dialog's walk without its window: the three pages, their
// working copies, the button row, Back, Next and Finish.
//
// Ownership: the view owns one wizard for the life of the program and borrows
// it the tables, which outlive it. The first page's working copy and the graph
// kinds persist between openings, Cancel included; the group page is created
// at each opening from the data and what the last Finish remembered, and the
// item page from the committed itemFlags. Only Finish changes ReportSettings.
//
// Failure: PressOk returns what to tell (the window shows it) and stays.
class ReportWizard {
 public:
  enum class Page { ReportSet = 0, DataChoice = 1, DisplayItems = 2 };

  // What the button row shows: Back hidden on the first page, OK reading
  // "Next" until the item page, where it reads "Finish".
  struct ButtonRow {
    bool backShown = false;
    const char* okText = "Next";
  };

  enum class Outcome { Stay, Moved, Finished };
  struct Step {
    Outcome outcome = Outcome::Stay;
    OperatorMessage message;  // with Stay: why
  };

  explicit ReportWizard(const RecordTables& tables) : tables_(tables) {}

  // An opening of the dialog with `settings` committed so far and `today` for
  // the time box: the first page is shown, the other two are created (the
  // item page activated once, as the sheet does when it builds its pages).
  void Open(const ReportSettings& settings, const std::string& today);

  Page CurrentPage() const { return page_; }
  ButtonRow Buttons() const;

  // The first page's controls write here before PressOk.
  ReportSetChoices& First() { return first_; }
  GroupSelection& Groups() { return groups_; }
  ItemSelection& Items() { return items_; }
  // The item page's two radio pairs.
  struct GraphKinds {
    GraphKind step = GraphKind::Resistance;
    GraphKind logging = GraphKind::Resistance;
  };
  GraphKinds& Graphs() { return graphs_; }

  // OK as "Next": from the first page to the item page ("Select All Data") or
  // the group page; from the group page to the item page unless no box is
  // ticked ("Please Choose Data To Print!"). OK as "Finish": FinishReport;
  // on success `settings` takes the result and the group page remembers its
  // boxes; a refusal leaves `settings` untouched and shows the item page
  // ("Select All Data") or the group page.
  Step PressOk(ReportSettings& settings);
  // The group page goes back to the first; the item page to the group page
  // with "Select Partial Data", else to the first.
  void Back();

  // The groups and sets the item page counts (the automatic selection with
  // "Select All Data").
  const DataSelection& Selection() const { return selection_; }

 private:
  bool AllData() const { return first_.creationMethod == CreationMethod::AllData; }
  void ShowItems();
  Step Finish(ReportSettings& settings);

  const RecordTables& tables_;
  bool opened_ = false;
  Page page_ = Page::ReportSet;
  ReportSetChoices first_;
  GroupSelection groups_;
  ItemSelection items_;
  GraphKinds graphs_;
  DataSelection selection_{};
  DataSelection rememberedBoxes_{};
  bool rememberedSelectAll_ = false;
};

}  // namespace qv70
