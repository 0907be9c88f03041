#include "gui/report/report_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/platform/ui_services.h"
#include "core/report/messages.h"
#include "core/report/report_store.h"
#include "gui/dialogs/dialog_units.h"
#include "gui/report/comment_edit.h"

namespace qv70 {

namespace {

QString Qs(const std::string& text) { return QString::fromStdString(text); }
std::string Std(const QString& text) { return text.toStdString(); }

QGroupBox* Frame(QWidget* parent, const DialogUnits& du, const char* caption, int x, int y, int w, int h) {
  auto* frame = new QGroupBox(QString::fromUtf8(caption), parent);
  du.Place(frame, x, y, w, h);
  frame->lower();
  return frame;
}

template <typename Button>
Button* Place(QWidget* parent, const DialogUnits& du, const char* caption, int x, int y, int w, int h) {
  auto* button = new Button(QString::fromUtf8(caption), parent);
  du.Place(button, x, y, w, h);
  return button;
}

QLineEdit* Edit(QWidget* parent, const DialogUnits& du, size_t limit, int x, int y, int w) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(static_cast<int>(limit));
  du.Place(edit, x, y, w, 12);
  return edit;
}

// The box on a group's title: the title's leading blanks leave room for it.
QCheckBox* TitleBox(QWidget* parent, const DialogUnits& du, int x, int y) {
  auto* box = new QCheckBox(parent);
  du.Place(box, x + 2, y - 1, 9, 10);
  box->raise();
  return box;
}

void SetChecked(QAbstractButton* button, bool checked) {
  const QSignalBlocker quiet(button);
  button->setChecked(checked);
}

void SetText(QLineEdit* edit, const std::string& text) {
  const QSignalBlocker quiet(edit);
  edit->setText(Qs(text));
}

}  // namespace

ReportSet::ReportSet(UiServices& ui, QWidget* parent) : QWidget(parent), ui_(ui) {
  BuildControls();
  Connect();
}

void ReportSet::BuildControls() {
  const DialogUnits du(font());
  Frame(this, du, "Report's Created Method", 7, 4, 140, 38);
  allData_ = Place<QRadioButton>(this, du, "Select All Data", 15, 15, 120, 10);
  partialData_ = Place<QRadioButton>(this, du, "Select Partial Data", 15, 27, 120, 10);
  auto* methodGroup = new QButtonGroup(this);
  methodGroup->addButton(allData_);
  methodGroup->addButton(partialData_);

  Frame(this, du, "Paper Size", 153, 4, 140, 38);
  const char* paperNames[] = {"A4", "B5", "Letter", "Legal"};
  auto* paperGroup = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    paper_[static_cast<size_t>(i)] =
        Place<QRadioButton>(this, du, paperNames[i], 161 + (i % 2) * 65, 15 + (i / 2) * 12, 60, 10);
    paperGroup->addButton(paper_[static_cast<size_t>(i)], i);
  }

  Frame(this, du, "      Input Company Name", 7, 46, 286, 46);
  logoOn_ = TitleBox(this, du, 7, 46);
  picture_ = Place<QRadioButton>(this, du, "Picture", 15, 58, 45, 10);
  picturePath_ = Edit(this, du, report_limit::kPicturePath, 62, 57, 170);
  picturePath_->setEnabled(false);
  browse_ = Place<QPushButton>(this, du, "Browse...", 236, 56, 50, 14);
  companyText_ = Place<QRadioButton>(this, du, "Text", 15, 75, 45, 10);
  companyName_ = Edit(this, du, report_limit::kCompanyName, 62, 74, 224);
  auto* logoGroup = new QButtonGroup(this);
  logoGroup->addButton(picture_);
  logoGroup->addButton(companyText_);

  Frame(this, du, "      Input Page Number", 7, 96, 140, 28);
  pageNumberOn_ = TitleBox(this, du, 7, 96);
  auto* startLabel = new QLabel(QStringLiteral("Start Page"), this);
  du.Place(startLabel, 15, 109, 42, 10);
  startPage_ = Edit(this, du, report_limit::kStartPage, 60, 107, 80);

  Frame(this, du, "      Input Data Name", 153, 96, 140, 28);
  dataNameOn_ = TitleBox(this, du, 153, 96);
  dataName_ = Edit(this, du, report_limit::kDataName, 161, 107, 124);

  Frame(this, du, "      Input Author Name", 7, 128, 140, 28);
  authorOn_ = TitleBox(this, du, 7, 128);
  author_ = Edit(this, du, report_limit::kAuthor, 15, 139, 124);

  Frame(this, du, "      Input Time", 153, 128, 140, 28);
  timeOn_ = TitleBox(this, du, 153, 128);
  timeDate_ = Place<QRadioButton>(this, du, "Time", 159, 140, 30, 10);
  timeText_ = Place<QRadioButton>(this, du, "Text", 191, 140, 30, 10);
  timeEdit_ = Edit(this, du, report_limit::kTimeText, 223, 139, 62);
  auto* timeGroup = new QButtonGroup(this);
  timeGroup->addButton(timeDate_);
  timeGroup->addButton(timeText_);

  Frame(this, du, "Input Comment", 7, 160, 286, 84);
  comment_ = new CCommentEdit(ui_, this);
  du.Place(comment_, 15, 172, 190, 66);
  readComment_ = Place<QPushButton>(this, du, "Read Comment File...", 210, 172, 77, 14);
  // Return anywhere on the page means "Next", as on the wizard's other pages.
  browse_->setAutoDefault(false);
  readComment_->setAutoDefault(false);
}

