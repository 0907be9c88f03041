#pragma once

#include <string>

namespace qv70 {

// A system-wide named lock held for the life of the process: an advisory lock
// (flock) on a file named after the lock in the user's private folder
// (private_folder.h). The kernel releases it when the process ends, however
// it ends.
class SingleInstanceLock {
 public:
  enum class Outcome {
    Taken,          // this process holds it
    HeldElsewhere,  // another process of this user holds it
    Unusable,       // no lock can be had here (problem() says why); that is not "running already"
  };

  // `directory` empty: the user's private folder, made when missing.
  explicit SingleInstanceLock(std::string name, std::string directory = "");
  ~SingleInstanceLock();
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

  // Takes the lock without waiting; taking it again while held is Taken.
  Outcome TryAcquire();
  bool held() const { return fd_ >= 0; }
  const std::string& path() const { return path_; }
  // Why the last TryAcquire was Unusable.
  const std::string& problem() const { return problem_; }

 private:
  Outcome Unusable(std::string problem);

  std::string path_;
  std::string folderProblem_;
  std::string problem_;
  int fd_ = -1;
};

}  // namespace qv70
