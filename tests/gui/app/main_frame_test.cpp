// The main window as the operator meets it: menus, toolbar, status line, the
// direct keys, the close prompt and the stored window rectangle.
#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "core/files/config_settings.h"
#include "core/files/messages.h"
#include "core/files/settings_file.h"
#include "core/view/commands.h"
#include "core/view/view_state.h"
#include "gui/app/about_box.h"
#include "gui/pages/data_pages.h"
#include "gui/pages/page_panels.h"
#include "gui/pages/tab_frame.h"
#include "shell_fixture.h"

namespace qv70 {
namespace {

using test::ReadWholeFile;
using test::ShellTest;
using test::WriteWholeFile;

QStringList MenuTitles(QMenuBar* bar) {
  QStringList titles;
  for (QAction* action : bar->actions()) titles << action->text();
  return titles;
}

QStringList MenuItems(QMenuBar* bar, const QString& title) {
  QStringList items;
  for (QAction* action : bar->actions()) {
    if (action->text() != title) continue;
    for (QAction* item : action->menu()->actions()) items << (item->isSeparator() ? "-" : item->text());
  }
  return items;
}

TEST_F(ShellTest, MenusCarryTheirCaptionsInOrder) {
  CMainFrame& main = Start(false);
  QMenuBar* bar = main.menuBar();
  EXPECT_EQ(MenuTitles(bar), (QStringList{"&File", "&Edit", "&Data", "&Set", "&Window", "&Help"}));
  const struct {
    const char* menu;
    QStringList items;
  } rows[] = {
      {"&File", {"&Open...\tCtrl+O", "&Save...\tCtrl+S", "-", "E&xit"}},
      {"&Edit", {"&Copy Graph"}},
      {"&Data", {"&Obtain Data..."}},
      {"&Set", {"QV70 Se&tting...", "-", "Set &Report...", "-", "Save as RTF", "-", "Customize"}},
      {"&Window", {"&Display Tool bar"}},
      {"&Help", {"&Help\tF1", "&About"}},
  };
  for (const auto& row : rows) EXPECT_EQ(MenuItems(bar, row.menu), row.items) << row.menu;
  // The menu shows no key beside Copy Graph; Ctrl+Insert belongs to the window.
  EXPECT_TRUE(main.Action(kCmdCopyGraph)->shortcut().isEmpty());
  EXPECT_EQ(main.windowTitle().toStdString(), kMainTitle);
  EXPECT_EQ(main.minimumSize(), QSize(800, 600));
}

TEST_F(ShellTest, ToolbarButtonsPromptsAndTips) {
  CMainFrame& main = Start(false);
  // Every command enabled: a greyed one has no prompt (below).
  View().flags() = {1, 1, 1, 1};
  main.UpdateCommandUi();
  QStringList order;
  for (QAction* action : main.ToolBar()->actions()) order << (action->isSeparator() ? "-" : action->toolTip());
  EXPECT_EQ(order, (QStringList{"Open", "Save", "-", "Copy Graph", "-", "Obtain Data", "-", "QV70  Setting",
                                "-", "Set Report", "Help", "-", "About"}));
  const struct {
    int id;
    const char* prompt;
    bool hasIcon;
  } rows[] = {
      {kCmdOpen, "Open a file", true},          {kCmdSave, "Save File", true},
      {kCmdCopyGraph, "Copy Graph", true},      {kCmdObtainData, "Obtain Data ", true},
      {kCmdQv70Setting, "QV70 Setting ", true}, {kCmdSetReport, "Set Report ", true},
      {kCmdSaveAsRtf, "Save as RTF ", false},   {kCmdCustomize, "Customize ", false},
      {kCmdHelp, "Help ", true},                {kCmdAbout, "", true},
      {kCmdExit, "Exit", true},                 {kCmdDisplayToolBar, "ToolBar", false},
  };
  for (const auto& row : rows) {
    QAction* action = main.Action(row.id);
    ASSERT_NE(action, nullptr) << row.id;
    EXPECT_EQ(action->statusTip().toStdString(), row.prompt) << row.id;
    if (row.hasIcon) {
      const QIcon icon = action->icon();
      EXPECT_FALSE(icon.isNull()) << row.id;
      // Hot and disabled icons differ from the normal one.
      const QImage normal = icon.pixmap(16, QIcon::Normal).toImage();
      EXPECT_NE(normal, icon.pixmap(16, QIcon::Disabled).toImage()) << row.id;
      EXPECT_NE(normal, icon.pixmap(16, QIcon::Active).toImage()) << row.id;
    }
  }
  EXPECT_TRUE(main.ToolBar()->isMovable());
  EXPECT_TRUE(main.ToolBar()->isFloatable());
  EXPECT_EQ(main.ToolBar()->allowedAreas(), Qt::AllToolBarAreas);
  EXPECT_EQ(main.toolBarArea(main.ToolBar()), Qt::TopToolBarArea);
}

TEST_F(ShellTest, StatusLineSaysReadyAndShowsPrompts) {
  CMainFrame& main = Start();
  EXPECT_EQ(main.StatusText(), "Ready");
  // The pointer over a toolbar button shows the command's prompt.
  QWidget* openButton = main.ToolBar()->widgetForAction(main.Action(kCmdOpen));
  QTest::mouseMove(openButton);
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), openButton->mapToGlobal(QPointF(4, 4)));
  QApplication::sendEvent(openButton, &enter);
  EXPECT_EQ(main.StatusText(), "Open a file");
  // A prompt that ends leaves "Ready" again, as does the empty About prompt.
  main.statusBar()->clearMessage();
  EXPECT_EQ(main.StatusText(), "Ready");
  main.Action(kCmdAbout)->showStatusText(&main);
  EXPECT_EQ(main.StatusText(), "Ready");
  main.SetStatusText("Obtain Data        Data Total:7");
  EXPECT_EQ(main.StatusText(), "Obtain Data        Data Total:7");
}

