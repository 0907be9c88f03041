// qv70-sim: the simulated instrument on a Unix socket. Everything but the
// process set-up lives in the qv70sim_model library.

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/platform/environment.h"
#include "demo_memory.h"
#include "instrument.h"
#include "load_memory.h"
#include "sim_link.h"
#include "sim_options.h"
#include "sim_server.h"

namespace {

int stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
  char byte = 1;
  (void)!write(stopPipe[1], &byte, 1);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "qv70-sim: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qv70::sim;
  SimOptions options;
  std::string error;
  if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "qv70-sim: %s\n%s", error.c_str(), SimUsage().c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(SimUsage().c_str(), stdout);
    return 0;
  }
  std::string socketPath = options.socketPath;
  if (socketPath.empty()) {
    qv70::usbsgl::DefaultSocket socket = qv70::usbsgl::DefaultSimSocket(!options.printSocket);
    if (!socket.problem.empty()) return Fail("no default socket: " + socket.problem + " (or name one with --socket)");
    socketPath = socket.path;
  }
  if (options.printSocket) {
    std::printf("%s\n", socketPath.c_str());
    return 0;
  }

  InstrumentMemory memory;
  if (options.demo) memory = BuildDemoMemory(options.seed);
  if (!options.loadPath.empty() && !LoadMemoryFromFile(options.loadPath, memory, error)) return Fail(error);
  if (options.idn) memory.idn = *options.idn;
  if (options.serial) memory.serial = *options.serial;

  qv70::SystemClock clock;
  Instrument instrument(std::move(memory), clock, options.seed);
  for (const Fault& fault : options.faults) instrument.AddFault(fault);
  instrument.SetDripInterval(options.dripIntervalMs);

  std::FILE* log = nullptr;
  if (!options.logPath.empty()) {
    log = std::fopen(options.logPath.c_str(), "w");
    if (log == nullptr) return Fail("cannot write the log file " + options.logPath);
  }

  if (pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return Fail("cannot create a pipe");
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  int status = 0;
  {
    SimServer server(instrument, socketPath, log, !options.noAccept);
    if (!server.Start(error)) {
      status = Fail(error);
    } else {
      std::printf("qv70-sim: listening on %s%s%s\n", socketPath.c_str(),
                  instrument.Present() ? "" : " (no instrument attached)",
                  options.noAccept ? " (never accepting)" : "");
      std::fflush(stdout);
      server.Run(stopPipe[0]);
    }
  }  // the server removes its socket here
  if (log != nullptr) std::fclose(log);
  return status;
}
