#include "gui/dialogs/obtain_data_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>

#include "core/data/program_state.h"
#include "core/instrument/download_job.h"
#include "core/instrument/usb_driver.h"
#include "core/instrument/usb_link.h"
#include "core/platform/environment.h"
#include "gui/dialogs/dialog_units.h"
#include "gui/dialogs/wait_cursor.h"

namespace qv70 {

// What the window paints while the job runs. The progress bar paints itself
// (and nothing else) at once whenever it moves, though within a frame of its
// last paint the paint waits for the next events: a fast download does not
// paint every step nobody could see. Between exchanges the windows repaint
// (the busy state, an uncovered window, the status line) without letting
// clicks or keys start a second action meanwhile: at the first exchange of a
// press, then at most every tenth of a second, so a fast download does not
// lay out and paint them between every two exchanges, while a slow
// instrument's still keeps them drawn.
class DownloadPainting {
 public:
  // A press begins: its first exchange paints the windows.
  void Begin() { sinceEvents_.invalidate(); }

  void BeforeExchange() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventsIntervalMs) return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceEvents_.start();
  }

  void ShowProgress(QProgressBar& bar, int position) {
    const bool now = !sinceProgress_.isValid() || sinceProgress_.elapsed() >= kFrameMs ||
                     position == bar.minimum() || position == bar.maximum();
    if (now) {
      bar.setValue(position);
      sinceProgress_.start();
      return;
    }
    bar.setUpdatesEnabled(false);
    bar.setValue(position);
    bar.setUpdatesEnabled(true);  // asks for the paint
  }

 private:
  static constexpr qint64 kEventsIntervalMs = 100;
  static constexpr qint64 kFrameMs = 16;
  QElapsedTimer sinceEvents_;
  QElapsedTimer sinceProgress_;
};