void ReportSet::Connect() {
  for (QAbstractButton* button :
       std::initializer_list<QAbstractButton*>{allData_, partialData_, logoOn_, picture_, companyText_, paper_[0],
                                               paper_[1], paper_[2], paper_[3], pageNumberOn_, dataNameOn_,
                                               authorOn_, timeOn_}) {
    connect(button, &QAbstractButton::toggled, this, [this] {
      StoreBoxes();
      ShowEnabling();
    });
  }
  for (QLineEdit* edit : {companyName_, startPage_, dataName_, author_}) {
    connect(edit, &QLineEdit::textChanged, this, [this] { StoreBoxes(); });
  }
  connect(timeDate_, &QRadioButton::clicked, this, [this] { OnTimeKind(TimeKind::Date); });
  connect(timeText_, &QRadioButton::clicked, this, [this] { OnTimeKind(TimeKind::Text); });
  connect(timeEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (choices_) EditTimeText(*choices_, Std(text));
  });
  connect(browse_, &QPushButton::clicked, this, &ReportSet::OnBrowse);
  connect(readComment_, &QPushButton::clicked, comment_, &CCommentEdit::ReadCommentFile);
}

void ReportSet::Load(ReportSetChoices& choices, const std::string& today) {
  // Radios toggle their partners, which would store half-loaded boxes.
  choices_ = nullptr;
  today_ = today;
  SetChecked(choices.creationMethod == CreationMethod::AllData ? allData_ : partialData_, true);
  SetChecked(logoOn_, choices.logoOn);
  SetChecked(choices.logoKind == LogoKind::Picture ? picture_ : companyText_, true);
  SetText(picturePath_, choices.picturePath);
  SetText(companyName_, choices.companyName);
  SetChecked(paper_[static_cast<size_t>(choices.paperSize)], true);
  SetChecked(pageNumberOn_, choices.pageNumberOn);
  SetText(startPage_, choices.startPageText);
  SetChecked(dataNameOn_, choices.dataNameOn);
  SetText(dataName_, choices.dataName);
  SetChecked(authorOn_, choices.authorOn);
  SetText(author_, choices.author);
  SetChecked(timeOn_, choices.timeOn);
  SetChecked(choices.timeKind == TimeKind::Date ? timeDate_ : timeText_, true);
  SetText(timeEdit_, choices.timeText);
  if (!choices.commentRtf.empty()) comment_->SetCommentRtf(choices.commentRtf);
  choices_ = &choices;
  ShowEnabling();
}

void ReportSet::Leave() {
  if (!choices_) return;
  StoreBoxes();
  choices_->commentRtf = comment_->CommentRtf();
  choices_->commentText = comment_->CommentText();
}

