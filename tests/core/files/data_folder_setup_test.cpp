// The data folder made ready at start: what carries over from beside the
// program, and what the operator is told, once.

#include "core/files/data_folder_setup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "core/platform/environment.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

using test::ReadWholeFile;
using test::WriteWholeFile;

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(PrepareDataFolder, CarriesTheFilesOverAndTellsOnce) {
  enum class Said { Nothing, WhereTheyAre, CopyFailed, NothingKept, NothingKeptNoHome };
  struct Case {
    const char* name;
    DataPlace place;
    const char* programConfig;  // null: no Config.ini beside the program
    const char* dataConfig;     // null: none in the data folder yet
    bool told;                  // the note of an earlier start is there
    bool dataLocked;            // the data folder has no write permission
    Said said;
    const char* configAfter;  // Config.ini in the data folder afterwards; null: none
    bool noteAfter;
  };
  const Case cases[] = {
      {"writable program folder", DataPlace::Program, "[INFO]\r\n", nullptr, false, false, Said::Nothing,
       nullptr, false},
      {"first start, files beside the program", DataPlace::UserConfig, "[INFO]\r\nAUTHOR=Jo\r\n", nullptr,
       false, false, Said::WhereTheyAre, "[INFO]\r\nAUTHOR=Jo\r\n", true},
      {"first start, nothing beside the program", DataPlace::UserConfig, nullptr, nullptr, false, false,
       Said::WhereTheyAre, nullptr, true},
      {"files already in the data folder", DataPlace::UserConfig, "[INFO]\r\nAUTHOR=Jo\r\n",
       "[INFO]\r\nAUTHOR=Al\r\n", true, false, Said::Nothing, "[INFO]\r\nAUTHOR=Al\r\n", true},
      {"later start", DataPlace::UserConfig, nullptr, "[WNDRECT]\r\n", true, false, Said::Nothing,
       "[WNDRECT]\r\n", true},
      // Said again at every start until the copy succeeds.
      {"copy fails", DataPlace::UserConfig, "[INFO]\r\nAUTHOR=Jo\r\n", nullptr, true, true, Said::CopyFailed,
       nullptr, true},
      {"nothing can be written", DataPlace::Nowhere, "[INFO]\r\n", nullptr, false, false, Said::NothingKept,
       nullptr, false},
      {"nothing can be written, no home", DataPlace::Nowhere, "[INFO]\r\n", nullptr, false, false,
       Said::NothingKeptNoHome, nullptr, false},
  };
  for (const Case& c : cases) {
    test::TempDir program, user;
    const std::string data = c.place == DataPlace::UserConfig ? user.path() : program.path();
    const std::string userFolder = c.said == Said::NothingKeptNoHome ? "" : user.path();
    if (c.programConfig) WriteWholeFile(program.File("Config.ini"), c.programConfig);
    WriteWholeFile(program.File("Comment.inl"), "\x02hi");
    if (c.dataConfig) WriteWholeFile(JoinPath(data, "Config.ini"), c.dataConfig);
    if (c.told) WriteWholeFile(JoinPath(data, kDataFolderNoteName), "told\n");
    if (c.dataLocked) {
      ASSERT_EQ(chmod(data.c_str(), 0500), 0);
    }

    const OperatorMessage message = PrepareDataFolder(program.path(), {data, c.place, userFolder});
    chmod(data.c_str(), 0700);

    const std::string where =
        "The program folder " + program.path() +
        " cannot be written, so your settings (Config.ini), the report comment (Comment.inl)"
        " and graph pictures (DAT) are kept in " +
        user.path() + ".";
    const std::string notKept =
        ": your settings (Config.ini), the report comment (Comment.inl) and graph pictures (DAT) will not be "
        "kept.";
    switch (c.said) {
      case Said::Nothing: EXPECT_TRUE(message.Empty()) << c.name << ": " << message.text; break;
      case Said::WhereTheyAre:
        EXPECT_EQ(message.text, where) << c.name;
        EXPECT_EQ(message.icon, MessageIcon::Information) << c.name;
        break;
      case Said::CopyFailed:
        EXPECT_EQ(
            message.text.rfind(where + "\nConfig.ini of the program folder could not be copied there.", 0),
            0u)
            << c.name << ": " << message.text;
        EXPECT_EQ(message.icon, MessageIcon::Warning) << c.name;
        break;
      case Said::NothingKept:
        EXPECT_EQ(message.text, "Neither the program folder " + program.path() + " nor " + user.path() +
                                    " can be written" + notKept)
            << c.name;
        EXPECT_EQ(message.icon, MessageIcon::Warning) << c.name;
        break;
      case Said::NothingKeptNoHome:
        EXPECT_EQ(message.text, "The program folder " + program.path() +
                                    " cannot be written and there is no home folder" + notKept)
            << c.name;
        break;
    }
    if (!message.Empty()) {
      EXPECT_EQ(message.caption, std::string(kDataFolderCaption)) << c.name;
    }

    if (c.place != DataPlace::UserConfig) {
      EXPECT_FALSE(FileExists(user.File(kDataFolderNoteName))) << c.name;
      EXPECT_FALSE(IsFolder(user.File("DAT"))) << c.name;
      EXPECT_FALSE(IsFolder(program.File("DAT"))) << c.name;
      continue;
    }
    EXPECT_EQ(ReadWholeFile(user.File("Config.ini")), c.configAfter ? c.configAfter : "") << c.name;
    EXPECT_EQ(ReadWholeFile(user.File(kDataFolderNoteName)).empty(), !c.noteAfter) << c.name;
    if (!c.dataLocked) {
      EXPECT_EQ(ReadWholeFile(user.File("Comment.inl")), "\x02hi") << c.name;
      EXPECT_TRUE(IsFolder(user.File("DAT"))) << c.name;
    }
  }
}

}  // namespace
}  // namespace qv70
