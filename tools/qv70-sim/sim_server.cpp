#include "sim_server.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <string_view>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "instrument.h"
#include "core/platform/spinning_poll.h"
#include "sim_link.h"

namespace qv70::sim {
namespace {

// A connection that has not said what it wants within this time is dropped.
constexpr long long kGreetingTimeoutMs = 5000;
constexpr size_t kMaxPending = 32;
// A line this long without a line feed is handled as one (unknown) command.
constexpr size_t kMaxLine = 4096;
// How long the wait for the next command spins before it sleeps.
constexpr int kCommandSpinMicroseconds = 200;
// A client that sends commands without ever reading the replies is dropped
// before its queued replies (about 60 bytes a packet) use much memory.
constexpr size_t kMaxQueuedPackets = 200000;

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SendControl(int fd, std::string_view message) {
  // A control answer is a few bytes on a fresh connection: it always fits.
  (void)send(fd, message.data(), message.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
}

}  // namespace

SimServer::SimServer(Instrument& instrument, std::string socketPath, std::FILE* log, bool accepting)
    : instrument_(instrument), socketPath_(std::move(socketPath)), log_(log), accepting_(accepting) {}

SimServer::~SimServer() {
  CloseConnection();
  for (const Pending& pending : pending_) close(pending.fd);
  if (listenFd_ >= 0) {
    close(listenFd_);
    // Remove the socket only while it is still the one this server made.
    struct stat info {};
    if (stat(socketPath_.c_str(), &info) == 0 && info.st_dev == socketDevice_ && info.st_ino == socketInode_)
      unlink(socketPath_.c_str());
  }
}

bool SimServer::Start(std::string& error) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socketPath_.empty() || socketPath_.size() >= sizeof(address.sun_path)) {
    error = "the socket path \"" + socketPath_ + "\" is empty or longer than " +
            std::to_string(sizeof(address.sun_path) - 1) + " characters";
    return false;
  }
  std::memcpy(address.sun_path, socketPath_.c_str(), socketPath_.size() + 1);

  struct stat existing {};
  if (lstat(socketPath_.c_str(), &existing) == 0) {
    if (!S_ISSOCK(existing.st_mode)) {
      error = socketPath_ + " exists and is not a socket; not replacing it";
      return false;
    }
    int probe = usbsgl::ConnectSeqpacket(socketPath_);
    if (probe >= 0) {
      close(probe);
      error = "another simulator is already listening on " + socketPath_;
      return false;
    }
    if (errno != ECONNREFUSED) {
      error = "cannot use the socket " + socketPath_ + ": " + std::strerror(errno);
      return false;
    }
    unlink(socketPath_.c_str());  // left behind by a simulator that did not end cleanly
  }

  listenFd_ = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) {
    error = std::string("cannot create a socket: ") + std::strerror(errno);
    return false;
  }
  if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    error = errno == EADDRINUSE ? "another simulator is already listening on " + socketPath_
                                : "cannot bind " + socketPath_ + ": " + std::strerror(errno);
    close(listenFd_);
    listenFd_ = -1;
    return false;
  }
  struct stat made {};
  if (stat(socketPath_.c_str(), &made) == 0) {
    socketDevice_ = made.st_dev;
    socketInode_ = made.st_ino;
  }
  if (listen(listenFd_, accepting_ ? 16 : 0) != 0) {
    error = "cannot listen on " + socketPath_ + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void SimServer::Run(int stopFd) {
  std::vector<pollfd> polled;
  // The next command of a download follows within microseconds of a reply.
  SpinningPoll waits(kCommandSpinMicroseconds);
  for (;;) {
    polled.clear();
    polled.push_back({stopFd, POLLIN, 0});
    polled.push_back({accepting_ ? listenFd_ : -1, POLLIN, 0});
    const bool due = !outgoing_.empty() && outgoing_.front().dueMs <= NowMs();
    polled.push_back({connection_, static_cast<short>(POLLIN | (due ? POLLOUT : 0)), 0});
    for (const Pending& pending : pending_) polled.push_back({pending.fd, POLLIN, 0});

    int ready = waits.Poll(polled.data(), polled.size(), PollTimeoutMs());
    if (ready < 0 && errno != EINTR) return;
    if (polled[0].revents != 0) return;

    // The pipes first: a program that closed them and at once opens new ones
    // must find them free.
    if (connection_ >= 0) {
      FlushReplies();
      if (connection_ >= 0 && (polled[2].revents & (POLLIN | POLLHUP | POLLERR))) ReadCommands();
    }
    long long now = NowMs();
    std::vector<Pending> waiting;
    for (size_t i = 0; i < pending_.size(); ++i) {
      Pending pending = pending_[i];
      short events = polled[3 + i].revents;
      if (events != 0) {
        Greet(pending);
        if (pending.fd >= 0) waiting.push_back(pending);
      } else if (now - pending.acceptedMs > kGreetingTimeoutMs) {
        close(pending.fd);
      } else {
        waiting.push_back(pending);
      }
    }
    pending_ = std::move(waiting);
    if (polled[1].revents & POLLIN) Accept();
  }
}

int SimServer::PollTimeoutMs() const {
  long long wait = pending_.empty() ? -1 : 500;
  // A packet already due waits for POLLOUT instead.
  const long long untilDue = outgoing_.empty() ? 0 : outgoing_.front().dueMs - NowMs();
  if (untilDue > 0) wait = wait < 0 ? untilDue : std::min(wait, untilDue);
  return static_cast<int>(wait);
}

void SimServer::Accept() {
  for (;;) {
    int fd = accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;
    }
    // Another user must not hold the pipes and so keep this user's program out.
    if (pending_.size() >= kMaxPending || !usbsgl::PeerIsTrusted(fd)) {
      close(fd);
      continue;
    }
    pending_.push_back({fd, NowMs()});
  }
}

