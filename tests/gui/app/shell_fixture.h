#pragma once

#include <QApplication>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "core/data/program_state.h"
#include "core/platform/environment.h"
#include "core/platform/scripted_ui_services.h"
#include "gui/app/main_frame.h"
#include "gui/app/main_view.h"
#include "gui/services/desktop_shell.h"
#include "support/qt/application.h"
#include "support/temp_dir.h"

namespace qv70::test {

// The desktop of the offscreen tests: a 1920 x 1080 primary screen and a
// 1280 x 1024 one to its right, in place of the platform's one small screen,
// so a window of any stored size has room.
inline constexpr const char* kTestScreens =
    R"({"screens": [{"name": "primary", "x": 0, "y": 0, "width": 1920, "height": 1080},)"
    R"( {"name": "second", "x": 1920, "y": 0, "width": 1280, "height": 1024}]})";

inline void UseTestScreens() {
  if (qgetenv("QT_QPA_PLATFORM") != "offscreen") return;
  static TempDir folder;
  WriteWholeFile(folder.File("screens.json"), kTestScreens);
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + folder.File("screens.json")).c_str());
}

// The one QApplication of the test program, on the test desktop: every window
// test of this program starts here, so no other one makes it first.
inline QApplication& TestApp() {
  UseTestScreens();
  return EnsureApplication();
}

// Records what the desktop was asked to open.
class RecordingShell : public DesktopShell {
 public:
  bool Open(const std::string& target) override {
    opened.push_back(target);
    return true;
  }
  std::vector<std::string> opened;
};

// A whole program for one row of a table: its own folder, state, scripted
// dialogs and main window, not yet created.
struct FreshProgram {
  FreshProgram(Clock& clock, DesktopShell& shell)
      : here{folder.path(), &clock}, main(program, script, here, shell) {}
  TempDir folder;
  Environment here;
  ProgramState program;
  ScriptedUiServices script;
  CMainFrame main;
};

// A main window over a fresh program state, a scripted UiServices and a
// temporary program folder, built the way start-up builds it.
class ShellTest : public ::testing::Test {
 protected:
  ShellTest() : clock(1765260000) { TestApp(); }

  void SetUp() override { environment = Environment{dir.path(), &clock}; }

  void TearDown() override {
    if (frame) {
      // Leave without a prompt: the tests that care close the window themselves.
      state.tables.dataState = DataState::Saved;
      frame->close();
      frame.reset();
    }
  }

  CMainFrame& Start(bool show = true) {
    frame = std::make_unique<CMainFrame>(state, ui, environment, shell);
    EXPECT_TRUE(frame->Create());
    if (show) {
      frame->showNormal();
      frame->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    return *frame;
  }
  CMyQV70ProjectView& View() { return *frame->View(); }

  TempDir dir;
  FixedClock clock;
  Environment environment;
  ProgramState state;
  ScriptedUiServices ui;
  RecordingShell shell;
  std::unique_ptr<CMainFrame> frame;
};

}  // namespace qv70::test
