#include "step_log.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace qv70::monkey::step_log {
namespace {

constexpr size_t kKept = 60;

// Never destroyed: the leak check at exit may still call back into it.
struct Kept {
  std::mutex mutex;
  std::deque<std::string> recent;
  std::FILE* file = nullptr;
};
Kept& kept = *new Kept;
std::atomic<long long> lastBeatMs{0};
std::atomic<bool> watching{false};
std::atomic<bool> printed{false};
std::thread watchdog;

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Keep(const std::string& line) {
  std::lock_guard<std::mutex> lock(kept.mutex);
  kept.recent.push_back(line);
  if (kept.recent.size() > kKept) kept.recent.pop_front();
  if (kept.file) {
    std::fputs(line.c_str(), kept.file);
    std::fputc('\n', kept.file);
    std::fflush(kept.file);
  }
}

void WriteAll(int fd, const std::string& text) {
  const char* data = text.data();
  size_t left = text.size();
  while (left > 0) {
    const ssize_t written = write(fd, data, left);
    if (written <= 0) return;
    data += written;
    left -= static_cast<size_t>(written);
  }
}

// Only write(2) and no lock that the dying thread may hold: this runs from
// signal handlers and the sanitizer's death callback.
void PrintRecentUnlocked(const char* why) {
  if (printed.exchange(true)) return;
  std::string text = std::string("\nqv70-monkey: ") + why + "; the last steps were:\n";
  const bool locked = kept.mutex.try_lock();
  for (const std::string& line : kept.recent) text += "  " + line + "\n";
  if (locked) kept.mutex.unlock();
  WriteAll(STDERR_FILENO, text);
}

void OnDeadlySignal(int signal) {
  PrintRecentUnlocked(strsignal(signal));
  std::signal(signal, SIG_DFL);
  raise(signal);
}

#if defined(__SANITIZE_ADDRESS__)
void OnSanitizerDeath() { PrintRecentUnlocked("a sanitizer report"); }
#endif

void InstallDeathPaths() {
  std::signal(SIGABRT, OnDeadlySignal);
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizers catch the faults themselves and then call back.
  __sanitizer_set_death_callback(OnSanitizerDeath);
#else
  for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) std::signal(signal, OnDeadlySignal);
#endif
}

}  // namespace

void Open(const std::string& path) {
  {
    std::lock_guard<std::mutex> lock(kept.mutex);
    kept.file = std::fopen(path.c_str(), "w");
  }
  InstallDeathPaths();
  Beat();
}

void Begin(long number, const std::string& text) {
  Beat();
  Keep("#" + std::to_string(number) + " " + text);
}

void Note(const std::string& text) { Keep("    " + text); }

void Beat() { lastBeatMs = NowMs(); }

void PrintRecent(const char* why) { PrintRecentUnlocked(why); }

void StartWatchdog(int seconds) {
  Beat();
  watching = true;
  watchdog = std::thread([seconds] {
    while (watching) {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      if (watching && NowMs() - lastBeatMs > seconds * 1000LL) {
        PrintRecentUnlocked(("a hang: the event loop has not run for " + std::to_string(seconds) + " s").c_str());
        _exit(3);
      }
    }
  });
}

void StopWatchdog() {
  watching = false;
  if (watchdog.joinable()) watchdog.join();
}

}  // namespace qv70::monkey::step_log
