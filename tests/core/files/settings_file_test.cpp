#include "core/files/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/data/program_state.h"
#include "core/files/config_settings.h"
#include "support/bad_files.h"
#include "support/temp_dir.h"

#include <sys/stat.h>

namespace qv70 {
namespace {

using test::ReadWholeFile;
using test::TempDir;
using test::WriteWholeFile;

TEST(SettingsFile, PathIsBesideTheProgram) {
  EXPECT_EQ(SettingsFile::InDirectory("/opt/qv70").Path(), "/opt/qv70/Config.ini");
}

TEST(SettingsFile, ReadsLikeTheProfileFunctions) {
  TempDir dir;
  SettingsFile settings = SettingsFile::InDirectory(dir.path());
  EXPECT_FALSE(settings.Exists());
  EXPECT_EQ(settings.Read("INFO", "AUTHOR", "none"), "none");

  WriteWholeFile(settings.Path(),
                 "; written by hand\r\n"
                 "  [ info ]  \r\n"
                 "  Author =  Jo Smith  \r\n"
                 "COMPANYNAME=\"Quoted Ltd\"\r\n"
                 "empty=\r\n"
                 "[CUSTOMIZE]\n"
                 "DECIMAL=1\n"
                 "SEPARATOR=x7\n"
                 "[INFO]\r\n"
                 "AUTHOR=second section is ignored\r\n");
  const struct {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"INFO", "AUTHOR", "Jo Smith"},       {"Info", "author", "Jo Smith"},
      {" INFO ", " AUTHOR ", "Jo Smith"},   {"INFO", "COMPANYNAME", "Quoted Ltd"},
      {"INFO", "empty", ""},                {"INFO", "PICPATCH", "default"},
      {"CUSTOMIZE", "DECIMAL", "1"},        {"WNDRECT", "LEFT", "default"},
      {"INFO", "; written by hand", "default"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(settings.Read(c.section, c.key, "default"), c.expected) << c.section << "/" << c.key;
  EXPECT_EQ(settings.ReadInt("CUSTOMIZE", "SEPARATOR", 5), 0);  // unreadable text reads as 0
  EXPECT_EQ(settings.ReadInt("CUSTOMIZE", "MISSING", 5), 5);
}

TEST(SettingsFile, ReadsAtMost254Characters) {
  TempDir dir;
  SettingsFile settings = SettingsFile::InDirectory(dir.path());
  const std::string longValue(300, 'x');
  ASSERT_TRUE(settings.Write("INFO", "AUTHOR", longValue));
  EXPECT_EQ(settings.Read("INFO", "AUTHOR", ""), std::string(254, 'x'));
  EXPECT_NE(ReadWholeFile(settings.Path()).find(longValue), std::string::npos);
}

TEST(SettingsFile, RewriteKeepsEverythingElse) {
  TempDir dir;
  SettingsFile settings = SettingsFile::InDirectory(dir.path());
  const std::string before =
      "; comment stays\r\n"
      "[INFO]\r\n"
      "COMPANYNAME=Acme\r\n"
      "AUTHOR=Jo\r\n"
      "\r\n"
      "[WNDRECT]\n"
      "left=10\n"
      "TOP=20\n";
  WriteWholeFile(settings.Path(), before);
  ASSERT_TRUE(settings.Write("WNDRECT", "LEFT", "15"));
  EXPECT_EQ(ReadWholeFile(settings.Path()),
            "; comment stays\r\n[INFO]\r\nCOMPANYNAME=Acme\r\nAUTHOR=Jo\r\n\r\n[WNDRECT]\nLEFT=15\nTOP=20\n");

  ASSERT_TRUE(settings.Write("info", "PICPATCH", "/home/jo/logo.bmp"));
  ASSERT_TRUE(settings.Write("CUSTOMIZE", "DECIMAL", "0"));
  EXPECT_EQ(ReadWholeFile(settings.Path()),
            "; comment stays\r\n[INFO]\r\nCOMPANYNAME=Acme\r\nAUTHOR=Jo\r\nPICPATCH=/home/jo/logo.bmp\r\n"
            "\r\n[WNDRECT]\nLEFT=15\nTOP=20\n[CUSTOMIZE]\r\nDECIMAL=0\r\n");
  EXPECT_EQ(settings.Read("INFO", "AUTHOR", ""), "Jo");
}

TEST(SettingsFile, CreatesFileWithCrLfAndRefusesValuesThatBreakLines) {
  TempDir dir;
  SettingsFile settings = SettingsFile::InDirectory(dir.path());
  ASSERT_TRUE(settings.Write("WNDRECT", "LEFT", "0"));
  EXPECT_EQ(ReadWholeFile(settings.Path()), "[WNDRECT]\r\nLEFT=0\r\n");
  EXPECT_FALSE(settings.Write("INFO", "AUTHOR", "two\nlines"));
  EXPECT_FALSE(settings.Write("INFO", "A=B", "x"));
  EXPECT_FALSE(settings.Write("IN]FO", "A", "x"));
  EXPECT_EQ(ReadWholeFile(settings.Path()), "[WNDRECT]\r\nLEFT=0\r\n");

  // A file without a final line end gets one before anything is appended.
  WriteWholeFile(settings.Path(), "[INFO]\r\nAUTHOR=Jo");
  ASSERT_TRUE(settings.Write("INFO", "COMPANYNAME", "Acme"));
  EXPECT_EQ(ReadWholeFile(settings.Path()), "[INFO]\r\nAUTHOR=Jo\r\nCOMPANYNAME=Acme\r\n");
  // Likewise a last line ended by a lone CR.
  WriteWholeFile(settings.Path(), "[INFO]\r\nAUTHOR=Jo\r");
  ASSERT_TRUE(settings.Write("WNDRECT", "LEFT", "3"));
  EXPECT_EQ(ReadWholeFile(settings.Path()), "[INFO]\r\nAUTHOR=Jo\r\n[WNDRECT]\r\nLEFT=3\r\n");
  EXPECT_EQ(settings.Read("INFO", "AUTHOR", ""), "Jo");
}

TEST(SettingsFile, UnwritableLocationReportsFailure) {
  SettingsFile missingFolder = SettingsFile::InDirectory("/nonexistent/qv70");
  EXPECT_FALSE(missingFolder.Write("WNDRECT", "LEFT", "0"));
  TempDir dir;
  SettingsFile folderInTheWay = SettingsFile::InDirectory(dir.path());
  ASSERT_EQ(mkdir(folderInTheWay.Path().c_str(), 0700), 0);  // "Config.ini" is a folder
  EXPECT_FALSE(folderInTheWay.Write("WNDRECT", "LEFT", "0"));
  EXPECT_EQ(folderInTheWay.Read("WNDRECT", "LEFT", "7"), "7");
}

// What is there but cannot be a settings file is read as empty and never
// rewritten, not even by the window-rectangle writer, which would otherwise
// replace it with a fresh file that loses the settings it may still hold.
TEST(ConfigSettings, DamagedFileGivesTheDefaultsAndIsNeverRewritten) {
  const std::string settingsText =
      "[CUSTOMIZE]\r\nDECIMAL=1\r\n[WNDRECT]\r\nLEFT=50\r\n[INFO]\r\nAUTHOR=Jo\r\n";
  for (const test::BadFileKind& kind : test::BadFileKinds()) {
    TempDir dir;
    SettingsFile settings = SettingsFile::InDirectory(dir.path());
    kind.make(settings.Path(), settingsText);
    const std::string before = test::Fingerprint(settings.Path());
    test::HangGuard guard;

    ProgramState state;
    ReadNumberFormat(settings, state);
    EXPECT_EQ(state.numberFormat.decimal, 0) << kind.name;
    EXPECT_EQ(state.tables.decimalChar, ".") << kind.name;
    EXPECT_EQ(ReadWindowRect(settings).left, 0) << kind.name;
    EXPECT_EQ(settings.Read("INFO", "AUTHOR", "none"), "none") << kind.name;

    EXPECT_FALSE(WriteWindowRect(settings, WindowRect{1, 2, 801, 602})) << kind.name;
    EXPECT_FALSE(WriteNumberFormat(settings, 1, 1)) << kind.name;
    EXPECT_FALSE(settings.Write("INFO", "AUTHOR", "Al").ok) << kind.name;
    EXPECT_EQ(test::Fingerprint(settings.Path()), before) << kind.name;
    EXPECT_EQ(std::system(("test $(ls -A '" + dir.path() + "' | wc -l) -eq 1").c_str()), 0)
        << kind.name << ": something was left beside the file";
  }
}

TEST(ConfigSettings, NothingIsReadOrWrittenWithoutTheFileButTheWindowRectangle) {
  TempDir dir;
  SettingsFile settings = SettingsFile::InDirectory(dir.path());
  ProgramState state;
  ReadNumberFormat(settings, state);
  EXPECT_EQ(state.numberFormat.decimal, 0);
  EXPECT_EQ(state.tables.decimalChar, ".");
  EXPECT_FALSE(WriteNumberFormat(settings, 1, 1));
  EXPECT_FALSE(settings.Exists());

  WindowRect rect = ReadWindowRect(settings);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.Width(), 800);
  EXPECT_EQ(rect.Height(), 600);

  ASSERT_TRUE(WriteWindowRect(settings, WindowRect{-8, 12, 1032, 780}));
  EXPECT_EQ(ReadWholeFile(settings.Path()), "[WNDRECT]\r\nLEFT=-8\r\nTOP=12\r\nRIGHT=1032\r\nBOTTOM=780\r\n");
  rect = ReadWindowRect(settings);
  EXPECT_EQ(rect.left, -8);
  EXPECT_EQ(rect.Width(), 1040);
  EXPECT_EQ(rect.Height(), 768);

  // From the second run on the readers find the file and read empty values.
  ReadNumberFormat(settings, state);
  EXPECT_EQ(state.numberFormat.separator, 0);
}

TEST(ConfigSettings, CommaDecimalForcesTheSemicolonInMemoryOnly) {
  TempDir dir;
  SettingsFile settings = SettingsFile::InDirectory(dir.path());
  WriteWholeFile(settings.Path(), "[CUSTOMIZE]\r\nDECIMAL=1\r\nSEPARATOR=0\r\n");
  ProgramState state;
  ReadNumberFormat(settings, state);
  EXPECT_EQ(state.numberFormat.decimal, 1);
  EXPECT_EQ(state.numberFormat.separator, 1);
  EXPECT_EQ(state.tables.decimalChar, ",");
  EXPECT_EQ(settings.Read("CUSTOMIZE", "SEPARATOR", ""), "0");

  ASSERT_TRUE(WriteNumberFormat(settings, 0, 1));
  ReadNumberFormat(settings, state);
  EXPECT_EQ(state.numberFormat.decimal, 0);
  EXPECT_EQ(state.numberFormat.separator, 1);
  EXPECT_EQ(state.tables.decimalChar, ".");
}

}  // namespace
}  // namespace qv70
