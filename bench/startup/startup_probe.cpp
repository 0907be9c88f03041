// Start-up and memory probe of the program: builds the main window exactly as
// the program does, reports the time to its first paint, and optionally runs a
// full download of everything the instrument (or qv70-sim) holds through the
// Obtain Data window and reports the process's memory afterwards.
//
//   qv70-startup-probe              start-up only
//   qv70-startup-probe --bare       the baseline: an empty QMainWindow instead of the program's
//   qv70-startup-probe --download    start-up, then download everything
//   qv70-startup-probe --open FILE   start-up, then File > Open of FILE
//
// Output, one "key value" per line: exec_to_paint_ms, main_to_paint_ms,
// the share of QApplication, window building and the first paint, rss_kb_after_start, and with --download downloaded_records,
// downloaded_samples, download_ms (the window's, with show_new_data_ms, the main view's share), core_download_ms
// (the same download without a window), their ratios, rss_kb_after_download, peak_rss_kb; with --open
// open_ms, opened_samples, rss_kb_after_open, peak_rss_kb.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/data/program_state.h"
#include "core/instrument/download_job.h"
#include "core/instrument/usb_driver.h"
#include "core/instrument/usb_link.h"
#include "core/platform/environment.h"
#include "core/platform/scripted_ui_services.h"
#include "gui/app/main_frame.h"
#include "gui/app/main_view.h"
#include "gui/services/desktop_shell.h"

#include "gui/dialogs/obtain_data_dialog.h"

namespace {

double NowMs(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// When the process was started, in ms of CLOCK_BOOTTIME (kernel ticks, 10 ms).
double ProcessStartMs() {
  std::ifstream in("/proc/self/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t close = stat.rfind(')');
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  // Field 22 (starttime) is the 20th after the command name.
  for (int i = 0; i < 20 && fields >> field; ++i) {
  }
  return std::stod(field) * 1000.0 / sysconf(_SC_CLK_TCK);
}

long StatusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
  }
  return -1;
}

// Notes the first paint of the main window.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen) {
      seen = true;
      // The children paint in the same pass; the pass ends before this timer runs.
      QTimer::singleShot(0, [this] {
        paintedBoot = NowMs(CLOCK_BOOTTIME);
        paintedMono = NowMs(CLOCK_MONOTONIC);
        QCoreApplication::exit(0);
      });
    }
    return false;
  }
  bool seen = false;
  double paintedBoot = 0;
  double paintedMono = 0;
};

constexpr int kDownloadRuns = 7;

// Each message the runs showed, once.
void PrintMessages(const qv70::ScriptedUiServices& ui) {
  std::vector<std::string> shown;
  for (const auto& message : ui.messages) {
    if (std::find(shown.begin(), shown.end(), message.text) != shown.end()) continue;
    shown.push_back(message.text);
    std::printf("message %s\n", message.text.c_str());
  }
}

double Fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

// Count and download everything through the core's job alone, into tables of its own.
double CoreDownloadMs(const qv70::Environment& environment) {
  const double start = NowMs(CLOCK_MONOTONIC);
  qv70::DlopenUsbDriver driver(qv70::JoinPath(environment.programDirectory, qv70::kUsbLibraryName));
  qv70::ScriptedUiServices ui;
  qv70::UsbLink link(driver, ui);
  auto tables = std::make_unique<qv70::RecordTables>();
  qv70::DownloadJob job(link, *tables, ui);
  job.SelectData();
  job.Download(job.CountedSelection());
  job.Finish();
  return NowMs(CLOCK_MONOTONIC) - start;
}

