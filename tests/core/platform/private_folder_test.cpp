#include "core/platform/private_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "support/temp_dir.h"

namespace qv70 {
namespace {

// The two roots of one case: run stands for /run/user, tmp for /tmp.
struct Roots {
  std::string run;
  std::string tmp;
};

void MakeFolder(const std::string& path, mode_t mode) {
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0) << path;
  ASSERT_EQ(chmod(path.c_str(), mode), 0) << path;
}

struct FolderCase {
  const char* name;
  // What is there before; `me` is the folder name part of the user asked about.
  std::function<void(const Roots&, const std::string& me)> before;
  // The user asked about is not the owner of what `before` made.
  bool askedForAnotherUser;
  bool create;
  const char* expectedIn;  // "run" or "tmp"
  const char* problem;     // part of the refusal, or "" when usable
};

TEST(UserPrivateFolder, RuntimeFolderWhenTrustedElseAPrivateTmpFolder) {
  const FolderCase cases[] = {
      {"nothing there: made", [](const Roots&, const std::string&) {}, false, true, "tmp", ""},
      {"nothing there, only looking: not made", [](const Roots&, const std::string&) {}, false, false, "tmp", ""},
      {"runtime folder of the user", [](const Roots& r, const std::string& me) { MakeFolder(r.run + "/" + me, 0700); },
       false, true, "run", ""},
      {"runtime folder others may read",
       [](const Roots& r, const std::string& me) { MakeFolder(r.run + "/" + me, 0755); }, false, true, "run", ""},
      {"runtime folder the group may write",
       [](const Roots& r, const std::string& me) { MakeFolder(r.run + "/" + me, 0770); }, false, true, "tmp", ""},
      {"runtime folder of another user",
       [](const Roots& r, const std::string& me) { MakeFolder(r.run + "/" + me, 0700); }, true, true, "tmp", ""},
      {"runtime folder a link",
       [](const Roots& r, const std::string& me) {
         MakeFolder(r.run + "/real", 0700);
         ASSERT_EQ(symlink((r.run + "/real").c_str(), (r.run + "/" + me).c_str()), 0);
       },
       false, true, "tmp", ""},
      {"private folder already made",
       [](const Roots& r, const std::string& me) { MakeFolder(r.tmp + "/qv70-" + me, 0700); }, false, true, "tmp", ""},
      {"private folder others may read",
       [](const Roots& r, const std::string& me) { MakeFolder(r.tmp + "/qv70-" + me, 0755); }, false, true, "tmp",
       "is open to other users"},
      {"private folder the group may use",
       [](const Roots& r, const std::string& me) { MakeFolder(r.tmp + "/qv70-" + me, 0750); }, false, false, "tmp",
       "is open to other users"},
      {"private folder of another user",
       [](const Roots& r, const std::string& me) { MakeFolder(r.tmp + "/qv70-" + me, 0700); }, true, true, "tmp",
       "belongs to another user"},
      {"a file in its place",
       [](const Roots& r, const std::string& me) { test::WriteWholeFile(r.tmp + "/qv70-" + me, "x"); }, false, true,
       "tmp", "is not a folder"},
      {"a link in its place",
       [](const Roots& r, const std::string& me) {
         MakeFolder(r.tmp + "/elsewhere", 0700);
         ASSERT_EQ(symlink((r.tmp + "/elsewhere").c_str(), (r.tmp + "/qv70-" + me).c_str()), 0);
       },
       false, true, "tmp", "is not a folder"},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const Roots roots{dir.File("run"), dir.File("tmp")};
    MakeFolder(roots.run, 0755);
    MakeFolder(roots.tmp, 01777);
    const uid_t uid = c.askedForAnotherUser ? getuid() + 1 : getuid();
    const std::string me = std::to_string(uid);
    c.before(roots, me);

    const PrivateFolder folder = UserPrivateFolder(uid, roots.run, roots.tmp, c.create);
    const std::string expected = std::string(c.expectedIn) == "run" ? roots.run + "/" + me : roots.tmp + "/qv70-" + me;
    EXPECT_EQ(folder.path, expected);
    if (*c.problem == '\0') {
      EXPECT_TRUE(folder.usable()) << folder.problem;
    } else {
      EXPECT_FALSE(folder.usable());
      EXPECT_NE(folder.problem.find(expected + " " + c.problem), std::string::npos) << folder.problem;
    }
    struct stat info {};
    const bool exists = lstat(folder.path.c_str(), &info) == 0;
    if (folder.usable() && std::string(c.expectedIn) == "tmp") {
      // Made only when asked to, and then for this user alone.
      EXPECT_EQ(exists, c.create);
      if (exists) {
        EXPECT_EQ(info.st_mode & 07777, 0700u);
      }
    }
  }
}

TEST(UserPrivateFolder, MadeForTheUserAloneWhateverTheUmask) {
  test::TempDir dir;
  const mode_t before = umask(0277);  // would leave the owner unable to write
  const PrivateFolder folder = UserPrivateFolder(getuid(), dir.File("run"), dir.path(), true);
  umask(before);
  ASSERT_TRUE(folder.usable()) << folder.problem;
  struct stat info {};
  ASSERT_EQ(lstat(folder.path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0700u);
}

}  // namespace
}  // namespace qv70
