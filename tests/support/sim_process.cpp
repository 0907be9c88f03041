#include "support/sim_process.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "sim_link.h"

namespace qv70::test {

std::string BinPath(const std::string& name) { return std::string(QV70_BIN_DIR) + "/" + name; }
std::string SimBinary() { return BinPath("qv70-sim"); }
std::string LibraryPath() { return BinPath("libZvUsbSgl.so"); }

std::string SimMissing() {
  for (const std::string& tool : {SimBinary(), LibraryPath()}) {
    if (access(tool.c_str(), R_OK) != 0) return tool + " has not been built";
  }
  return {};
}

namespace {

constexpr const char* kListening = "qv70-sim: listening on ";

// qv70-sim with `arguments` (through `launcher` when not empty), its standard
// output and error going to `outputPath`.
pid_t Spawn(const std::vector<std::string>& arguments, const std::string& outputPath,
            const std::vector<std::string>& launcher = {}) {
  std::vector<std::string> all = launcher;
  all.push_back(SimBinary());
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
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

// The value after `option` in `arguments`, or empty.
std::string OptionValue(const std::vector<std::string>& arguments, const std::string& option) {
  for (size_t i = 0; i + 1 < arguments.size(); ++i)
    if (arguments[i] == option) return arguments[i + 1];
  return {};
}

bool Ended(pid_t pid, int& status) { return waitpid(pid, &status, WNOHANG) == pid; }

}  // namespace

SimProcess::~SimProcess() { Stop(); }

bool SimProcess::Start(std::vector<std::string> arguments, SimSocket socket) {
  Stop();
  socket_ = OptionValue(arguments, "--socket");
  if (socket_.empty() && socket == SimSocket::Private) {
    socket_ = dir_.File("sim.sock");
    arguments.insert(arguments.begin(), {"--socket", socket_});
  }
  log_ = OptionValue(arguments, "--log");
  if (log_.empty()) {
    log_ = dir_.File("commands.log");
    arguments.insert(arguments.begin(), {"--log", log_});
  }
  // What an earlier start said must not pass for this one's "listening".
  unlink(dir_.File("output.txt").c_str());
  pid_ = Spawn(arguments, dir_.File("output.txt"), launcher_);
  if (pid_ <= 0) return false;

  // The socket file appears a moment before the simulator accepts; it says
  // when it listens.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    const std::string output = Output();
    const size_t said = output.find(kListening);
    const size_t lineEnd = said == std::string::npos ? said : output.find('\n', said);
    if (lineEnd != std::string::npos) {
      const size_t from = said + std::string(kListening).size();
      const std::string where = output.substr(from, output.find_first_of(" \n", from) - from);
      if (socket == SimSocket::Default) socket_ = where;
      break;
    }
    int status = 0;
    if (Ended(pid_, status)) {
      pid_ = -1;
      return false;
    }
    if (std::chrono::steady_clock::now() > deadline) {
      Stop(SIGKILL);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (socket == SimSocket::Private) environment_.Set(usbsgl::kSimSocketVariable, socket_);
  return true;
}

int SimProcess::Stop(int signal) {
  environment_.Restore();
  if (pid_ <= 0) return -1;
  kill(pid_, signal);
  int status = 0;
  bool ended = false;
  // A simulator that ignores its stop signal must not hold the test for ever.
  for (int waited = 0; waited < 1000 && !ended; ++waited) {
    ended = Ended(pid_, status);
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!ended) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
  }
  pid_ = -1;
  return ended ? ExitStatus(status) : -1;
}

std::string SimProcess::Output() const { return ReadWholeFile(dir_.File("output.txt")); }

std::vector<std::string> SimProcess::Log() const {
  std::vector<std::string> lines;
  std::ifstream in(log_);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> SimProcess::LogAfter(size_t skip) const {
  std::vector<std::string> lines = Log();
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(skip, lines.size())));
  return lines;
}

int RunSimToEnd(const std::vector<std::string>& arguments, std::string& output) {
  TempDir dir;
  const std::string outputPath = dir.File("output.txt");
  pid_t pid = Spawn(arguments, outputPath);
  int status = 0;
  bool ended = false;
  // A simulator that wrongly starts would serve for ever: give it a few seconds.
  for (int waited = 0; waited < 500 && !ended; ++waited) {
    ended = Ended(pid, status);
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  output = ReadWholeFile(outputPath);
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

}  // namespace qv70::test
