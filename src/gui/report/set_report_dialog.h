#pragma once

#include <QDialog>
#include <QImage>
#include <string>

#include "core/picture/picture_image.h"
#include "core/platform/environment.h"
#include "core/report/report_settings.h"
#include "core/report/report_wizard.h"

class QPushButton;
class QStackedWidget;

namespace qv70 {

class UiServices;
class ReportSet;
class CReportDataChange;
class ReportSetData;

// The Set Report window: the three pages walked like a wizard, with "Back",
// "Next"/"Finish" and "Cancel" at the bottom right.
//
// Ownership: the view keeps one for the life of the program; it owns the
// committed ReportSettings and the wizard with the pages' working copies, and
// borrows the tables and the UiServices, which outlive it.
//
// Finish commits through the core (FinishReport), keeps the settings in
// Config.ini and Comment.inl, loads the logo and closes with Accepted; a
// refusal is told and the window stays. Cancel or the close box leaves ReportSettings unchanged.
class CSetReportDlg : public QDialog {
  Q_OBJECT

 public:
  CSetReportDlg(const RecordTables& tables, UiServices& ui, const Environment& environment,
                ReportSettings settings, QWidget* parent = nullptr);
  ~CSetReportDlg() override;

  // An opening: the first page shows the working copy, the others are
  // created from the data and the last Finish.
  void Open();
  // Open and run modally.
  int Run();

  const ReportSettings& Settings() const { return settings_; }
  // The picture the pages print, as the last Finish loaded it (empty: none).
  const PictureImage& Logo() const { return logo_; }
  // The logo's device bitmap the pages stretch, made at that Finish (null: none).
  const QImage& LogoBitmap() const { return logoBitmap_; }
  // Whether a Finish has committed the settings yet.
  bool Finished() const { return finished_; }
  ReportWizard::Page CurrentPage() const { return wizard_.CurrentPage(); }

  ReportSet* FirstPage() const { return first_; }
  CReportDataChange* GroupPage() const { return groups_; }
  ReportSetData* ItemPage() const { return items_; }
  QPushButton* BackButton() const { return back_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 public slots:
  void reject() override;

 private:
  void BuildControls();
  void OnOk();
  void OnBack();
  void LeaveFirstPage();
  // Shows the wizard's current page and its button row.
  void ShowPage();
  void FinishCommitted();
  std::string Today() const;

  UiServices& ui_;
  Environment environment_;
  ReportSettings settings_;
  ReportWizard wizard_;
  PictureImage logo_;
  QImage logoBitmap_;
  bool finished_ = false;

  QStackedWidget* stack_ = nullptr;
  ReportSet* first_ = nullptr;
  CReportDataChange* groups_ = nullptr;
  ReportSetData* items_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace qv70