// Desktop styles differ in whether a greyed menu item lights up under the
// pointer; this one lets it, as the desktops where its prompt showed do.
class GreyedItemsLightUp : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returned) const override {
    if (hint == SH_Menu_AllowActiveAndDisabled) return 1;
    return QProxyStyle::styleHint(hint, option, widget, returned);
  }
};

// The pointer over a menu item or a toolbar button shows its prompt, a greyed
// one shows none.
TEST_F(ShellTest, GreyedCommandsShowNoPrompt) {
  CMainFrame& main = Start();
  QMenu* file = main.menuBar()->actions().front()->menu();
  ASSERT_EQ(file->title(), "&File");
  auto* style = new GreyedItemsLightUp;
  style->setParent(file);
  file->setStyle(style);
  auto hoverItem = [&](int id) {
    main.statusBar()->clearMessage();
    file->popup(main.mapToGlobal(QPoint(10, 10)));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(file));
    // A menu takes the pointer as moved only after a few motions (or a long
    // way from where it opened), so the pointer glides onto the item.
    const QPoint target = file->actionGeometry(main.Action(id)).center();
    for (int step = 8; step >= 0; --step) QTest::mouseMove(file, target - QPoint(step, 0));
    QApplication::processEvents();
    const QString shown = main.StatusText();
    file->hide();
    return shown.toStdString();
  };
  auto hoverButton = [&](int id) {
    main.statusBar()->clearMessage();
    QWidget* button = main.ToolBar()->widgetForAction(main.Action(id));
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), button->mapToGlobal(QPointF(4, 4)));
    QApplication::sendEvent(button, &enter);
    return main.StatusText().toStdString();
  };
  const struct {
    const char* name;
    CommandFlags flags;
    int command;
    const char* prompt;
  } rows[] = {
      {"Open, always enabled", {0, 0, 0, 0}, kCmdOpen, "Open a file"},
      {"Save greyed at start", {0, 0, 0, 0}, kCmdSave, "Ready"},
      {"Save after data", {1, 0, 1, 0}, kCmdSave, "Save File"},
      {"Save greyed again", {0, 0, 0, 0}, kCmdSave, "Ready"},
  };
  for (const auto& row : rows) {
    View().flags() = row.flags;
    main.UpdateCommandUi();
    EXPECT_EQ(hoverItem(row.command), row.prompt) << row.name << ", menu item";
    EXPECT_EQ(hoverButton(row.command), row.prompt) << row.name << ", toolbar button";
  }
}

