#include "gui/services/qt_ui_services.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <vector>

namespace qv70 {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok: break;
  }
  return QMessageBox::Ok;
}

// Takes every override cursor off while it lives and puts them back after: a
// message box shown in the middle of an instrument job shows the ordinary
// pointer, as the program waits for the operator, not the instrument.
class OverrideCursorsLifted {
 public:
  OverrideCursorsLifted() {
    while (const QCursor* cursor = QApplication::overrideCursor()) {
      lifted_.push_back(*cursor);
      QApplication::restoreOverrideCursor();
    }
  }
  ~OverrideCursorsLifted() {
    for (auto it = lifted_.rbegin(); it != lifted_.rend(); ++it) QApplication::setOverrideCursor(*it);
  }
  OverrideCursorsLifted(const OverrideCursorsLifted&) = delete;
  OverrideCursorsLifted& operator=(const OverrideCursorsLifted&) = delete;

 private:
  std::vector<QCursor> lifted_;
};

}  // namespace

std::string FileDialogFilter(const FileDialogRequest& request) {
  if (request.filterPattern.empty()) return std::string();
  return request.filterDescription + " (" + request.filterPattern + ")";
}

MessageAnswer QtUiServices::ShowMessage(const std::string& text, const std::string& caption,
                                        MessageButtons buttons, MessageIcon icon) {
  const OverrideCursorsLifted ordinaryPointer;
  QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                  ToQtButtons(buttons), owner_);
  // Closing the box with Escape or its close button gives what a desktop box
  // gives: Cancel where there is one, No for Yes-No, OK for OK.
  if (buttons == MessageButtons::YesNo) box.setEscapeButton(QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: break;
  }
  if (buttons == MessageButtons::YesNoCancel) return MessageAnswer::Cancel;
  return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

bool QtUiServices::AskOpenFileName(const FileDialogRequest& request, std::string& path) {
  // Only existing files can be chosen; a non-native dialog looks the same on
  // every desktop and needs no portal.
  QString name = QFileDialog::getOpenFileName(owner_, QString::fromStdString(request.title),
                                              QString::fromStdString(request.initialName),
                                              QString::fromStdString(FileDialogFilter(request)),
                                              nullptr, QFileDialog::DontUseNativeDialog);
  if (name.isEmpty()) return false;
  path = name.toStdString();
  return true;
}

bool QtUiServices::AskSaveFileName(const FileDialogRequest& request, std::string& path) {
  // The caller asks about replacing a file itself, so the dialog must not.
  QString name = QFileDialog::getSaveFileName(
      owner_, QString::fromStdString(request.title), QString::fromStdString(request.initialName),
      QString::fromStdString(FileDialogFilter(request)), nullptr,
      QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
  if (name.isEmpty()) return false;
  path = name.toStdString();
  return true;
}

}  // namespace qv70
