#include "core/instrument/fake_usb_driver.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace qv70 {

bool FakeUsbDriver::Acquire() {
  calls.push_back("acquire");
  if (!libraryPresent) return false;
  ++references;
  return true;
}

void FakeUsbDriver::Release() {
  calls.push_back("release");
  --references;
}

std::optional<int> FakeUsbDriver::CheckDevices(void* /*scratch*/) {
  calls.push_back("check");
  if (references <= 0 || !hasCheckExport) return std::nullopt;
  return checkResult;
}

std::optional<int> FakeUsbDriver::OpenPipe(int pipe) {
  calls.push_back("open " + std::to_string(pipe));
  if (references <= 0 || !hasOpenExport) return std::nullopt;
  int result = pipe == 0 ? writePipeResult : readPipeResult;
  if (result != kInvalidPipe) ++openPipes;
  return result;
}

long FakeUsbDriver::Write(int pipe, const char* data, std::size_t length) {
  calls.push_back("write " + std::to_string(pipe));
  if (pipe != writePipeResult || pipe == kInvalidPipe) return -1;
  written.emplace_back(data, length);
  pending_ = respond ? respond(written.back()) : std::string();
  pendingOffset_ = 0;
  replyOpen_ = true;
  return static_cast<long>(length);
}

long FakeUsbDriver::Read(int pipe, char* buffer, std::size_t capacity) {
  ++readCalls;
  if (readsFail || pipe != readPipeResult || pipe == kInvalidPipe) return -1;
  if (!replyOpen_) return 0;
  std::size_t size = std::min({capacity, chunkSize, pending_.size() - pendingOffset_});
  std::memcpy(buffer, pending_.data() + pendingOffset_, size);
  pendingOffset_ += size;
  if (size == 0) replyOpen_ = false;
  return static_cast<long>(size);
}

void FakeUsbDriver::Close(int pipe) {
  calls.push_back("close " + std::to_string(pipe));
  --openPipes;
}

void FakeUsbDriver::AnswerFrom(std::vector<std::pair<std::string, std::string>> table,
                               std::string fallback) {
  respond = [table = std::move(table), fallback = std::move(fallback)](const std::string& command) {
    std::string bare = command;
    if (!bare.empty() && bare.back() == '\n') bare.pop_back();
    for (const auto& [asked, answer] : table) {
      if (asked == bare) return answer;
    }
    return fallback;
  };
}

}  // namespace qv70
