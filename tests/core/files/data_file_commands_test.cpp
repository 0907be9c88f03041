#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include <string>
#include <vector>

#include "core/data/program_state.h"
#include "core/files/data_file.h"
#include "core/files/data_file_commands.h"
#include "core/files/messages.h"
#include "core/platform/scripted_ui_services.h"
#include "support/data_file_test_support.h"

namespace qv70 {
namespace {

using test::ExamplePath;
using test::ReadWholeFile;
using test::WriteWholeFile;

const std::string kCurrent = ExamplePath("current_comma_period.csv");

// Data as after a download: opened from an example, then marked unsaved.
void DownloadedData(ProgramState& state) {
  ASSERT_TRUE(ReadDataFile(kCurrent, state.tables).ok);
  state.tables.dataState = DataState::Unsaved;
}

bool SameMessage(const ScriptedUiServices::Message& m, const std::string& text, const std::string& caption,
                 MessageButtons buttons, MessageIcon icon) {
  return m.text == text && m.caption == caption && m.buttons == buttons && m.icon == icon;
}

// ---- Save ----

TEST(SaveDataFile, CancelledDialogDoesNothing) {
  ProgramState state;
  DownloadedData(state);
  ScriptedUiServices ui;
  EXPECT_FALSE(SaveDataFile(state, ui));
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_EQ(ui.saveRequests.size(), 1u);
  EXPECT_EQ(ui.saveRequests[0].filterDescription, "*.csv");
  EXPECT_EQ(ui.saveRequests[0].filterPattern, "*.csv");
  EXPECT_EQ(ui.saveRequests[0].initialName, "");
  EXPECT_EQ(state.tables.dataState, DataState::Unsaved);
}

struct NameCase {
  const char* chosen;
  const char* written;
};

TEST(SaveDataFile, AppendsCsvUnlessTheNameContainsIt) {
  const std::vector<NameCase> cases = {
      {"data", "data.csv"},
      {"data.CSV", "data.CSV.csv"},
      {"data.txt", "data.txt.csv"},
      {"data.csv", "data.csv"},
      {"data.csv.bak", "data.csv.bak"},
      {"my.csvfile", "my.csvfile"},
      {"data.cs", "data.cs.csv"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    ProgramState state;
    DownloadedData(state);
    ScriptedUiServices ui;
    ui.saveNames.push_back(dir.File(c.chosen));
    EXPECT_TRUE(SaveDataFile(state, ui)) << c.chosen;
    EXPECT_EQ(ReadWholeFile(dir.File(c.written)), FormatDataFile(state.tables, state.numberFormat)) << c.chosen;
    EXPECT_EQ(state.tables.dataState, DataState::Saved) << c.chosen;
    EXPECT_TRUE(ui.messages.empty()) << c.chosen;
  }
}

TEST(SaveDataFile, UsesTheNumberFormatSettings) {
  test::TempDir dir;
  ProgramState state;
  state.SetNumberFormat(1, 1);
  ASSERT_TRUE(ReadDataFile(kCurrent, state.tables).ok);
  ScriptedUiServices ui;
  ui.saveNames.push_back(dir.File("out.csv"));
  ASSERT_TRUE(SaveDataFile(state, ui));
  EXPECT_EQ(ReadWholeFile(dir.File("out.csv")), ReadWholeFile(ExamplePath("current_semicolon_comma.csv")));
}

struct ReplaceCase {
  const char* name;
  MessageAnswer answer;
  bool written;
};

TEST(SaveDataFile, AsksBeforeReplacingAFile) {
  const std::vector<ReplaceCase> cases = {
      {"yes_replaces", MessageAnswer::Yes, true},
      {"no_keeps_the_old_file", MessageAnswer::No, false},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    const std::string path = dir.File("old.csv");
    WriteWholeFile(path, "previous contents");
    ProgramState state;
    DownloadedData(state);
    ScriptedUiServices ui;
    ui.saveNames.push_back(path);
    ui.answers.push_back(c.answer);
    EXPECT_EQ(SaveDataFile(state, ui), c.written) << c.name;
    ASSERT_EQ(ui.messages.size(), 1u) << c.name;
    EXPECT_TRUE(SameMessage(ui.messages[0], save_message::kReplaceQuestion, save_message::kReplaceCaption,
                            MessageButtons::YesNo, MessageIcon::Question))
        << c.name;
    EXPECT_EQ(ReadWholeFile(path) == "previous contents", !c.written) << c.name;
    EXPECT_EQ(state.tables.dataState, c.written ? DataState::Saved : DataState::Unsaved) << c.name;
  }
}

struct FailureCase {
  const char* name;
  bool fileExists;
  mode_t fileMode;
  mode_t folderMode;
};

TEST(SaveDataFile, AFailedSaveKeepsTheOldFileAndSaysSo) {
  const std::vector<FailureCase> cases = {
      {"read_only_file", true, 0444, 0755},
      {"new_file_in_read_only_folder", false, 0, 0555},
      {"writable_file_in_read_only_folder", true, 0644, 0555},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    const std::string folder = dir.File("folder");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string path = folder + "/data.csv";
    if (c.fileExists) {
      WriteWholeFile(path, "previous contents");
      chmod(path.c_str(), c.fileMode);
    }
    chmod(folder.c_str(), c.folderMode);

    ProgramState state;
    DownloadedData(state);
    ScriptedUiServices ui;
    ui.saveNames.push_back(path);
    EXPECT_FALSE(SaveDataFile(state, ui)) << c.name;
    ASSERT_FALSE(ui.messages.empty()) << c.name;
    EXPECT_TRUE(SameMessage(ui.messages.back(), save_message::Failed(path), kSaveCaption, MessageButtons::Ok,
                            MessageIcon::None))
        << c.name;
    EXPECT_EQ(state.tables.dataState, DataState::Unsaved) << c.name;
    if (c.fileExists)
      EXPECT_EQ(ReadWholeFile(path), "previous contents") << c.name;
    else
      EXPECT_NE(access(path.c_str(), F_OK), 0) << c.name;
    chmod(folder.c_str(), 0755);
    // No temporary file is left behind beside the target.
    EXPECT_EQ(std::system(("test $(ls -A '" + folder + "' | wc -l) -le 1").c_str()), 0) << c.name;
  }
}

TEST(SaveDataFile, AFolderNamedLikeTheFileIsNotReplaced) {
  test::TempDir dir;
  const std::string path = dir.File("taken.csv");
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  ProgramState state;
  DownloadedData(state);
  ScriptedUiServices ui;
  ui.saveNames.push_back(path);
  ui.answers.push_back(MessageAnswer::Yes);
  EXPECT_FALSE(SaveDataFile(state, ui));
  EXPECT_EQ(ui.messages.back().text, save_message::Failed(path));
}

TEST(SaveDataFile, FileNameIsNeverUsedAsAFormat) {
  test::TempDir dir;
  const std::string folder = dir.File("ro");
  ASSERT_EQ(mkdir(folder.c_str(), 0555), 0);
  const std::string path = folder + "/%s%n%s%d.csv";
  ProgramState state;
  ScriptedUiServices ui;
  ui.saveNames.push_back(path);
  EXPECT_FALSE(SaveDataFile(state, ui));
  EXPECT_EQ(ui.messages.back().text, save_message::Failed(path));
  chmod(folder.c_str(), 0755);
}

TEST(SaveDataFile, ReplacingKeepsTheFileMode) {
  test::TempDir dir;
  const std::string path = dir.File("kept.csv");
  WriteWholeFile(path, "x");
  chmod(path.c_str(), 0640);
  ProgramState state;
  ScriptedUiServices ui;
  ui.saveNames.push_back(path);
  ui.answers.push_back(MessageAnswer::Yes);
  ASSERT_TRUE(SaveDataFile(state, ui));
  struct stat info;
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadWholeFile(path), FormatDataFile(state.tables, state.numberFormat));
}

// ---- Open ----

struct PromptCase {
  const char* name;
  DataState stateBefore;
  std::vector<MessageAnswer> answers;
  std::vector<std::string> saveNames;  // empty string: cancel the save dialog
  bool dialogShown;
  bool opened;
};

TEST(OpenDataFile, AsksToSaveUnsavedDataFirst) {
  const std::vector<PromptCase> cases = {
      {"unsaved_cancel", DataState::Unsaved, {MessageAnswer::Cancel}, {}, false, false},
      {"unsaved_yes_save_cancelled", DataState::Unsaved, {MessageAnswer::Yes}, {""}, false, false},
      {"unsaved_yes_saved", DataState::Unsaved, {MessageAnswer::Yes}, {"saved.csv"}, true, true},
      {"unsaved_no", DataState::Unsaved, {MessageAnswer::No}, {}, true, true},
      {"saved_no_prompt", DataState::Saved, {}, {}, true, true},
      {"no_data_no_prompt", DataState::NoData, {}, {}, true, true},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    ProgramState state;
    ASSERT_TRUE(ReadDataFile(ExamplePath("older_layout.csv"), state.tables).ok);
    state.tables.dataState = c.stateBefore;
    const test::WorkingSnapshot before(state.tables);
    ScriptedUiServices ui;
    ui.answers.assign(c.answers.begin(), c.answers.end());
    for (const auto& name : c.saveNames) ui.saveNames.push_back(name.empty() ? "" : dir.File(name));
    ui.openNames.push_back(kCurrent);
    int refreshed = 0;
    EXPECT_EQ(OpenDataFile(state, ui, [&] { ++refreshed; }), c.opened) << c.name;
    EXPECT_EQ(ui.openRequests.size(), c.dialogShown ? 1u : 0u) << c.name;
    EXPECT_EQ(refreshed, c.opened ? 1 : 0) << c.name;
    if (c.stateBefore == DataState::Unsaved) {
      ASSERT_FALSE(ui.messages.empty()) << c.name;
      EXPECT_TRUE(SameMessage(ui.messages[0], save_message::kSaveDataQuestion, save_message::kSaveDataCaption,
                              MessageButtons::YesNoCancel, MessageIcon::Question))
          << c.name;
    } else {
      EXPECT_TRUE(ui.messages.empty()) << c.name;
    }
    if (c.opened) {
      EXPECT_EQ(state.tables.dataState, DataState::Saved) << c.name;
      EXPECT_EQ(state.tables.info.serialNumber, "09120345") << c.name;
      EXPECT_EQ(state.tables.recordCount[9], 2) << c.name;
    } else {
      test::ExpectUnchanged(before, state.tables);
    }
    if (!c.saveNames.empty() && !c.saveNames[0].empty()) {
      EXPECT_EQ(ReadWholeFile(dir.File(c.saveNames[0])).substr(0, 12), "ZAVEL.QV70EN") << c.name;
    }
  }
}

TEST(OpenDataFile, ShowsRefusalsAsFileOpenMessages) {
  test::TempDir dir;
  WriteWholeFile(dir.File("plain.csv"), "a,b,c\r\n");
  const std::string missing = dir.File("gone.csv");
  struct Case {
    std::string path;
    std::string text;
  };
  const std::vector<Case> cases = {
      {missing, open_message::FileNotFound(missing)},
      {dir.File("plain.csv"), open_message::kNotEnglishVersion},
      {dir.path(), open_message::FileNotReadable(dir.path())},
  };
  for (const auto& c : cases) {
    ProgramState state;
    ScriptedUiServices ui;
    ui.openNames.push_back(c.path);
    bool refreshed = false;
    EXPECT_FALSE(OpenDataFile(state, ui, [&] { refreshed = true; })) << c.path;
    ASSERT_EQ(ui.messages.size(), 1u) << c.path;
    EXPECT_TRUE(SameMessage(ui.messages[0], c.text, kOpenCaption, MessageButtons::Ok, MessageIcon::None))
        << c.path;
    EXPECT_FALSE(refreshed);
    EXPECT_EQ(state.tables.dataState, DataState::NoData);
  }
}

TEST(OpenDataFile, CancelledDialogAndNoRefreshCallback) {
  ProgramState state;
  ScriptedUiServices ui;
  EXPECT_FALSE(OpenDataFile(state, ui, {}));
  ASSERT_EQ(ui.openRequests.size(), 1u);
  EXPECT_EQ(ui.openRequests[0].filterPattern, "*.csv");
  ui.openNames.push_back(kCurrent);
  EXPECT_TRUE(OpenDataFile(state, ui, {}));
}

}  // namespace
}  // namespace qv70
