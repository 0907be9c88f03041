// libZvUsbSgl.so: the instrument library the program loads at run time. It
// exports exactly CheckUSBDevices and OpenUSBBulkFile (see exports.map) and
// writes nothing to the program's standard streams, but for one line on
// standard error when its configuration file is damaged.
//
// Back end choice, made at every call:
//  1. QV70_SIM_SOCKET set and not empty: the simulator on that socket;
//  2. the simulator's default socket exists and accepts a connection: the simulator;
//  3. otherwise USB through libusb, configured by ZvUsbSgl.conf beside the library.
// The read time-out (read_timeout_ms of the configuration, default 5 s) applies
// to both back ends; ZVUSBSGL_READ_TIMEOUT_MS overrides it and ZVUSBSGL_CONF
// names another configuration file.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <unistd.h>

#include "sim_link.h"
#include "usb_backend.h"
#include "usb_config.h"

#define ZVUSBSGL_EXPORT extern "C" __attribute__((visibility("default")))

ZVUSBSGL_EXPORT int CheckUSBDevices(void* scratch);
ZVUSBSGL_EXPORT int OpenUSBBulkFile(int pipe);

namespace qv70::usbsgl {
namespace {

// How long the simulator may take to answer a control message.
constexpr int kControlTimeoutMs = 2000;

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
  int timeoutMs = 5000;
};

Choice Choose() {
  Choice choice;
  const char* confOverride = std::getenv("ZVUSBSGL_CONF");
  std::string confPath = confOverride != nullptr && confOverride[0] != '\0'
                             ? std::string(confOverride)
                             : LibraryDirectory() + "/ZvUsbSgl.conf";
  ConfigResult loaded = LoadUsbConfig(confPath);
  if (!loaded.damage.empty()) TellDamagedConfig(loaded.damage);
  choice.usb = loaded.config;
  choice.timeoutMs = choice.usb.readTimeoutMs;
  if (const char* timeout = std::getenv("ZVUSBSGL_READ_TIMEOUT_MS")) {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(timeout, &end, 10);
    if (errno == 0 && end != timeout && *end == '\0' && value > 0 && value <= INT_MAX)
      choice.timeoutMs = static_cast<int>(value);
  }
  const char* socketPath = std::getenv(kSimSocketVariable);
  if (socketPath != nullptr && socketPath[0] != '\0') {
    choice.simulator = true;
    choice.socketNamed = true;
    choice.socketPath = socketPath;
  } else if (std::string defaultPath = DefaultSimSocketPath(); IsSocketFile(defaultPath)) {
    choice.simulator = true;
    choice.socketPath = defaultPath;
  }
  return choice;
}

// A connection to the simulator that has answered `message`; -1 when nothing
// listens there. `answer` tells what the simulator said.
int SimConnection(const std::string& path, std::string_view message, SimAnswer& answer) {
  answer = SimAnswer::NoAnswer;
  int fd = ConnectSeqpacket(path);
  if (fd < 0) return -1;
  answer = ExchangeControl(fd, message, kControlTimeoutMs);
  return fd;
}

int CheckDevices() {
  Choice choice = Choose();
  if (choice.simulator) {
    SimAnswer answer;
    int fd = SimConnection(choice.socketPath, kProbeMessage, answer);
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

int OpenConnection() {
  Choice choice = Choose();
  if (choice.simulator) {
    SimAnswer answer;
    int fd = SimConnection(choice.socketPath, kOpenMessage, answer);
    if (fd >= 0) {
      if (answer == SimAnswer::Ready) {
        SetSocketTimeouts(fd, choice.timeoutMs);
        return fd;
      }
      close(fd);
      return -1;
    }
    if (choice.socketNamed) return -1;  // as for the presence check
  }
  return OpenUsbConnection(choice.usb, choice.timeoutMs);
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