TEST_F(ShellTest, DisplayToolBarShowsAndHidesTheToolbar) {
  CMainFrame& main = Start();
  QAction* display = main.Action(kCmdDisplayToolBar);
  EXPECT_TRUE(display->isChecked());
  display->trigger();
  EXPECT_FALSE(main.ToolBar()->isVisible());
  EXPECT_FALSE(display->isChecked());
  display->trigger();
  EXPECT_TRUE(main.ToolBar()->isVisible());
  EXPECT_TRUE(display->isChecked());
}

struct EnablingRow {
  const char* name;
  CommandFlags flags;
  bool save, copy, report, rtf;
};

TEST_F(ShellTest, MenusAndToolbarFollowTheViewFlags) {
  CMainFrame& main = Start();
  const EnablingRow rows[] = {
      {"start", {0, 0, 0, 0}, false, false, false, false},
      {"after data", {1, 0, 1, 0}, true, false, true, false},
      {"graph shown", {1, 1, 1, 0}, true, true, true, false},
      {"report finished", {1, 1, 1, 1}, true, true, true, true},
  };
  for (const EnablingRow& row : rows) {
    View().flags() = row.flags;
    main.UpdateCommandUi();
    EXPECT_EQ(main.Action(kCmdSave)->isEnabled(), row.save) << row.name;
    EXPECT_EQ(main.Action(kCmdCopyGraph)->isEnabled(), row.copy) << row.name;
    EXPECT_EQ(main.Action(kCmdSetReport)->isEnabled(), row.report) << row.name;
    EXPECT_EQ(main.Action(kCmdSaveAsRtf)->isEnabled(), row.rtf) << row.name;
    auto* saveButton = qobject_cast<QToolButton*>(main.ToolBar()->widgetForAction(main.Action(kCmdSave)));
    ASSERT_NE(saveButton, nullptr);
    EXPECT_EQ(saveButton->isEnabled(), row.save) << row.name;
    for (int id : {kCmdOpen, kCmdObtainData, kCmdQv70Setting, kCmdCustomize, kCmdHelp, kCmdAbout, kCmdExit}) {
      EXPECT_TRUE(main.Action(id)->isEnabled()) << row.name << " " << id;
    }
  }
}

// ---- Keys ----

struct KeyRow {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
  size_t saveDialogs, openDialogs, helpOpens, prints;
};

TEST_F(ShellTest, DirectKeysActOncePerPressEnabledOrNot) {
  const std::string helpDir = dir.File("Help");
  ASSERT_EQ(std::system(("mkdir -p '" + helpDir + "'").c_str()), 0);
  WriteWholeFile(dir.File("Help/QV70Help.chm"), "help");
  CMainFrame& main = Start();
  int prints = 0;
  View().reportCommands().print = [&] { ++prints; };
  ASSERT_FALSE(main.Action(kCmdSave)->isEnabled());

  const KeyRow rows[] = {
      {"Ctrl+S with Save disabled", Qt::Key_S, Qt::ControlModifier, 1, 0, 0, 0},
      {"Ctrl+O", Qt::Key_O, Qt::ControlModifier, 0, 1, 0, 0},
      {"F1", Qt::Key_F1, Qt::NoModifier, 0, 0, 1, 0},
      {"Ctrl+P", Qt::Key_P, Qt::ControlModifier, 0, 0, 0, 1},
      {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, 0, 0, 0, 0},
      {"plain S", Qt::Key_S, Qt::NoModifier, 0, 0, 0, 0},
      {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, 0, 0, 0, 0},
      {"Ctrl+X", Qt::Key_X, Qt::ControlModifier, 0, 0, 0, 0},
      {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, 0, 0, 0, 0},
      {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, 0, 0, 0, 0},
      {"Shift+Delete", Qt::Key_Delete, Qt::ShiftModifier, 0, 0, 0, 0},
      {"Alt+Backspace", Qt::Key_Backspace, Qt::AltModifier, 0, 0, 0, 0},
      {"F6", Qt::Key_F6, Qt::NoModifier, 0, 0, 0, 0},
      {"Shift+F6", Qt::Key_F6, Qt::ShiftModifier, 0, 0, 0, 0},
  };
  for (const KeyRow& row : rows) {
    ui.saveRequests.clear();
    ui.openRequests.clear();
    shell.opened.clear();
    prints = 0;
    QTest::keyClick(&main, row.key, row.modifiers);
    EXPECT_EQ(ui.saveRequests.size(), row.saveDialogs) << row.name;
    EXPECT_EQ(ui.openRequests.size(), row.openDialogs) << row.name;
    EXPECT_EQ(shell.opened.size(), row.helpOpens) << row.name;
    EXPECT_EQ(prints, static_cast<int>(row.prints)) << row.name;
    EXPECT_TRUE(ui.messages.empty()) << row.name;
    EXPECT_EQ(state.tables.dataState, DataState::NoData) << row.name;
  }
}

