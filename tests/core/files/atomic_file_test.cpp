// Saves that leave nothing behind: temporaries of killed saves are cleared by
// the next save of the same target, links of other users are never followed,
// and a full disk is named in the message.
#include "core/files/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "core/files/messages.h"
#include "support/bad_files.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

constexpr uid_t kNobody = 65534;

pid_t DeadProcess() {
  pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

// A process that runs until the guard ends it.
class LiveProcess {
 public:
  LiveProcess() : pid_(fork()) {
    if (pid_ == 0) {
      pause();
      _exit(0);
    }
  }
  ~LiveProcess() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_;
};

std::string Temporary(const std::string& target, pid_t pid, int counter = 0) {
  return "." + target + ".qv70-save-" + std::to_string(pid) + "-" + std::to_string(counter) + ".tmp";
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

TEST(WriteFileAtomically, NextSaveRemovesTemporariesOfEndedSaves) {
  LiveProcess live;
  const pid_t dead = DeadProcess();
  const bool root = geteuid() == 0;
  const struct {
    const char* name;
    std::string file;
    bool nobodysFile;  // chowned to nobody (only when running as root)
    bool removed;
  } rows[] = {
      {"ended save of the target", Temporary("data.csv", dead), false, true},
      {"running save of the target", Temporary("data.csv", live.pid()), false, false},
      {"this process's own", Temporary("data.csv", getpid()), false, false},
      {"ended save of another target", Temporary("other.csv", dead), false, false},
      {"not a save's name", ".data.csv.qv70-save-" + std::to_string(dead) + ".tmp", false, false},
      {"another user's ended save", Temporary("data.csv", dead, 1), true, false},
  };
  TempDir dir;
  for (const auto& row : rows) {
    if (row.nobodysFile && !root) continue;
    WriteWholeFile(dir.File(row.file), "left by a killed save");
    if (row.nobodysFile) {
      ASSERT_EQ(lchown(dir.File(row.file).c_str(), kNobody, kNobody), 0);
    }
  }
  ASSERT_TRUE(WriteFileAtomically(dir.File("data.csv"), "new").ok);
  EXPECT_EQ(ReadWholeFile(dir.File("data.csv")), "new");
  for (const auto& row : rows) {
    if (row.nobodysFile && !root) continue;
    EXPECT_EQ(Exists(dir.File(row.file)), !row.removed) << row.name;
  }
}

TEST(WriteFileAtomically, LeavesOnlyTheTarget) {
  // Unsynced (the settings fuzzer's) skips the waits for the disk, nothing else.
  for (Durability durability : {Durability::Synced, Durability::Unsynced}) {
    TempDir dir;
    const std::string path = dir.File("data.csv");
    for (const char* content : {"first", "second"}) {
      ASSERT_TRUE(WriteFileAtomically(path, content, durability).ok);
      EXPECT_EQ(ReadWholeFile(path), content);
      EXPECT_EQ(std::system(("test $(ls -A '" + dir.path() + "' | wc -l) -eq 1").c_str()), 0);
    }
  }
}

int EntriesIn(const std::string& folder) {
  return std::system(("exit $(ls -A '" + folder + "' | wc -l)").c_str()) >> 8;
}

// A save made piece by piece replaces the old file only when committed; an
// abandoned one, or one whose writes fail midway, leaves it and nothing else.
TEST(AtomicFileWriter, ReplacesTheFileOnlyWhenCommitted) {
  const struct {
    const char* name;
    bool commit;
    std::size_t fileSizeLimit;  // 0: none
    bool replaced;
  } rows[] = {
      {"committed", true, 0, true},
      {"abandoned", false, 0, false},
      {"writes fail past a size limit", true, 8, false},
  };
  for (const auto& row : rows) {
    TempDir dir;
    const std::string path = dir.File("report.rtf");
    WriteWholeFile(path, "old");
    // In a child, so the size limit holds for it alone.
    const pid_t child = fork();
    if (child == 0) {
      if (row.fileSizeLimit > 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{row.fileSizeLimit, row.fileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
      }
      AtomicFileWriter writer;
      if (!writer.Open(path).ok) _exit(2);
      bool written = true;
      for (const char* piece : {"{\\rtf1 ", "page one ", "page two}"}) written = writer.Append(piece) && written;
      if (!row.commit) _exit(written ? 0 : 3);
      const Result committed = writer.Commit();
      _exit(committed.ok == written ? 0 : 4);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << row.name << ": status " << status;
    EXPECT_EQ(ReadWholeFile(path), row.replaced ? "{\\rtf1 page one page two}" : "old") << row.name;
    EXPECT_EQ(EntriesIn(dir.path()), 1) << row.name;
  }
}

// In a shared folder another user can plant a link named like the file a
// save goes to; following it would overwrite whatever it names.
TEST(WriteFileAtomically, FollowsOnlyThisUsersLinksToThisUsersFiles) {
  if (geteuid() != 0) GTEST_SKIP() << "links of another user can only be made as root";
  const struct {
    const char* name;
    bool nobodysLink;
    bool nobodysFile;
    bool replaced;
  } rows[] = {
      {"own link to own file", false, false, true},
      {"another user's link to own file", true, false, false},
      {"own link to another user's file", false, true, false},
      {"another user's link to another user's file", true, true, false},
  };
  for (const auto& row : rows) {
    TempDir dir;
    const std::string file = dir.File("named.csv");
    const std::string link = dir.File("link.csv");
    WriteWholeFile(file, "before");
    ASSERT_EQ(symlink(file.c_str(), link.c_str()), 0);
    if (row.nobodysFile) {
      ASSERT_EQ(chown(file.c_str(), kNobody, kNobody), 0);
    }
    if (row.nobodysLink) {
      ASSERT_EQ(lchown(link.c_str(), kNobody, kNobody), 0);
    }

    const Result written = WriteFileAtomically(link, "after");
    EXPECT_EQ(written.ok, row.replaced) << row.name;
    EXPECT_EQ(ReadWholeFile(file), row.replaced ? "after" : "before") << row.name;
    EXPECT_EQ(test::Fingerprint(link), "link to " + file) << row.name;
    if (!row.replaced) {
      EXPECT_EQ(written.message, save_message::kForeignLink) << row.name;
    }
  }
}

TEST(WriteFileAtomically, ALinkChainPassingAnotherUsersLinkIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "links of another user can only be made as root";
  TempDir dir;
  const std::string file = dir.File("named.csv");
  WriteWholeFile(file, "before");
  ASSERT_EQ(symlink(file.c_str(), dir.File("middle").c_str()), 0);
  ASSERT_EQ(lchown(dir.File("middle").c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(symlink("middle", dir.File("first").c_str()), 0);
  EXPECT_FALSE(WriteFileAtomically(dir.File("first"), "after").ok);
  EXPECT_EQ(ReadWholeFile(file), "before");
}

// A full disk cannot be made without privileges; the reason is checked where
// the error number becomes the operator's second line.
TEST(SaveFailureReason, NamesAFullDiskOnly) {
  const struct {
    const char* name;
    int error;
    std::string reason;
  } rows[] = {
      {"ENOSPC", ENOSPC, save_message::kDiskFull},
      {"EDQUOT", EDQUOT, save_message::kQuotaFull},
      {"EACCES", EACCES, ""},
      {"EROFS", EROFS, ""},
      {"EIO", EIO, ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SaveFailureReason(row.error), row.reason) << row.name;
    // The program's message stays the first line; the reason only follows it.
    const std::string message = save_message::Failed("/data/x.csv", SaveFailureReason(row.error));
    EXPECT_EQ(message.substr(0, message.find('\n')), save_message::Failed("/data/x.csv")) << row.name;
  }
}

}  // namespace
}  // namespace qv70
