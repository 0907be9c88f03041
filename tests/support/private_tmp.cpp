#include "support/private_tmp.h"

#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace qv70::test {
namespace {

constexpr const char* kPrivateTmpMarker = "QV70_TEST_PRIVATE_TMP";
constexpr const char* kOwnMountsMarker = "QV70_TEST_OWN_MOUNTS";
// The child's exit status when no namespace could be made.
constexpr int kNoNamespace = 77;

bool WriteTo(const std::string& path, const std::string& text) {
  int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  return written;
}

// A mount namespace of this process's own, as root or inside a user namespace
// that keeps this user's ids.
bool EnterMountNamespace() {
  if (unshare(CLONE_NEWNS) == 0) return true;
  const uid_t uid = getuid();
  const gid_t gid = getgid();
  if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
  return WriteTo("/proc/self/setgroups", "deny") &&
         WriteTo("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1") &&
         WriteTo("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
}

// Puts an entry of the hidden /tmp back in the new one, so the build folder,
// the test's own temporary folders and the X sockets stay where they were.
void BindBack(int oldTmp, const char* name) {
  struct stat info {};
  if (fstatat(oldTmp, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return;
  const std::string target = std::string("/tmp/") + name;
  if (S_ISDIR(info.st_mode)) {
    if (mkdir(target.c_str(), 0700) != 0) return;
  } else if (S_ISREG(info.st_mode) || S_ISSOCK(info.st_mode)) {
    const int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return;
    close(fd);
  } else {
    return;
  }
  const std::string source = "/proc/self/fd/" + std::to_string(oldTmp) + "/" + name;
  mount(source.c_str(), target.c_str(), nullptr, MS_BIND | MS_REC, nullptr);
}

// Nothing mounted in the namespace reaches the rest of the system.
bool MakeMountsPrivate() { return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0; }

// A fresh /tmp holding everything the old one held but this user's private
// folder, and an empty /run/user.
bool MountPrivateTmp() {
  if (!MakeMountsPrivate()) return false;
  const int oldTmp = open("/tmp", O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (oldTmp < 0) return false;
  if (mount("tmpfs", "/tmp", "tmpfs", MS_NOSUID | MS_NODEV, "mode=1777") != 0) return false;
  const std::string privateFolder = "qv70-" + std::to_string(getuid());
  const int listing = openat(oldTmp, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (DIR* dir = listing >= 0 ? fdopendir(listing) : nullptr) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != ".." && name != privateFolder) BindBack(oldTmp, entry->d_name);
    }
    closedir(dir);
  }
  struct stat info {};
  if (stat("/run/user", &info) == 0 && S_ISDIR(info.st_mode) &&
      mount("tmpfs", "/run/user", "tmpfs", MS_NOSUID | MS_NODEV, "mode=0755") != 0)
    return false;
  return true;
}

// Runs the test `fullName` of this program in a child with a mount namespace
// of its own (and a private /tmp when `privateTmp`), `marker` set in its
// environment; reports its result as the calling test's.
void RunInMountNamespace(const std::string& fullName, bool privateTmp, const char* marker) {
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  ASSERT_GT(length, 0);
  self[length] = '\0';
  TempDir dir;
  const std::string outputPath = dir.File("output.txt");
  const int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  ASSERT_GE(output, 0);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(output, 1);
    dup2(output, 2);
    if (!EnterMountNamespace()) _exit(kNoNamespace);
    if (!(privateTmp ? MountPrivateTmp() : MakeMountsPrivate())) _exit(kNoNamespace);
    setenv(marker, "1", 1);
    const std::string filter = "--gtest_filter=" + fullName;
    execl(self, self, "--gtest_also_run_disabled_tests", filter.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(output);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  const std::string said = ReadWholeFile(outputPath);
  ASSERT_TRUE(WIFEXITED(status)) << fullName << " ended by a signal:\n" << said;
  if (WEXITSTATUS(status) == kNoNamespace)
    GTEST_SKIP() << "no mount namespace here: neither root nor allowed a user namespace";
  if (WEXITSTATUS(status) == 0 && said.find("[  SKIPPED ] 1 test") != std::string::npos)
    GTEST_SKIP() << said;
  EXPECT_EQ(WEXITSTATUS(status), 0) << said;
  // A filter that matched nothing would pass silently.
  EXPECT_NE(said.find("[  PASSED  ] 1 test"), std::string::npos) << said;
}

}  // namespace

bool InPrivateTmp() { return std::getenv(kPrivateTmpMarker) != nullptr; }

void RunInPrivateTmp(const std::string& fullName) { RunInMountNamespace(fullName, true, kPrivateTmpMarker); }

bool InOwnMounts() { return std::getenv(kOwnMountsMarker) != nullptr; }

void RunInOwnMounts(const std::string& fullName) { RunInMountNamespace(fullName, false, kOwnMountsMarker); }

}  // namespace qv70::test
