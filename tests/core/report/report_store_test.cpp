// What Finish keeps for the next start, and what a start makes of it.
#include "core/report/report_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "core/files/comment_file.h"
#include "core/files/settings_file.h"
#include "core/platform/environment.h"
#include "core/report/messages.h"
#include "core/report/report_settings.h"
#include "core/report/report_start.h"
#include "core/rtf/rtf_writer.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

ReportSettings Finished() {
  ReportSettings settings;
  settings.companyName = "绝缘 Ltd";
  settings.author = "Jo";
  settings.picturePath = "/srv/logo.bmp";
  settings.itemFlags = std::string(kItemFlagCount, '1');
  settings.commentRtf = WriteRtf(RichTextFromPlain("Tested at 500 V\n绝缘电阻"));
  return settings;
}

ReportSettings Restart(const std::string& directory) {
  FixedClock clock(0);
  return StartReportSettings(LoadReportStart(Environment{directory, &clock}));
}

TEST(StoreReportSettings, InfoOnlyWithConfigIniTheCommentAlways) {
  for (bool configExists : {true, false}) {
    TempDir dir;
    if (configExists) WriteWholeFile(dir.File("Config.ini"), "[WNDRECT]\r\nLEFT=3\r\n");
    ASSERT_TRUE(StoreReportSettings(Finished(), dir.path()).ok) << configExists;
    EXPECT_EQ(FileExists(dir.File("Config.ini")), configExists);
    const ReportSettings again = Restart(dir.path());
    EXPECT_EQ(again.commentText, "Tested at 500 V\n绝缘电阻") << configExists;
    EXPECT_EQ(again.commentRtf, Finished().commentRtf) << configExists;
    EXPECT_EQ(again.author, configExists ? "Jo" : "") << configExists;
    EXPECT_EQ(again.companyName, configExists ? "绝缘 Ltd" : "") << configExists;
    EXPECT_EQ(again.picturePath, configExists ? "/srv/logo.bmp" : "") << configExists;
    EXPECT_EQ(again.itemFlags, std::string(kItemFlagCount, configExists ? '1' : '0')) << configExists;
    if (configExists) {
      EXPECT_EQ(SettingsFile(dir.File("Config.ini")).Read("WNDRECT", "LEFT", ""), "3");
    }
  }
}

// Comment.inl's three length prefixes at their boundaries, through the file.
TEST(StoreReportSettings, CommentFileAtEachPrefixBoundary) {
  const struct {
    const char* name;
    size_t length;
    size_t prefix;
  } rows[] = {
      {"254 characters", 254, 1},
      {"255 characters", 255, 3},
      {"65533 characters", 65533, 3},
      {"65534 characters", 65534, 7},
  };
  for (const auto& row : rows) {
    TempDir dir;
    ReportSettings settings;
    settings.commentRtf = "{\\rtf1 " + std::string(row.length - 8, 'x') + "}";
    ASSERT_EQ(settings.commentRtf.size(), row.length);
    ASSERT_TRUE(StoreReportSettings(settings, dir.path()).ok) << row.name;
    EXPECT_EQ(ReadWholeFile(dir.File("Comment.inl")).size(), row.prefix + row.length) << row.name;
    const ReportSettings again = Restart(dir.path());
    EXPECT_EQ(again.commentRtf, settings.commentRtf) << row.name;
    EXPECT_EQ(again.commentText, std::string(std::min<size_t>(row.length - 8, 250), 'x')) << row.name;
  }
}

TEST(StartReportSettings, NormalisesWhatConfigIniHolds) {
  const struct {
    const char* name;
    std::string operation;
    std::string flags;
  } rows[] = {
      {"missing", "", std::string(kItemFlagCount, '0')},
      {"short", "101", "101" + std::string(kItemFlagCount - 3, '0')},
      {"long", std::string(40, '1'), std::string(kItemFlagCount, '1')},
      {"other characters", "1x2 1", "10001" + std::string(kItemFlagCount - 5, '0')},
  };
  for (const auto& row : rows) {
    ReportStart start;
    start.info.itemFlags = row.operation;
    start.info.author = "Ouyang Xiaoming the Elder";
    EXPECT_EQ(StartReportSettings(start).itemFlags, row.flags) << row.name;
    EXPECT_EQ(StartReportSettings(start).author, "Ouyang Xiaoming ") << row.name;
  }
  ReportStart damaged;
  damaged.comment = "{\\rtf1 never loaded}";
  EXPECT_EQ(StartReportSettings(damaged).commentText, "");
}

TEST(StoreReportSettings, AFailedWriteIsToldNotHidden) {
  TempDir dir;
  WriteWholeFile(dir.File("Config.ini"), "[INFO]\r\nAUTHOR=old\r\n");
  mkdir(dir.File("Comment.inl").c_str(), 0755);  // no file can replace a folder
  const Result stored = StoreReportSettings(Finished(), dir.path());
  EXPECT_FALSE(stored.ok);
  EXPECT_NE(stored.message.find(dir.File("Comment.inl")), std::string::npos) << stored.message;
  EXPECT_EQ(SettingsFile(dir.File("Config.ini")).Read("INFO", "AUTHOR", ""), "Jo")
      << "the INFO keys still written";
}

TEST(CheckPicturePath, RefusesMissingFilesAndPathsConfigIniCannotKeep) {
  TempDir dir;
  const std::string shortPath = dir.File("logo.bmp");
  WriteWholeFile(shortPath, "BM");
  std::string longPath = dir.path() + "/" + std::string(200, 'd');
  mkdir(longPath.c_str(), 0755);
  longPath += "/" + std::string(60, 'f') + ".bmp";
  WriteWholeFile(longPath, "BM");
  const struct {
    const char* name;
    std::string path;
    bool ok;
    std::string message;
  } rows[] = {
      {"existing file", shortPath, true, ""},
      {"missing file", dir.File("none.bmp"), false, report_message::CannotOpenFile(dir.File("none.bmp"))},
      {"longer than 254 bytes", longPath, false, report_message::kPicturePathTooLong},
  };
  for (const auto& row : rows) {
    const Result checked = CheckPicturePath(row.path);
    EXPECT_EQ(checked.ok, row.ok) << row.name;
    EXPECT_EQ(checked.message, row.message) << row.name;
  }
}

}  // namespace
}  // namespace qv70
