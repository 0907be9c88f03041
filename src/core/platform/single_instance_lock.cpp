#include "core/platform/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>

#include "core/platform/environment.h"

namespace qv70 {

static std::string DefaultLockPath(const std::string& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') return JoinPath(runtime, name + ".lock");
  return "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock";
}

SingleInstanceLock::SingleInstanceLock(std::string name, std::string directory)
    : path_(directory.empty() ? DefaultLockPath(name) : JoinPath(directory, name + ".lock")) {}

SingleInstanceLock::~SingleInstanceLock() {
  if (fd_ >= 0) close(fd_);  // closing the descriptor releases the lock
}

bool SingleInstanceLock::TryAcquire() {
  if (fd_ >= 0) return true;
  // Close-on-exec, so a program started from here does not keep the lock alive.
  int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

}  // namespace qv70
