// The logo Finish loads: the chosen picture, else the one beside the program,
// else none.
#include "core/report/report_logo.h"

#include <fstream>
#include <gtest/gtest.h>

#include "core/picture/picture_image.h"
#include "core/platform/environment.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

enum class File { Missing, Picture, Damaged };

void Make(const std::string& path, File file, int width) {
  if (file == File::Missing) return;
  if (file == File::Damaged) {
    std::ofstream(path) << "BM not a bitmap";
    return;
  }
  PictureImage image;
  ASSERT_TRUE(image.Create(width, 3, 24));
  ASSERT_TRUE(image.SaveFile(path).ok);
}

TEST(LoadReportLogo, FallsBackToTheProgramsPictureThenToNone) {
  struct Row {
    const char* name;
    bool pathGiven;
    File chosen, fallback;
    LogoSource source;
    int width;  // of the loaded logo; 0 for none
  };
  const Row rows[] = {
      {"chosen picture", true, File::Picture, File::Picture, LogoSource::Chosen, 7},
      {"chosen picture missing", true, File::Missing, File::Picture, LogoSource::Fallback, 5},
      {"chosen picture damaged", true, File::Damaged, File::Picture, LogoSource::Fallback, 5},
      {"no path chosen", false, File::Missing, File::Picture, LogoSource::Fallback, 5},
      {"both missing", true, File::Missing, File::Missing, LogoSource::None, 0},
      {"both damaged", true, File::Damaged, File::Damaged, LogoSource::None, 0},
  };
  for (const Row& row : rows) {
    test::TempDir dir;
    const std::string chosen = JoinPath(dir.path(), "mine.bmp");
    Make(chosen, row.chosen, 7);
    Make(JoinPath(dir.path(), kFallbackLogoName), row.fallback, 5);
    PictureImage logo;
    ASSERT_TRUE(logo.Create(9, 9, 24)) << "an earlier logo";
    EXPECT_EQ(LoadReportLogo(logo, row.pathGiven ? chosen : "", dir.path()), row.source) << row.name;
    EXPECT_EQ(logo.IsValid(), row.width != 0) << row.name;
    if (row.width) {
      EXPECT_EQ(logo.Width(), row.width) << row.name;
    }
  }
}

}  // namespace
}  // namespace qv70
