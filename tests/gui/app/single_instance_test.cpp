// A second copy of the program refuses to start while the first runs: the
// first is the real program, the second this test program re-started in a
// child process running the same start-up with a scripted UiServices. Both run
// with a /tmp of their own, as the lock lives in the user's private folder.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform/single_instance_lock.h"
#include "gui/app/application.h"
#include "shell_fixture.h"
#include "support/private_tmp.h"

extern char** environ;

namespace qv70 {
namespace {

constexpr const char* kChildVariable = "QV70_TEST_SECOND_INSTANCE";

// The environment of this process for a copy of the program, with the
// session's runtime folder `runtime` (none when empty): where the lock lives
// must not depend on it.
std::vector<std::string> ChildEnvironment(bool child, const std::string& runtime) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    if (text.rfind("XDG_RUNTIME_DIR=", 0) == 0 || text.rfind("QT_QPA_PLATFORM=", 0) == 0) continue;
    variables.push_back(text);
  }
  if (!runtime.empty()) variables.push_back("XDG_RUNTIME_DIR=" + runtime);
  variables.push_back("QT_QPA_PLATFORM=offscreen");
  if (child) variables.push_back(std::string(kChildVariable) + "=1");
  return variables;
}

pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& variables,
            const std::string& output) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& variable : variables) envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Whether some process holds a flock on `path` (its inode listed in /proc/locks).
bool LockHeld(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  std::ifstream locks("/proc/locks");
  const std::string inode = ":" + std::to_string(info.st_ino) + " ";
  std::string line;
  while (std::getline(locks, line)) {
    if (line.find("FLOCK") != std::string::npos && line.find(inode) != std::string::npos) return true;
  }
  return false;
}

int WaitExit(pid_t pid, int seconds) {
  for (int i = 0; i < seconds * 20; ++i) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return -2;
}

// The second copy: disabled in ordinary runs, started by the test below.
TEST(SecondInstanceChild, DISABLED_RunsStartUp) {
  if (std::getenv(kChildVariable) == nullptr) GTEST_SKIP() << "started by SecondInstance only";
  QApplication& app = test::TestApp();
  ScriptedUiServices ui;
  test::RecordingShell shell;
  test::TempDir folder;
  FixedClock clock(0);
  const Environment environment{folder.path(), &clock};
  const int code = RunApplication(app, ui, shell, environment);
  std::printf("exit=%d windows=%d messages=%d\n", code, static_cast<int>(QApplication::topLevelWidgets().size()),
              static_cast<int>(ui.messages.size()));
  for (const ScriptedUiServices::Message& message : ui.messages) {
    std::printf("text=[%s]\ncaption=[%s]\nok=%d warning=%d\n", message.text.c_str(), message.caption.c_str(),
                message.buttons == MessageButtons::Ok, message.icon == MessageIcon::Warning);
  }
  std::fflush(stdout);
}

TEST(SecondInstance, DISABLED_RefusedBody) {
  if (!test::InPrivateTmp()) GTEST_SKIP() << "run by IsRefusedWhileTheFirstRunsAndAllowedAfterwards";
  test::TempDir runtime;
  const std::string lockPath = SingleInstanceLock("QV70Software").path();
  // The first copy runs as in a desktop session, the second as from a shell
  // without one: both meet at the same lock.
  const pid_t first = Spawn({std::string(QV70_BIN_DIR) + "/qv70"}, ChildEnvironment(false, runtime.path()),
                            runtime.File("first.out"));
  ASSERT_GT(first, 0);
  bool held = false;
  for (int i = 0; i < 200 && !held; ++i) {
    held = LockHeld(lockPath);
    if (!held) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(held) << "the first copy did not take the lock";

  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(length, 0);
  self[length] = '\0';
  const pid_t second = Spawn({self, "--gtest_also_run_disabled_tests",
                              "--gtest_filter=SecondInstanceChild.DISABLED_RunsStartUp"},
                             ChildEnvironment(true, ""), runtime.File("second.out"));
  ASSERT_GT(second, 0);
  EXPECT_EQ(WaitExit(second, 20), 0);
  const std::string report = test::ReadWholeFile(runtime.File("second.out"));
  EXPECT_NE(report.find("exit=0 windows=0 messages=1\n"), std::string::npos) << report;
  EXPECT_NE(report.find("text=[Data Analysis Software for QV70 HIGH VOLTAGE INSULATION OHMRIDR has been "
                        "opened already! ]\ncaption=[Error]\nok=1 warning=1\n"),
            std::string::npos)
      << report;

  // The first copy is untouched by the attempt and still holds the lock.
  EXPECT_EQ(waitpid(first, nullptr, WNOHANG), 0);
  EXPECT_TRUE(LockHeld(lockPath));
  kill(first, SIGTERM);
  WaitExit(first, 10);

  // Once the first copy ended, a new one may start.
  SingleInstanceLock next("QV70Software");
  EXPECT_EQ(next.TryAcquire(), SingleInstanceLock::Outcome::Taken);
}

TEST(SecondInstance, IsRefusedWhileTheFirstRunsAndAllowedAfterwards) {
  test::RunInPrivateTmp("SecondInstance.DISABLED_RefusedBody");
}

// Standard error of this process while it lives, into a file.
class CapturedStandardError {
 public:
  explicit CapturedStandardError(const std::string& path) : path_(path), saved_(dup(2)) {
    std::fflush(stderr);
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(file, 2);
    close(file);
  }
  ~CapturedStandardError() { Restore(); }
  std::string Text() {
    Restore();
    return test::ReadWholeFile(path_);
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, 2);
    close(saved_);
    saved_ = -1;
  }
  std::string path_;
  int saved_;
};

struct UnusableLockCase {
  const char* name;
  bool needsRoot;  // to give the lock file to another user
  const char* said;
};

// Someone else's lock file, or no place for one, is not a copy running
// already: the program says so on standard error and starts.
TEST(UnusableLock, StartsTheProgramWithANoteOnStandardError) {
  const UnusableLockCase cases[] = {
      {"another user's lock file", true, "QV70Software.lock is not a file of this user"},
      {"no folder for the lock", false, "QV70Software.lock: No such file or directory"},
  };
  QApplication& app = test::TestApp();
  for (const UnusableLockCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsRoot && geteuid() != 0) continue;
    test::TempDir folder;
    std::string lockFolder = folder.File("missing");
    if (c.needsRoot) {
      lockFolder = folder.path();
      test::WriteWholeFile(folder.File("QV70Software.lock"), "");
      ASSERT_EQ(chown(folder.File("QV70Software.lock").c_str(), 65534, 65534), 0);
    }
    ScriptedUiServices ui;
    test::RecordingShell shell;
    FixedClock clock(0);
    const Environment environment{folder.path(), &clock};
    int windowsShown = 0;
    QTimer::singleShot(0, &app, [&] {
      for (QWidget* window : QApplication::topLevelWidgets()) windowsShown += window->isVisible() ? 1 : 0;
      app.quit();
    });
    CapturedStandardError standardError(folder.File("stderr.txt"));
    EXPECT_EQ(RunApplication(app, ui, shell, environment, lockFolder), 0);
    const std::string said = standardError.Text();
    EXPECT_EQ(windowsShown, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_NE(said.find("qv70: the single-instance lock cannot be used ("), std::string::npos) << said;
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
  }
}

}  // namespace
}  // namespace qv70
