#pragma once

// A small instrument model answering the command set through FakeUsbDriver,
// with a fault for commands beginning with a chosen prefix.
#include <map>
#include <string>
#include <vector>

#include "core/data/record_tables.h"
#include "core/instrument/fake_usb_driver.h"

namespace qv70 {

struct FakeInstrument {
  CountList counts{};
  std::map<std::string, std::string> records;  // "A0" -> reply body without terminator
  std::map<int, std::string> logging;          // set -> reply body without terminator
  std::string idn = "ZAVEL ,QV70 ,Ver1.00,X";
  std::string serial = "SN12345";
  std::string pi = "01,10";
  std::string step = "05";
  // Commands (without line feed) starting with this prefix get `faultReply`.
  std::string faultPrefix;
  std::string faultReply;
  std::string setReply = "OK";

  void Attach(FakeUsbDriver& driver) {
    driver.respond = [this](const std::string& command) { return Answer(command); };
  }

  std::string Answer(std::string command) const {
    if (!command.empty() && command.back() == '\n') command.pop_back();
    if (!faultPrefix.empty() && command.compare(0, faultPrefix.size(), faultPrefix) == 0) {
      return faultReply;
    }
    const std::string end = "\r\n";
    if (command == ":MEM:DATA? COUNT") {
      std::string text;
      for (int i = 0; i < kCountListSize; ++i) text += (i ? "," : "") + std::to_string(counts[i]);
      return text + end;
    }
    if (command.rfind(":MEM:DATA? L", 0) == 0) {
      auto found = logging.find(command.back() - '0');
      return (found != logging.end() ? found->second : "NO DATA") + end;
    }
    if (command.rfind(":MEM:DATA? ", 0) == 0) {
      auto found = records.find(command.substr(11));
      return (found != records.end() ? found->second : "NO DATA") + end;
    }
    if (command == "*IDN?") return idn + end;
    if (command == ":SERIAL?") return serial + end;
    if (command == ":SET:PI?") return pi + end;
    if (command == ":SET:STEP?") return step + end;
    if (command.rfind(":TIME ", 0) == 0 || command.rfind(":SET:", 0) == 0) return setReply + end;
    return "";
  }
};

// The commands a driver received, without their line feeds.
inline std::vector<std::string> SentCommands(const FakeUsbDriver& driver) {
  std::vector<std::string> sent;
  for (std::string command : driver.written) {
    if (!command.empty() && command.back() == '\n') command.pop_back();
    sent.push_back(command);
  }
  return sent;
}

}  // namespace qv70
