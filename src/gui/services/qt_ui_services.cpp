#include "gui/services/qt_ui_services.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QStyle>
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

// Icons and type names from the name and the kind of entry alone. Qt's own
// providers ask the MIME database, which reads a file's first bytes: a FIFO, a
// device or a /proc file in the folder shown would block the dialog there.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
 public:
  NameOnlyIconProvider()
      : folder_(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
        file_(QApplication::style()->standardIcon(QStyle::SP_FileIcon)) {
    setOptions(DontUseCustomDirectoryIcons);
  }

  QIcon icon(IconType type) const override { return type == File ? file_ : folder_; }
  QIcon icon(const QFileInfo& info) const override { return info.isDir() ? folder_ : file_; }
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QStringLiteral("Folder");
    const QMimeType byName =
        QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    return byName.comment().isEmpty() ? byName.name() : byName.comment();
  }

 private:
  // Made once, on the window thread; the dialog's file gatherer only copies them.
  QIcon folder_;
  QIcon file_;
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

bool QtUiServices::AskFileName(const FileDialogRequest& request, bool save, std::string& path) {
  // Declared first, so it outlives the dialog that uses it.
  NameOnlyIconProvider icons;
  QFileDialog dialog(owner_, QString::fromStdString(request.title),
                     QString::fromStdString(folder_.StartPath(request.initialName)),
                     QString::fromStdString(FileDialogFilter(request)));
  dialog.setObjectName(save ? "SaveFileDialog" : "OpenFileDialog");
  // A non-native dialog looks the same on every desktop and needs no portal.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontResolveSymlinks);
  dialog.setIconProvider(&icons);
  dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
  if (save) {
    // The caller asks about replacing a file itself, so the dialog must not.
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    // Only existing files can be chosen.
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  const QString name = dialog.selectedFiles().front();
  if (name.isEmpty()) return false;
  path = name.toStdString();
  folder_.Remember(path);
  return true;
}

bool QtUiServices::AskOpenFileName(const FileDialogRequest& request, std::string& path) {
  return AskFileName(request, false, path);
}

bool QtUiServices::AskSaveFileName(const FileDialogRequest& request, std::string& path) {
  return AskFileName(request, true, path);
}

}  // namespace qv70