CObtainDataDlg::CObtainDataDlg(ProgramState& state, UiServices& ui,
                               const Environment& environment,
                               std::function<void(const std::string&)> setStatusText,
                               std::function<void()> showNewData, QWidget* parent)
    : QDialog(parent),
      state_(state),
      ui_(ui),
      setStatusText_(std::move(setStatusText)),
      showNewData_(std::move(showNewData)) {
  setWindowTitle(QStringLiteral("Obtain Data"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  if (parent != nullptr) setWindowIcon(parent->window()->windowIcon());

  driver_ = std::make_unique<DlopenUsbDriver>(JoinPath(environment.programDirectory,
                                                       kUsbLibraryName));
  link_ = std::make_unique<UsbLink>(*driver_, ui_);
  DownloadJob::Callbacks callbacks;
  callbacks.status = [this](const std::string& text) {
    if (setStatusText_) setStatusText_(text);
  };
  painting_ = std::make_unique<DownloadPainting>();
  callbacks.progress = [this](int position) { painting_->ShowProgress(*progress_, position); };
  callbacks.progressVisible = [this](bool visible) { progress_->setVisible(visible); };
  callbacks.beforeExchange = [this] { painting_->BeforeExchange(); };
  job_ = std::make_unique<DownloadJob>(*link_, state_.tables, ui_, std::move(callbacks));

  BuildControls();
  ShowJobState();
}

CObtainDataDlg::~CObtainDataDlg() {
  // Whatever ended the window, the pipes are closed once.
  if (!finished_) job_->Finish();
}

void CObtainDataDlg::BuildControls() {
  const DialogUnits du(font());
  setFixedSize(du.X(336), du.Y(186));

  dataFrame_ = new QGroupBox(QStringLiteral("Data Select"), this);
  du.Place(dataFrame_, 7, 5, 322, 139);
  manualFrame_ = new QGroupBox(QStringLiteral("Manual Data Select"), this);
  du.Place(manualFrame_, 15, 18, 150, 118);
  loggingFrame_ = new QGroupBox(QStringLiteral("Logging Data Select"), this);
  du.Place(loggingFrame_, 171, 18, 150, 118);

  // Two columns of five in each frame; a caption grows by its count suffix
  // ("Data Lr0 ... 360"), so each column is wide enough for that.
  for (int index = 0; index < kBoxCount; ++index) {
    const int inFrame = index % 10;
    const int left = (index < 10 ? 23 : 179) + (inFrame / 5) * 72;
    const int top = 31 + (inFrame % 5) * 20;
    auto* box = new QCheckBox(QString::fromStdString(DownloadJob::BaseCaption(index)), this);
    du.Place(box, left, top, 68, 11);
    connect(box, &QCheckBox::clicked, this, [this, index] { OnBoxClicked(index); });
    boxes_[index] = box;
  }

  progress_ = new QProgressBar(this);
  du.Place(progress_, 7, 148, 322, 10);
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  progress_->hide();

  const struct {
    QPushButton** button;
    const char* caption;
    void (CObtainDataDlg::*slot)();
  } buttons[] = {
      {&selectData_, "Select Data", &CObtainDataDlg::OnSelectData},
      {&selectAll_, "Select All", &CObtainDataDlg::OnSelectAll},
      {&reselection_, "Reselection", &CObtainDataDlg::OnReselection},
      {&obtainData_, "Obtain Data", &CObtainDataDlg::OnObtainData},
      {&cancel_, "Cancel", &CObtainDataDlg::OnCancel},
  };
  int left = 7;
  for (const auto& entry : buttons) {
    auto* button = new QPushButton(QString::fromLatin1(entry.caption), this);
    du.Place(button, left, 164, 58, 15);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, entry.slot);
    *entry.button = button;
    left += 66;
  }
}

void CObtainDataDlg::ShowJobState() {
  for (int index = 0; index < kBoxCount; ++index) {
    QCheckBox* box = boxes_[index];
    box->setText(QString::fromStdString(job_->BoxCaption(index)));
    box->setEnabled(!busy_ && job_->BoxEnabled(index));
    box->setChecked(job_->BoxTicked(index));
  }
  selectData_->setEnabled(!busy_);
  cancel_->setEnabled(!busy_);
  selectAll_->setEnabled(!busy_ && job_->SelectAllEnabled());
  reselection_->setEnabled(!busy_ && job_->ReselectionEnabled());
  obtainData_->setEnabled(!busy_ && job_->ObtainDataEnabled());
  progress_->setVisible(job_->ProgressVisible());
  progress_->setValue(job_->ProgressPosition());
}

void CObtainDataDlg::OnBoxClicked(int index) {
  if (busy_) return;
  job_->SetBoxTicked(index, boxes_[index]->isChecked());
  ShowJobState();
}

void CObtainDataDlg::OnSelectData() {
  if (busy_ || finished_) return;
  // The count is one short exchange: the controls stay as they are (the focus
  // stays on this button), input is held off by the busy flag meanwhile.
  busy_ = true;
  painting_->Begin();
  const DownloadJob::Outcome outcome = [this] {
    ScopedWaitCursor waiting;
    return job_->SelectData();
  }();
  busy_ = false;
  ShowJobState();
  if (outcome != DownloadJob::Outcome::Stay) Finish(QDialog::Rejected);
}

void CObtainDataDlg::OnSelectAll() {
  if (busy_) return;
  job_->SelectAll();
  ShowJobState();
}

void CObtainDataDlg::OnReselection() {
  if (busy_) return;
  job_->Reselect();
  ShowJobState();
}

void CObtainDataDlg::OnObtainData() {
  if (busy_ || finished_) return;
  // Downloading: nothing can be pressed until the exchanges are over.
  QWidget* focused = focusWidget();
  busy_ = true;
  ShowJobState();
  painting_->Begin();
  const DownloadJob::Outcome outcome = [this] {
    ScopedWaitCursor waiting;
    return job_->ObtainData();
  }();
  busy_ = false;
  switch (outcome) {
    case DownloadJob::Outcome::Stay:
      ShowJobState();
      // Disabling the buttons moved the focus away; give it back.
      if (focused != nullptr && focused->isEnabled()) focused->setFocus();
      break;
    case DownloadJob::Outcome::Close:
      Finish(QDialog::Rejected);
      break;
    case DownloadJob::Outcome::Downloaded:
      if (showNewData_) showNewData_();
      Finish(QDialog::Accepted);
      break;
  }
}

void CObtainDataDlg::OnCancel() { reject(); }

void CObtainDataDlg::reject() {
  if (busy_) return;
  Finish(QDialog::Rejected);
}

void CObtainDataDlg::Finish(int result) {
  if (!finished_) {
    finished_ = true;
    job_->Finish();
  }
  done(result);
}

}  // namespace qv70
