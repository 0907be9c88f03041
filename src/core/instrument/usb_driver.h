#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/platform/spinning_poll.h"

namespace qv70 {

// File name of the instrument library; it is loaded from the program's own
// directory by full path, never through the library search path.
constexpr const char* kUsbLibraryName = "libZvUsbSgl.so";

// The platform's invalid pipe handle (all bits set).
constexpr int kInvalidPipe = -1;

// The seam between UsbLink and the run-time loaded instrument library with the
// descriptors it hands out. UsbLink decides when to load and release the library
// and which messages to show; a driver only does what it is told and reports
// failures as return values. Owned by whoever creates the UsbLink.
class UsbDriver {
 public:
  virtual ~UsbDriver() = default;

  // Takes one reference on the library (loading it on first use). False when the
  // library cannot be loaded; no reference is held then.
  virtual bool Acquire() = 0;
  // Gives back one reference taken by a successful Acquire.
  virtual void Release() = 0;

  // Calls the library's presence check with `scratch`; nothing when the library
  // is not loaded or has no such export. 1 means an instrument is attached.
  virtual std::optional<int> CheckDevices(void* scratch) = 0;
  // Opens pipe 0 (to the instrument) or 1 (from it); nothing when the export is
  // missing, kInvalidPipe when the library could not open it.
  virtual std::optional<int> OpenPipe(int pipe) = 0;

  // One whole-buffer write; the byte count written or -1.
  virtual long Write(int pipe, const char* data, std::size_t length) = 0;
  // One read of at most `capacity` bytes; 0 once the reply is complete. A read
  // that fails or does not return within the driver's time-out gives 0 as well,
  // so a silent instrument ends the reply instead of blocking for ever.
  virtual long Read(int pipe, char* buffer, std::size_t capacity) = 0;
  virtual void Close(int pipe) = 0;
};

// The real driver: dlopen of `libraryPath` (a full path) and the descriptors the
// library returns, used with write, read and close. A descriptor that carries
// its own receive time-out (the library sets one: its exchange deadline, by
// which a whole reply or none has come, and a margin) is read directly so that
// time-out governs; any other descriptor is waited on for
// at most `readTimeoutMs` (negative: for ever), so no read blocks for ever.
class DlopenUsbDriver : public UsbDriver {
 public:
  static constexpr int kDefaultReadTimeoutMs = 5000;

  explicit DlopenUsbDriver(std::string libraryPath, int readTimeoutMs = kDefaultReadTimeoutMs);
  // The library beside the running executable.
  static std::string DefaultLibraryPath();
  // Drops every reference this driver still holds.
  ~DlopenUsbDriver() override;

  bool Acquire() override;
  void Release() override;
  std::optional<int> CheckDevices(void* scratch) override;
  std::optional<int> OpenPipe(int pipe) override;
  long Write(int pipe, const char* data, std::size_t length) override;
  long Read(int pipe, char* buffer, std::size_t capacity) override;
  void Close(int pipe) override;

  int References() const { return references_; }
  // dlerror() of the last failed load, for diagnostics.
  const std::string& LoadError() const { return loadError_; }

 private:
  std::string libraryPath_;
  int readTimeoutMs_;
  void* handle_ = nullptr;
  int references_ = 0;
  std::string loadError_;
  // Whether the last descriptor read has a receive time-out of its own.
  int timedPipe_ = kInvalidPipe;
  bool timedPipeHasTimeout_ = false;
  // Reads look again briefly before they sleep (see spinning_poll.h).
  static constexpr int kReadSpinMicroseconds = 50;
  SpinningPoll readWaits_{kReadSpinMicroseconds};
};

}  // namespace qv70
