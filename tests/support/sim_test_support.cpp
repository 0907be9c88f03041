#include "support/sim_test_support.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "sim_link.h"

namespace qv70::simtest {

TempDir::TempDir() {
  char pattern[] = "/tmp/qv70simXXXXXX";
  char* made = mkdtemp(pattern);
  path_ = made != nullptr ? made : "/tmp";
}

TempDir::~TempDir() {
  if (path_ != "/tmp") std::system(("rm -rf '" + path_ + "'").c_str());
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void WriteWholeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

std::string SimBinary() { return std::string(QV70_BIN_DIR) + "/qv70-sim"; }
std::string LibraryPath() { return std::string(QV70_BIN_DIR) + "/libZvUsbSgl.so"; }

namespace {

pid_t Spawn(const std::vector<std::string>& arguments, const std::string& outputPath) {
  std::vector<std::string> all{SimBinary()};
  all.insert(all.end(), arguments.begin(), arguments.end());
  pid_t pid = fork();
  if (pid == 0) {
    int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    std::vector<char*> argv;
    for (std::string& argument : all) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

}  // namespace

SimProcess::~SimProcess() {
  if (pid_ > 0) Stop(SIGKILL);
}

bool SimProcess::Start(const std::vector<std::string>& arguments, const std::string& socketPath,
                       const std::string& outputPath) {
  pid_ = Spawn(arguments, outputPath);
  if (pid_ <= 0) return false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    int fd = usbsgl::ConnectSeqpacket(socketPath);
    if (fd >= 0) {
      close(fd);
      return true;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

int SimProcess::Stop(int signal) {
  if (pid_ <= 0) return -1;
  kill(pid_, signal);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return ExitStatus(status);
}

int RunSimToEnd(const std::vector<std::string>& arguments, std::string& output) {
  char pattern[] = "/tmp/qv70simoutXXXXXX";
  int fd = mkstemp(pattern);
  if (fd >= 0) close(fd);
  pid_t pid = Spawn(arguments, pattern);
  int status = 0;
  bool ended = false;
  // A simulator that wrongly starts would serve for ever: give it a few seconds.
  for (int waited = 0; waited < 500 && !ended; ++waited) {
    ended = waitpid(pid, &status, WNOHANG) == pid;
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  output = ReadWholeFile(pattern);
  unlink(pattern);
  return ended ? ExitStatus(status) : -1;
}

RawClient::RawClient(const std::string& socketPath) : fd_(usbsgl::ConnectSeqpacket(socketPath)) {}

RawClient::~RawClient() {
  if (fd_ >= 0) close(fd_);
}

void RawClient::Send(const std::string& bytes) {
  if (fd_ >= 0) (void)send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

std::vector<std::string> RawClient::ReadPackets(int timeoutMs, bool* complete) {
  std::vector<std::string> packets;
  if (complete != nullptr) *complete = false;
  for (;;) {
    pollfd waiting{fd_, POLLIN, 0};
    if (poll(&waiting, 1, timeoutMs) <= 0) return packets;
    char buffer[4096];
    ssize_t got = recv(fd_, buffer, sizeof(buffer), 0);
    if (got < 0) return packets;
    packets.emplace_back(buffer, static_cast<size_t>(got));
    if (got == 0) {
      if (complete != nullptr) *complete = true;
      return packets;
    }
  }
}

std::string RawClient::Ask(const std::string& command, int timeoutMs) {
  Send(command + "\n");
  bool complete = false;
  std::vector<std::string> packets = ReadPackets(timeoutMs, &complete);
  std::string reply;
  for (const std::string& packet : packets) reply += packet;
  return complete ? reply : std::string();
}

}  // namespace qv70::simtest
