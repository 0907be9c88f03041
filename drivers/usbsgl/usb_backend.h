#pragma once

#include "relay.h"
#include "usb_config.h"

// The USB back end over libusb 1.0. The program gets one end of a SOCK_SEQPACKET
// socket pair; a thread inside the library owns the other end and the device:
// each packet the program writes goes out as one bulk OUT transfer, then bulk IN
// transfers are collected until one delivers nothing or times out (the device
// may end a reply by falling silent) and passed on whole (relay.h). A transfer
// that fails, a reply past kMaxReplyBytes or one still coming at the exchange
// deadline is passed on as the empty packet alone. The thread ends, releasing
// the device, when the program has closed every descriptor of its end.
namespace qv70::usbsgl {

// True when a device with the configured vendor and product id is attached.
bool UsbDevicePresent(const UsbConfig& config);

// Opens and claims the device and starts its relay thread; the program's end of
// the pair, or -1 when the device cannot be opened or claimed.
int OpenUsbConnection(const UsbConfig& config, const ExchangeLimits& limits);

}  // namespace qv70::usbsgl
