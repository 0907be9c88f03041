#pragma once

// Runs the instrument simulator from the build's bin folder on a private
// socket for one test, and reads back its command log.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/environment.h"

namespace qv70 {

inline std::string BinPath(const std::string& name) { return JoinPath(QV70_BIN_DIR, name); }

// Why the end-to-end tests cannot run here, or empty when they can.
inline std::string EndToEndMissing() {
  for (const char* tool : {"qv70-sim", "libZvUsbSgl.so"}) {
    if (!FileExists(BinPath(tool))) return std::string(tool) + " has not been built";
  }
  return {};
}

class SimProcess {
 public:
  SimProcess() {
    static int serial = 0;
    const std::string stem = "/tmp/qv70-instrument-test-" + std::to_string(getpid()) + "-" +
                             std::to_string(++serial);
    socket_ = stem + ".sock";
    log_ = stem + ".log";
  }
  ~SimProcess() { Stop(); }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Starts the simulator with `arguments` and points the library at it.
  bool Start(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {BinPath("qv70-sim"), "--socket", socket_, "--log", log_};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::remove(socket_.c_str());
    std::remove(log_.c_str());
    pid_ = fork();
    if (pid_ == 0) {
      std::vector<char*> argv;
      for (std::string& word : words) argv.push_back(word.data());
      argv.push_back(nullptr);
      std::freopen("/dev/null", "w", stdout);
      std::freopen("/dev/null", "w", stderr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    if (pid_ < 0) return false;
    setenv("QV70_SIM_SOCKET", socket_.c_str(), 1);
    for (int i = 0; i < 500; ++i) {
      if (FileExists(socket_)) return true;
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  void Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
      pid_ = -1;
    }
    std::remove(socket_.c_str());
  }

  // Every command the simulator received so far, one per entry.
  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The commands received after the first `skip` ones.
  std::vector<std::string> LogAfter(size_t skip) const {
    std::vector<std::string> lines = Log();
    lines.erase(lines.begin(), lines.begin() + std::min(skip, lines.size()));
    return lines;
  }

  const std::string& Socket() const { return socket_; }

 private:
  pid_t pid_ = -1;
  std::string socket_;
  std::string log_;
};

}  // namespace qv70
