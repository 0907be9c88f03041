#include "core/platform/data_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "core/platform/environment.h"

namespace qv70 {

namespace {

constexpr const char* kUserFolderName = "qv70";

bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

std::string UserFolderFor(const std::string& xdgConfigHome, const std::string& home) {
  if (IsAbsolute(xdgConfigHome)) return JoinPath(xdgConfigHome, kUserFolderName);
  if (IsAbsolute(home)) return JoinPath(JoinPath(home, ".config"), kUserFolderName);
  return {};
}

bool MakeOneFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) return true;
  return false;
}

}  // namespace

DataFolder ChooseDataFolder(const std::string& programDirectory, const std::string& xdgConfigHome,
                            const std::string& home,
                            const std::function<bool(const std::string&)>& canWriteIn) {
  if (canWriteIn(programDirectory)) return {programDirectory, DataPlace::Program, {}};
  const std::string userFolder = UserFolderFor(xdgConfigHome, home);
  if (!userFolder.empty() && canWriteIn(userFolder)) return {userFolder, DataPlace::UserConfig, userFolder};
  return {programDirectory, DataPlace::Nowhere, userFolder};
}

DataFolder ChooseDataFolderForThisUser(const std::string& programDirectory) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  return ChooseDataFolder(programDirectory, xdg ? xdg : "", UserHomeDirectory(), MakeWritableFolder);
}

bool CanWriteInFolder(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
  return (info.st_mode & 0222) != 0 && access(path.c_str(), W_OK | X_OK) == 0;
}

bool MakeWritableFolder(const std::string& path) {
  if (!IsAbsolute(path)) return false;
  // Each parent in turn, as mkdir makes one level only.
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    if (!MakeOneFolder(path.substr(0, slash))) return false;
  }
  return MakeOneFolder(path) && CanWriteInFolder(path);
}

std::string UserHomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && IsAbsolute(home)) return home;
  std::vector<char> buffer(16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
  return IsAbsolute(found->pw_dir) ? found->pw_dir : std::string();
}

}  // namespace qv70