// The baseline of the start-up: an empty QMainWindow of the program's default
// size, shown and painted the same way, from the same kind of process.
int BareWindow(QApplication& app, double mainMono) {
  QMainWindow window;
  window.resize(800, 600);
  FirstPaint paint;
  window.installEventFilter(&paint);
  window.showNormal();
  window.repaint();
  app.exec();
  std::printf("exec_to_paint_ms %.1f\n", paint.paintedBoot - ProcessStartMs());
  std::printf("main_to_paint_ms %.1f\n", paint.paintedMono - mainMono);
  std::printf("rss_kb_after_start %ld\n", StatusKb("VmRSS:"));
  std::fflush(stdout);
  _exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  const double mainMono = NowMs(CLOCK_MONOTONIC);
  const bool download = argc > 1 && std::strcmp(argv[1], "--download") == 0;
  const char* const openPath = argc > 2 && std::strcmp(argv[1], "--open") == 0 ? argv[2] : nullptr;
  QApplication app(argc, argv);
  const double appMono = NowMs(CLOCK_MONOTONIC);
  if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) return BareWindow(app, mainMono);
  qv70::SystemClock clock;
  const qv70::Environment environment{qv70::ExecutableDirectory(), &clock};
  qv70::ScriptedUiServices ui;  // answers every message box with its first button
  qv70::QtDesktopShell shell;
  auto state = std::make_unique<qv70::ProgramState>();

  qv70::CMainFrame frame(*state, ui, environment, shell);
  FirstPaint paint;
  frame.installEventFilter(&paint);
  if (!frame.Create()) return 1;
  const double createdMono = NowMs(CLOCK_MONOTONIC);
  frame.showNormal();
  frame.repaint();
  app.exec();
  std::printf("exec_to_paint_ms %.1f\n", paint.paintedBoot - ProcessStartMs());
  std::printf("main_to_paint_ms %.1f\n", paint.paintedMono - mainMono);
  std::printf("  of which application_ms %.1f window_build_ms %.1f show_and_paint_ms %.1f\n",
              appMono - mainMono, createdMono - appMono, paint.paintedMono - createdMono);
  std::printf("rss_kb_after_start %ld\n", StatusKb("VmRSS:"));

  if (openPath != nullptr) {
    // File > Open of the file, answered by the scripted file dialog, until the
    // main view shows the new tables and graphs.
    ui.openNames.push_back(openPath);
    const double start = NowMs(CLOCK_MONOTONIC);
    frame.OnFileOpen();
    QApplication::processEvents();
    std::printf("open_ms %.1f\n", NowMs(CLOCK_MONOTONIC) - start);
    long samples = 0;
    for (int count : state->tables.sampleCount) samples += count;
    std::printf("opened_samples %ld\n", samples);
    std::printf("rss_kb_after_open %ld\n", StatusKb("VmRSS:"));
    std::printf("peak_rss_kb %ld\n", StatusKb("VmHWM:"));
    PrintMessages(ui);
  }

  if (download) {
    // The Obtain Data window's whole download (count, Select All, Obtain Data,
    // the main view showing the new tables) several times, against the same
    // download through the core's job without any window (as qv70cli runs it)
    // in the same run; the fastest of each, and the view's share.
    std::vector<double> windowMs, viewMs, coreMs;
    for (int run = 0; run < kDownloadRuns; ++run) {
      double viewTime = 0;
      const double start = NowMs(CLOCK_MONOTONIC);
      {
        qv70::CObtainDataDlg dialog(
            *state, ui, environment, [&](const std::string& text) { frame.SetStatusText(text); },
            [&] {
              const double before = NowMs(CLOCK_MONOTONIC);
              frame.View()->ShowNewData(false);
              viewTime = NowMs(CLOCK_MONOTONIC) - before;
            },
            &frame);
        dialog.show();
        dialog.OnSelectData();
        dialog.OnSelectAll();
        dialog.OnObtainData();
        QApplication::processEvents();
      }
      windowMs.push_back(NowMs(CLOCK_MONOTONIC) - start);
      viewMs.push_back(viewTime);
      coreMs.push_back(CoreDownloadMs(environment));
    }
    long records = 0;
    long samples = 0;
    for (int count : state->tables.recordCount) records += count;
    for (int count : state->tables.sampleCount) samples += count;
    std::printf("downloaded_records %ld\n", records);
    std::printf("downloaded_samples %ld\n", samples);
    std::printf("download_ms %.1f (fastest of %d)\n", Fastest(windowMs), kDownloadRuns);
    std::printf("  of which show_new_data_ms %.1f\n", Fastest(viewMs));
    std::printf("core_download_ms %.1f (the same job without a window)\n", Fastest(coreMs));
    std::printf("window_to_core_ratio %.1f\n", Fastest(windowMs) / Fastest(coreMs));
    std::printf("window_without_view_to_core_ratio %.1f\n",
                (Fastest(windowMs) - Fastest(viewMs)) / Fastest(coreMs));
    std::printf("rss_kb_after_download %ld\n", StatusKb("VmRSS:"));
    std::printf("peak_rss_kb %ld\n", StatusKb("VmHWM:"));
    PrintMessages(ui);
  }
  std::fflush(stdout);
  // Leave without the close handling: a probe must not store a window rectangle.
  _exit(0);
}
