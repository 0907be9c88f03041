#pragma once

#include <csignal>
#include <string>
#include <sys/types.h>
#include <vector>

#include "support/scoped_environment.h"
#include "support/temp_dir.h"

// Running the built qv70-sim for a test or a benchmark, and talking to it over
// its socket as a plain client.
namespace qv70::test {

// A file of the build's bin folder, where the programs and the library lie.
std::string BinPath(const std::string& name);
std::string SimBinary();
std::string LibraryPath();
// Why the simulator cannot be used here (qv70-sim or the library not built),
// or empty when it can.
std::string SimMissing();

enum class SimSocket {
  Private,  // a socket in the process's own folder, named to the library by QV70_SIM_SOCKET
  Default,  // the simulator's default socket; the environment is left alone
};

// One qv70-sim process. Its command log, its output and (unless the arguments
// name another) its socket live in a folder of its own, removed with it.
class SimProcess {
 public:
  SimProcess() = default;
  // Stops the simulator and puts QV70_SIM_SOCKET back as it was.
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  // Later starts run qv70-sim through `words` (found in PATH), as in
  // {"setpriv", "--reuid=nobody", ...} to run it as another user.
  void SetLauncher(std::vector<std::string> words) { launcher_ = std::move(words); }
  // Runs qv70-sim with `arguments`, adding --socket and --log where the
  // arguments give none. True once it says it is listening; false when it
  // ends or stays silent for 10 s (Output() tells why).
  bool Start(std::vector<std::string> arguments, SimSocket socket = SimSocket::Private);
  // Sends `signal` and waits for the end; the exit status, or -1 when it did
  // not exit normally (or was not running).
  int Stop(int signal = SIGTERM);
  bool Running() const { return pid_ > 0; }

  // Where it listens (for SimSocket::Default, as it said so).
  const std::string& Socket() const { return socket_; }
  // What it wrote to its standard output and error.
  std::string Output() const;
  // Every command it received so far, one per entry, without its line feed.
  std::vector<std::string> Log() const;
  // The commands received after the first `skip` ones.
  std::vector<std::string> LogAfter(size_t skip) const;

 private:
  TempDir dir_;
  std::vector<std::string> launcher_;
  pid_t pid_ = -1;
  std::string socket_;
  std::string log_;
  ScopedEnvironment environment_;
};

// Runs qv70-sim to its end (for refusals and --print-socket), for at most 5 s;
// its exit status (-1 when killed) and everything it wrote.
int RunSimToEnd(const std::vector<std::string>& arguments, std::string& output);

// A plain client on the simulator's socket, as a test's own pipes.
class RawClient {
 public:
  explicit RawClient(const std::string& socketPath);
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool Connected() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  void Send(const std::string& bytes);
  // Reads packets until the empty one (included) or until `timeoutMs` passes
  // without data; `complete` says whether the empty packet came.
  std::vector<std::string> ReadPackets(int timeoutMs, bool* complete = nullptr);
  // Send(command + "\n"), then the packets joined; empty when incomplete.
  std::string Ask(const std::string& command, int timeoutMs = 3000);

 private:
  int fd_ = -1;
};

}  // namespace qv70::test

#define QV70_REQUIRE_SIM()                                                      \
  do {                                                                          \
    const std::string qv70MissingForSim = ::qv70::test::SimMissing();           \
    if (!qv70MissingForSim.empty()) GTEST_SKIP() << qv70MissingForSim;          \
  } while (0)
