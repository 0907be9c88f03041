#pragma once

// Runs the instrument simulator from the build's bin folder on a private
// socket for one test, and reads back its command log.
#include <poll.h>
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

#include "core/platform/environment.h"

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

  // Starts the simulator with `arguments` and points the library at it. Ready
  // once the simulator says it is listening (its socket file appears before
  // it accepts connections).
  bool Start(const std::vector<std::string>& arguments) {
    std::vector<std::string> words = {BinPath("qv70-sim"), "--socket", socket_, "--log", log_};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::remove(socket_.c_str());
    std::remove(log_.c_str());
    int output[2];
    if (pipe(output) != 0) return false;
    pid_ = fork();
    if (pid_ == 0) {
      std::vector<char*> argv;
      for (std::string& word : words) argv.push_back(word.data());
      argv.push_back(nullptr);
      dup2(output[1], STDOUT_FILENO);
      close(output[0]);
      close(output[1]);
      std::freopen("/dev/null", "w", stderr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(output[1]);
    if (pid_ < 0) {
      close(output[0]);
      return false;
    }
    setenv("QV70_SIM_SOCKET", socket_.c_str(), 1);
    std::string said;
    char chunk[256];
    pollfd waiting{output[0], POLLIN, 0};
    while (said.find('\n') == std::string::npos && poll(&waiting, 1, 5000) > 0) {
      ssize_t got = read(output[0], chunk, sizeof chunk);
      if (got <= 0) break;
      said.append(chunk, static_cast<size_t>(got));
    }
    close(output[0]);
    return said.find("listening") != std::string::npos;
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
