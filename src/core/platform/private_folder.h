#pragma once

// The one folder of this user where the program keeps its single-instance
// lock and qv70-sim its default socket. Header only: the instrument library
// (drivers/usbsgl), which links nothing of the core, shares it too, so the
// simulator, the library and the program always agree on the place.

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace qv70 {

struct PrivateFolder {
  std::string path;
  // Why the folder cannot be trusted (then it must not be used), or empty.
  std::string problem;
  bool usable() const { return problem.empty(); }
};

namespace private_folder {

// Why `info` (from lstat of `path`) is no folder that only `uid` controls, or
// empty. `othersMayRead`: whether read and search by others is acceptable.
inline std::string Distrust(const std::string& path, const struct stat& info, uid_t uid, bool othersMayRead) {
  if (!S_ISDIR(info.st_mode)) return path + " is not a folder";
  if (info.st_uid != uid) return path + " belongs to another user";
  const mode_t forbidden = othersMayRead ? (S_IWGRP | S_IWOTH) : (S_IRWXG | S_IRWXO);
  if ((info.st_mode & forbidden) != 0) return path + " is open to other users";
  return {};
}

}  // namespace private_folder

// `runUserRoot`/<uid> when it exists as a folder of `uid` that no one else may
// write to (the session's runtime folder, whatever the environment says);
// otherwise `tmpRoot`/qv70-<uid>, made with mode 0700 when `create` is set. A
// folder found in place of the latter that is not this user's alone, or is no
// folder at all, is refused: someone else could then plant a lock or a socket
// there.
inline PrivateFolder UserPrivateFolder(uid_t uid, const std::string& runUserRoot, const std::string& tmpRoot,
                                       bool create) {
  const std::string id = std::to_string(uid);
  struct stat info {};
  const std::string runtime = runUserRoot + "/" + id;
  if (lstat(runtime.c_str(), &info) == 0 && private_folder::Distrust(runtime, info, uid, true).empty())
    return {runtime, {}};

  PrivateFolder folder{tmpRoot + "/qv70-" + id, {}};
  const char* where = folder.path.c_str();
  if (create && mkdir(where, 0700) == 0) {
    // The umask may have taken more than group and others' bits away.
    if (chmod(where, 0700) != 0) folder.problem = folder.path + ": " + std::strerror(errno);
    return folder;
  }
  if (lstat(where, &info) != 0) {
    // Not there and not to be made here: nothing can be in it either.
    if (errno != ENOENT || create) folder.problem = folder.path + ": " + std::strerror(errno);
    return folder;
  }
  folder.problem = private_folder::Distrust(folder.path, info, uid, false);
  return folder;
}

// This user's folder: /run/user/<uid>, else /tmp/qv70-<uid>.
inline PrivateFolder UserPrivateFolder(bool create) { return UserPrivateFolder(getuid(), "/run/user", "/tmp", create); }

}  // namespace qv70
