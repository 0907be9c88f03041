// Reply forms of the simulated instrument. Where the command set leaves the
// exact text open, the simulator sends what the instrument plausibly does:
//  - every reply ends with CR LF; values are separated by "," with no blanks;
//  - "*IDN?": the identification, by default "ZAVEL ,QV70 ,Ver1.00" (fixed-width
//    fields, so the first three joined read "ZAVEL QV70 Ver1.00");
//  - ":SERIAL?": the serial number text;
//  - ":SET:PI?": t1 and t2 as two digits each, "01,10"; ":SET:STEP?": the code,
//    "30", "01", "02" or "05";
//  - ":MEM:DATA? COUNT": the 20 counts;
//  - a memory record: label ("A0"), type code, then the type's values in base
//    units: dates "2009-03-05", times "14:07:09", seconds and volts as whole
//    numbers, temperature and humidity with one decimal, resistances in ohms in
//    exponent form ("5.0e+09"), ratios to three figures; "OF" above the range,
//    "UF" below it and "E" for a value that could not be measured or computed;
//  - a slot without a record: its label alone if it has one, else nothing but
//    the CR LF (both non-empty replies, which the download accepts);
//  - a logging set: the 8 header values, then voltage and resistance of each
//    sample; an over-range resistance goes out as "OF," (the instrument's extra
//    comma that the parser folds away);
//  - set commands: "OK" when carried out, "NG" when refused; an unknown command
//    is answered "NG";
//  - ":TIME?" (not used by the program; lets tests read the clock back):
//    "2009, 03, 05, 14, 07, 09".

#include "instrument.h"

#include <cctype>
#include <cstdio>

#include "core/platform/environment.h"

