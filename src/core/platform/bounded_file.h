#pragma once

// Reading a file whole, bounded and typed: the files kept beside the program
// (Config.ini, Comment.inl, ZvUsbSgl.conf) and the data files the operator
// opens. Header-only, so that the instrument library, which cannot link the
// core, reads its configuration the same way.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <string>

namespace qv70 {

// The bound of the small files beside the program; none comes near it.
inline constexpr size_t kMaxSideFileSize = 1024 * 1024;

enum class FileState {
  Read,     // a regular file, read whole
  Missing,  // nothing at the path (also a link to nothing)
  Damaged,  // something is there but it cannot be one of our files
};

struct BoundedFile {
  FileState state = FileState::Missing;
  std::string content;  // the bytes, when Read
  std::string problem;  // why it is Damaged, e.g. "is not a regular file"
};

namespace bounded_file_detail {

inline BoundedFile Damaged(std::string problem) { return {FileState::Damaged, {}, std::move(problem)}; }

inline std::string SizeText(size_t bytes) {
  if (bytes % (1024 * 1024) == 0) return std::to_string(bytes / (1024 * 1024)) + " MiB";
  return std::to_string(bytes) + " bytes";
}

inline BoundedFile CannotRead(int error) {
  return Damaged(std::string("cannot be read: ") + std::strerror(error));
}

// Reads `fd` to its end, at most `limit` bytes; a file that turns out longer
// than it said (it grew, or it is a /proc file of size 0) is still bounded.
inline BoundedFile ReadOpenFile(int fd, size_t sizeHint, size_t limit) {
  std::string bytes(std::min(sizeHint, limit) + 1, '\0');
  size_t used = 0;
  for (;;) {
    if (used == bytes.size()) {
      if (used > limit) return Damaged("is larger than " + SizeText(limit));
      bytes.resize(std::min(bytes.size() * 2, limit + 1));
    }
    ssize_t got = read(fd, &bytes[used], bytes.size() - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      return CannotRead(errno);
    }
    if (got == 0) break;
    used += static_cast<size_t>(got);
  }
  bytes.resize(used);
  return {FileState::Read, std::move(bytes), {}};
}

inline BoundedFile ReadRegularFile(const std::string& path, size_t limit) {
  // Whatever is not a regular file is refused before it is opened: opening a
  // FIFO waits for a writer, and opening a device can act on it.
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    return CannotRead(errno);
  }
  if (!S_ISREG(info.st_mode)) return Damaged("is not a regular file");
  if (static_cast<unsigned long long>(info.st_size) > limit)
    return Damaged("is larger than " + SizeText(limit));

  // O_NONBLOCK in case the path was swapped for a FIFO since the look above;
  // the open file itself decides.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT) return {};
    return CannotRead(errno);
  }
  BoundedFile file;
  if (fstat(fd, &info) != 0) {
    file = CannotRead(errno);
  } else if (!S_ISREG(info.st_mode)) {
    file = Damaged("is not a regular file");
  } else {
    file = ReadOpenFile(fd, static_cast<size_t>(info.st_size), limit);
  }
  close(fd);
  return file;
}

}  // namespace bounded_file_detail

// The whole file at `path` when it is a regular file of at most `limit`
// bytes. Never waits (a FIFO, a device or a socket is never read) and never
// throws: running out of memory reads as Damaged.
inline BoundedFile ReadBoundedFile(const std::string& path, size_t limit) noexcept {
  try {
    return bounded_file_detail::ReadRegularFile(path, limit);
  } catch (const std::bad_alloc&) {
    return {FileState::Damaged, {}, {}};
  }
}

}  // namespace qv70
