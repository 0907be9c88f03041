#include "core/files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace qv70 {

namespace {

// Read-only in the sense the operator means: no write bit at all, even for a
// process that could override it, or no write access for this one.
bool IsReadOnly(const std::string& path, const struct stat& info) {
  return (info.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view content) {
  const char* data = content.data();
  size_t left = content.size();
  while (left > 0) {
    ssize_t written = write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return true;
}

// Creates a new file beside the target; O_EXCL so another file is never reused.
int CreateTemporary(const std::string& folder, std::string& tempPath) {
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "/.qv70-save-%ld-%u.tmp", static_cast<long>(getpid()), counter++);
    tempPath = folder + name;
    int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view content) {
  if (path.empty()) return false;

  std::string target = path;
  struct stat info;
  bool replacing = false;
  if (lstat(path.c_str(), &info) == 0) {
    if (S_ISLNK(info.st_mode)) {
      char resolved[PATH_MAX];
      if (realpath(path.c_str(), resolved) != nullptr) target = resolved;
    }
    if (stat(target.c_str(), &info) == 0) {
      if (!S_ISREG(info.st_mode) || IsReadOnly(target, info)) return false;
      replacing = true;
    }
  }

  const std::string folder = FolderOf(target);
  struct stat folderInfo;
  if (stat(folder.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode) ||
      IsReadOnly(folder, folderInfo))
    return false;

  std::string tempPath;
  int fd = CreateTemporary(folder, tempPath);
  if (fd < 0) return false;

  bool ok = WriteAll(fd, content);
  if (ok && replacing) ok = fchmod(fd, info.st_mode & 07777) == 0;
  if (ok) ok = fsync(fd) == 0;
  if (close(fd) != 0) ok = false;
  if (ok) ok = rename(tempPath.c_str(), target.c_str()) == 0;
  if (!ok) unlink(tempPath.c_str());
  return ok;
}

}  // namespace qv70
