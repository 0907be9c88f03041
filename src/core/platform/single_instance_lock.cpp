#include "core/platform/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/platform/environment.h"
#include "core/platform/private_folder.h"

namespace qv70 {

SingleInstanceLock::SingleInstanceLock(std::string name, std::string directory) {
  if (directory.empty()) {
    PrivateFolder folder = UserPrivateFolder(true);
    folderProblem_ = folder.problem;
    directory = folder.path;
  }
  path_ = JoinPath(directory, name + ".lock");
}

SingleInstanceLock::~SingleInstanceLock() {
  if (fd_ >= 0) close(fd_);  // closing the descriptor releases the lock
}

SingleInstanceLock::Outcome SingleInstanceLock::Unusable(std::string problem) {
  problem_ = std::move(problem);
  return Outcome::Unusable;
}

SingleInstanceLock::Outcome SingleInstanceLock::TryAcquire() {
  if (fd_ >= 0) return Outcome::Taken;
  // Nothing in a refused folder is to be trusted.
  if (!folderProblem_.empty()) return Unusable(folderProblem_);
  // Close-on-exec, so a program started from here does not keep the lock alive;
  // never through a symbolic link, which could point anywhere.
  int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return Unusable(path_ + ": " + std::strerror(errno));
  // Another user's file (root can open anything) could be locked by that user
  // to keep this one from ever starting.
  struct stat info {};
  if (fstat(fd, &info) != 0 || info.st_uid != getuid() || !S_ISREG(info.st_mode)) {
    close(fd);
    return Unusable(path_ + " is not a file of this user");
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    if (error == EWOULDBLOCK) return Outcome::HeldElsewhere;
    return Unusable(path_ + ": " + std::strerror(error));
  }
  problem_.clear();
  fd_ = fd;
  return Outcome::Taken;
}

}  // namespace qv70
