// Saves that run out of room keep the old file, leave nothing beside it and
// say why: onto a small tmpfs filled to the last byte (where a mount namespace
// can be had), and under a file-size limit (RLIMIT_FSIZE, everywhere), as a
// save of the core and as qv70cli, which such a limit must not kill.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "core/files/data_file.h"
#include "core/files/messages.h"
#include "core/files/settings_file.h"
#include "reliability/save_versions.h"
#include "support/private_tmp.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

const std::string kExample = std::string(QV70_SOURCE_DIR) + "/examples/current_comma_period.csv";
// Far below the largest data file (about 200 KB), above the example (3 KB).
constexpr rlim_t kFileSizeLimit = 16 * 1024;

// The saves that replace a file, each with what its target holds before.
struct Save {
  const char* name;
  const char* file;
  std::string before;
  std::function<Result(const std::string& path)> run;
};

std::vector<Save> Saves() {
  static const auto largest = test::LargestState(1);
  return {
      {"data file", "data.csv", test::ReadWholeFile(kExample),
       [](const std::string& path) { return WriteDataFile(path, largest->tables, NumberFormat{}); }},
      {"settings", "Config.ini", "[WNDRECT]\r\nLEFT=10\r\n",
       [](const std::string& path) {
         return SettingsFile(path).Write("INFO", "AUTHOR", std::string(SettingsFile::kMaxValueLength, 'a'));
       }},
  };
}

// Fills the file system of `folder` to its last byte.
void FillUp(const std::string& folder) {
  const int fd = open((folder + "/filler").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  ASSERT_GE(fd, 0);
  const std::string block(4096, 'f');
  for (size_t size = block.size(); size > 0; size /= 2) {
    while (write(fd, block.data(), size) == static_cast<ssize_t>(size)) {
    }
  }
  EXPECT_EQ(errno, ENOSPC);
  close(fd);
}

TEST(FullDisk, OntoAFullTmpfs) { test::RunInOwnMounts("FullDisk.DISABLED_OntoAFullTmpfsInside"); }

TEST(FullDisk, DISABLED_OntoAFullTmpfsInside) {
  if (!test::InOwnMounts()) return;
  for (const Save& save : Saves()) {
    SCOPED_TRACE(save.name);
    test::TempDir folder;
    if (mount("tmpfs", folder.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") != 0)
      GTEST_SKIP() << "no tmpfs can be mounted here";
    const std::string path = folder.File(save.file);
    test::WriteWholeFile(path, save.before);
    FillUp(folder.path());

    const Result saved = save.run(path);
    EXPECT_FALSE(saved.ok);
    const std::string reason = save_message::kDiskFull;
    EXPECT_EQ(saved.message,
              save.file == std::string("data.csv") ? save_message::Failed(path, reason) : reason);
    EXPECT_EQ(test::ReadWholeFile(path), save.before);
    EXPECT_EQ(test::FolderEntries(folder.path()), (std::vector<std::string>{save.file, "filler"}));
    // Nothing of the failed save holds on to room: with the filler gone it saves.
    ASSERT_EQ(unlink(folder.File("filler").c_str()), 0);
    EXPECT_TRUE(save.run(path).ok);
    EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{save.file});
    umount2(folder.path().c_str(), MNT_DETACH);
  }
}

// The save's message from a child under the file-size limit, or why it failed.
std::string SaveUnderLimit(const Save& save, const std::string& path) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(pipeFds[0]);
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{kFileSizeLimit, kFileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    const Result saved = save.run(path);
    const std::string said = saved.ok ? "saved" : "failed: " + saved.message;
    (void)!write(pipeFds[1], said.data(), said.size());
    _exit(0);
  }
  close(pipeFds[1]);
  std::string said;
  char chunk[512];
  for (ssize_t got; (got = read(pipeFds[0], chunk, sizeof chunk)) > 0;)
    said.append(chunk, static_cast<size_t>(got));
  close(pipeFds[0]);
  waitpid(child, nullptr, 0);
  return said;
}

TEST(FullDisk, UnderAFileSizeLimit) {
  const Save save = Saves().front();
  test::TempDir folder;
  const std::string path = folder.File(save.file);
  test::WriteWholeFile(path, save.before);
  // Too large a file is no full disk: the first line says it all.
  EXPECT_EQ(SaveUnderLimit(save, path), "failed: " + save_message::Failed(path));
  EXPECT_EQ(test::ReadWholeFile(path), save.before);
  EXPECT_EQ(test::FolderEntries(folder.path()), std::vector<std::string>{save.file});
}

// A user's file-size limit (ulimit -f) ends a process that writes past it with
// SIGXFSZ unless it is ignored; qv70cli reports the failed save instead.
TEST(FullDisk, QvcliUnderAFileSizeLimitReportsTheSave) {
  const std::string cli = test::BinPath("qv70cli");
  if (access(cli.c_str(), X_OK) != 0) GTEST_SKIP() << "qv70cli has not been built";
  test::TempDir folder, elsewhere;
  const std::string said = elsewhere.File("said.txt");
  const std::string in = folder.File("largest.csv");
  const std::string out = folder.File("out.csv");
  ASSERT_TRUE(WriteDataFile(in, test::LargestState(0)->tables, NumberFormat{}).ok);
  const std::string before = test::ReadWholeFile(kExample);
  test::WriteWholeFile(out, before);

  const pid_t child = fork();
  if (child == 0) {
    const int output = open(said.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(output, 1);
    dup2(output, 2);
    signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{kFileSizeLimit, kFileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
    execl(cli.c_str(), cli.c_str(), "save", in.c_str(), out.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(test::ReadWholeFile(said).find(save_message::Failed(out)), std::string::npos)
      << test::ReadWholeFile(said);
  EXPECT_EQ(test::ReadWholeFile(out), before);
  EXPECT_EQ(test::FolderEntries(folder.path()), (std::vector<std::string>{"largest.csv", "out.csv"}));
}

}  // namespace
}  // namespace qv70
