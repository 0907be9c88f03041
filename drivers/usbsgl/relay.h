#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// What both back ends share between the instrument and the program's end of a
// SOCK_SEQPACKET socket pair: the limits of one exchange and how a reply is
// handed over. A reply reaches the program whole or not at all: the relay
// collects it first, then passes it on in packets of at most 64 bytes and an
// empty packet. A reply that fails (too slow as a whole, broken off, too long,
// or holding a packet larger than the relay takes whole) is passed on as the
// empty packet alone, which the program takes as a silent instrument, instead
// of a piece it would parse as if it were whole.
namespace qv70::usbsgl {

struct ExchangeLimits {
  // The longest wait for any part of a reply.
  int readTimeoutMs = 5000;
  // The longest a whole reply may take, however steadily it trickles in.
  int exchangeTimeoutMs = 30000;
};

// A runaway instrument must not fill memory; far above the largest reply the
// program asks for (a full logging set, under 10000 bytes).
inline constexpr size_t kMaxReplyBytes = 65536;

// One exchange's deadline, from the moment the command went out.
class ExchangeDeadline {
 public:
  explicit ExchangeDeadline(int timeoutMs)
      : end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs)) {}
  // Milliseconds left, 0 once it has passed.
  int RemainingMs() const;

 private:
  std::chrono::steady_clock::time_point end_;
};

// One packet, retried when interrupted; false when the peer has gone. Raises
// no SIGPIPE.
bool SendPacket(int fd, const void* data, size_t length);
// `reply` as packets of at most 64 bytes, then the empty packet that ends it.
bool SendWholeReply(int fd, const std::string& reply);

// Serves a connection to the simulator (`simFd`, already past its handshake)
// from a thread of its own and returns the program's end of a new socket pair,
// or -1 (then `simFd` is closed). The simulator's replies are relayed whole
// within `limits`; after a failed one the connection is dropped, as nothing it
// sends later can be matched to a command. The thread ends, closing both
// connections, when the program has closed every descriptor of its end.
int StartSimRelay(int simFd, const ExchangeLimits& limits);
// Waits at most `timeoutMs` until every relay has ended. The program closes
// its pipes before it opens new ones; the simulator must see that end first.
void WaitForSimRelaysToEnd(int timeoutMs);

}  // namespace qv70::usbsgl
