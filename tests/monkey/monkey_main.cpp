// qv70-monkey: the program driven through a long random sequence of commands,
// dialogs, tabs, filters, window sizes, tables, file opens and downloads, the
// same sequence for the same seed. Built with the sanitizers, any fault ends
// the run with the sanitizer's report and the last steps.
//
//   qv70-monkey [--seed N] [--steps N] [--minutes M] [--work DIR] [--hang-seconds S]

#include <QApplication>
#include <QWidget>
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "core/platform/environment.h"
#include "gui/app/application.h"
#include "gui/services/desktop_shell.h"
#include "monkey_driver.h"
#include "monkey_random.h"
#include "monkey_ui.h"
#include "monkey_world.h"
#include "step_log.h"
#include "support/temp_dir.h"

namespace {

using namespace qv70::monkey;

struct Options {
  std::uint64_t seed = 1;
  Monkey::Limits limits;
  std::string work;
  int hangSeconds = 120;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int index = 1; index < argc; ++index) {
    const std::string word = argv[index];
    const bool hasValue = index + 1 < argc;
    if (word == "--seed" && hasValue) {
      options.seed = std::strtoull(argv[++index], nullptr, 10);
    } else if (word == "--steps" && hasValue) {
      options.limits.steps = std::strtol(argv[++index], nullptr, 10);
    } else if (word == "--minutes" && hasValue) {
      options.limits.minutes = std::strtod(argv[++index], nullptr);
    } else if (word == "--work" && hasValue) {
      options.work = argv[++index];
    } else if (word == "--hang-seconds" && hasValue) {
      options.hangSeconds = std::atoi(argv[++index]);
    } else {
      std::fprintf(stderr,
                   "usage: qv70-monkey [--seed N] [--steps N] [--minutes M] [--work DIR] [--hang-seconds S]\n");
      return false;
    }
  }
  return true;
}

// The desktop's "open" is never called for real: help and web links are noted.
class NotingShell : public qv70::DesktopShell {
 public:
  bool Open(const std::string& target) override {
    step_log::Note("desktop asked to open " + target);
    return true;
  }
};

std::map<std::string, int> qtWarnings;

// Qt's own complaints are kept for the summary; the test library's notes
// about synthetic events are not the program's.
void NoteQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (message.startsWith("Mouse event") || message.startsWith("Keyboard event not accepted")) return;
  const std::string text = message.toStdString();
  step_log::Note("qt: " + text);
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "qt fatal: %s\n", text.c_str());
    std::abort();
  }
  ++qtWarnings[text.substr(0, 160)];
}

// A line of /proc/self/status ("VmRSS", "VmHWM") in kB; 0 when unknown.
long MemoryKb(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return 0;
  char line[256];
  long value = 0;
  const size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, field, length) == 0 && line[length] == ':') value = std::atol(line + length + 1);
  }
  std::fclose(status);
  return value;
}

// The top-level widgets alive, by class; Qt's own helpers are not counted.
std::string LeftOverWindows() {
  std::string list;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    const std::string name = widget->metaObject()->className();
    if (name == "QDesktopScreenWidget" || name.rfind("QTipLabel", 0) == 0) continue;
    list += (list.empty() ? "" : ", ") + name;
  }
  return list;
}

// Everything the program and Qt write for themselves stays in the work folder.
void KeepEnvironmentPrivate(const std::string& work) {
  const std::string run = work + "/run";
  mkdir(run.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
  setenv("TMPDIR", run.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (work + "/config").c_str(), 1);
  setenv("XDG_DATA_HOME", (work + "/data").c_str(), 1);
  // A hung simulator costs a fraction of a second, not the library's 5 s.
  setenv("ZVUSBSGL_READ_TIMEOUT_MS", "400", 1);
}

void PrintSummary(const Options& options, const Monkey& monkey, const MonkeyUiServices& ui, double seconds) {
  std::printf("qv70-monkey: seed %llu: %ld steps in %d program runs, %.0f s, %d questions answered\n",
              static_cast<unsigned long long>(options.seed), monkey.StepsTaken(), monkey.Runs(), seconds,
              ui.Questions());
  std::printf("memory: %ld kB at the end, %ld kB at most\n", MemoryKb("VmRSS"), MemoryKb("VmHWM"));
  std::printf("actions:");
  for (const auto& [name, count] : monkey.ActionCounts()) std::printf(" %s %ld;", name.c_str(), count);
  std::printf("\n");
  if (!qtWarnings.empty()) {
    std::printf("Qt said (distinct, with counts):\n");
    for (const auto& [text, count] : qtWarnings) std::printf("  %5d  %s\n", count, text.c_str());
  }
  std::printf("replay: qv70-monkey --seed %llu --steps %ld\n", static_cast<unsigned long long>(options.seed),
              monkey.StepsTaken());
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;
  qv70::test::TempDir* ownWork = nullptr;
  if (options.work.empty()) {
    ownWork = new qv70::test::TempDir;
    options.work = ownWork->path();
  }
  KeepEnvironmentPrivate(options.work);
  std::printf("qv70-monkey: seed %llu, up to %ld steps%s, work folder %s\n",
              static_cast<unsigned long long>(options.seed), options.limits.steps,
              options.limits.minutes > 0 ? (" or " + std::to_string(options.limits.minutes) + " minutes").c_str() : "",
              options.work.c_str());
  std::fflush(stdout);

  MonkeyRandom random(options.seed);
  MonkeyWorld world(options.work, QV70_SOURCE_DIR, QV70_BIN_DIR);
  std::string error;
  if (!world.Prepare(random, error)) {
    std::fprintf(stderr, "qv70-monkey: %s\n", error.c_str());
    return 2;
  }
  qInstallMessageHandler(NoteQtMessage);
  QApplication app(argc, argv);
  world.AddQtPictures();
  step_log::Open(options.work + "/steps.log");
  step_log::StartWatchdog(options.hangSeconds);

  MonkeyUiServices ui(random, world);
  NotingShell shell;
  qv70::FixedClock clock(1765260000);
  const qv70::Environment environment{world.ProgramDir(), &clock};
  Monkey monkey(random, world, ui, options.limits);
  const auto started = std::chrono::steady_clock::now();
  monkey.Start();
  std::string leftOver;
  while (!monkey.Finished()) {
    qv70::RunApplication(app, ui, shell, environment, world.LockDir());
    const bool sawWindow = monkey.SawWindowThisRun();
    monkey.RunEnded();
    // Windows still alive once the program's window is gone would pile up
    // run after run; the leak check cannot see them, Qt still lists them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    step_log::Note("memory after run " + std::to_string(monkey.Runs()) + ": " + std::to_string(MemoryKb("VmRSS")) +
                   " kB");
    const std::string left = LeftOverWindows();
    if (!left.empty() && leftOver.empty()) {
      leftOver = left;
      step_log::Note("windows left after the program run: " + left);
    }
    if (!sawWindow && !monkey.Finished()) {
      step_log::StopWatchdog();
      std::fprintf(stderr, "qv70-monkey: the program ended without showing its window\n");
      return 1;
    }
  }
  step_log::StopWatchdog();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  world.StopSimulators();
  PrintSummary(options, monkey, ui, seconds);
  std::string findings = world.SimulatorFindings();
  if (!leftOver.empty()) findings += "windows outlived the program's window: " + leftOver + "\n";
  if (!findings.empty()) {
    std::fprintf(stderr, "qv70-monkey: %s", findings.c_str());
    return 1;
  }
  delete ownWork;
  return 0;
}
