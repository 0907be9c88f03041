#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/instrument/usb_driver.h"

namespace qv70 {

// A UsbDriver without a library or an instrument, for tests of the link, the
// jobs and the dialogs: the library's presence, each export, the check result
// and each pipe are set by the test; commands are answered by `respond` and
// delivered in chunks of `chunkSize` bytes followed by an empty read. Every
// call is recorded in `calls` and every write in `written`.
class FakeUsbDriver : public UsbDriver {
 public:
  bool libraryPresent = true;
  bool hasCheckExport = true;
  bool hasOpenExport = true;
  int checkResult = 1;
  int writePipeResult = 3;  // kInvalidPipe makes the open fail
  int readPipeResult = 4;
  std::size_t chunkSize = 64;
  // Every read fails (-1) instead of delivering the reply.
  bool readsFail = false;
  // The reply to each written command (the command as written, line feed included).
  std::function<std::string(const std::string& command)> respond;

  std::vector<std::string> written;
  std::vector<std::string> calls;  // "acquire", "release", "check", "open 0", "close 3", ...
  int references = 0;
  int openPipes = 0;  // pipes opened and not yet closed
  int readCalls = 0;

  bool Acquire() override;
  void Release() override;
  std::optional<int> CheckDevices(void* scratch) override;
  std::optional<int> OpenPipe(int pipe) override;
  long Write(int pipe, const char* data, std::size_t length) override;
  long Read(int pipe, char* buffer, std::size_t capacity) override;
  void Close(int pipe) override;

  // Answers each command from a table (command without its line feed -> reply);
  // commands not in the table get `fallback`.
  void AnswerFrom(std::vector<std::pair<std::string, std::string>> table, std::string fallback = "");

 private:
  std::string pending_;
  std::size_t pendingOffset_ = 0;
  bool replyOpen_ = false;
};

}  // namespace qv70
