#pragma once

#include <ctime>
#include <string>

namespace qv70 {

// The directory of the running executable, without a trailing slash; the program
// keeps Config.ini, Comment.inl, Help/, DAT/ and the instrument library there.
std::string ExecutableDirectory();

// `directory` + "/" + `name`.
std::string JoinPath(const std::string& directory, const std::string& name);

bool FileExists(const std::string& path);

// The time of day, behind an interface so tests can fix it.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::time_t Now() const = 0;
};

class SystemClock : public Clock {
 public:
  std::time_t Now() const override { return std::time(nullptr); }
};

class FixedClock : public Clock {
 public:
  explicit FixedClock(std::time_t now) : now_(now) {}
  std::time_t Now() const override { return now_; }
  void Set(std::time_t now) { now_ = now; }

 private:
  std::time_t now_;
};

// Where the program finds its files and the time: one place, so tests can point
// it at a temporary folder and a fixed clock.
struct Environment {
  std::string programDirectory;
  const Clock* clock = nullptr;
};

}  // namespace qv70
