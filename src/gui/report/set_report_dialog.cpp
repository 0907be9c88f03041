#include "gui/report/set_report_dialog.h"

#include <QPushButton>
#include <QStackedWidget>

#include "core/platform/ui_services.h"
#include "core/report/messages.h"
#include "core/report/report_logo.h"
#include "core/report/report_start.h"
#include "core/report/report_store.h"
#include "gui/dialogs/dialog_units.h"
#include "gui/draw/qt_picture.h"
#include "gui/print/report_painter.h"
#include "gui/report/report_pages.h"

namespace qv70 {

namespace {

constexpr int kPageWidth = 300;   // dialog units
constexpr int kPageHeight = 250;
constexpr int kButtonRowHeight = 22;

}  // namespace

CSetReportDlg::CSetReportDlg(const RecordTables& tables, UiServices& ui, const Environment& environment,
                             ReportSettings settings, QWidget* parent)
    : QDialog(parent), ui_(ui), environment_(environment), settings_(std::move(settings)), wizard_(tables) {
  setWindowTitle(QStringLiteral("Set Report"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(QFont(QStringLiteral("Arial"), 9));
  BuildControls();
}

CSetReportDlg::~CSetReportDlg() = default;

void CSetReportDlg::BuildControls() {
  const DialogUnits du(font());
  setFixedSize(du.X(kPageWidth), du.Y(kPageHeight + kButtonRowHeight));
  // The pages stacked without a tab row: only the buttons move between them.
  stack_ = new QStackedWidget(this);
  du.Place(stack_, 0, 0, kPageWidth, kPageHeight);
  first_ = new ReportSet(ui_, stack_);
  groups_ = new CReportDataChange(stack_);
  items_ = new ReportSetData(stack_);
  stack_->addWidget(first_);
  stack_->addWidget(groups_);
  stack_->addWidget(items_);

  const int buttonY = kPageHeight + 3;
  back_ = new QPushButton(QStringLiteral("Back"), this);
  du.Place(back_, kPageWidth - 166, buttonY, 50, 15);
  ok_ = new QPushButton(QStringLiteral("Next"), this);
  du.Place(ok_, kPageWidth - 112, buttonY, 50, 15);
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  du.Place(cancel_, kPageWidth - 58, buttonY, 50, 15);
  for (QPushButton* button : {back_, cancel_}) button->setAutoDefault(false);

  connect(back_, &QPushButton::clicked, this, &CSetReportDlg::OnBack);
  connect(ok_, &QPushButton::clicked, this, &CSetReportDlg::OnOk);
  connect(cancel_, &QPushButton::clicked, this, &CSetReportDlg::reject);
}

std::string CSetReportDlg::Today() const {
  const SystemClock system;
  const Clock& clock = environment_.clock ? *environment_.clock : system;
  return ReportDateText(clock.Now());
}

void CSetReportDlg::Open() {
  wizard_.Open(settings_, Today());
  first_->Load(wizard_.First(), Today());
  groups_->Show(wizard_.Groups());
  items_->Show(wizard_.Items(), wizard_.Graphs());
  ShowPage();
}

int CSetReportDlg::Run() {
  Open();
  return exec();
}

void CSetReportDlg::ShowPage() {
  const ReportWizard::Page page = wizard_.CurrentPage();
  stack_->setCurrentIndex(static_cast<int>(page));
  if (page == ReportWizard::Page::ReportSet) first_->Load(wizard_.First(), Today());
  if (page == ReportWizard::Page::DataChoice) groups_->Show(wizard_.Groups());
  if (page == ReportWizard::Page::DisplayItems) items_->Show(wizard_.Items(), wizard_.Graphs());
  const ReportWizard::ButtonRow buttons = wizard_.Buttons();
  back_->setVisible(buttons.backShown);
  back_->setEnabled(buttons.backShown);
  ok_->setText(QString::fromUtf8(buttons.okText));
}

void CSetReportDlg::LeaveFirstPage() {
  if (wizard_.CurrentPage() == ReportWizard::Page::ReportSet) first_->Leave();
}

void CSetReportDlg::OnOk() {
  LeaveFirstPage();
  const ReportWizard::Step step = wizard_.PressOk(settings_);
  if (step.outcome == ReportWizard::Outcome::Finished) {
    FinishCommitted();
    return;
  }
  ShowPage();
  ui_.Tell(step.message);
}

void CSetReportDlg::FinishCommitted() {
  const Result stored = StoreReportSettings(settings_, environment_.DataDirectory());
  // The settings are committed either way; only keeping them failed.
  if (!stored.ok) ui_.ShowMessage(stored.message, report_message::kCaption, MessageButtons::Ok, MessageIcon::Warning);
  // JPEG and GIF logos through Qt's image reader, BMP and TGA through our codecs.
  const QtPictureDecoder decoder;
  LoadReportLogo(logo_, settings_.picturePath, environment_.programDirectory, &decoder);
  logoBitmap_ = ReportLogoBitmap(logo_);
  finished_ = true;
  accept();
}

void CSetReportDlg::OnBack() {
  wizard_.Back();
  ShowPage();
}

void CSetReportDlg::reject() {
  // The first page's boxes are kept for the next opening, Cancel included.
  LeaveFirstPage();
  QDialog::reject();
}

}  // namespace qv70
