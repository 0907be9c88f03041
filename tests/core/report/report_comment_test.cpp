// The comment box's rules: the 250-character limit and "Read Comment File...".
#include "core/report/report_comment.h"

#include <gtest/gtest.h>

#include <string>

#include "core/platform/scripted_ui_services.h"
#include "core/report/messages.h"
#include "support/bad_files.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

TEST(CommentLimit, CutsBeyond250Characters) {
  const struct {
    const char* name;
    std::string plain;
    std::optional<std::string> cut;
  } rows[] = {
      {"250 ascii", std::string(250, 'a'), std::nullopt},
      {"251 ascii", std::string(251, 'a'), std::string(250, 'a')},
      {"250 chinese is 750 bytes but within", Repeat("绝", 250), std::nullopt},
      {"251 chinese", Repeat("绝", 251), Repeat("绝", 250)},
      {"line ends count one each", Repeat("a\n", 126), Repeat("a\n", 125)},
  };
  for (const auto& row : rows) EXPECT_EQ(CommentCutToLimit(row.plain), row.cut) << row.name;
}

TEST(CommentTextFile, KeepsFiveLinesWithTheFourthJoined) {
  const std::string longLine = std::string(1200, 'x') + "\n";
  const struct {
    const char* name;
    std::string bytes;
    std::string comment;
  } rows[] = {
      {"seven lines", "L1\nL2\nL3\nL4\nL5\nL6\nL7\n", "L1\nL2\nL3\nL4L5\n"},
      {"seven lines with CR LF", "L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nL7\r\n", "L1\nL2\nL3\nL4L5\n"},
      {"three lines, no final line end", "a\nb\nc", "a\nb\nc"},
      {"four lines", "a\nb\nc\nd\n", "a\nb\nc\nd"},
      {"empty file", "", ""},
      {"blank lines are lines", "\n\n\n\n\nsix\n", "\n\n\n\n"},
      {"a long line reads in parts of 999", longLine + "next\n", std::string(250, 'x')},
      {"gb18030 file", "\xbe\xf8\xd4\xb5\xb5\xe7\xd7\xe8\n", "绝缘电阻\n"},
      {"utf-8 file with byte-order mark",
       "\xEF\xBB\xBF"
       "绝缘\n",
       "绝缘\n"},
      {"cut to 250 characters", Repeat(std::string(60, 'y') + "\n", 5),
       [] {
         std::string expected = Repeat(std::string(60, 'y') + "\n", 3) + std::string(60, 'y');
         return expected + std::string(250 - expected.size(), 'y');
       }()},
      {"control characters dropped",
       std::string("a\x01\tb\x00"
                   "c\n",
                   7),
       "a\tbc\n"},
  };
  for (const auto& row : rows) EXPECT_EQ(CommentFromTextFile(row.bytes), row.comment) << row.name;
  // A 999-character first part leaves the rest of the line as the second.
  EXPECT_EQ(CommentFromTextFile(std::string(999, 'x') + "z\nA\nB\nC\n").substr(0, 250),
            std::string(250, 'x'));
}

TEST(CommentTextFile, ReadsOnlyFilesAndTellsAMissingOne) {
  test::TempDir dir;
  const std::string path = dir.File("comment.txt");
  ResultOf<std::string> missing = ReadCommentTextFile(path);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.message, "Cannot open file \"" + path + "\".");

  // Something that is not a file leaves the comment alone, says nothing and never waits.
  for (const char* kind : {"directory", "fifo", "link to /dev/zero"}) {
    test::TempDir other;
    for (const test::BadFileKind& bad : test::BadFileKinds())
      if (std::string(bad.name) == kind) bad.make(other.File("c.txt"), "");
    test::HangGuard guard;
    const ResultOf<std::string> read = ReadCommentTextFile(other.File("c.txt"));
    EXPECT_FALSE(read.ok) << kind;
    EXPECT_EQ(read.message, "") << kind;
  }

  // A large file is read from its beginning only.
  test::WriteWholeFile(path, "L1\nL2\n" + std::string(5 * 1024 * 1024, 'z'));
  const ResultOf<std::string> large = ReadCommentTextFile(path);
  ASSERT_TRUE(large.ok);
  EXPECT_EQ(large.value, "L1\nL2\n" + std::string(244, 'z'));
}

TEST(CommentTextFile, TheButtonReplacesTheCommentOrTells) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("ok.txt"), "Tested\n");
  const struct {
    const char* name;
    std::string chosen;  // empty: the dialog is cancelled
    bool replaced;
    std::string comment;
    size_t messages;
  } rows[] = {
      {"a text file", dir.File("ok.txt"), true, "Tested\n", 0},
      {"cancelled", "", false, "before", 0},
      {"a missing file", dir.File("gone.txt"), false, "before", 1},
      {"a folder", dir.path(), false, "before", 0},
  };
  for (const auto& row : rows) {
    ScriptedUiServices ui;
    ui.openNames.push_back(row.chosen);
    std::string comment = "before";
    EXPECT_EQ(ReadCommentFileCommand(ui, comment), row.replaced) << row.name;
    EXPECT_EQ(comment, row.comment) << row.name;
    ASSERT_EQ(ui.openRequests.size(), 1u) << row.name;
    EXPECT_EQ(ui.openRequests[0].filterDescription, "Text File (*.txt)") << row.name;
    EXPECT_EQ(ui.openRequests[0].filterPattern, "*.txt") << row.name;
    ASSERT_EQ(ui.messages.size(), row.messages) << row.name;
    if (row.messages > 0) {
      EXPECT_EQ(ui.messages[0].text, report_message::CannotOpenFile(row.chosen)) << row.name;
      EXPECT_EQ(ui.messages[0].caption, "Open File") << row.name;
    }
  }
}

}  // namespace
}  // namespace qv70
