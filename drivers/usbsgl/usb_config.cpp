#include "usb_config.h"

#include <strings.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

#include "core/platform/bounded_file.h"

namespace qv70::usbsgl {
namespace {

std::string Trim(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t' || text[begin] == '\r')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r')) --end;
  return std::string(text.substr(begin, end - begin));
}

// A whole-text integer in C notation (decimal, 0x hex or 0 octal) within [low, high].
bool ReadInteger(const std::string& text, long low, long high, int& out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 0);
  if (errno != 0 || *end != '\0' || value < low || value > high) return false;
  out = static_cast<int>(value);
  return true;
}

struct Key {
  const char* name;
  long low;
  long high;
  int UsbConfig::*member;
};

constexpr Key kKeys[] = {
    {"vendor_id", 0, 0xFFFF, &UsbConfig::vendorId},
    {"product_id", 0, 0xFFFF, &UsbConfig::productId},
    {"interface", 0, 255, &UsbConfig::interfaceNumber},
    {"endpoint_out", 0x01, 0x0F, &UsbConfig::endpointOut},
    {"endpoint_in", 0x81, 0x8F, &UsbConfig::endpointIn},
    {"read_timeout_ms", 1, 600000, &UsbConfig::readTimeoutMs},
    {"exchange_timeout_ms", 1, 3600000, &UsbConfig::exchangeTimeoutMs},
};

}  // namespace

ConfigResult ParseUsbConfig(std::string_view text) {
  ConfigResult result;
  int lineNumber = 0;
  while (!text.empty()) {
    size_t lineEnd = text.find('\n');
    std::string_view line = text.substr(0, lineEnd);
    text = lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
    ++lineNumber;

    size_t comment = line.find_first_of("#;");
    std::string content = Trim(line.substr(0, comment));
    if (content.empty()) continue;
    std::string where = "line " + std::to_string(lineNumber) + ": ";
    size_t equals = content.find('=');
    if (equals == std::string::npos) {
      result.errors.push_back(where + "expected \"key = value\"");
      continue;
    }
    std::string key = Trim(std::string_view(content).substr(0, equals));
    std::string value = Trim(std::string_view(content).substr(equals + 1));

    if (strcasecmp(key.c_str(), "short_packet_ends_reply") == 0) {
      int flag = 0;
      if (ReadInteger(value, 0, 1, flag))
        result.config.shortPacketEndsReply = flag == 1;
      else
        result.errors.push_back(where + "short_packet_ends_reply must be 0 or 1");
      continue;
    }
    const Key* found = nullptr;
    for (const Key& candidate : kKeys)
      if (strcasecmp(key.c_str(), candidate.name) == 0) found = &candidate;
    if (found == nullptr) {
      result.errors.push_back(where + "unknown key \"" + key + "\"");
      continue;
    }
    int number = 0;
    if (ReadInteger(value, found->low, found->high, number)) {
      result.config.*(found->member) = number;
    } else {
      std::ostringstream message;
      message << where << found->name << " must be a number from 0x" << std::hex << found->low
              << " to 0x" << found->high << std::dec << " (" << found->low << " to " << found->high
              << "), not \"" << value << "\"";
      result.errors.push_back(message.str());
    }
  }
  return result;
}

ConfigResult LoadUsbConfig(const std::string& path) {
  const BoundedFile file = ReadBoundedFile(path, kMaxSideFileSize);
  if (file.state == FileState::Read) return ParseUsbConfig(file.content);
  ConfigResult result;
  if (file.state == FileState::Missing) {
    result.errors.push_back(path + ": cannot be read; using the defaults");
  } else {
    result.damage = path + " " + file.problem + "; using the defaults";
    result.errors.push_back(result.damage);
  }
  return result;
}

}  // namespace qv70::usbsgl
