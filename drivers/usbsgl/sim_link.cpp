#include "sim_link.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include "core/platform/private_folder.h"

namespace qv70::usbsgl {

DefaultSocket DefaultSimSocket(bool createFolder) {
  PrivateFolder folder = UserPrivateFolder(createFolder);
  return {folder.path + "/qv70-sim.sock", folder.problem};
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

int ConnectSeqpacket(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path)) {
    errno = ENAMETOOLONG;
    return -1;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  int result;
  do {
    result = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  } while (result < 0 && errno == EINTR);
  if (result < 0) {
    int saved = errno;
    close(fd);
    errno = saved;
    return -1;
  }
  return fd;
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
