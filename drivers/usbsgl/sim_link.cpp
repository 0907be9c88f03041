#include "sim_link.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <unistd.h>

#include "core/platform/private_folder.h"

namespace qv70::usbsgl {

DefaultSocket DefaultSimSocket(bool createFolder) {
  PrivateFolder folder = UserPrivateFolder(createFolder);
  return {folder.path + "/qv70-sim.sock", folder.problem};
}

size_t SendPacketBatch(int fd, const std::string_view* packets, size_t count, int flags) {
  // At most this many packets to a call (the kernel takes up to 1024).
  constexpr size_t kBatch = 256;
  iovec parts[kBatch];
  mmsghdr messages[kBatch];
  size_t sent = 0;
  while (sent < count) {
    const size_t batch = std::min(kBatch, count - sent);
    for (size_t i = 0; i < batch; ++i) {
      parts[i].iov_base = const_cast<char*>(packets[sent + i].data());
      parts[i].iov_len = packets[sent + i].size();
      messages[i] = mmsghdr{};
      messages[i].msg_hdr.msg_iov = &parts[i];
      messages[i].msg_hdr.msg_iovlen = 1;
    }
    const int got = sendmmsg(fd, messages, static_cast<unsigned>(batch), flags | MSG_NOSIGNAL);
    if (got < 0) {
      if (errno == EINTR) continue;
      return sent;
    }
    // A short count: the next call reports why the following packet failed.
    sent += static_cast<size_t>(got);
  }
  return sent;
}

bool IsSocketFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

bool IsOwnSocketFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == getuid();
}

bool PeerIsTrusted(int fd) {
  ucred peer{};
  socklen_t size = sizeof(peer);
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof(peer)) return false;
  return peer.uid == getuid() || peer.uid == 0;
}

namespace {

int MillisecondsUntil(std::chrono::steady_clock::time_point end) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
  return static_cast<int>(std::max<long long>(left.count(), 0));
}

// Connects the non-blocking `fd`; 0 or the errno of the failure.
int ConnectBefore(int fd, const sockaddr_un& address, std::chrono::steady_clock::time_point end) {
  for (;;) {
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) return 0;
    const int error = errno;
    if (error == EINTR) continue;
    if (error == EINPROGRESS) {
      // Completes in the background: writable once done, SO_ERROR tells how.
      pollfd waiting{fd, POLLOUT, 0};
      int ready;
      do {
        ready = poll(&waiting, 1, MillisecondsUntil(end));
      } while (ready < 0 && errno == EINTR);
      if (ready <= 0) return ETIMEDOUT;
      int outcome = 0;
      socklen_t size = sizeof(outcome);
      return getsockopt(fd, SOL_SOCKET, SO_ERROR, &outcome, &size) == 0 ? outcome : errno;
    }
    // A Unix listener whose queue is full (it does not accept) refuses a
    // non-blocking connect with EAGAIN; ask again until the time is up.
    if (error != EAGAIN) return error;
    const int left = MillisecondsUntil(end);
    if (left == 0) return ETIMEDOUT;
    poll(nullptr, 0, std::min(left, 10));
  }
}

}  // namespace

int ConnectSeqpacket(const std::string& path, int timeoutMs) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path)) {
    errno = ENAMETOOLONG;
    return -1;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
  int error = ConnectBefore(fd, address, end);
  if (error == 0) {
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0 && fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0) return fd;
    error = errno;
  }
  close(fd);
  errno = error;
  return -1;
}

SimAnswer ExchangeControl(int fd, std::string_view message, int timeoutMs) {
  if (send(fd, message.data(), message.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(message.size()))
    return SimAnswer::NoAnswer;
  pollfd waiting{fd, POLLIN, 0};
  int ready;
  do {
    ready = poll(&waiting, 1, timeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready <= 0) return SimAnswer::NoAnswer;
  char answer[32];
  ssize_t got = recv(fd, answer, sizeof(answer), MSG_DONTWAIT);
  if (got <= 0) return SimAnswer::NoAnswer;
  std::string_view text(answer, static_cast<size_t>(got));
  if (text == kPresentAnswer) return SimAnswer::Present;
  if (text == kAbsentAnswer) return SimAnswer::Absent;
  if (text == kReadyAnswer) return SimAnswer::Ready;
  if (text == kBusyAnswer) return SimAnswer::Busy;
  return SimAnswer::NoAnswer;
}

void SetSocketTimeouts(int fd, int timeoutMs) {
  if (timeoutMs <= 0) return;
  timeval limit{};
  limit.tv_sec = timeoutMs / 1000;
  limit.tv_usec = (timeoutMs % 1000) * 1000;
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof(limit));
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof(limit));
}

}  // namespace qv70::usbsgl
