#pragma once

#include "usb_config.h"

// The USB back end over libusb 1.0. The program gets one end of a SOCK_SEQPACKET
// socket pair; a thread inside the library owns the other end and the device:
// each packet the program writes goes out as one bulk OUT transfer, then bulk IN
// transfers are relayed back in packets of at most 64 bytes until one delivers
// nothing, fails or times out, which is marked by an empty packet (the program's
// read of 0 bytes). The thread ends, releasing the device, when the program has
// closed every descriptor of its end.
namespace qv70::usbsgl {

// True when a device with the configured vendor and product id is attached.
bool UsbDevicePresent(const UsbConfig& config);

// Opens and claims the device and starts its relay thread; the program's end of
// the pair, or -1 when the device cannot be opened or claimed.
int OpenUsbConnection(const UsbConfig& config, int readTimeoutMs);

}  // namespace qv70::usbsgl
