#pragma once

// What can sit where the program expects one of its small files (Config.ini,
// Comment.inl, ZvUsbSgl.conf), for the readers' tests: each kind is made at a
// path, and a fingerprint of the path tells whether anything changed it.

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace qv70::test {

struct BadFileKind {
  const char* name;
  // Makes the kind at `path`; `text` is a file's intended content, which the
  // kinds that are files carry so that a reader that read them would show it.
  std::function<void(const std::string& path, const std::string& text)> make;
};

// Every byte value, NUL first, then `text`: no text file holds it.
inline std::string BinaryBytes(const std::string& text) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  return bytes + text;
}

inline std::vector<BadFileKind> BadFileKinds() {
  return {
      {"directory", [](const std::string& path, const std::string&) { mkdir(path.c_str(), 0755); }},
      {"fifo", [](const std::string& path, const std::string&) { mkfifo(path.c_str(), 0644); }},
      {"link to /dev/zero",
       [](const std::string& path, const std::string&) { (void)!symlink("/dev/zero", path.c_str()); }},
      {"over 1 MiB",
       [](const std::string& path, const std::string& text) {
         WriteWholeFile(path, text + std::string(1024 * 1024 + 1 - text.size(), '\n'));
       }},
      {"binary bytes",
       [](const std::string& path, const std::string& text) { WriteWholeFile(path, BinaryBytes(text)); }},
  };
}

// What is at `path`: its kind, and a link's target or a file's bytes.
inline std::string Fingerprint(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return "nothing";
  if (S_ISDIR(info.st_mode)) return "directory";
  if (S_ISFIFO(info.st_mode)) return "fifo";
  if (S_ISLNK(info.st_mode)) {
    char target[4096];
    ssize_t length = readlink(path.c_str(), target, sizeof target);
    return "link to " + std::string(target, length > 0 ? static_cast<size_t>(length) : 0);
  }
  return "file " + ReadWholeFile(path);
}

// Ends the test program if a reader waits on a FIFO, so that a hang fails
// the test at once instead of stalling the run.
class HangGuard {
 public:
  explicit HangGuard(unsigned seconds = 20) { alarm(seconds); }
  ~HangGuard() { alarm(0); }
  HangGuard(const HangGuard&) = delete;
  HangGuard& operator=(const HangGuard&) = delete;
};

}  // namespace qv70::test
