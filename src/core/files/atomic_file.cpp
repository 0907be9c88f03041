#include "core/files/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/files/messages.h"
#include "core/platform/environment.h"

namespace qv70 {

namespace {

constexpr const char* kTemporaryMark = ".qv70-save-";
constexpr const char* kTemporaryEnd = ".tmp";
// Enough of the target's name to tell its temporaries apart, short enough that
// the temporary's name stays within NAME_MAX.
constexpr size_t kNamePartLimit = 128;
constexpr int kMaxLinkHops = 40;

std::atomic<unsigned> temporaryCounter{0};

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

std::string NameOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TemporaryPrefix(const std::string& target) {
  return "." + NameOf(target).substr(0, kNamePartLimit) + kTemporaryMark;
}

// The file a save to `path` replaces.
struct Target {
  std::string path;
  bool exists = false;
  struct stat info {};
  bool foreignLink = false;
  int error = 0;
};

// 0, or the errno of the failure.
int ReadLink(const std::string& path, std::string& text) {
  char buffer[PATH_MAX];
  ssize_t length = readlink(path.c_str(), buffer, sizeof buffer);
  if (length < 0) return errno;
  if (static_cast<size_t>(length) >= sizeof buffer) return ENAMETOOLONG;
  text.assign(buffer, static_cast<size_t>(length));
  return 0;
}

// Follows `path` through its links, each of which must be this user's, as must
// the file at the end. A link to nothing is replaced itself by the new file.
Target ResolveTarget(const std::string& path) {
  Target target;
  target.path = path;
  std::string current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0) {
      if (errno != ENOENT) target.error = errno;
      return target;
    }
    const bool followed = hop > 0;
    if (info.st_uid != geteuid() && (followed || S_ISLNK(info.st_mode))) {
      target.foreignLink = true;
      return target;
    }
    if (!S_ISLNK(info.st_mode)) {
      target.path = current;
      target.exists = true;
      target.info = info;
      return target;
    }
    std::string next;
    if ((target.error = ReadLink(current, next)) != 0) return target;
    current = !next.empty() && next[0] == '/' ? next : JoinPath(FolderOf(current), next);
  }
  target.error = ELOOP;
  return target;
}

// "<prefix><pid>-<n>.tmp": the process that made the temporary.
bool TemporaryMaker(const std::string& name, const std::string& prefix, pid_t& pid) {
  if (name.compare(0, prefix.size(), prefix) != 0) return false;
  const char* rest = name.c_str() + prefix.size();
  char* end = nullptr;
  long maker = std::strtol(rest, &end, 10);
  if (end == rest || *end != '-' || maker <= 0) return false;
  rest = end + 1;
  static_cast<void>(std::strtoul(rest, &end, 10));
  if (end == rest || std::string(end) != kTemporaryEnd) return false;
  pid = static_cast<pid_t>(maker);
  return true;
}

bool ProcessRuns(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

// Temporaries of this target whose process has ended: a save killed midway.
// Only this user's regular files are touched.
void RemoveStaleTemporaries(const std::string& folder, const std::string& target) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::string prefix = TemporaryPrefix(target);
  while (const dirent* entry = readdir(dir)) {
    pid_t maker = 0;
    if (!TemporaryMaker(entry->d_name, prefix, maker)) continue;
    if (maker == getpid() || ProcessRuns(maker)) continue;
    struct stat info;
    if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(info.st_mode) || info.st_uid != geteuid()) continue;
    unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

std::string NextTemporaryPath(const std::string& folder, const std::string& target) {
  return JoinPath(folder, TemporaryPrefix(target) + std::to_string(getpid()) + "-" +
                              std::to_string(temporaryCounter++) + kTemporaryEnd);
}

// 0, or the errno of the first write that failed.
int WriteAll(int fd, std::string_view content) {
  const char* data = content.data();
  size_t left = content.size();
  while (left > 0) {
    ssize_t written = write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    left -= static_cast<size_t>(written);
  }
  return 0;
}

int CloseChecked(int fd, int error) {
  if (close(fd) != 0 && error == 0) return errno;
  return error;
}

// A file without a name (O_TMPFILE), which a killed save leaves nowhere; -1
// where the file system has none, or where it could not be named later:
// linking by descriptor needs /proc.
int OpenUnnamed(const std::string& folder) {
  if (access("/proc/self/fd", F_OK) != 0) return -1;
  return open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
}

// A new named temporary beside the target; O_EXCL: another file is never reused.
int OpenNamed(const std::string& folder, const std::string& target, std::string& temporary, int& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = NextTemporaryPath(folder, target);
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) {
      error = errno;
      return -1;
    }
  }
  error = EEXIST;
  return -1;
}

