// libZvUsbSgl.so: the instrument library the program loads at run time. It
// exports exactly CheckUSBDevices and OpenUSBBulkFile (see exports.map) and
// writes nothing to the program's standard streams, but for one line on
// standard error when its configuration file is damaged.
//
// Back end choice, made at every call:
//  1. QV70_SIM_SOCKET set and not empty: the simulator on that socket;
//  2. the simulator's default socket exists and accepts a connection: the simulator;
//  3. otherwise USB through libusb, configured by ZvUsbSgl.conf beside the library.
// The read time-out (read_timeout_ms of the configuration, default 5 s) and the
// exchange deadline (exchange_timeout_ms, default 6 read time-outs) apply to
// both back ends, whose replies reach the program whole or not at all (see
// relay.h); ZVUSBSGL_READ_TIMEOUT_MS and ZVUSBSGL_EXCHANGE_TIMEOUT_MS override
// them and ZVUSBSGL_CONF names another configuration file.

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <unistd.h>

#include "relay.h"
#include "sim_link.h"
#include "usb_backend.h"
#include "usb_config.h"

#define ZVUSBSGL_EXPORT extern "C" __attribute__((visibility("default")))

ZVUSBSGL_EXPORT int CheckUSBDevices(void* scratch);
ZVUSBSGL_EXPORT int OpenUSBBulkFile(int pipe);

namespace qv70::usbsgl {
namespace {

std::string LibraryDirectory() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&CheckUSBDevices), &info) == 0 || info.dli_fname == nullptr) return ".";
  std::string path = info.dli_fname;
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// A damaged configuration (a FIFO, a device, a huge or unreadable file) is not
// read and the defaults serve, which match no USB device. The operator is told
// once on standard error, not at every presence check.
void TellDamagedConfig(const std::string& damage) {
  static std::mutex mutex;
  static std::string told;
  std::lock_guard<std::mutex> lock(mutex);
  if (damage == told) return;
  told = damage;
  std::fprintf(stderr, "ZvUsbSgl.conf: %s\n", damage.c_str());
}

struct Choice {
  bool simulator = false;
  // The socket was named by QV70_SIM_SOCKET: no other instrument is asked.
  bool socketNamed = false;
  std::string socketPath;
  UsbConfig usb;
  ExchangeLimits limits;
  // How long connecting to the simulator and its control answer may take.
  int controlTimeoutMs = kControlTimeoutMs;
};

