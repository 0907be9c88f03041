// The report's start values: the INFO texts of Config.ini, the saved comment of
// Comment.inl and today's date.
#include "core/report/report_start.h"

#include <gtest/gtest.h>

#include "core/files/comment_file.h"
#include "core/files/settings_file.h"
#include "core/platform/environment.h"
#include "support/bad_files.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

using test::TempDir;
using test::WriteWholeFile;

TEST(ReportInfo, NeedsTheFileToReadOrWrite) {
  TempDir dir;
  SettingsFile settings = SettingsFile::InDirectory(dir.path());
  EXPECT_FALSE(WriteReportInfo(settings, ReportInfoTexts{"Acme", "Jo", "", "1"}));
  EXPECT_FALSE(settings.Exists());
  ReportInfoTexts texts{"kept", "kept", "kept", "kept"};
  ReadReportInfo(settings, texts);
  EXPECT_EQ(texts.companyName, "kept");

  // Once the file exists, missing keys read as empty texts.
  WriteWholeFile(settings.Path(), "[WNDRECT]\r\nLEFT=0\r\n");
  ReadReportInfo(settings, texts);
  EXPECT_EQ(texts.companyName, "");
  EXPECT_EQ(texts.itemFlags, "");

  ASSERT_TRUE(WriteReportInfo(settings, ReportInfoTexts{"Acme", "Jo", "/tmp/logo.bmp", "1011"}));
  ReadReportInfo(settings, texts);
  EXPECT_EQ(texts.author, "Jo");
  EXPECT_EQ(texts.picturePath, "/tmp/logo.bmp");
  EXPECT_EQ(texts.itemFlags, "1011");
  EXPECT_EQ(settings.Read("INFO", "PICPATCH", ""), "/tmp/logo.bmp");
}

// A Comment.inl or Config.ini that cannot be one (a folder, a FIFO, a device,
// a huge file, or for Config.ini binary bytes) starts the report empty: the
// start neither waits, nor throws, nor changes the file.
TEST(ReportStart, DamagedFilesGiveEmptyStartValues) {
  const std::string comment = EncodeCommentFile("{\\rtf1 kept}");
  for (const test::BadFileKind& kind : test::BadFileKinds()) {
    for (const char* name : {"Comment.inl", "Config.ini"}) {
      TempDir dir;
      const std::string path = dir.File(name);
      const bool isComment = std::string(name) == "Comment.inl";
      // The binary row for the comment: a prefix announcing more than the file holds.
      kind.make(path, isComment ? comment : "[INFO]\r\nAUTHOR=Jo\r\n");
      if (isComment && kind.name == std::string("binary bytes"))
        test::WriteWholeFile(path, std::string("\xFF\xFF\xFF\x00\x00\x00\x01", 7) + test::BinaryBytes(""));
      const std::string before = test::Fingerprint(path);
      test::HangGuard guard;

      FixedClock clock(0);
      const ReportStart start = LoadReportStart(Environment{dir.path(), &clock});
      EXPECT_FALSE(start.commentLoaded) << kind.name << " " << name;
      EXPECT_EQ(start.comment, "") << kind.name << " " << name;
      EXPECT_EQ(start.info.author, "") << kind.name << " " << name;
      EXPECT_EQ(test::Fingerprint(path), before) << kind.name << " " << name;
    }
  }
}

TEST(ReportStart, ReadsTheSavedComment) {
  TempDir dir;
  WriteWholeFile(dir.File("Comment.inl"), EncodeCommentFile("{\\rtf1 Tested at 500 V}"));
  WriteWholeFile(dir.File("Config.ini"), "[INFO]\r\nAUTHOR=Jo\r\n");
  FixedClock clock(0);
  const ReportStart start = LoadReportStart(Environment{dir.path(), &clock});
  EXPECT_TRUE(start.commentLoaded);
  EXPECT_EQ(start.comment, "{\\rtf1 Tested at 500 V}");
  EXPECT_EQ(start.info.author, "Jo");
}

TEST(ReportDate, HasNoLeadingZeros) {
  std::tm day{};
  day.tm_year = 2026 - 1900;
  day.tm_mon = 0;
  day.tm_mday = 5;
  day.tm_hour = 12;
  EXPECT_EQ(ReportDateText(std::mktime(&day)), "2026-1-5");
}

}  // namespace
}  // namespace qv70
