#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "instrument_memory.h"

namespace qv70 {
class Clock;
}

namespace qv70::sim {

// Injected faults. Each but Absent acts on the commands that begin with its
// prefix (an empty prefix: every command); the first matching fault wins, and a
// faulted command is not carried out, except under Drip.
enum class FaultKind {
  Silent,   // an empty reply
  Nak,      // "NG"
  Hang,     // no reply at all
  Garbage,  // random bytes
  Drip,     // the true reply, one byte per drip interval
  Reply,    // a given text (and CR LF)
  Absent,   // no instrument attached (the presence check says no)
};

struct Fault {
  FaultKind kind;
  std::string prefix;
  std::string text;  // what Reply answers
};

// "KIND:PREFIX" as given to --fault, "reply:PREFIX=TEXT" for Reply ("absent"
// takes no prefix). False with a message in `error` when the text names no
// fault or lacks its prefix (or Reply its text).
bool ParseFault(const std::string& text, Fault& fault, std::string& error);

struct Reply {
  bool answered = true;  // false: the instrument keeps silent for ever (hang)
  std::string bytes;     // the whole reply; empty: an empty reply
  // Above 0: the reply goes out one byte per this many milliseconds, its
  // empty packet one interval after the last byte.
  int dripIntervalMs = 0;
};

// The simulated instrument: memory, clock, PI times and step interval, and the
// command set. Owns its memory; borrows the clock, which must outlive it.
class Instrument {
 public:
  Instrument(InstrumentMemory memory, const Clock& clock, std::uint64_t seed = 1);

  void AddFault(const Fault& fault);
  // How slowly Drip sends (default one byte a second).
  void SetDripInterval(int milliseconds) { dripIntervalMs_ = milliseconds; }
  // False while the Absent fault is in force.
  bool Present() const { return present_; }

  // One command as received, without its line feed; the reply to send.
  Reply Handle(std::string_view command);

  const InstrumentMemory& Memory() const { return memory_; }
  // The instrument's own clock (set by ":TIME").
  std::tm ClockTime() const;

 private:
  std::string Answer(std::string_view command);
  std::string MemoryReply(std::string_view which);
  bool SetPi(std::string_view arguments);
  bool SetStep(std::string_view arguments);
  bool SetClock(std::string_view arguments);
  std::string Garbage();

  InstrumentMemory memory_;
  const Clock& clock_;
  std::vector<Fault> faults_;
  bool present_ = true;
  int dripIntervalMs_ = 1000;
  // Instrument time minus the computer's local time, in seconds.
  long long clockOffset_ = 0;
  std::uint64_t random_;
};

// The reply forms, shared with the tests.
std::string CountReply(const InstrumentMemory& memory);
std::string RecordReply(const MemorySlot& slot);
std::string LoggingReply(const LoggingMemory& set);

// A reply as the instrument's bulk pipe delivers it: packets of at most 64
// bytes, then one empty packet that ends the reply.
std::vector<std::string> SplitIntoPackets(const std::string& reply);

}  // namespace qv70::sim