// Names the unnamed file `fd` as a temporary beside the target; 0 or an errno.
int LinkUnnamed(int fd, const std::string& folder, const std::string& target, std::string& temporary) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = NextTemporaryPath(folder, target);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

// The rename itself is made durable too; a folder that cannot be synced
// changes nothing about the save.
void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

Result Failed(int error) { return Result::Failure(SaveFailureReason(error)); }

}  // namespace

std::string SaveFailureReason(int error) {
  switch (error) {
    case ENOSPC: return save_message::kDiskFull;
    case EDQUOT: return save_message::kQuotaFull;
    default: return {};
  }
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

Result AtomicFileWriter::Open(const std::string& path, Durability durability) {
  Discard();
  error_ = 0;
  durability_ = durability;
  if (path.empty()) return Result::Failure({});

  const Target target = ResolveTarget(path);
  if (target.foreignLink) return Result::Failure(save_message::kForeignLink);
  if (target.error != 0) return Failed(target.error);
  if (target.exists && (!S_ISREG(target.info.st_mode) || IsReadOnly(target.path, target.info)))
    return Result::Failure({});

  const std::string folder = FolderOf(target.path);
  struct stat folderInfo;
  if (stat(folder.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode) ||
      IsReadOnly(folder, folderInfo))
    return Result::Failure({});

  RemoveStaleTemporaries(folder, target.path);
  int error = 0;
  fd_ = OpenUnnamed(folder);
  if (fd_ < 0) fd_ = OpenNamed(folder, target.path, temporary_, error);
  if (fd_ < 0) return Failed(error);
  targetPath_ = target.path;
  folder_ = folder;
  keepMode_ = target.exists;
  mode_ = target.info.st_mode & 07777;
  return Result::Success();
}

bool AtomicFileWriter::Append(std::string_view bytes) {
  if (fd_ < 0) return false;
  if (error_ == 0) error_ = WriteAll(fd_, bytes);
  return error_ == 0;
}

Result AtomicFileWriter::Commit() {
  if (fd_ < 0) return Result::Failure({});
  int error = error_;
  if (error == 0 && keepMode_ && fchmod(fd_, mode_) != 0) error = errno;
  if (error == 0 && durability_ == Durability::Synced && fsync(fd_) != 0) error = errno;
  if (error == 0 && temporary_.empty()) {
    error = LinkUnnamed(fd_, folder_, targetPath_, temporary_);
    if (error != 0) temporary_.clear();
  }
  error = CloseChecked(fd_, error);
  fd_ = -1;
  if (error == 0 && rename(temporary_.c_str(), targetPath_.c_str()) != 0) error = errno;
  if (error != 0) {
    Discard();
    return Failed(error);
  }
  temporary_.clear();
  if (durability_ == Durability::Synced) SyncFolder(folder_);
  return Result::Success();
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) unlink(temporary_.c_str());
  temporary_.clear();
}

Result WriteFileAtomically(const std::string& path, std::string_view content, Durability durability) {
  AtomicFileWriter writer;
  if (Result opened = writer.Open(path, durability); !opened) return opened;
  writer.Append(content);
  return writer.Commit();
}

}  // namespace qv70
