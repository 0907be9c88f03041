#pragma once

#include <string>

namespace qv70 {

// A system-wide named lock held for the life of the process: an advisory lock
// (flock) on a file named after the lock in the user's runtime folder, or in /tmp.
// The kernel releases it when the process ends, however it ends.
class SingleInstanceLock {
 public:
  // `directory` empty: $XDG_RUNTIME_DIR when set, else /tmp (the file name then
  // carries the user id, so users do not block each other).
  explicit SingleInstanceLock(std::string name, std::string directory = "");
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // Takes the lock without waiting; false when another process holds it (or the
  // lock file cannot be created).
  bool TryAcquire();
  bool held() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace qv70
