#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Running the built qv70-sim and talking to it over its socket, for the tests.
namespace qv70::simtest {

// A fresh directory under /tmp (short, so socket paths fit); removed by the destructor.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);

std::string SimBinary();
std::string LibraryPath();

// One qv70-sim process. Start waits until its socket accepts connections.
class SimProcess {
 public:
  ~SimProcess();
  // Runs qv70-sim with `arguments`, its output going to `outputPath`.
  bool Start(const std::vector<std::string>& arguments, const std::string& socketPath,
             const std::string& outputPath);
  // SIGTERM (or `signal`) and the exit status; -1 when it did not exit normally.
  int Stop(int signal = 15);
  bool Running() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

// Runs qv70-sim to its end (for refusals); its exit status and its output.
int RunSimToEnd(const std::vector<std::string>& arguments, std::string& output);

// A plain client on the simulator's socket, as a test's own pipes.
class RawClient {
 public:
  explicit RawClient(const std::string& socketPath);
  ~RawClient();
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

}  // namespace qv70::simtest
