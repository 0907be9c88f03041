#include "core/platform/single_instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "core/platform/environment.h"
#include "support/private_tmp.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

using Outcome = SingleInstanceLock::Outcome;

// Starts a child process that takes the lock, reports through a pipe and then
// waits to be killed. Returns its pid and whether it got the lock.
pid_t StartHolder(const std::string& directory, bool& gotLock) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    SingleInstanceLock lock("QV70Software", directory);
    char answer = lock.TryAcquire() == Outcome::Taken ? '1' : '0';
    if (write(fds[1], &answer, 1) != 1) _exit(2);
    for (;;) pause();
  }
  close(fds[1]);
  char answer = '0';
  gotLock = read(fds[0], &answer, 1) == 1 && answer == '1';
  close(fds[0]);
  return pid;
}

TEST(SingleInstanceLock, SecondProcessRefusedUntilTheFirstIsKilled) {
  test::TempDir dir;
  bool firstGotIt = false;
  pid_t first = StartHolder(dir.path(), firstGotIt);
  ASSERT_GT(first, 0);
  ASSERT_TRUE(firstGotIt);

  bool secondGotIt = true;
  pid_t second = StartHolder(dir.path(), secondGotIt);
  EXPECT_FALSE(secondGotIt);
  kill(second, SIGKILL);
  waitpid(second, nullptr, 0);

  SingleInstanceLock here("QV70Software", dir.path());
  EXPECT_EQ(here.TryAcquire(), Outcome::HeldElsewhere);

  kill(first, SIGKILL);  // no clean-up at all: the kernel must release the lock
  waitpid(first, nullptr, 0);
  EXPECT_EQ(here.TryAcquire(), Outcome::Taken);
  EXPECT_TRUE(here.held());
  EXPECT_TRUE(FileExists(JoinPath(dir.path(), "QV70Software.lock")));
}

TEST(SingleInstanceLock, ReleasedWhenTheHolderGoesAway) {
  test::TempDir dir;
  {
    SingleInstanceLock first("QV70Software", dir.path());
    ASSERT_EQ(first.TryAcquire(), Outcome::Taken);
    EXPECT_EQ(first.TryAcquire(), Outcome::Taken);  // taking it again in the same holder is harmless
  }
  SingleInstanceLock next("QV70Software", dir.path());
  EXPECT_EQ(next.TryAcquire(), Outcome::Taken);
}

// What no one else can use to make the program believe it runs already.
struct UnusableCase {
  const char* name;
  std::function<void(const std::string& lockFile)> before;
  bool needsRoot;  // to give a file to another user
  const char* problem;
};

TEST(SingleInstanceLock, ALockFileItCannotTrustIsUnusableNotHeld) {
  constexpr uid_t kNobody = 65534;
  const UnusableCase cases[] = {
      {"another user's lock file",
       [](const std::string& file) {
         test::WriteWholeFile(file, "");
         ASSERT_EQ(chown(file.c_str(), kNobody, kNobody), 0);
       },
       true, "is not a file of this user"},
      {"a link in its place",
       [](const std::string& file) { ASSERT_EQ(symlink("/tmp/elsewhere.lock", file.c_str()), 0); }, false,
       "QV70Software.lock: "},
      {"a folder in its place", [](const std::string& file) { ASSERT_EQ(mkdir(file.c_str(), 0700), 0); }, false,
       "QV70Software.lock: "},
      {"its folder missing", [](const std::string& file) { ASSERT_EQ(rmdir(file.substr(0, file.rfind('/')).c_str()), 0); },
       false, "QV70Software.lock: No such file"},
  };
  for (const UnusableCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.needsRoot && geteuid() != 0) continue;
    test::TempDir dir;
    const std::string folder = dir.File("lock");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    SingleInstanceLock lock("QV70Software", folder);
    c.before(lock.path());
    EXPECT_EQ(lock.TryAcquire(), Outcome::Unusable);
    EXPECT_FALSE(lock.held());
    EXPECT_NE(lock.problem().find(c.problem), std::string::npos) << lock.problem();
  }
}

// In the user's private folder, made for the user alone when missing.
TEST(SingleInstanceLock, DISABLED_DefaultPlaceBody) {
  if (!test::InPrivateTmp()) GTEST_SKIP() << "run by DefaultPlaceIsTheUsersPrivateFolder";
  const std::string folder = "/tmp/qv70-" + std::to_string(getuid());
  SingleInstanceLock lock("QV70Software");
  EXPECT_EQ(lock.path(), folder + "/QV70Software.lock");
  EXPECT_EQ(lock.TryAcquire(), Outcome::Taken);
  struct stat info {};
  ASSERT_EQ(lstat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700u);

  // A folder open to others is refused, and so is every lock in it.
  ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
  SingleInstanceLock second("QV70Software");
  EXPECT_EQ(second.TryAcquire(), Outcome::Unusable);
  EXPECT_EQ(second.problem(), folder + " is open to other users");
}

TEST(SingleInstanceLock, DefaultPlaceIsTheUsersPrivateFolder) {
  test::RunInPrivateTmp("SingleInstanceLock.DISABLED_DefaultPlaceBody");
}

TEST(Environment, ExecutableDirectoryAndPaths) {
  EXPECT_EQ(ExecutableDirectory(), QV70_BIN_DIR);
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_FALSE(FileExists("/nonexistent/qv70"));
}

}  // namespace
}  // namespace qv70