namespace qv70::sim {
namespace {

constexpr const char* kEnd = "\r\n";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// A whole text of 1 to `maxDigits` decimal digits.
bool ReadDigits(std::string_view text, size_t minDigits, size_t maxDigits, int& value) {
  if (text.size() < minDigits || text.size() > maxDigits) return false;
  value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    size_t comma = text.find(',');
    parts.push_back(TrimBlanks(text.substr(0, comma)));
    if (comma == std::string_view::npos) return parts;
    text.remove_prefix(comma + 1);
  }
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// Seconds since the epoch of a broken-down time read as UTC: local wall-clock
// times compared without daylight-saving jumps.
long long WallSeconds(std::tm when) { return static_cast<long long>(timegm(&when)); }

std::uint64_t NextRandom(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

const char* FaultName(FaultKind kind) {
  switch (kind) {
    case FaultKind::Silent: return "silent";
    case FaultKind::Nak: return "nak";
    case FaultKind::Hang: return "hang";
    case FaultKind::Garbage: return "garbage";
    case FaultKind::Drip: return "drip";
    case FaultKind::Reply: return "reply";
    case FaultKind::Absent: return "absent";
  }
  return "";
}

}  // namespace

bool ParseFault(const std::string& text, Fault& fault, std::string& error) {
  size_t colon = text.find(':');
  std::string kind = text.substr(0, colon);
  bool hasPrefix = colon != std::string::npos;
  std::string prefix = hasPrefix ? text.substr(colon + 1) : std::string();
  for (FaultKind candidate : {FaultKind::Silent, FaultKind::Nak, FaultKind::Hang, FaultKind::Garbage,
                              FaultKind::Drip, FaultKind::Reply, FaultKind::Absent}) {
    if (kind != FaultName(candidate)) continue;
    if (candidate == FaultKind::Absent) {
      if (hasPrefix) {
        error = "the fault \"absent\" takes no command prefix: \"" + text + "\"";
        return false;
      }
    } else if (!hasPrefix) {
      error = "the fault \"" + kind + "\" needs a command prefix, as in " + kind + ":" +
              (candidate == FaultKind::Hang ? ":MEM:DATA? L" : "*IDN?") +
              (candidate == FaultKind::Reply ? "=NG" : "") +
              " (an empty prefix after the colon means every command)";
      return false;
    }
    std::string reply;
    if (candidate == FaultKind::Reply) {
      size_t equals = prefix.find('=');
      if (equals == std::string::npos) {
        error = "the fault \"reply\" needs the reply after the prefix, as in reply:*IDN?=NG: \"" + text + "\"";
        return false;
      }
      reply = prefix.substr(equals + 1);
      prefix.resize(equals);
    }
    fault = Fault{candidate, prefix, reply};
    return true;
  }
  error = "unknown fault \"" + text +
          "\" (kinds: silent, nak, hang, garbage, drip with :PREFIX; reply with :PREFIX=TEXT; absent)";
  return false;
}

Instrument::Instrument(InstrumentMemory memory, const Clock& clock, std::uint64_t seed)
    : memory_(std::move(memory)), clock_(clock), random_(seed) {}

void Instrument::AddFault(const Fault& fault) {
  if (fault.kind == FaultKind::Absent)
    present_ = false;
  else
    faults_.push_back(fault);
}

std::tm Instrument::ClockTime() const {
  std::time_t now = clock_.Now();
  std::tm local{};
  localtime_r(&now, &local);
  std::time_t instrument = static_cast<std::time_t>(WallSeconds(local) + clockOffset_);
  std::tm result{};
  gmtime_r(&instrument, &result);
  return result;
}

Reply Instrument::Handle(std::string_view command) {
  for (const Fault& fault : faults_) {
    if (!StartsWith(command, fault.prefix)) continue;
    switch (fault.kind) {
      case FaultKind::Silent: return Reply{true, ""};
      case FaultKind::Nak: return Reply{true, std::string("NG") + kEnd};
      case FaultKind::Hang: return Reply{false, ""};
      case FaultKind::Garbage: return Reply{true, Garbage()};
      case FaultKind::Drip: return Reply{true, Answer(command), dripIntervalMs_};
      case FaultKind::Reply: return Reply{true, fault.text + kEnd};
      case FaultKind::Absent: break;
    }
  }
  return Reply{true, Answer(command)};
}

std::string Instrument::Answer(std::string_view command) {
  std::string_view text = TrimBlanks(command);
  const std::string ok = std::string("OK") + kEnd;
  const std::string ng = std::string("NG") + kEnd;
  if (text == "*IDN?") return memory_.idn + kEnd;
  if (text == ":SERIAL?") return memory_.serial + kEnd;
  if (text == ":SET:PI?") return memory_.piT1 + "," + memory_.piT2 + kEnd;
  if (text == ":SET:STEP?") return memory_.stepCode + kEnd;
  if (text == ":TIME?") {
    std::tm now = ClockTime();
    char reply[64];
    std::snprintf(reply, sizeof(reply), "%04d, %02d, %02d, %02d, %02d, %02d\r\n", now.tm_year + 1900,
                  now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
    return reply;
  }
  if (StartsWith(text, ":MEM:DATA? ")) return MemoryReply(text.substr(11));
  if (StartsWith(text, ":SET:PI ")) return SetPi(text.substr(8)) ? ok : ng;
  if (StartsWith(text, ":SET:STEP ")) return SetStep(text.substr(10)) ? ok : ng;
  if (StartsWith(text, ":TIME ")) return SetClock(text.substr(6)) ? ok : ng;
  return ng;
}

std::string Instrument::MemoryReply(std::string_view which) {
  if (which == "COUNT") return CountReply(memory_);
  if (which.size() == 2 && std::isdigit(static_cast<unsigned char>(which[1]))) {
    int index = which[1] - '0';
    if (which[0] == 'L') return LoggingReply(memory_.sets[index]);
    std::string_view letters(kGroupLetters);
    size_t group = letters.find(which[0]);
    if (group != std::string_view::npos) return RecordReply(memory_.slots[group][index]);
  }
  return std::string("NG") + kEnd;
}

bool Instrument::SetPi(std::string_view arguments) {
  std::vector<std::string_view> parts = SplitCommas(arguments);
  int t1 = 0, t2 = 0;
  if (parts.size() != 2 || !ReadDigits(parts[0], 1, 2, t1) || !ReadDigits(parts[1], 1, 2, t2)) return false;
  if (t1 < 1 || t2 > 30 || t1 >= t2) return false;
  char text[16];
  std::snprintf(text, sizeof(text), "%02d", t1);
  memory_.piT1 = text;
  std::snprintf(text, sizeof(text), "%02d", t2);
  memory_.piT2 = text;
  return true;
}

bool Instrument::SetStep(std::string_view arguments) {
  for (const char* code : {"30", "01", "02", "05"}) {
    if (arguments == code) {
      memory_.stepCode = code;
      return true;
    }
  }
  return false;
}

bool Instrument::SetClock(std::string_view arguments) {
  std::vector<std::string_view> parts = SplitCommas(arguments);
  int field[6] = {};
  if (parts.size() != 6 || !ReadDigits(parts[0], 4, 4, field[0])) return false;
  for (int i = 1; i < 6; ++i)
    if (!ReadDigits(parts[i], 1, 2, field[i])) return false;
  const int year = field[0], month = field[1], day = field[2];
  if (year < 2000 || year > 2099 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      field[3] > 23 || field[4] > 59 || field[5] > 59)
    return false;
  std::tm set{};
  set.tm_year = year - 1900;
  set.tm_mon = month - 1;
  set.tm_mday = day;
  set.tm_hour = field[3];
  set.tm_min = field[4];
  set.tm_sec = field[5];
  std::time_t now = clock_.Now();
  std::tm local{};
  localtime_r(&now, &local);
  clockOffset_ = WallSeconds(set) - WallSeconds(local);
  return true;
}

std::string Instrument::Garbage() {
  // Random bytes, but never a NUL (which would read as an early end) nor the
  // letters of "OK", so garbage can never pass for an acknowledgement.
  std::string bytes(1 + NextRandom(random_) % 200, '\0');
  for (char& byte : bytes) {
    unsigned char value;
    do {
      value = static_cast<unsigned char>(NextRandom(random_));
    } while (value == 0 || value == 'O' || value == 'K');
    byte = static_cast<char>(value);
  }
  return bytes;
}

std::string CountReply(const InstrumentMemory& memory) {
  std::string reply;
  for (int count : memory.Counts()) {
    if (!reply.empty()) reply += ',';
    reply += std::to_string(count);
  }
  return reply + kEnd;
}

std::string RecordReply(const MemorySlot& slot) {
  std::string reply;
  for (size_t i = 0; i < slot.values.size(); ++i) {
    if (i > 0) reply += ',';
    reply += slot.values[i];
  }
  return reply + kEnd;
}

std::string LoggingReply(const LoggingMemory& set) {
  std::string reply;
  for (size_t i = 0; i < set.header.size(); ++i) {
    if (i > 0) reply += ',';
    reply += set.header[i];
  }
  for (const LoggingPoint& point : set.points) {
    reply += ',';
    reply += point.voltage;
    reply += ',';
    reply += point.resistance == "OF" ? "OF," : point.resistance;
  }
  return reply + kEnd;
}

std::vector<std::string> SplitIntoPackets(const std::string& reply) {
  constexpr size_t kPacket = 64;
  std::vector<std::string> packets;
  for (size_t offset = 0; offset < reply.size(); offset += kPacket) packets.push_back(reply.substr(offset, kPacket));
  packets.emplace_back();
  return packets;
}

}  // namespace qv70::sim
