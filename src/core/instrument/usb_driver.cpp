#include "core/instrument/usb_driver.h"

#include <dlfcn.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/platform/environment.h"

namespace qv70 {

namespace {
using CheckFunction = int (*)(void*);
using OpenFunction = int (*)(int);
}  // namespace

DlopenUsbDriver::DlopenUsbDriver(std::string libraryPath, int readTimeoutMs)
    : libraryPath_(std::move(libraryPath)), readTimeoutMs_(readTimeoutMs) {}

std::string DlopenUsbDriver::DefaultLibraryPath() {
  return JoinPath(ExecutableDirectory(), kUsbLibraryName);
}

DlopenUsbDriver::~DlopenUsbDriver() {
  while (references_ > 0) Release();
}

bool DlopenUsbDriver::Acquire() {
  // A bare file name would make dlopen search the library path; only a path
  // with a slash names exactly one file.
  if (libraryPath_.find('/') == std::string::npos) {
    loadError_ = libraryPath_ + ": not a full path";
    return false;
  }
  void* handle = dlopen(libraryPath_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* error = dlerror();
    loadError_ = error != nullptr ? error : "cannot load " + libraryPath_;
    return false;
  }
  handle_ = handle;
  ++references_;
  return true;
}

void DlopenUsbDriver::Release() {
  if (references_ <= 0 || handle_ == nullptr) return;
  dlclose(handle_);
  if (--references_ == 0) handle_ = nullptr;
}

std::optional<int> DlopenUsbDriver::CheckDevices(void* scratch) {
  if (handle_ == nullptr) return std::nullopt;
  auto check = reinterpret_cast<CheckFunction>(dlsym(handle_, "CheckUSBDevices"));
  if (check == nullptr) return std::nullopt;
  return check(scratch);
}

std::optional<int> DlopenUsbDriver::OpenPipe(int pipe) {
  if (handle_ == nullptr) return std::nullopt;
  auto open = reinterpret_cast<OpenFunction>(dlsym(handle_, "OpenUSBBulkFile"));
  if (open == nullptr) return std::nullopt;
  int descriptor = open(pipe);
  return descriptor < 0 ? kInvalidPipe : descriptor;
}

long DlopenUsbDriver::Write(int pipe, const char* data, std::size_t length) {
  ssize_t written;
  do {
    written = ::write(pipe, data, length);
  } while (written < 0 && errno == EINTR);
  return static_cast<long>(written);
}

long DlopenUsbDriver::Read(int pipe, char* buffer, std::size_t capacity) {
  if (pipe != timedPipe_) {
    timeval limit{};
    socklen_t size = sizeof limit;
    timedPipe_ = pipe;
    timedPipeHasTimeout_ = getsockopt(pipe, SOL_SOCKET, SO_RCVTIMEO, &limit, &size) == 0 &&
                           (limit.tv_sec != 0 || limit.tv_usec != 0);
  }
  pollfd entry{pipe, POLLIN, 0};
  if (!timedPipeHasTimeout_ && readTimeoutMs_ >= 0) {
    int ready;
    do {
      ready = readWaits_.Poll(&entry, 1, readTimeoutMs_);
    } while (ready < 0 && errno == EINTR);
    // Nothing within the time-out, or an error: the reply ends here.
    if (ready <= 0) return 0;
  } else {
    // The reply's packets follow the command within microseconds: the read
    // below then finds one without sleeping. Its own time-out still governs.
    readWaits_.Spin(&entry, 1);
  }
  ssize_t got;
  do {
    got = ::read(pipe, buffer, capacity);
  } while (got < 0 && errno == EINTR);
  // A failed or timed-out read ends the reply like an empty one.
  return got < 0 ? 0 : static_cast<long>(got);
}

void DlopenUsbDriver::Close(int pipe) {
  if (pipe == timedPipe_) timedPipe_ = kInvalidPipe;
  ::close(pipe);
}

}  // namespace qv70