void ReportSet::StoreBoxes() {
  if (!choices_) return;
  ReportSetChoices& c = *choices_;
  c.creationMethod = partialData_->isChecked() ? CreationMethod::PartialData : CreationMethod::AllData;
  c.logoOn = logoOn_->isChecked();
  c.logoKind = companyText_->isChecked() ? LogoKind::Text : LogoKind::Picture;
  c.picturePath = Std(picturePath_->text());
  c.companyName = Std(companyName_->text());
  for (size_t i = 0; i < paper_.size(); ++i) {
    if (paper_[i]->isChecked()) c.paperSize = static_cast<PaperSize>(i);
  }
  c.pageNumberOn = pageNumberOn_->isChecked();
  c.startPageText = Std(startPage_->text());
  c.dataNameOn = dataNameOn_->isChecked();
  c.dataName = Std(dataName_->text());
  c.authorOn = authorOn_->isChecked();
  c.author = Std(author_->text());
  c.timeOn = timeOn_->isChecked();
}

void ReportSet::ShowEnabling() {
  if (!choices_) return;
  const ReportSetEnabling enabled = EnabledControls(*choices_);
  picture_->setEnabled(enabled.logoKinds);
  companyText_->setEnabled(enabled.logoKinds);
  browse_->setEnabled(enabled.browse);
  companyName_->setEnabled(enabled.companyName);
  startPage_->setEnabled(enabled.startPage);
  dataName_->setEnabled(enabled.dataName);
  author_->setEnabled(enabled.author);
  timeDate_->setEnabled(enabled.time);
  timeText_->setEnabled(enabled.time);
  timeEdit_->setEnabled(enabled.time);
}

void ReportSet::OnTimeKind(TimeKind kind) {
  if (!choices_) return;
  ChooseTimeKind(*choices_, kind, today_);
  SetText(timeEdit_, choices_->timeText);
}