// A whole-text number from 1 to INT_MAX in the environment variable `name`.
bool MillisecondsFromEnvironment(const char* name, int& value) {
  const char* text = std::getenv(name);
  if (text == nullptr) return false;
  char* end = nullptr;
  errno = 0;
  long number = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || number <= 0 || number > INT_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

// The configuration's time-outs, as the environment may override them.
ExchangeLimits LimitsFor(const UsbConfig& usb) {
  ExchangeLimits limits;
  limits.readTimeoutMs = usb.readTimeoutMs;
  MillisecondsFromEnvironment("ZVUSBSGL_READ_TIMEOUT_MS", limits.readTimeoutMs);
  const long long derived = static_cast<long long>(limits.readTimeoutMs) * kExchangeTimeoutFactor;
  limits.exchangeTimeoutMs = usb.exchangeTimeoutMs > 0 ? usb.exchangeTimeoutMs
                                                       : static_cast<int>(std::min<long long>(derived, INT_MAX));
  MillisecondsFromEnvironment("ZVUSBSGL_EXCHANGE_TIMEOUT_MS", limits.exchangeTimeoutMs);
  // A whole reply takes at least as long as one of its reads may.
  limits.exchangeTimeoutMs = std::max(limits.exchangeTimeoutMs, limits.readTimeoutMs);
  return limits;
}

Choice Choose() {
  Choice choice;
  const char* confOverride = std::getenv("ZVUSBSGL_CONF");
  std::string confPath = confOverride != nullptr && confOverride[0] != '\0'
                             ? std::string(confOverride)
                             : LibraryDirectory() + "/ZvUsbSgl.conf";
  ConfigResult loaded = LoadUsbConfig(confPath);
  if (!loaded.damage.empty()) TellDamagedConfig(loaded.damage);
  choice.usb = loaded.config;
  choice.limits = LimitsFor(choice.usb);
  choice.controlTimeoutMs = std::min(kControlTimeoutMs, choice.limits.readTimeoutMs);
  const char* socketPath = std::getenv(kSimSocketVariable);
  if (socketPath != nullptr && socketPath[0] != '\0') {
    choice.simulator = true;
    choice.socketNamed = true;
    choice.socketPath = socketPath;
  } else if (DefaultSocket socket = DefaultSimSocket(false); socket.problem.empty() && IsSocketFile(socket.path)) {
    choice.simulator = true;
    choice.socketPath = socket.path;
  }
  return choice;
}

// A connection to the simulator that has answered `message`; -1 when nothing
// listens there, or nothing to be trusted (see IsOwnSocketFile). `answer`
// tells what the simulator said.
int SimConnection(const Choice& choice, std::string_view message, SimAnswer& answer) {
  answer = SimAnswer::NoAnswer;
  if (!IsOwnSocketFile(choice.socketPath)) return -1;
  int fd = ConnectSeqpacket(choice.socketPath, choice.controlTimeoutMs);
  if (fd < 0) return -1;
  if (!PeerIsTrusted(fd)) {
    close(fd);
    return -1;
  }
  answer = ExchangeControl(fd, message, choice.controlTimeoutMs);
  return fd;
}

int CheckDevices() {
  Choice choice = Choose();
  if (choice.simulator) {
    SimAnswer answer;
    int fd = SimConnection(choice, kProbeMessage, answer);
    if (fd >= 0) {
      close(fd);
      return answer == SimAnswer::Present ? 1 : 0;
    }
    // A stale default socket (the simulator has gone) falls through to USB;
    // a socket named explicitly is the only instrument asked.
    if (choice.socketNamed) return 0;
  }
  return UsbDevicePresent(choice.usb) ? 1 : 0;
}

// The program's reads wait for a whole reply, which the relay delivers (or
// gives up on) within the exchange deadline; a margin covers the hand-over.
int ProgramEnd(int fd, const ExchangeLimits& limits) {
  if (fd >= 0) SetSocketTimeouts(fd, static_cast<int>(std::min(limits.exchangeTimeoutMs + 1000LL, 1LL * INT_MAX)));
  return fd;
}

int OpenConnection() {
  Choice choice = Choose();
  if (choice.simulator) {
    WaitForSimRelaysToEnd(choice.controlTimeoutMs);
    SimAnswer answer;
    int fd = SimConnection(choice, kOpenMessage, answer);
    if (fd >= 0) {
      if (answer != SimAnswer::Ready) {
        close(fd);
        return -1;
      }
      return ProgramEnd(StartSimRelay(fd, choice.limits), choice.limits);
    }
    if (choice.socketNamed) return -1;  // as for the presence check
  }
  return ProgramEnd(OpenUsbConnection(choice.usb, choice.limits), choice.limits);
}

// The two pipes are one connection: the first OpenUSBBulkFile of a pair makes
// it, the call for the other pipe gets a duplicate. The library keeps that
// duplicate only between the two calls, so once the program has closed both
// descriptors the connection is gone. Asking for the same pipe twice starts a
// new connection. A SOCK_SEQPACKET write to a peer that has gone fails with
// EPIPE and raises no SIGPIPE, so an instrument that vanishes never ends the
// program.
std::mutex pairingMutex;
int partnerFd = -1;
int partnerPipe = -1;

int OpenPipe(int pipe) {
  std::lock_guard<std::mutex> lock(pairingMutex);
  if (partnerFd >= 0 && partnerPipe == pipe) {
    int fd = partnerFd;
    partnerFd = -1;
    partnerPipe = -1;
    return fd;
  }
  if (partnerFd >= 0) {
    close(partnerFd);
    partnerFd = -1;
    partnerPipe = -1;
  }
  int fd = OpenConnection();
  if (fd < 0) return -1;
  int partner = fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (partner >= 0) {
    partnerFd = partner;
    partnerPipe = 1 - pipe;
  }
  return fd;
}

}  // namespace
}  // namespace qv70::usbsgl

ZVUSBSGL_EXPORT int CheckUSBDevices(void* /*scratch: the program's, never read or written here*/) {
  return qv70::usbsgl::CheckDevices();
}

ZVUSBSGL_EXPORT int OpenUSBBulkFile(int pipe) {
  if (pipe != 0 && pipe != 1) return -1;
  return qv70::usbsgl::OpenPipe(pipe);
}
