#pragma once

#include <ctime>
#include <string>

#include "core/platform/data_folder.h"

namespace qv70 {

// The directory of the running executable, without a trailing slash, links
// resolved; the program keeps Help/, the fallback logo and the instrument
// library there, and its own files (DataFolder) too when it may write there.
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
  // Config.ini, Comment.inl and DAT/; an empty path means the program folder.
  DataFolder data{};

  const std::string& DataDirectory() const { return data.path.empty() ? programDirectory : data.path; }
};

}  // namespace qv70