void ReportSet::OnBrowse() {
  FileDialogRequest request;
  request.filterDescription = "All (*.jpg;*.jpeg;*.bmp)";
  request.filterPattern = "*.jpg;*.jpeg;*.bmp";
  request.moreFilters = {{"JPG Image File (*.jpg)", "*.jpg"},
                         {"JPEG Image File (*.jpeg)", "*.jpeg"},
                         {"Bitmaps (*.bmp)", "*.bmp"}};
  std::string path;
  if (!ui_.AskOpenFileName(request, path)) return;
  const Result checked = CheckPicturePath(path);
  if (!checked.ok) {
    ui_.ShowMessage(checked.message, report_message::kOpenFileCaption, MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  SetText(picturePath_, path);
  StoreBoxes();
}

CReportDataChange::CReportDataChange(QWidget* parent) : QWidget(parent) {
  const DialogUnits du(font());
  Frame(this, du, "Select Data", 7, 4, 286, 190);
  Frame(this, du, "Manual Data", 15, 16, 132, 150);
  Frame(this, du, "Logging Data", 153, 16, 132, 150);
  for (int i = 0; i < kCountListSize; ++i) {
    const bool manual = i < 10;
    const int slot = manual ? i : i - 10;
    const std::string caption =
        manual ? std::string("Group ") + kGroupLetters[static_cast<size_t>(i)] : "Data Lr" + std::to_string(slot);
    auto* box = Place<QCheckBox>(this, du, caption.c_str(), (manual ? 23 : 161) + (slot / 5) * 60,
                                 30 + (slot % 5) * 25, 55, 10);
    box->setEnabled(false);
    boxes_[static_cast<size_t>(i)] = box;
    connect(box, &QCheckBox::clicked, this, [this, i](bool ticked) {
      if (groups_) groups_->SetBox(i, ticked);
      Refresh();
    });
  }
  selectAll_ = Place<QCheckBox>(this, du, "Select All", 23, 174, 60, 10);
  selectNone_ = Place<QCheckBox>(this, du, "Select None", 100, 174, 60, 10);
  connect(selectAll_, &QCheckBox::clicked, this, [this](bool ticked) {
    if (groups_) groups_->SetSelectAll(ticked);
    Refresh();
  });
  connect(selectNone_, &QCheckBox::clicked, this, [this](bool ticked) {
    if (groups_) groups_->SetSelectNone(ticked);
    Refresh();
  });
}

void CReportDataChange::Show(GroupSelection& groups) {
  groups_ = &groups;
  Refresh();
}

void CReportDataChange::Refresh() {
  if (!groups_) return;
  for (int i = 0; i < kCountListSize; ++i) {
    QCheckBox* box = boxes_[static_cast<size_t>(i)];
    box->setEnabled(groups_->BoxEnabled(i));
    SetChecked(box, groups_->BoxTicked(i));
  }
  SetChecked(selectAll_, groups_->SelectAllTicked());
  SetChecked(selectNone_, groups_->SelectNoneTicked());
}

ReportSetData::ReportSetData(QWidget* parent) : QWidget(parent) {
  const DialogUnits du(font());
  Frame(this, du, "Set Display Item", 3, 2, 294, 232);
  struct KindFrame {
    ReportKind kind;
    const char* caption;
    int x, y, w, h, columns;
  };
  const KindFrame frames[] = {{ReportKind::Normal, "Normal Test Data", 9, 12, 140, 152, 1},
                              {ReportKind::TC, "TC Test Data", 153, 12, 138, 112, 1},
                              {ReportKind::Step, "Step Voltage Test Data", 9, 168, 140, 62, 2},
                              {ReportKind::Logging, "Logging Data", 153, 128, 138, 102, 2}};
  for (const KindFrame& frame : frames) {
    Frame(this, du, frame.caption, frame.x, frame.y, frame.w, frame.h);
    int slot = 0;
    for (int item = 0; item < kReportItemCount; ++item) {
      if (kReportItems[static_cast<size_t>(item)].kind != frame.kind) continue;
      const int column = slot % frame.columns;
      const int row = slot / frame.columns;
      auto* box = Place<QCheckBox>(this, du, kReportItems[static_cast<size_t>(item)].caption,
                                   frame.x + 8 + column * 64, frame.y + 11 + row * 10, frame.columns == 1 ? 124 : 62, 10);
      items_[static_cast<size_t>(item)] = box;
      connect(box, &QCheckBox::clicked, this, [this, item](bool ticked) {
        if (selection_) selection_->SetItem(item, ticked);
        Refresh();
      });
      ++slot;
    }
  }
  const char* graphCaptions[] = {"Resistance Value", "Leak Current Value"};
  auto* stepGroup = new QButtonGroup(this);
  auto* loggingGroup = new QButtonGroup(this);
  for (int kind = 0; kind < 2; ++kind) {
    auto* step = Place<QRadioButton>(this, du, graphCaptions[kind], 17, 200 + kind * 12, 124, 10);
    auto* logging = Place<QRadioButton>(this, du, graphCaptions[kind], 161, 162 + kind * 12, 124, 10);
    stepGroup->addButton(step, kind);
    loggingGroup->addButton(logging, kind);
    stepGraph_[static_cast<size_t>(kind)] = step;
    loggingGraph_[static_cast<size_t>(kind)] = logging;
  }
  connect(stepGroup, &QButtonGroup::idClicked, this, [this](int kind) {
    if (graphs_) graphs_->step = static_cast<GraphKind>(kind);
  });
  connect(loggingGroup, &QButtonGroup::idClicked, this, [this](int kind) {
    if (graphs_) graphs_->logging = static_cast<GraphKind>(kind);
  });
  selectAll_ = Place<QCheckBox>(this, du, "Select All", 17, 238, 60, 10);
  selectNone_ = Place<QCheckBox>(this, du, "Select None", 90, 238, 60, 10);
  connect(selectAll_, &QCheckBox::clicked, this, [this](bool ticked) {
    if (selection_) selection_->SetSelectAll(ticked);
    Refresh();
  });
  connect(selectNone_, &QCheckBox::clicked, this, [this](bool ticked) {
    if (selection_) selection_->SetSelectNone(ticked);
    Refresh();
  });
}

void ReportSetData::Show(ItemSelection& items, ReportWizard::GraphKinds& graphs) {
  selection_ = &items;
  graphs_ = &graphs;
  Refresh();
}

void ReportSetData::Refresh() {
  if (!selection_) return;
  for (int item = 0; item < kReportItemCount; ++item) {
    QCheckBox* box = items_[static_cast<size_t>(item)];
    box->setEnabled(selection_->ItemEnabled(item));
    SetChecked(box, selection_->ItemTicked(item));
  }
  SetChecked(selectAll_, selection_->SelectAllTicked());
  SetChecked(selectNone_, selection_->SelectNoneTicked());
  if (graphs_) {
    SetChecked(stepGraph_[static_cast<size_t>(graphs_->step)], true);
    SetChecked(loggingGraph_[static_cast<size_t>(graphs_->logging)], true);
  }
}

}  // namespace qv70
