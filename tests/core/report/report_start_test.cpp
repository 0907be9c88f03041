// The report's start values: the INFO texts of Config.ini and today's date.
#include "core/report/report_start.h"

#include <gtest/gtest.h>

#include "core/files/settings_file.h"
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
