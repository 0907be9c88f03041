// Start-up with the program's files away from the program folder: where they
// are is said once, after the window is shown, and the settings are read and
// written there.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/files/data_folder_setup.h"
#include "gui/app/application.h"
#include "shell_fixture.h"

namespace qv70 {
namespace {

// A scripted UiServices that also notes whether the main window was on the
// screen when each message came.
class WindowAwareUi : public ScriptedUiServices {
 public:
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons,
                            MessageIcon icon) override {
    bool shown = false;
    for (QWidget* window : QApplication::topLevelWidgets()) shown = shown || window->isVisible();
    windowShown.push_back(shown);
    return ScriptedUiServices::ShowMessage(text, caption, buttons, icon);
  }
  std::vector<bool> windowShown;
};

struct Start {
  std::vector<ScriptedUiServices::Message> messages;
  std::vector<bool> windowShown;
  QSize frame;
};

// One start of the program, closed as soon as its event loop runs.
Start RunOnce(const Environment& environment, const std::string& lockDirectory) {
  QApplication& app = test::TestApp();
  WindowAwareUi ui;
  test::RecordingShell shell;
  Start start;
  QTimer::singleShot(0, &app, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (window->objectName() != "MainFrame") continue;
      start.frame = window->frameGeometry().size();
      window->close();
    }
    app.quit();
  });
  EXPECT_EQ(RunApplication(app, ui, shell, environment, lockDirectory), 0);
  start.messages = ui.messages;
  start.windowShown = ui.windowShown;
  return start;
}

TEST(DataFolderStart, SaysOnceWhereTheFilesAreAndKeepsThemThere) {
  struct Case {
    const char* name;
    DataPlace place;
    std::vector<size_t> messagesPerStart;
    MessageIcon icon;
  };
  const Case cases[] = {
      {"writable program folder", DataPlace::Program, {0, 0}, MessageIcon::None},
      {"system prefix", DataPlace::UserConfig, {1, 0, 0}, MessageIcon::Information},
      {"nothing can be written", DataPlace::Nowhere, {1, 1}, MessageIcon::Warning},
  };
  for (const Case& c : cases) {
    test::TempDir program, user, lock;
    const std::string data = c.place == DataPlace::UserConfig ? user.path() : program.path();
    // A window rectangle only where the files are read from.
    test::WriteWholeFile(data + "/Config.ini",
                         "[WNDRECT]\r\nLEFT=10\r\nTOP=20\r\nRIGHT=910\r\nBOTTOM=720\r\n");
    FixedClock clock(0);
    const Environment environment{program.path(), &clock, {data, c.place, user.path()}};
    for (size_t run = 0; run < c.messagesPerStart.size(); ++run) {
      SCOPED_TRACE(std::string(c.name) + ", start " + std::to_string(run + 1));
      const Start start = RunOnce(environment, lock.path());
      EXPECT_EQ(start.frame, QSize(900, 700));
      ASSERT_EQ(start.messages.size(), c.messagesPerStart[run]);
      if (start.messages.empty()) continue;
      const ScriptedUiServices::Message& said = start.messages[0];
      EXPECT_EQ(said.caption, kDataFolderCaption);
      EXPECT_EQ(said.icon, c.icon);
      EXPECT_EQ(said.buttons, MessageButtons::Ok);
      EXPECT_NE(said.text.find(c.place == DataPlace::UserConfig ? "are kept in " + user.path()
                                                                : "will not be kept"),
                std::string::npos)
          << said.text;
      EXPECT_TRUE(start.windowShown[0]);
    }
    // The close wrote the rectangle where it was read, nothing beside the program.
    if (c.place == DataPlace::UserConfig) {
      EXPECT_FALSE(FileExists(program.File("Config.ini"))) << c.name;
      EXPECT_NE(test::ReadWholeFile(user.File("Config.ini")).find("RIGHT="), std::string::npos) << c.name;
    }
  }
}

}  // namespace
}  // namespace qv70
