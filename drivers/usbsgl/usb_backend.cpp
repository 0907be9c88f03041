#include "usb_backend.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "sim_link.h"

#ifdef QV70_HAVE_LIBUSB
#include <libusb.h>
#endif

namespace qv70::usbsgl {

#ifdef QV70_HAVE_LIBUSB
namespace {

// A runaway device must not keep the program reading for ever; far above the
// largest reply the program asks for (a full logging set, under 10000 bytes).
constexpr size_t kMaxReplyBytes = 65536;

libusb_context* NewContext() {
  libusb_context* context = nullptr;
  if (libusb_init(&context) != 0) return nullptr;
  // The library never writes to the program's standard streams.
  libusb_set_option(context, LIBUSB_OPTION_LOG_LEVEL, LIBUSB_LOG_LEVEL_NONE);
  return context;
}

bool SendPacket(int fd, const unsigned char* data, size_t length) {
  ssize_t sent;
  do {
    sent = send(fd, data, length, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  return sent == static_cast<ssize_t>(length);
}

struct Session {
  libusb_context* context;
  libusb_device_handle* device;
  int fd;
  UsbConfig config;
  int timeoutMs;
};

// Reads and drops whatever the device still has queued (a reply that came
// after its time-out), so it is not taken for the answer to the next command.
void DiscardStaleInput(Session& session, int packetSize) {
  std::vector<unsigned char> buffer(static_cast<size_t>(packetSize));
  for (int packets = 0; packets < 1024; ++packets) {
    int got = 0;
    if (libusb_bulk_transfer(session.device, static_cast<unsigned char>(session.config.endpointIn), buffer.data(),
                             packetSize, &got, 20) != 0 ||
        got <= 0)
      return;
  }
}

// Relays one bulk IN reply to the program; false when the program has gone.
// `timedOut` tells whether the reply ended by a failed or timed-out transfer
// rather than by an empty packet (or a short one, when so configured).
bool RelayReply(Session& session, int packetSize, bool& timedOut) {
  timedOut = false;
  std::vector<unsigned char> buffer(static_cast<size_t>(packetSize));
  size_t total = 0;
  for (;;) {
    int got = 0;
    int status = libusb_bulk_transfer(session.device, static_cast<unsigned char>(session.config.endpointIn),
                                      buffer.data(), packetSize, &got, static_cast<unsigned>(session.timeoutMs));
    if (status != 0 || got <= 0) {
      timedOut = status != 0;
      break;
    }
    for (int offset = 0; offset < got; offset += static_cast<int>(kReplyPacketSize)) {
      size_t piece = std::min(kReplyPacketSize, static_cast<size_t>(got - offset));
      if (!SendPacket(session.fd, buffer.data() + offset, piece)) return false;
    }
    total += static_cast<size_t>(got);
    if (total >= kMaxReplyBytes) break;
    if (session.config.shortPacketEndsReply && got < packetSize) break;
  }
  return SendPacket(session.fd, nullptr, 0);
}

void Serve(Session session) {
  int packetSize = libusb_get_max_packet_size(libusb_get_device(session.device),
                                              static_cast<unsigned char>(session.config.endpointIn));
  if (packetSize <= 0) packetSize = static_cast<int>(kReplyPacketSize);
  std::vector<unsigned char> command(4096);
  // Left-overs of an earlier program's exchange must not answer this one's.
  DiscardStaleInput(session, packetSize);
  bool lastTimedOut = false;
  for (;;) {
    ssize_t length = recv(session.fd, command.data(), command.size(), 0);
    if (length < 0 && errno == EINTR) continue;
    // 0: every descriptor of the program's end is closed (it never writes empty packets).
    if (length <= 0) break;
    if (lastTimedOut) DiscardStaleInput(session, packetSize);
    int written = 0;
    int status = libusb_bulk_transfer(session.device, static_cast<unsigned char>(session.config.endpointOut),
                                      command.data(), static_cast<int>(length), &written,
                                      static_cast<unsigned>(session.timeoutMs));
    if (status != 0) {
      // Nothing will answer a command that never left: end the reply at once.
      if (!SendPacket(session.fd, nullptr, 0)) break;
      continue;
    }
    if (!RelayReply(session, packetSize, lastTimedOut)) break;
  }
  libusb_release_interface(session.device, session.config.interfaceNumber);
  libusb_close(session.device);
  libusb_exit(session.context);
  close(session.fd);
}

}  // namespace

bool UsbDevicePresent(const UsbConfig& config) {
  libusb_context* context = NewContext();
  if (context == nullptr) return false;
  libusb_device** devices = nullptr;
  ssize_t count = libusb_get_device_list(context, &devices);
  bool found = false;
  for (ssize_t i = 0; i < count && !found; ++i) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(devices[i], &descriptor) == 0)
      found = descriptor.idVendor == config.vendorId && descriptor.idProduct == config.productId;
  }
  if (count >= 0) libusb_free_device_list(devices, 1);
  libusb_exit(context);
  return found;
}

int OpenUsbConnection(const UsbConfig& config, int readTimeoutMs) {
  libusb_context* context = NewContext();
  if (context == nullptr) return -1;
  libusb_device_handle* device = libusb_open_device_with_vid_pid(
      context, static_cast<uint16_t>(config.vendorId), static_cast<uint16_t>(config.productId));
  if (device == nullptr) {
    libusb_exit(context);
    return -1;
  }
  libusb_set_auto_detach_kernel_driver(device, 1);
  int pair[2];
  if (libusb_claim_interface(device, config.interfaceNumber) != 0 ||
      socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
    libusb_close(device);
    libusb_exit(context);
    return -1;
  }
  // The program's reads may wait for the relay's own bulk time-out plus a margin.
  SetSocketTimeouts(pair[0], readTimeoutMs + 1000);
  try {
    std::thread(Serve, Session{context, device, pair[1], config, readTimeoutMs}).detach();
  } catch (...) {
    libusb_release_interface(device, config.interfaceNumber);
    libusb_close(device);
    libusb_exit(context);
    close(pair[0]);
    close(pair[1]);
    return -1;
  }
  return pair[0];
}

#else  // built without libusb: no USB instrument can be found

bool UsbDevicePresent(const UsbConfig&) { return false; }
int OpenUsbConnection(const UsbConfig&, int) { return -1; }

#endif

}  // namespace qv70::usbsgl
