// A full download of the demo instrument (10 groups of 10 records, 10 logging
// sets of 360 samples, the four information queries) through libZvUsbSgl.so
// and qv70-sim, against the same bytes exchanged over a raw socket pair served
// by a thread. qv70-sim and the library are found beside this program.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "ratio_reporter.h"
#include "support/sim_process.h"

namespace {

std::vector<std::string> DownloadCommands() {
  std::vector<std::string> commands{":MEM:DATA? COUNT\n"};
  for (char letter : std::string("ABCDEFHJNP"))
    for (int r = 0; r < 10; ++r) commands.push_back(std::string(":MEM:DATA? ") + letter + std::to_string(r) + "\n");
  for (int s = 0; s < 10; ++s) commands.push_back(":MEM:DATA? L" + std::to_string(s) + "\n");
  for (const char* info : {"*IDN?\n", ":SERIAL?\n", ":SET:PI?\n", ":SET:STEP?\n"}) commands.push_back(info);
  return commands;
}

// One exchange as the program makes it; the reply's length.
size_t Exchange(int writeFd, int readFd, const std::string& command, std::string* reply = nullptr) {
  (void)!write(writeFd, command.data(), command.size());
  size_t total = 0;
  char chunk[64];
  for (;;) {
    ssize_t got = read(readFd, chunk, sizeof(chunk));
    if (got <= 0) return total;
    if (reply != nullptr) reply->append(chunk, static_cast<size_t>(got));
    total += static_cast<size_t>(got);
  }
}

// The demo simulator and the library, loaded once for the whole program.
struct Simulator {
  qv70::test::SimProcess process;
  void* library = nullptr;
  int (*check)(void*) = nullptr;
  int (*open)(int) = nullptr;

  Simulator() {
    if (!qv70::test::SimMissing().empty() || !process.Start({"--demo"})) return;
    library = dlopen(qv70::test::LibraryPath().c_str(), RTLD_NOW);
    if (library != nullptr) {
      check = reinterpret_cast<int (*)(void*)>(dlsym(library, "CheckUSBDevices"));
      open = reinterpret_cast<int (*)(int)>(dlsym(library, "OpenUSBBulkFile"));
    }
  }
  bool Ready() const { return check != nullptr && open != nullptr; }
};

Simulator& Sim() {
  static Simulator simulator;
  return simulator;
}

void BM_DownloadThroughLibraryAndSimulator(benchmark::State& state) {
  Simulator& sim = Sim();
  if (!sim.Ready()) {
    state.SkipWithError("qv70-sim or libZvUsbSgl.so not found beside the benchmark");
    return;
  }
  std::vector<std::string> commands = DownloadCommands();
  size_t bytes = 0;
  for (auto _ : state) {
    if (sim.check(nullptr) != 1) {
      state.SkipWithError("no instrument");
      return;
    }
    int writeFd = sim.open(0), readFd = sim.open(1);
    bytes = 0;
    for (const std::string& command : commands) bytes += Exchange(writeFd, readFd, command);
    close(writeFd);
    close(readFd);
  }
  state.counters["reply_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_DownloadThroughLibraryAndSimulator)->Unit(benchmark::kMillisecond);

// The baseline: the replies recorded once, then served by a thread over a raw
// socket pair in the same packets (64 bytes and an empty one).
void BM_SameBytesOverRawSocketPair(benchmark::State& state) {
  Simulator& sim = Sim();
  if (!sim.Ready()) {
    state.SkipWithError("qv70-sim or libZvUsbSgl.so not found beside the benchmark");
    return;
  }
  std::vector<std::string> commands = DownloadCommands();
  std::vector<std::string> replies(commands.size());
  int writeFd = sim.open(0), readFd = sim.open(1);
  for (size_t i = 0; i < commands.size(); ++i) Exchange(writeFd, readFd, commands[i], &replies[i]);
  close(writeFd);
  close(readFd);

  for (auto _ : state) {
    int pair[2];
    socketpair(AF_UNIX, SOCK_SEQPACKET, 0, pair);
    std::thread server([&] {
      char command[256];
      for (const std::string& reply : replies) {
        if (recv(pair[1], command, sizeof(command), 0) <= 0) return;
        for (size_t offset = 0; offset < reply.size(); offset += 64)
          send(pair[1], reply.data() + offset, std::min<size_t>(64, reply.size() - offset), MSG_NOSIGNAL);
        send(pair[1], nullptr, 0, MSG_NOSIGNAL);
      }
    });
    for (const std::string& command : commands) Exchange(pair[0], pair[0], command);
    server.join();
    close(pair[0]);
    close(pair[1]);
  }
}
BENCHMARK(BM_SameBytesOverRawSocketPair)->Unit(benchmark::kMillisecond);

}  // namespace

QV70_BENCHMARK_MAIN_WITH_RATIOS({"BM_DownloadThroughLibraryAndSimulator", "BM_SameBytesOverRawSocketPair"})
