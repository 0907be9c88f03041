#pragma once

#include <string>
#include <string_view>
#include <vector>

// ZvUsbSgl.conf: which USB device the library talks to and how long it waits.
// The file sits beside the library; every key is optional and falls back to the
// default below. Lines are "key = value"; "#" and ";" start a comment.
namespace qv70::usbsgl {

struct UsbConfig {
  // Vendor and product id of the instrument. The defaults are placeholders that
  // match no device: the real ids come from the file (see the shipped example).
  int vendorId = 0x0000;
  int productId = 0x0000;
  int interfaceNumber = 0;
  int endpointOut = 0x02;  // bulk OUT: direction bit clear
  int endpointIn = 0x81;   // bulk IN: direction bit set
  // Every bulk transfer waits at most this long; a read that times out ends the reply.
  int readTimeoutMs = 5000;
  // The longest one whole reply may take; 0: kExchangeTimeoutFactor times the
  // read time-out in effect. A reply still coming then is a failed exchange.
  int exchangeTimeoutMs = 0;
  // When 1, a bulk packet shorter than the endpoint's packet size ends the reply
  // at once instead of waiting for an empty packet or the time-out.
  bool shortPacketEndsReply = false;
};

inline constexpr int kExchangeTimeoutFactor = 6;

struct ConfigResult {
  UsbConfig config;
  // One message per line that was not understood; that key keeps its default.
  std::vector<std::string> errors;
  // Set when the file is there but cannot be a configuration: the path, what
  // is wrong and "; using the defaults". Empty otherwise.
  std::string damage;
};

ConfigResult ParseUsbConfig(std::string_view text);
// Reads and parses `path`; a missing file gives the defaults and one error
// naming the file. A damaged one (not a regular file, larger than 1 MiB or
// unreadable) is not read: the defaults, with `damage` saying why. Never waits
// on a FIFO and never reads a device.
ConfigResult LoadUsbConfig(const std::string& path);

}  // namespace qv70::usbsgl
