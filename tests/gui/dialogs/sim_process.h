#pragma once

#include <QApplication>
#include <chrono>
#include <csignal>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace qv70::testing {

// The dialogs need a QApplication; one for the whole test program.
inline void EnsureApplication() {
  if (QApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "test_dialogs";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
}

inline std::string BinDir() { return QV70_BIN_DIR; }
inline std::string SimPath() { return BinDir() + "/qv70-sim"; }
inline bool SimBuilt() {
  return access(SimPath().c_str(), X_OK) == 0 &&
         access((BinDir() + "/libZvUsbSgl.so").c_str(), R_OK) == 0;
}

// The instrument simulator on a private socket, logging every command it
// receives; the instrument library finds it through QV70_SIM_SOCKET.
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> extraArguments) {
    socket_ = dir_.File("sim.sock");
    log_ = dir_.File("commands.log");
    std::vector<std::string> arguments = {SimPath(), "--socket", socket_, "--log", log_};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    pid_ = fork();
    if (pid_ == 0) {
      std::vector<char*> argv;
      for (auto& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    struct stat info {};
    for (int i = 0; i < 500 && stat(socket_.c_str(), &info) != 0; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    setenv("QV70_SIM_SOCKET", socket_.c_str(), 1);
  }
  ~SimProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
    unsetenv("QV70_SIM_SOCKET");
  }
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Running() const {
    struct stat info {};
    return pid_ > 0 && stat(socket_.c_str(), &info) == 0;
  }
  // Every command received so far, one per entry, without its line feed.
  std::vector<std::string> Commands() const {
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  // The commands received from `from` on.
  std::vector<std::string> CommandsFrom(size_t from) const {
    auto all = Commands();
    return from < all.size() ? std::vector<std::string>(all.begin() + from, all.end())
                             : std::vector<std::string>{};
  }

 private:
  TempDir dir_;
  std::string socket_;
  std::string log_;
  pid_t pid_ = -1;
};

}  // namespace qv70::testing

#define QV70_REQUIRE_SIM()                                                             \
  do {                                                                                 \
    if (!::qv70::testing::SimBuilt())                                                  \
      GTEST_SKIP() << "qv70-sim or libZvUsbSgl.so not built yet in " QV70_BIN_DIR;     \
  } while (0)
