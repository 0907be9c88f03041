// Every file of the public BMP and TGA suites, good, questionable and bad,
// through the decoders; in the sanitized build this is what shows a read out
// of bounds. Pixel-exact comparison with another decoder is the conformance
// script's (tests/conformance/pictures.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/picture/bmp_codec.h"
#include "core/picture/picture_image.h"
#include "core/picture/tga_codec.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> SuiteFiles() {
  std::vector<std::string> paths;
  const fs::path root = QV70_TESTDATA_DIR;
  for (const char* folder : {"bmpsuite/g", "bmpsuite/q", "bmpsuite/b", "bmpsuite/x", "tga", "tga/extra"}) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root / folder, error)) {
      const std::string extension = entry.path().extension().string();
      if (extension == ".bmp" || extension == ".tga") paths.push_back(entry.path().string());
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

using Decoder = ResultOf<PictureImage> (*)(std::string_view);

Decoder DecoderOf(const std::string& path) {
  return PictureFormatOf(path) == PictureFormat::Bmp ? DecodeBmp : DecodeTga;
}

// The first `length` bytes in a block of exactly that size, so that the
// address sanitizer sees any read past them.
ResultOf<PictureImage> DecodePrefix(Decoder decode, const std::string& bytes, std::size_t length) {
  std::unique_ptr<char[]> block(new char[length]);
  std::memcpy(block.get(), bytes.data(), length);
  return decode(std::string_view(block.get(), length));
}

bool SameColours(const PictureImage& a, const PictureImage& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (!(a.ColourAt(x, y) == b.ColourAt(x, y))) return false;
  return true;
}

TEST(SuiteFiles, EachLoadsOrIsRefusedLeavingThePictureAsItWas) {
  const std::vector<std::string> paths = SuiteFiles();
  if (paths.empty()) GTEST_SKIP() << "no suites in " << QV70_TESTDATA_DIR;
  int loaded = 0;
  for (const std::string& path : paths) {
    PictureImage image;
    ASSERT_TRUE(image.Create(1, 1, 8));
    const Result result = image.LoadFile(path);
    if (!result) {
      EXPECT_EQ(image.Width(), 1) << path;
      EXPECT_EQ(image.BitsPerPixel(), 8) << path;
      continue;
    }
    ++loaded;
    // What the encoder writes decodes to the same colours: nothing is lost on the way to a BMP file.
    const ResultOf<PictureImage> again = DecodeBmp(EncodeBmp(image));
    ASSERT_TRUE(again.ok) << path << ": " << again.message;
    EXPECT_TRUE(SameColours(image, again.value)) << path;
  }
  // Most good and questionable files are within the rules.
  EXPECT_GE(loaded, 70);
}

// A file cut anywhere before the end of what its decoding reads is refused,
// never decoded half-filled.
TEST(SuiteFiles, EveryFileCutShortOfItsPixelsIsRefused) {
  const std::vector<std::string> paths = SuiteFiles();
  if (paths.empty()) GTEST_SKIP() << "no suites in " << QV70_TESTDATA_DIR;
  for (const std::string& path : paths) {
    const std::string bytes = testing::ReadWholeFile(path);
    const Decoder decode = DecoderOf(path);
    const ResultOf<PictureImage> whole = DecodePrefix(decode, bytes, bytes.size());
    if (!whole.ok) continue;
    // The shortest prefix that decodes, by bisection: every shorter one is refused.
    std::size_t refused = 0, accepted = bytes.size();
    while (accepted - refused > 1) {
      const std::size_t middle = refused + (accepted - refused) / 2;
      (DecodePrefix(decode, bytes, middle).ok ? accepted : refused) = middle;
    }
    EXPECT_TRUE(SameColours(DecodePrefix(decode, bytes, accepted).value, whole.value)) << path;
    for (std::size_t cut :
         {std::size_t{0}, std::size_t{1}, std::size_t{17}, std::size_t{54}, accepted / 2, accepted - 1})
      EXPECT_FALSE(DecodePrefix(decode, bytes, std::min(cut, accepted - 1)).ok) << path << " cut at " << cut;
  }
}

}  // namespace
}  // namespace qv70
