#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "core/report/report_pages.h"
#include "core/report/report_wizard.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qv70 {

class CCommentEdit;
class UiServices;

// The three Set Report pages. Each shows the core's rules (report_pages.h)
// and forwards every click to them; none decides anything itself.

// The first page: creation method, logo or company text, paper size, page
// numbering, data name, author, time and comment, kept in the wizard's
// working copy.
class ReportSet : public QWidget {
  Q_OBJECT

 public:
  ReportSet(UiServices& ui, QWidget* parent = nullptr);

  // Shows `choices` and keeps them as the page's working copy; `today` is
  // what "Time" puts into the time box.
  void Load(ReportSetChoices& choices, const std::string& today);
  // The page is left: the comment goes into the working copy.
  void Leave();

  QRadioButton* AllData() const { return allData_; }
  QRadioButton* PartialData() const { return partialData_; }
  QCheckBox* LogoOn() const { return logoOn_; }
  QRadioButton* Picture() const { return picture_; }
  QRadioButton* CompanyText() const { return companyText_; }
  QLineEdit* PicturePath() const { return picturePath_; }
  QPushButton* Browse() const { return browse_; }
  QLineEdit* CompanyName() const { return companyName_; }
  QRadioButton* Paper(PaperSize size) const { return paper_[static_cast<size_t>(size)]; }
  QCheckBox* PageNumberOn() const { return pageNumberOn_; }
  QLineEdit* StartPage() const { return startPage_; }
  QCheckBox* DataNameOn() const { return dataNameOn_; }
  QLineEdit* DataName() const { return dataName_; }
  QCheckBox* AuthorOn() const { return authorOn_; }
  QLineEdit* Author() const { return author_; }
  QCheckBox* TimeOn() const { return timeOn_; }
  QRadioButton* TimeDate() const { return timeDate_; }
  QRadioButton* TimeText() const { return timeText_; }
  QLineEdit* TimeEdit() const { return timeEdit_; }
  CCommentEdit* Comment() const { return comment_; }
  QPushButton* ReadComment() const { return readComment_; }

 private:
  void BuildControls();
  void Connect();
  // The boxes into the working copy (the time box and the comment have their own paths).
  void StoreBoxes();
  void ShowEnabling();
  void OnTimeKind(TimeKind kind);
  void OnBrowse();

  UiServices& ui_;
  ReportSetChoices* choices_ = nullptr;
  std::string today_;

  QRadioButton* allData_ = nullptr;
  QRadioButton* partialData_ = nullptr;
  QCheckBox* logoOn_ = nullptr;
  QRadioButton* picture_ = nullptr;
  QRadioButton* companyText_ = nullptr;
  QLineEdit* picturePath_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLineEdit* companyName_ = nullptr;
  std::array<QRadioButton*, 4> paper_{};
  QCheckBox* pageNumberOn_ = nullptr;
  QLineEdit* startPage_ = nullptr;
  QCheckBox* dataNameOn_ = nullptr;
  QLineEdit* dataName_ = nullptr;
  QCheckBox* authorOn_ = nullptr;
  QLineEdit* author_ = nullptr;
  QCheckBox* timeOn_ = nullptr;
  QRadioButton* timeDate_ = nullptr;
  QRadioButton* timeText_ = nullptr;
  QLineEdit* timeEdit_ = nullptr;
  CCommentEdit* comment_ = nullptr;
  QPushButton* readComment_ = nullptr;
};

// The group page: the ten memory groups and ten logging sets to report.
class CReportDataChange : public QWidget {
  Q_OBJECT

 public:
  explicit CReportDataChange(QWidget* parent = nullptr);

  void Show(GroupSelection& groups);

  QCheckBox* Box(int index) const { return boxes_[static_cast<size_t>(index)]; }
  QCheckBox* SelectAll() const { return selectAll_; }
  QCheckBox* SelectNone() const { return selectNone_; }

 private:
  void Refresh();

  GroupSelection* groups_ = nullptr;
  std::array<QCheckBox*, kCountListSize> boxes_{};
  QCheckBox* selectAll_ = nullptr;
  QCheckBox* selectNone_ = nullptr;
};

// The item page: what the pages of each test type show, and the graph kinds.
class ReportSetData : public QWidget {
  Q_OBJECT

 public:
  explicit ReportSetData(QWidget* parent = nullptr);

  void Show(ItemSelection& items, ReportWizard::GraphKinds& graphs);

  QCheckBox* Item(int item) const { return items_[static_cast<size_t>(item)]; }
  QCheckBox* SelectAll() const { return selectAll_; }
  QCheckBox* SelectNone() const { return selectNone_; }
  QRadioButton* StepGraph(GraphKind kind) const { return stepGraph_[static_cast<size_t>(kind)]; }
  QRadioButton* LoggingGraph(GraphKind kind) const { return loggingGraph_[static_cast<size_t>(kind)]; }

 private:
  void Refresh();

  ItemSelection* selection_ = nullptr;
  ReportWizard::GraphKinds* graphs_ = nullptr;
  std::array<QCheckBox*, kReportItemCount> items_{};
  QCheckBox* selectAll_ = nullptr;
  QCheckBox* selectNone_ = nullptr;
  std::array<QRadioButton*, 2> stepGraph_{};
  std::array<QRadioButton*, 2> loggingGraph_{};
};

}  // namespace qv70
