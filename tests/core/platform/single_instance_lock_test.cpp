#include "core/platform/single_instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/platform/environment.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

// Starts a child process that takes the lock, reports through a pipe and then
// waits to be killed. Returns its pid and whether it got the lock.
pid_t StartHolder(const std::string& directory, bool& gotLock) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    SingleInstanceLock lock("QV70Software", directory);
    char answer = lock.TryAcquire() ? '1' : '0';
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
  EXPECT_FALSE(here.TryAcquire());

  kill(first, SIGKILL);  // no clean-up at all: the kernel must release the lock
  waitpid(first, nullptr, 0);
  EXPECT_TRUE(here.TryAcquire());
  EXPECT_TRUE(here.held());
  EXPECT_TRUE(FileExists(JoinPath(dir.path(), "QV70Software.lock")));
}

TEST(SingleInstanceLock, ReleasedWhenTheHolderGoesAway) {
  test::TempDir dir;
  {
    SingleInstanceLock first("QV70Software", dir.path());
    ASSERT_TRUE(first.TryAcquire());
    EXPECT_TRUE(first.TryAcquire());  // taking it again in the same holder is harmless
  }
  SingleInstanceLock next("QV70Software", dir.path());
  EXPECT_TRUE(next.TryAcquire());
}

TEST(SingleInstanceLock, DefaultPathIsPerUser) {
  SingleInstanceLock lock("QV70Software");
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0')
    EXPECT_EQ(lock.path(), JoinPath(runtime, "QV70Software.lock"));
  else
    EXPECT_EQ(lock.path(), "/tmp/QV70Software-" + std::to_string(getuid()) + ".lock");
}

TEST(Environment, ExecutableDirectoryAndPaths) {
  EXPECT_EQ(ExecutableDirectory(), QV70_BIN_DIR);
  EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
  EXPECT_FALSE(FileExists("/nonexistent/qv70"));
}

}  // namespace
}  // namespace qv70