TEST_F(ShellTest, HelpOpensTheHelpFileBesideTheProgramOnlyWhenPresent) {
  CMainFrame& main = Start();
  QTest::keyClick(&main, Qt::Key_F1);
  main.Action(kCmdHelp)->trigger();
  EXPECT_TRUE(shell.opened.empty());
  EXPECT_TRUE(ui.messages.empty());

  ASSERT_EQ(std::system(("mkdir -p '" + dir.File("Help") + "'").c_str()), 0);
  WriteWholeFile(dir.File("Help/QV70Help.chm"), "help");
  main.Action(kCmdHelp)->trigger();
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], dir.File("Help/QV70Help.chm"));
}

TEST_F(ShellTest, KeyHeldDownRunsItsCommandOnce) {
  CMainFrame& main = Start();
  QTest::keyPress(&main, Qt::Key_S, Qt::ControlModifier);
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, "s", true);
  QApplication::sendEvent(&main, &repeat);
  QTest::keyRelease(&main, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(ui.saveRequests.size(), 1u);
}

TEST_F(ShellTest, CtrlSRightAfterStartWritesTheEmptySkeleton) {
  CMainFrame& main = Start();
  ui.saveNames.push_back(dir.File("empty"));
  QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
  const std::string written = ReadWholeFile(dir.File("empty.csv"));
  EXPECT_EQ(written.rfind("ZAVEL.QV70EN V2.01 \r\n", 0), 0u) << written.substr(0, 40);
  EXPECT_NE(written.find("0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n"), std::string::npos);
  EXPECT_EQ(state.tables.dataState, DataState::Saved);
}

