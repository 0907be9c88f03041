// The window's message boxes and file dialogs: the pointer over a box, where
// the dialogs start, what they return, and that they judge files by name only.
#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "core/instrument/messages.h"
#include "gui/services/qt_ui_services.h"
#include "support/qt/application.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

using test::TempDir;
using test::WriteWholeFile;

QApplication& App() {
  // The dialogs keep their history in the per-user Qt settings: not the tester's.
  static TempDir config;
  qputenv("XDG_CONFIG_HOME", config.path().c_str());
  return test::EnsureApplication();
}

// A box shown while an instrument job has set the wait cursor waits for the
// operator, not the instrument: it shows the ordinary pointer, and the job's
// cursor comes back once the box is closed.
TEST(QtUiServicesMessage, ShowsTheOrdinaryPointerDuringAJobsWaitCursor) {
  App();
  QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  bool boxShown = false;
  const QCursor* duringBox = reinterpret_cast<const QCursor*>(1);
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    boxShown = box != nullptr;
    duringBox = QApplication::overrideCursor();
    if (box != nullptr) box->accept();
  });
  QtUiServices ui;
  EXPECT_EQ(ui.ShowMessage(instrument_message::kAllReceived, instrument_message::kDataReceiveCaption,
                           MessageButtons::Ok, MessageIcon::None),
            MessageAnswer::Ok);
  EXPECT_TRUE(boxShown);
  EXPECT_EQ(duringBox, nullptr);
  // Both cursors are back, in their order.
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QApplication::restoreOverrideCursor();
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
  QApplication::restoreOverrideCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Runs `look` on the file dialog once it is up, then gives it `answer` (an
// empty one cancels).
void WhenTheDialogShows(const std::function<void(QFileDialog&)>& look, const QString& answer) {
  QTimer::singleShot(0, [look, answer] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    look(*dialog);
    if (answer.isEmpty()) {
      dialog->reject();
    } else {
      dialog->selectFile(answer);
      // What the dialog's Open or Save button does.
      QMetaObject::invokeMethod(dialog, "accept");
    }
  });
}

FileDialogRequest CsvRequest() { return {"", "*.csv", "*.csv", "", {}}; }

TEST(QtFileDialogs, TypeListHoldsEveryFilterWithPatternsQtSplits) {
  struct Row {
    const char* name;
    FileDialogRequest request;
    std::string filter;
  };
  FileDialogRequest pictures;
  pictures.filterDescription = "All (*.jpg;*.jpeg;*.bmp)";
  pictures.filterPattern = "*.jpg;*.jpeg;*.bmp";
  pictures.moreFilters = {{"JPG Image File (*.jpg)", "*.jpg"}, {"Bitmaps (*.bmp)", "*.bmp"}};
  FileDialogRequest text;
  text.filterDescription = "Text File (*.txt)";
  text.filterPattern = "*.txt";
  FileDialogRequest csv;
  csv.filterDescription = "*.csv";
  csv.filterPattern = "*.csv";
  const Row rows[] = {
      {"no filter", FileDialogRequest{}, ""},
      {"pattern as description", csv, "*.csv (*.csv)"},
      {"description naming its pattern", text, "Text File (*.txt)"},
      {"several, with a ';' list", pictures,
       "All (*.jpg *.jpeg *.bmp);;JPG Image File (*.jpg);;Bitmaps (*.bmp)"},
  };
  for (const Row& row : rows) EXPECT_EQ(FileDialogFilter(row.request), row.filter) << row.name;
}

TEST(QtFileDialogs, StartInTheFolderLastChosen) {
  App();
  TempDir first, second, elsewhere;
  WriteWholeFile(first.File("run1.csv"), "x");
  QtUiServices ui;
  std::string path;

  const struct {
    const char* name;
    bool save;
    QString answer;      // empty: cancelled
    QString startsIn;    // the dialog's folder when it opens
    std::string chosen;  // the path returned; empty when cancelled
  } rows[] = {
      {"first open, where dialogs start today", false, QString::fromStdString(first.File("run1.csv")),
       QDir::currentPath(), first.File("run1.csv")},
      {"save after it", true, QString::fromStdString(second.File("new.csv")),
       QString::fromStdString(first.path()), second.File("new.csv")},
      {"cancelled open", false, "", QString::fromStdString(second.path()), ""},
      // Only a folder a file was chosen in counts, not one merely looked at.
      {"browsed elsewhere and cancelled", true, "", QString::fromStdString(second.path()), ""},
  };
  for (const auto& row : rows) {
    QString startedIn;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    WhenTheDialogShows(
        [&](QFileDialog& dialog) {
          startedIn = dialog.directory().absolutePath();
          mode = dialog.acceptMode();
          if (row.answer.isEmpty()) dialog.setDirectory(QString::fromStdString(elsewhere.path()));
          EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog)) << row.name;
          EXPECT_TRUE(dialog.testOption(QFileDialog::DontResolveSymlinks)) << row.name;
          EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), row.save) << row.name;
          EXPECT_EQ(dialog.nameFilters(), QStringList{"*.csv (*.csv)"}) << row.name;
        },
        row.answer);
    path.clear();
    const bool chosen =
        row.save ? ui.AskSaveFileName(CsvRequest(), path) : ui.AskOpenFileName(CsvRequest(), path);
    EXPECT_EQ(chosen, !row.chosen.empty()) << row.name;
    EXPECT_EQ(path, row.chosen) << row.name;
    EXPECT_EQ(startedIn.toStdString(), QDir(row.startsIn).absolutePath().toStdString()) << row.name;
    EXPECT_EQ(mode, row.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen) << row.name;
  }
}

// A file's content must never decide its icon or type: reading a FIFO, a
// device or a /proc file blocks.
TEST(QtFileDialogs, JudgeFilesByNameOnly) {
  App();
  TempDir folder;
  // A PDF by its first bytes, without the name to say so.
  WriteWholeFile(folder.File("report"), "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<< >>\nendobj\n");
  WriteWholeFile(folder.File("report.pdf"), "not a pdf at all");
  const QFileInfo unnamed(QString::fromStdString(folder.File("report")));
  const QFileInfo named(QString::fromStdString(folder.File("report.pdf")));
  const QString pdf = QAbstractFileIconProvider().type(named);
  // Qt's own provider sniffs the content; the dialog's must not.
  ASSERT_EQ(QAbstractFileIconProvider().type(unnamed).toStdString(), pdf.toStdString())
      << "the MIME database reads no content here";

  QtUiServices ui;
  QString unnamedType, namedType, folderType;
  bool plainFolderIcons = false;
  WhenTheDialogShows(
      [&](QFileDialog& dialog) {
        QAbstractFileIconProvider* icons = dialog.iconProvider();
        ASSERT_NE(icons, nullptr);
        unnamedType = icons->type(unnamed);
        namedType = icons->type(named);
        folderType = icons->type(QFileInfo(QString::fromStdString(folder.path())));
        plainFolderIcons = icons->options().testFlag(QAbstractFileIconProvider::DontUseCustomDirectoryIcons);
      },
      "");
  std::string path;
  EXPECT_FALSE(ui.AskOpenFileName(CsvRequest(), path));
  EXPECT_NE(unnamedType.toStdString(), pdf.toStdString());
  EXPECT_EQ(namedType.toStdString(), pdf.toStdString());
  EXPECT_EQ(folderType.toStdString(), "Folder");
  EXPECT_TRUE(plainFolderIcons);
}

}  // namespace
}  // namespace qv70
