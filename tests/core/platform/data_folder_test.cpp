// Where the program's own files live: beside the program while it may write
// there, else in the user's configuration folder.

#include "core/platform/data_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "support/temp_dir.h"

namespace qv70 {
namespace {

TEST(ChooseDataFolder, FollowsTheFirstFolderThatCanBeWritten) {
  struct Case {
    const char* name;
    std::set<std::string> writable;
    const char* xdg;
    const char* home;
    DataFolder expected;
  };
  const std::string lib = "/usr/lib/qv70";
  const Case cases[] = {
      {"writable program folder", {lib, "/x/qv70"}, "/x", "/home/jo", {lib, DataPlace::Program, ""}},
      {"system prefix, XDG set",
       {"/x/qv70"},
       "/x",
       "/home/jo",
       {"/x/qv70", DataPlace::UserConfig, "/x/qv70"}},
      {"system prefix, XDG with a slash",
       {"/x/qv70"},
       "/x/",
       "/home/jo",
       {"/x/qv70", DataPlace::UserConfig, "/x/qv70"}},
      {"system prefix, XDG unset",
       {"/home/jo/.config/qv70"},
       "",
       "/home/jo",
       {"/home/jo/.config/qv70", DataPlace::UserConfig, "/home/jo/.config/qv70"}},
      {"system prefix, XDG relative",
       {"/home/jo/.config/qv70", "x/qv70"},
       "x",
       "/home/jo",
       {"/home/jo/.config/qv70", DataPlace::UserConfig, "/home/jo/.config/qv70"}},
      // The user chose the folder: no quiet second place.
      {"system prefix, XDG not writable",
       {"/home/jo/.config/qv70"},
       "/x",
       "/home/jo",
       {lib, DataPlace::Nowhere, "/x/qv70"}},
      {"system prefix, home not writable",
       {},
       "",
       "/home/jo",
       {lib, DataPlace::Nowhere, "/home/jo/.config/qv70"}},
      {"system prefix, no home", {"/qv70", "/.config/qv70"}, "", "", {lib, DataPlace::Nowhere, ""}},
      {"system prefix, relative home", {"jo/.config/qv70"}, "", "jo", {lib, DataPlace::Nowhere, ""}},
  };
  for (const Case& c : cases) {
    std::set<std::string> asked;
    const auto canWriteIn = [&](const std::string& path) {
      asked.insert(path);
      return c.writable.count(path) > 0;
    };
    const DataFolder chosen = ChooseDataFolder(lib, c.xdg, c.home, canWriteIn);
    EXPECT_EQ(chosen.path, c.expected.path) << c.name;
    EXPECT_EQ(chosen.place, c.expected.place) << c.name;
    EXPECT_EQ(chosen.userFolder, c.expected.userFolder) << c.name;
    // A per-user folder is made only when the program folder cannot take the files.
    if (c.expected.place == DataPlace::Program) {
      EXPECT_EQ(asked, std::set<std::string>{lib}) << c.name;
    }
  }
}

TEST(MakeWritableFolder, MakesMissingParentsAndRefusesWhatCannotBeAFolder) {
  struct Case {
    const char* name;
    const char* path;  // under the test's folder; "!" for the relative path
    bool made;
  };
  const Case cases[] = {
      {"existing folder", "", true},
      {"three missing levels", "/a/b/qv70", true},
      {"a file in the way", "/file/qv70", false},
      {"the path is a file", "/file", false},
      {"a folder without write bits", "/locked", false},
      {"relative path", "!", false},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    test::WriteWholeFile(dir.File("file"), "x");
    ASSERT_EQ(mkdir(dir.File("locked").c_str(), 0500), 0);
    const std::string path = c.path[0] == '!' ? std::string("relative/qv70") : dir.path() + c.path;
    EXPECT_EQ(MakeWritableFolder(path), c.made) << c.name;
    if (c.made) {
      struct stat info;
      ASSERT_EQ(stat(path.c_str(), &info), 0) << c.name;
      EXPECT_TRUE(S_ISDIR(info.st_mode)) << c.name;
    }
  }
}

}  // namespace
}  // namespace qv70
