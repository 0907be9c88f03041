#include "gui/dialogs/qv70_setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "core/data/program_state.h"
#include "core/instrument/protocol.h"
#include "core/instrument/settings_job.h"
#include "core/instrument/usb_driver.h"
#include "core/instrument/usb_link.h"
#include "gui/dialogs/dialog_units.h"
#include "gui/dialogs/wait_cursor.h"

namespace qv70 {

CInstrumentSettingDlg::CInstrumentSettingDlg(ProgramState& state, UiServices& ui,
                                             const Environment& environment, QWidget* parent)
    : QDialog(parent), state_(state), ui_(ui), environment_(environment) {
  setWindowTitle(QStringLiteral("QV70 Setting"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  if (environment_.clock == nullptr) {
    static const SystemClock systemClock;
    environment_.clock = &systemClock;
  }

  timer_ = new QTimer(this);
  timer_->setInterval(1000);
  connect(timer_, &QTimer::timeout, this, &CInstrumentSettingDlg::OnClockTick);

  driver_ = std::make_unique<DlopenUsbDriver>(JoinPath(environment_.programDirectory,
                                                       kUsbLibraryName));
  link_ = std::make_unique<UsbLink>(*driver_, ui_);
  SettingsJob::Callbacks callbacks;
  // Repaint while an exchange blocks, without taking clicks or keys meanwhile.
  callbacks.beforeExchange = [] {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  };
  callbacks.clockTimer = [this](bool run) {
    if (run) {
      timer_->start();
    } else {
      timer_->stop();
    }
  };
  job_ = std::make_unique<SettingsJob>(*link_, state_.tables, ui_, *environment_.clock,
                                       std::move(callbacks));
  BuildControls();
  ShowJobState();
}

CInstrumentSettingDlg::~CInstrumentSettingDlg() { timer_->stop(); }

void CInstrumentSettingDlg::BuildControls() {
  const DialogUnits du(font());
  setFixedSize(du.X(252), du.Y(180));

  auto* setLabel = new QLabel(QStringLiteral("Set"), this);
  du.Place(setLabel, 9, 6, 100, 9);
  auto* systemFrame = new QGroupBox(QStringLiteral("System"), this);
  du.Place(systemFrame, 7, 20, 238, 36);
  dateTimeBox_ = new QCheckBox(QStringLiteral("Set Date time"), this);
  du.Place(dateTimeBox_, 17, 35, 84, 11);
  dateTimeField_ = new QLineEdit(this);
  du.Place(dateTimeField_, 108, 33, 128, 14);
  dateTimeField_->setReadOnly(true);
  dateTimeField_->setEnabled(false);
  dateTimeField_->setFocusPolicy(Qt::NoFocus);

  auto* chosenLabel = new QLabel(QStringLiteral("Set according to chosen item"), this);
  du.Place(chosenLabel, 9, 63, 200, 9);
  auto* parameterFrame = new QGroupBox(QStringLiteral("Test parameter"), this);
  du.Place(parameterFrame, 7, 77, 238, 74);

  piBox_ = new QCheckBox(QStringLiteral("Set PI Test Time [min]"), this);
  du.Place(piBox_, 17, 93, 100, 11);
  auto* t1Label = new QLabel(QStringLiteral("t1"), this);
  du.Place(t1Label, 128, 95, 10, 9);
  t1_ = new DigitField(this);
  du.Place(t1_, 140, 92, 26, 14);
  auto* t2Label = new QLabel(QStringLiteral("t2"), this);
  du.Place(t2Label, 184, 95, 10, 9);
  t2_ = new DigitField(this);
  du.Place(t2_, 196, 92, 26, 14);

  stepBox_ = new QCheckBox(QStringLiteral("Step Voltage Test Time"), this);
  du.Place(stepBox_, 17, 117, 100, 11);
  auto* stepLabel = new QLabel(QStringLiteral("One Step Interval"), this);
  du.Place(stepLabel, 128, 119, 64, 9);
  stepList_ = new QComboBox(this);
  du.Place(stepList_, 128, 130, 60, 14);
  for (int index = 0; index < kStepEntryCount; ++index) {
    stepList_->addItem(QString::fromLatin1(StepEntryText(index)));
  }

  selectAll_ = new QPushButton(QStringLiteral("Select All"), this);
  du.Place(selectAll_, 85, 159, 50, 15);
  selectAll_->setAutoDefault(false);
  apply_ = new QPushButton(QStringLiteral("Apply"), this);
  du.Place(apply_, 140, 159, 50, 15);
  apply_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  du.Place(cancel_, 195, 159, 50, 15);
  cancel_->setAutoDefault(false);

  connect(dateTimeBox_, &QCheckBox::clicked, this, &CInstrumentSettingDlg::OnDateTimeClicked);
  connect(piBox_, &QCheckBox::clicked, this, &CInstrumentSettingDlg::OnPiClicked);
  connect(stepBox_, &QCheckBox::clicked, this, &CInstrumentSettingDlg::OnStepClicked);
  connect(selectAll_, &QPushButton::clicked, this, &CInstrumentSettingDlg::OnSelectAll);
  connect(apply_, &QPushButton::clicked, this, &CInstrumentSettingDlg::OnApply);
  connect(cancel_, &QPushButton::clicked, this, &CInstrumentSettingDlg::reject);
  connect(t1_, &QLineEdit::textChanged, this,
          [this](const QString& text) { job_->SetT1(text.toStdString()); });
  connect(t2_, &QLineEdit::textChanged, this,
          [this](const QString& text) { job_->SetT2(text.toStdString()); });
  connect(stepList_, &QComboBox::currentIndexChanged, this,
          [this](int index) { job_->SetStepEntry(index); });
}

void CInstrumentSettingDlg::ShowJobState() {
  // Written back without the change signals, which would only hand the same
  // values to the job again.
  const QSignalBlocker blockT1(t1_), blockT2(t2_), blockList(stepList_);
  dateTimeBox_->setChecked(job_->ClockTicked());
  dateTimeField_->setText(QString::fromStdString(job_->ClockText()));
  piBox_->setChecked(job_->PiTicked());
  if (t1_->text().toStdString() != job_->T1()) t1_->setText(QString::fromStdString(job_->T1()));
  if (t2_->text().toStdString() != job_->T2()) t2_->setText(QString::fromStdString(job_->T2()));
  t1_->setEnabled(job_->PiFieldsEnabled());
  t2_->setEnabled(job_->PiFieldsEnabled());
  stepBox_->setChecked(job_->StepTicked());
  stepList_->setCurrentIndex(job_->StepEntry());
  stepList_->setEnabled(job_->StepListEnabled());
}

template <typename Action>
void CInstrumentSettingDlg::Run(Action action) {
  // Exchanges are short; while one runs the busy flag turns away a second
  // action and the controls keep their state (and the focus its place).
  if (busy_) return;
  busy_ = true;
  const SettingsJob::Outcome outcome = [&action] {
    ScopedWaitCursor waiting;
    return action();
  }();
  busy_ = false;
  if (outcome == SettingsJob::Outcome::Close) {
    timer_->stop();
    done(QDialog::Rejected);
    return;
  }
  ShowJobState();
}

void CInstrumentSettingDlg::OnDateTimeClicked() {
  const bool ticked = dateTimeBox_->isChecked();
  Run([this, ticked] { return job_->SetClockTicked(ticked); });
}

void CInstrumentSettingDlg::OnPiClicked() {
  const bool ticked = piBox_->isChecked();
  Run([this, ticked] { return job_->SetPiTicked(ticked); });
}

void CInstrumentSettingDlg::OnStepClicked() {
  const bool ticked = stepBox_->isChecked();
  Run([this, ticked] { return job_->SetStepTicked(ticked); });
}

void CInstrumentSettingDlg::OnSelectAll() {
  Run([this] { return job_->SelectAll(); });
}

void CInstrumentSettingDlg::OnApply() {
  // The fields as they stand now, whatever the last edit signal said.
  job_->SetT1(t1_->text().toStdString());
  job_->SetT2(t2_->text().toStdString());
  Run([this] { return job_->Apply(); });
}

void CInstrumentSettingDlg::OnClockTick() {
  job_->Tick();
  dateTimeField_->setText(QString::fromStdString(job_->ClockText()));
}

void CInstrumentSettingDlg::reject() {
  if (busy_) return;
  timer_->stop();
  QDialog::reject();
}

}  // namespace qv70