// The first message of a connection: a control message, or already a command.
// Sets pending.fd to -1 once the connection is answered, closed or taken over.
void SimServer::Greet(Pending& pending) {
  char buffer[kMaxLine];
  ssize_t got = recv(pending.fd, buffer, sizeof(buffer), MSG_DONTWAIT);
  if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
  int fd = pending.fd;
  pending.fd = -1;
  if (got <= 0) {
    close(fd);
    return;
  }
  std::string_view message(buffer, static_cast<size_t>(got));
  if (message == usbsgl::kProbeMessage) {
    SendControl(fd, instrument_.Present() ? usbsgl::kPresentAnswer : usbsgl::kAbsentAnswer);
    close(fd);
    return;
  }
  bool control = message.front() == '\0';
  if (control && message != usbsgl::kOpenMessage) {
    close(fd);
    return;
  }
  if (!instrument_.Present() || connection_ >= 0) {
    if (control) SendControl(fd, instrument_.Present() ? usbsgl::kBusyAnswer : usbsgl::kAbsentAnswer);
    close(fd);
    return;
  }
  connection_ = fd;
  lineBuffer_.clear();
  outgoing_.clear();
  if (control) {
    SendControl(fd, usbsgl::kReadyAnswer);
  } else {
    lineBuffer_.assign(message);
    ReadCommands();
  }
}

void SimServer::ReadCommands() {
  char buffer[kMaxLine];
  for (;;) {
    // Commands already buffered are handled before more is read.
    size_t lineEnd;
    while (connection_ >= 0 && (lineEnd = lineBuffer_.find('\n')) != std::string::npos) {
      std::string command = lineBuffer_.substr(0, lineEnd);
      lineBuffer_.erase(0, lineEnd + 1);
      Handle(command);
    }
    if (connection_ < 0) return;
    if (lineBuffer_.size() >= kMaxLine) {
      std::string command;
      command.swap(lineBuffer_);
      Handle(command);
      if (connection_ < 0) return;
    }
    ssize_t got = recv(connection_, buffer, sizeof(buffer), MSG_DONTWAIT);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
    if (got <= 0) {  // the program closed its pipes (it never sends an empty packet)
      CloseConnection();
      return;
    }
    lineBuffer_.append(buffer, static_cast<size_t>(got));
  }
}

void SimServer::Handle(const std::string& command) {
  if (log_ != nullptr) {
    std::fwrite(command.data(), 1, command.size(), log_);
    std::fputc('\n', log_);
    std::fflush(log_);
  }
  Reply reply = instrument_.Handle(command);
  if (!reply.answered) return;
  // After whatever is still queued, so replies keep the order of the commands.
  long long due = outgoing_.empty() ? NowMs() : outgoing_.back().dueMs;
  if (reply.dripIntervalMs > 0) {
    for (char byte : reply.bytes) outgoing_.push_back({std::string(1, byte), due += reply.dripIntervalMs});
    outgoing_.push_back({std::string(), due + reply.dripIntervalMs});
  } else {
    for (std::string& packet : SplitIntoPackets(reply.bytes)) outgoing_.push_back({std::move(packet), due});
  }
  if (outgoing_.size() > kMaxQueuedPackets) {
    CloseConnection();
    return;
  }
  FlushReplies();
}

void SimServer::FlushReplies() {
  if (connection_ < 0) return;
  // Every packet that is due leaves in as few calls as the socket takes them.
  const long long now = NowMs();
  std::vector<std::string_view> due;
  for (const Packet& packet : outgoing_) {
    if (packet.dueMs > now) break;
    due.push_back(packet.bytes);
  }
  if (due.empty()) return;
  const size_t sent = usbsgl::SendPacketBatch(connection_, due.data(), due.size(), MSG_DONTWAIT);
  const int failure = errno;
  outgoing_.erase(outgoing_.begin(), outgoing_.begin() + static_cast<std::ptrdiff_t>(sent));
  // A full socket waits for POLLOUT; any other failure ends the connection.
  if (sent < due.size() && failure != EAGAIN && failure != EWOULDBLOCK) CloseConnection();
}

void SimServer::CloseConnection() {
  if (connection_ >= 0) close(connection_);
  connection_ = -1;
  lineBuffer_.clear();
  outgoing_.clear();
}

}  // namespace qv70::sim
