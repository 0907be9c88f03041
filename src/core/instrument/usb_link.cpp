#include "core/instrument/usb_link.h"

#include <cstring>

#include "core/instrument/messages.h"
#include "core/platform/ui_services.h"

namespace qv70 {

namespace {
using namespace instrument_message;
constexpr std::uint32_t kChunkSize = 64;
// An instrument that never stops sending must not keep the link reading for
// ever once its reply has already overflowed; what is left is abandoned.
constexpr long kDrainLimit = 1 << 20;
}  // namespace

UsbLink::UsbLink(UsbDriver& driver, UiServices& ui) : driver_(driver), ui_(ui) {}

UsbLink::~UsbLink() = default;

int UsbLink::CheckInstrument() {
  if (driver_.Acquire()) {
    std::optional<int> result = driver_.CheckDevices(scratch_);
    if (result && *result == 1) return 1;
    driver_.Release();
  }
  ui_.ShowMessage(kNoInstrument, kWarningCaption, MessageButtons::Ok, MessageIcon::Warning);
  return 0;
}

int UsbLink::OpenPipes() {
  // Reopening without a close in between would lose the old descriptors.
  ClosePipes();
  if (driver_.Acquire()) {
    std::optional<int> write = driver_.OpenPipe(0);
    std::optional<int> read = write ? driver_.OpenPipe(1) : std::nullopt;
    if (write && read && *write != kInvalidPipe && *read != kInvalidPipe) {
      writePipe_ = *write;
      readPipe_ = *read;
      return 1;
    }
    if (write && *write != kInvalidPipe) driver_.Close(*write);
    if (read && *read != kInvalidPipe) driver_.Close(*read);
    driver_.Release();
  }
  ui_.ShowMessage(kEquipmentUnusual, kWarningCaption, MessageButtons::Ok, MessageIcon::Warning);
  return 0;
}

void UsbLink::Transact(const char* command, int length, char* reply) {
  std::memset(reply, 0, kReplyBufferSize);
  lastWritten_ = driver_.Write(writePipe_, command, length > 0 ? static_cast<std::size_t>(length) : 0);

  replyLength_ = 0;
  chunkLength_ = kChunkSize;
  totalReceived_ = 0;
  overflowed_ = false;
  char chunk[kChunkSize];
  while (chunkLength_ != 0) {
    long got = driver_.Read(readPipe_, chunk, kChunkSize);
    if (got < 0) got = 0;  // a failed read ends the reply like an empty one
    if (got > static_cast<long>(kChunkSize)) got = kChunkSize;
    chunkLength_ = static_cast<std::uint32_t>(got);
    totalReceived_ += got;
    if (!overflowed_) {
      if (static_cast<std::size_t>(replyLength_) + chunkLength_ < kReplyBufferSize) {
        std::memcpy(reply + replyLength_, chunk, chunkLength_);
        replyLength_ += static_cast<std::int32_t>(chunkLength_);
      } else {
        overflowed_ = true;
      }
    }
    if (overflowed_ && totalReceived_ > kDrainLimit) break;
  }
  // A reply cut short would be parsed as if it were whole; an empty reply is
  // the one failure every caller already handles.
  if (overflowed_) replyLength_ = 0;
  reply[replyLength_] = '\0';
}

void UsbLink::ClosePipes() {
  if (writePipe_ != kInvalidPipe) driver_.Close(writePipe_);
  if (readPipe_ != kInvalidPipe && readPipe_ != writePipe_) driver_.Close(readPipe_);
  writePipe_ = kInvalidPipe;
  readPipe_ = kInvalidPipe;
}

}  // namespace qv70
