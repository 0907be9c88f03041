#include "usb_backend.h"

#include <algorithm>
#include <cerrno>
#include <string>
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

libusb_context* NewContext() {
  libusb_context* context = nullptr;
  if (libusb_init(&context) != 0) return nullptr;
  // The library never writes to the program's standard streams.
  libusb_set_option(context, LIBUSB_OPTION_LOG_LEVEL, LIBUSB_LOG_LEVEL_NONE);
  return context;
}

struct Session {
  libusb_context* context;
  libusb_device_handle* device;
  int fd;
  UsbConfig config;
  ExchangeLimits limits;
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

// Collects one bulk IN reply into `reply`: true when it ended as a reply ends
// (an empty packet, a short one when so configured, or the device falling
// silent for a read time-out). `stale` tells whether the device may still send
// part of it (it fell silent, or the exchange failed), to be dropped before the
// next command.
bool CollectReply(Session& session, int packetSize, std::string& reply, bool& stale) {
  const ExchangeDeadline deadline(session.limits.exchangeTimeoutMs);
  std::vector<unsigned char> buffer(static_cast<size_t>(packetSize));
  stale = true;
  for (;;) {
    const int wait = std::min(session.limits.readTimeoutMs, deadline.RemainingMs());
    if (wait <= 0) return false;
    int got = 0;
    const int status = libusb_bulk_transfer(session.device, static_cast<unsigned char>(session.config.endpointIn),
                                            buffer.data(), packetSize, &got, static_cast<unsigned>(wait));
    if (got > 0) reply.append(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(got));
    if (reply.size() > kMaxReplyBytes) return false;
    // Silent for a whole read time-out: the reply is over; cut short by the
    // deadline: it is not.
    if (status == LIBUSB_ERROR_TIMEOUT) return wait == session.limits.readTimeoutMs && deadline.RemainingMs() > 0;
    if (status != 0) return false;
    if (got == 0 || (session.config.shortPacketEndsReply && got < packetSize)) {
      stale = false;
      return true;
    }
  }
}

void Serve(Session session) {
  int packetSize = libusb_get_max_packet_size(libusb_get_device(session.device),
                                              static_cast<unsigned char>(session.config.endpointIn));
  if (packetSize <= 0) packetSize = static_cast<int>(kReplyPacketSize);
  std::vector<unsigned char> command(4096);
  // Left-overs of an earlier program's exchange must not answer this one's.
  DiscardStaleInput(session, packetSize);
  bool stale = false;
  for (;;) {
    ssize_t length = recv(session.fd, command.data(), command.size(), 0);
    if (length < 0 && errno == EINTR) continue;
    // 0: every descriptor of the program's end is closed (it never writes empty packets).
    if (length <= 0) break;
    if (stale) DiscardStaleInput(session, packetSize);
    int written = 0;
    int status = libusb_bulk_transfer(session.device, static_cast<unsigned char>(session.config.endpointOut),
                                      command.data(), static_cast<int>(length), &written,
                                      static_cast<unsigned>(session.limits.readTimeoutMs));
    std::string reply;
    // Nothing will answer a command that never left: the empty reply at once.
    const bool whole = status == 0 && CollectReply(session, packetSize, reply, stale);
    if (!SendWholeReply(session.fd, whole ? reply : std::string())) break;
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

int OpenUsbConnection(const UsbConfig& config, const ExchangeLimits& limits) {
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
  try {
    std::thread(Serve, Session{context, device, pair[1], config, limits}).detach();
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
int OpenUsbConnection(const UsbConfig&, const ExchangeLimits&) { return -1; }

#endif

}  // namespace qv70::usbsgl