TEST_F(ShellTest, CopyGraphKeysCopyOnlyAShownGraph) {
  CMainFrame& main = Start();
  QClipboard* clipboard = QApplication::clipboard();
  clipboard->clear();
  QTest::keyClick(&main, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(&main, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_TRUE(clipboard->pixmap().isNull());

  // A graph on screen: the logging page's, as after a download.
  View().MainTabs()->Bar()->setCurrentIndex(kLoggingTab);
  View().flags().graphShown = 1;
  main.UpdateCommandUi();
  QTest::keyClick(&main, Qt::Key_C, Qt::ControlModifier);
  EXPECT_FALSE(clipboard->pixmap().isNull());
  clipboard->clear();
  QTest::keyClick(&main, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_FALSE(clipboard->pixmap().isNull());
}

// The window's keys come before the control that has the focus: a value field
// of the logging header (read-only, but it takes the focus and would copy its
// own text) must not swallow Ctrl+Insert.
TEST_F(ShellTest, CopyGraphKeysCopyTheGraphWhateverHasTheFocus) {
  CMainFrame& main = Start();
  View().MainTabs()->Bar()->setCurrentIndex(kLoggingTab);
  View().flags().graphShown = 1;
  main.UpdateCommandUi();
  const QList<QLineEdit*> fields = View().LoggingPage()->Header()->findChildren<QLineEdit*>();
  ASSERT_FALSE(fields.isEmpty());
  QLineEdit* field = fields.front();
  field->setText("5");
  field->selectAll();

  const struct {
    const char* name;
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
  } rows[] = {
      {"Ctrl+C", Qt::ControlModifier, Qt::Key_C},
      {"Ctrl+Insert", Qt::ControlModifier, Qt::Key_Insert},
  };
  QClipboard* clipboard = QApplication::clipboard();
  for (const auto& row : rows) {
    clipboard->clear();
    field->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(field->hasFocus()) << row.name;
    QTest::keyClick(field, row.key, row.modifiers);
    EXPECT_FALSE(clipboard->pixmap().isNull()) << row.name;
    EXPECT_NE(clipboard->text(), "5") << row.name;
  }

  // With Copy Graph disabled the key still belongs to the window: nothing is copied.
  View().flags().graphShown = 0;
  main.UpdateCommandUi();
  clipboard->clear();
  field->setFocus();
  QTest::keyClick(field, Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_TRUE(clipboard->pixmap().isNull());
  EXPECT_NE(clipboard->text(), "5");
}

// ---- Closing ----

struct CloseRow {
  const char* name;
  DataState state;
  bool previewShown;
  std::vector<MessageAnswer> answers;
  std::string saveName;  // empty: the save dialog is cancelled
  bool closes;
  size_t prompts;
  DataState after;
};

TEST_F(ShellTest, ClosePromptKeepsUnsavedDataUnlessSavedOrDeclined) {
  const CloseRow rows[] = {
      {"no data", DataState::NoData, false, {}, "", true, 0, DataState::NoData},
      {"saved data", DataState::Saved, false, {}, "", true, 0, DataState::Saved},
      {"unsaved, No", DataState::Unsaved, false, {MessageAnswer::No}, "", true, 1, DataState::Unsaved},
      {"unsaved, Cancel", DataState::Unsaved, false, {MessageAnswer::Cancel}, "", false, 1,
       DataState::Unsaved},
      {"unsaved, Yes, save cancelled", DataState::Unsaved, false, {MessageAnswer::Yes}, "", false, 1,
       DataState::Unsaved},
      {"unsaved, Yes, saved", DataState::Unsaved, false, {MessageAnswer::Yes}, "kept", true, 1,
       DataState::Saved},
      {"unsaved under print preview", DataState::Unsaved, true, {}, "", false, 0, DataState::Unsaved},
  };
  for (const CloseRow& row : rows) {
    test::FreshProgram fresh(clock, shell);
    auto& [folder, here, program, script, main] = fresh;
    ASSERT_TRUE(main.Create());
    main.show();
    program.tables.dataState = row.state;
    main.View()->printPreviewShown = row.previewShown;
    int previewsClosed = 0;
    main.View()->reportCommands().closePreview = [&] { ++previewsClosed; };
    script.answers.assign(row.answers.begin(), row.answers.end());
    if (!row.saveName.empty()) script.saveNames.push_back(folder.File(row.saveName));

    EXPECT_EQ(main.close(), row.closes) << row.name;
    EXPECT_EQ(main.isVisible(), !row.closes) << row.name;
    ASSERT_EQ(script.messages.size(), row.prompts) << row.name;
    if (row.prompts == 1) {
      EXPECT_EQ(script.messages[0].text, save_message::kSaveDataQuestion) << row.name;
      EXPECT_EQ(script.messages[0].caption, save_message::kSaveDataCaption) << row.name;
      EXPECT_EQ(script.messages[0].buttons, MessageButtons::YesNoCancel) << row.name;
      EXPECT_EQ(script.messages[0].icon, MessageIcon::Question) << row.name;
    }
    EXPECT_EQ(program.tables.dataState, row.after) << row.name;
    EXPECT_EQ(previewsClosed, row.previewShown ? 1 : 0) << row.name;
    // The rectangle is stored exactly when the window goes.
    EXPECT_EQ(FileExists(folder.File("Config.ini")), row.closes) << row.name;
    if (!row.saveName.empty()) {
      EXPECT_TRUE(FileExists(folder.File(row.saveName + ".csv"))) << row.name;
    }
    program.tables.dataState = DataState::Saved;
    main.close();
  }
}

TEST_F(ShellTest, CancelledCloseLeavesTheWindowWorking) {
  CMainFrame& main = Start();
  state.tables.dataState = DataState::Unsaved;
  ui.answers = {MessageAnswer::Cancel, MessageAnswer::No};
  EXPECT_FALSE(main.close());
  EXPECT_TRUE(main.isVisible());
  EXPECT_FALSE(FileExists(dir.File("Config.ini")));
  // Asked again on the next close, and No lets it go.
  EXPECT_TRUE(main.close());
  EXPECT_EQ(ui.messages.size(), 2u);
}

// ---- Window rectangle ----

QRect Outer(const WindowRect& rect) { return QRect(rect.left, rect.top, rect.Width(), rect.Height()); }

// The frame once the window is on screen and its frame is known.
QRect ShownFrame(CMainFrame& main) {
  main.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
  QApplication::processEvents();
  return main.frameGeometry();
}

WindowRect Stored(const std::string& folder) {
  return ReadWindowRect(SettingsFile::InDirectory(folder));
}

struct RectRow {
  const char* name;
  const char* config;  // null: no Config.ini
  QRect frame;         // the window's outer rectangle once shown
};

// The test desktop: 1920 x 1080 at 0,0 and 1280 x 1024 at 1920,0.
TEST_F(ShellTest, WindowIsPlacedFromWndrectWhereTheScreensShowIt) {
  const RectRow rows[] = {
      {"no settings file", nullptr, {0, 0, 800, 600}},
      {"only other sections", "[INFO]\r\nAUTHOR=x\r\n", {0, 0, 800, 600}},
      {"full rectangle", "[WNDRECT]\r\nLEFT=100\r\nTOP=50\r\nRIGHT=1000\r\nBOTTOM=750\r\n", {100, 50, 900, 700}},
      {"left and top only", "[WNDRECT]\r\nLEFT=20\r\nTOP=30\r\n", {20, 30, 800, 600}},
      {"on the second screen", "[WNDRECT]\r\nLEFT=2000\r\nTOP=10\r\nRIGHT=3000\r\nBOTTOM=810\r\n",
       {2000, 10, 1000, 800}},
      {"huge bottom", "[WNDRECT]\r\nLEFT=0\r\nTOP=0\r\nRIGHT=800\r\nBOTTOM=2000000000\r\n", {0, 0, 800, 1080}},
      {"huge negative left", "[WNDRECT]\r\nLEFT=-2000000000\r\nTOP=0\r\nRIGHT=800\r\nBOTTOM=600\r\n",
       {0, 0, 1920, 600}},
      {"beyond the desktop", "[WNDRECT]\r\nLEFT=9000\r\nTOP=9000\r\nRIGHT=9900\r\nBOTTOM=9700\r\n",
       {1020, 380, 900, 700}},
  };
  for (const RectRow& row : rows) {
    test::FreshProgram fresh(clock, shell);
    auto& [folder, here, program, script, main] = fresh;
    if (row.config) WriteWholeFile(folder.File("Config.ini"), row.config);
    ASSERT_TRUE(main.Create()) << row.name;
    const QRect shown = ShownFrame(main);
    // The window inside the frame never goes below the smallest size, so a
    // frame of 800 x 600 grows by the frame's own width.
    const QSize margins = shown.size() - main.size();
    EXPECT_EQ(shown, QRect(row.frame.topLeft(), row.frame.size().expandedTo(QSize(800, 600) + margins)))
        << row.name;
    main.close();
  }
}

// What a close stores, the next start shows: the same outer rectangle, and for
// a maximised window no more than the screen.
TEST_F(ShellTest, ClosingStoresTheOuterRectangleTheNextStartShows) {
  const struct {
    const char* name;
    QRect geometry;  // the window's own rectangle before closing; empty: maximised
  } rows[] = {
      {"normal window", {120, 80, 900, 650}},
      {"on the second screen", {2100, 40, 1000, 900}},
      {"maximised", {}},
  };
  for (const auto& row : rows) {
    test::TempDir folder;
    Environment here{folder.path(), &clock};
    QRect closedFrame;
    {
      ProgramState program;
      CMainFrame main(program, ui, here, shell);
      ASSERT_TRUE(main.Create()) << row.name;
      ShownFrame(main);
      if (row.geometry.isEmpty()) {
        main.showMaximized();
      } else {
        main.setGeometry(row.geometry);
      }
      QApplication::processEvents();
      closedFrame = main.frameGeometry();
      ASSERT_TRUE(main.close()) << row.name;
    }
    EXPECT_EQ(Outer(Stored(folder.path())), closedFrame) << row.name;
    if (row.geometry.isEmpty()) {
      EXPECT_EQ(closedFrame, QGuiApplication::primaryScreen()->availableGeometry()) << row.name;
    }

    ProgramState program;
    CMainFrame again(program, ui, here, shell);
    ASSERT_TRUE(again.Create()) << row.name;
    EXPECT_EQ(ShownFrame(again), closedFrame) << row.name;
    EXPECT_FALSE(again.isMaximized()) << row.name;
    // Closed again unchanged: the file holds the same rectangle.
    ASSERT_TRUE(again.close()) << row.name;
    EXPECT_EQ(Outer(Stored(folder.path())), closedFrame) << row.name;
  }
}

TEST_F(ShellTest, ClosingAMinimisedWindowKeepsTheStoredRectangle) {
  WriteWholeFile(dir.File("Config.ini"), "[WNDRECT]\r\nLEFT=10\r\nTOP=20\r\nRIGHT=910\r\nBOTTOM=720\r\n");
  const std::string before = ReadWholeFile(dir.File("Config.ini"));
  CMainFrame& main = Start();
  main.showMinimized();
  main.resize(1000, 700);
  ASSERT_TRUE(main.close());
  EXPECT_EQ(ReadWholeFile(dir.File("Config.ini")), before);
}

TEST_F(ShellTest, AboutBoxShowsTitleVersionAndOpensTheMakerPage) {
  CAboutDlg about(shell);
  EXPECT_EQ(about.windowTitle(), "About");
  EXPECT_EQ(about.VersionLabel()->text(), "Version:          V2.01");
  EXPECT_EQ(about.FirstLink()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(about.SecondLink()->cursor().shape(), Qt::PointingHandCursor);
  about.show();
  QTest::mouseClick(about.SecondLink(), Qt::LeftButton);
  EXPECT_TRUE(shell.opened.empty());
  QTest::mouseClick(about.FirstLink(), Qt::LeftButton);
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0], CAboutDlg::kMakerPage);
  QTest::mouseClick(about.OkButton(), Qt::LeftButton);
  EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace qv70

namespace qv70 {
namespace {

struct ModalRow {
  const char* name;
  int command;
  const char* windowClass;
};

// Each window command opens its own window modally over the main window.
using test::ShellTest;

TEST_F(ShellTest, WindowCommandsOpenTheirWindowsModally) {
  CMainFrame& main = Start();
  const ModalRow rows[] = {
      {"About", kCmdAbout, "qv70::CAboutDlg"},
#ifdef QV70_HAVE_DIALOGS
      {"Obtain Data", kCmdObtainData, "qv70::CObtainDataDlg"},
      {"QV70 Setting", kCmdQv70Setting, "qv70::CInstrumentSettingDlg"},
      {"Customize", kCmdCustomize, "qv70::CCustomizeDlg"},
#endif
  };
  for (const ModalRow& row : rows) {
    std::string seen;
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      seen = modal->metaObject()->className();
      EXPECT_EQ(modal->parentWidget(), &main) << row.name;
      modal->close();
    });
    main.Action(row.command)->trigger();
    EXPECT_EQ(seen, row.windowClass) << row.name;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << row.name;
  }
}

}  // namespace
}  // namespace qv70
