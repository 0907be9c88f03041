#pragma once

#include <cstddef>
#include <cstdint>

#include "core/instrument/usb_driver.h"

namespace qv70 {

class UiServices;

// Size of every reply buffer handed to UsbLink::Transact: 9999 characters and the NUL.
constexpr std::size_t kReplyBufferSize = 10000;
// Commands are copied into a buffer of at least this size; the clock command is
// the longest at 31 characters.
constexpr std::size_t kCommandBufferSize = 32;

// All traffic with the instrument. Owned by one dialog (or job user) for its whole
// life; the driver and the UiServices are borrowed and must outlive it.
//
// Calling order: CheckInstrument, OpenPipes, one or more Transact, ClosePipes.
// CheckInstrument and OpenPipes report their own failure to the operator through
// UiServices (caption "Warning", warning icon) and return 0; the caller adds no
// message. Transact reports failure only as an empty reply. Every operation
// blocks the calling thread.
//
// Library references: a successful check or open keeps the reference it took
// (the library stays loaded for the life of the driver); a failed one gives it back.
class UsbLink {
 public:
  UsbLink(UsbDriver& driver, UiServices& ui);
  // Does not touch the pipes: the user closes them when its work ends.
  virtual ~UsbLink();
  UsbLink(const UsbLink&) = delete;
  UsbLink& operator=(const UsbLink&) = delete;

  // 1 when an instrument is attached; otherwise "No instrument have been detected!" and 0.
  int CheckInstrument();
  // 1 when both pipes are open; otherwise "The equipment is unusual,Please restart
  // the equipment(QV70)." and 0. Both pipes are always asked for; a pipe that did
  // open while its partner failed is closed again so no descriptor leaks.
  int OpenPipes();
  // Writes the `length` bytes of `command` in one write and reads the reply in
  // chunks of up to 64 bytes until a read delivers nothing, then NUL-terminates it
  // in `reply` (kReplyBufferSize bytes, cleared first). A reply that does not fit
  // in 9999 characters is drained from the pipe and then treated as a failed
  // exchange: `reply` is left empty and nothing is written past the buffer.
  void Transact(const char* command, int length, char* reply);
  // Closes the write pipe, then the read pipe; a pipe already closed is skipped,
  // so calling it twice is harmless.
  void ClosePipes();

  bool PipesOpen() const { return writePipe_ != kInvalidPipe && readPipe_ != kInvalidPipe; }
  // True when the last Transact dropped an over-long reply.
  bool LastReplyOverflowed() const { return overflowed_; }
  // Bytes the last Transact received (over-long replies included).
  long LastReplyBytes() const { return totalReceived_; }

 private:
  UsbDriver& driver_;
  UiServices& ui_;
  unsigned char scratch_[64] = {};
  int writePipe_ = kInvalidPipe;
  int readPipe_ = kInvalidPipe;
  long lastWritten_ = 0;
  std::int32_t replyLength_ = 0;
  std::uint32_t chunkLength_ = 0;
  long totalReceived_ = 0;
  bool overflowed_ = false;
};

}  // namespace qv70
