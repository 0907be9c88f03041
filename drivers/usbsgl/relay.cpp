#include "relay.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <poll.h>
#include <string_view>
#include <sys/socket.h>
#include <sys/uio.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "core/platform/spinning_poll.h"
#include "sim_link.h"

namespace qv70::usbsgl {

int ExchangeDeadline::RemainingMs() const {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool SendPacket(int fd, const void* data, size_t length) {
  ssize_t sent;
  do {
    sent = send(fd, data, length, MSG_NOSIGNAL);
  } while (sent < 0 && errno == EINTR);
  return sent == static_cast<ssize_t>(length);
}

bool SendWholeReply(int fd, const std::string& reply) {
  std::vector<std::string_view> packets;
  packets.reserve(reply.size() / kReplyPacketSize + 2);
  for (size_t offset = 0; offset < reply.size(); offset += kReplyPacketSize)
    packets.emplace_back(reply.data() + offset, std::min(kReplyPacketSize, reply.size() - offset));
  packets.emplace_back();
  return SendPacketBatch(fd, packets.data(), packets.size(), 0) == packets.size();
}

namespace {

constexpr short kGone = POLLHUP | POLLRDHUP | POLLERR;
// How long the relay spins before each wait sleeps (see spinning_poll.h).
constexpr int kCommandSpinMicroseconds = 200;
constexpr int kReplySpinMicroseconds = 100;

// Relays still serving a program's pipes, so a new opening can wait until the
// simulator has seen the last one's end (it would answer "busy" before).
std::mutex relaysMutex;
std::condition_variable relayEnded;
int liveRelays = 0;

// Waits for the program's next command into `command`; false once the program
// has closed its end or the simulator has gone (then the program reads the end
// of the connection, as it did from the simulator itself).
bool NextCommand(int program, int sim, SpinningPoll& waits, std::vector<char>& command, size_t& length) {
  for (;;) {
    pollfd waiting[2] = {{program, POLLIN, 0}, {sim, static_cast<short>(POLLIN | POLLRDHUP), 0}};
    // Between two commands the program parses the last reply: a spin that
    // outlasts most of them spares a wake-up at every exchange.
    if (waits.Poll(waiting, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if ((waiting[1].revents & kGone) != 0) return false;
    if ((waiting[1].revents & POLLIN) != 0) {
      // Nothing was asked: a packet now answers no command, and is dropped.
      char stray[4096];
      (void)recv(sim, stray, sizeof(stray), MSG_DONTWAIT);
    }
    if (waiting[0].revents == 0) continue;
    const ssize_t got = recv(program, command.data(), command.size(), MSG_DONTWAIT);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    // 0: every descriptor of the program's end is closed (it never writes empty packets).
    if (got <= 0) return false;
    length = static_cast<size_t>(got);
    return true;
  }
}

// The simulator's reply to the command just sent: true once its empty packet
// has come. False when it stays silent for a read time-out, takes longer than
// the exchange as a whole, grows beyond kMaxReplyBytes, the program closes its
// end meanwhile, or the simulator goes away (even between its last packets: a
// reply is whole only while the connection stands, as a closed one reads like
// an empty packet).
// Room for the packets one receive takes from the simulator at a time.
class PacketBatch {
 public:
  static constexpr size_t kPackets = 32;
  static constexpr size_t kPacketRoom = 4096;

  PacketBatch() : bytes_(kPackets * kPacketRoom) {}

  // The packets waiting now, at most kPackets: their number, or -1 (errno set).
  int ReceiveWaiting(int fd) {
    for (size_t i = 0; i < kPackets; ++i) {
      parts_[i] = {bytes_.data() + i * kPacketRoom, kPacketRoom};
      messages_[i] = mmsghdr{};
      messages_[i].msg_hdr.msg_iov = &parts_[i];
      messages_[i].msg_hdr.msg_iovlen = 1;
    }
    return recvmmsg(fd, messages_, kPackets, MSG_DONTWAIT, nullptr);
  }
  std::string_view Packet(int i) const {
    return {bytes_.data() + static_cast<size_t>(i) * kPacketRoom, messages_[i].msg_len};
  }
  // A packet larger than its room arrives cut to the room's size.
  bool Truncated(int i) const { return (messages_[i].msg_hdr.msg_flags & MSG_TRUNC) != 0; }

 private:
  std::vector<char> bytes_;
  iovec parts_[kPackets];
  mmsghdr messages_[kPackets];
};

// Whether the simulator has closed its end (then an empty read was no packet).
bool SimHasGone(int sim) {
  pollfd waiting{sim, POLLRDHUP, 0};
  return poll(&waiting, 1, 0) > 0 && (waiting.revents & kGone) != 0;
}

bool CollectSimReply(int program, int sim, const ExchangeLimits& limits, SpinningPoll& waits, PacketBatch& batch,
                     std::string& reply) {
  const ExchangeDeadline deadline(limits.exchangeTimeoutMs);
  for (;;) {
    const int wait = std::min(limits.readTimeoutMs, deadline.RemainingMs());
    if (wait <= 0) return false;
    pollfd waiting[2] = {{sim, static_cast<short>(POLLIN | POLLRDHUP), 0}, {program, POLLRDHUP, 0}};
    // The simulator answers within microseconds: spinning spares this thread
    // a sleep and a wake-up per packet batch.
    const int ready = waits.Poll(waiting, 2, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    if ((waiting[0].revents & kGone) != 0 || (waiting[1].revents & kGone) != 0) return false;
    if ((waiting[0].revents & POLLIN) == 0) continue;
    // Every packet already there in one call: a reply of many packets is
    // taken in a few calls, not one poll and one receive per packet.
    const int got = batch.ReceiveWaiting(sim);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got < 0) return false;
    for (int i = 0; i < got; ++i) {
      // Its rest is lost: what is left would pass for a whole reply.
      if (batch.Truncated(i)) return false;
      const std::string_view packet = batch.Packet(i);
      // Packets after the empty one answer nothing, and are dropped.
      if (packet.empty()) return !SimHasGone(sim);
      reply.append(packet);
      if (reply.size() > kMaxReplyBytes) return false;
    }
  }
}

void ServeSim(int program, int sim, ExchangeLimits limits) {
  std::vector<char> command(4096);
  PacketBatch batch;
  SpinningPoll commandWaits(kCommandSpinMicroseconds);
  SpinningPoll replyWaits(kReplySpinMicroseconds);
  size_t length = 0;
  while (NextCommand(program, sim, commandWaits, command, length)) {
    std::string reply;
    if (!SendPacket(sim, command.data(), length) ||
        !CollectSimReply(program, sim, limits, replyWaits, batch, reply)) {
      SendPacket(program, nullptr, 0);
      break;
    }
    if (!SendWholeReply(program, reply)) break;
  }
  close(sim);
  close(program);
  std::lock_guard<std::mutex> lock(relaysMutex);
  --liveRelays;
  relayEnded.notify_all();
}

}  // namespace

void WaitForSimRelaysToEnd(int timeoutMs) {
  std::unique_lock<std::mutex> lock(relaysMutex);
  relayEnded.wait_for(lock, std::chrono::milliseconds(timeoutMs), [] { return liveRelays == 0; });
}

int StartSimRelay(int simFd, const ExchangeLimits& limits) {
  int pair[2];
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, pair) != 0) {
    close(simFd);
    return -1;
  }
  // A command must not wait for ever on a simulator that stopped reading.
  SetSocketTimeouts(simFd, limits.readTimeoutMs);
  std::lock_guard<std::mutex> lock(relaysMutex);
  try {
    std::thread(ServeSim, pair[1], simFd, limits).detach();
  } catch (...) {
    close(pair[0]);
    close(pair[1]);
    close(simFd);
    return -1;
  }
  ++liveRelays;
  return pair[0];
}

}  // namespace qv70::usbsgl
