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

// A refused file leaves the picture as it was. A decoded one survives a BMP
// round trip, and cut anywhere short of what its decoding reads, it is
// refused, never decoded half-filled.
TEST(SuiteFiles, EachIsRefusedOrDecodedWhole) {
  const std::vector<std::string> paths = SuiteFiles();
  if (paths.empty()) GTEST_SKIP() << "no suites in " << QV70_TESTDATA_DIR;
  int loaded = 0;
  for (const std::string& path : paths) {
    PictureImage image;
    ASSERT_TRUE(image.Create(1, 1, 8));
    if (!image.LoadFile(path)) {
      EXPECT_EQ(image.Width() * 100 + image.BitsPerPixel(), 108) << path;
      continue;
    }
    ++loaded;
    EXPECT_TRUE(SameColours(image, DecodeBmp(EncodeBmp(image)).value)) << path;
    // The shortest prefix that decodes, by bisection; every shorter one is refused.
    const std::string bytes = test::ReadWholeFile(path);
    const Decoder decode = DecoderOf(path);
    std::size_t refused = 0, accepted = bytes.size();
    while (accepted - refused > 1) {
      const std::size_t middle = refused + (accepted - refused) / 2;
      (DecodePrefix(decode, bytes, middle).ok ? accepted : refused) = middle;
    }
    EXPECT_TRUE(SameColours(DecodePrefix(decode, bytes, accepted).value, image)) << path;
    for (std::size_t cut : {std::size_t{17}, std::size_t{54}, accepted / 2})
      EXPECT_FALSE(DecodePrefix(decode, bytes, std::min(cut, accepted - 1)).ok) << path << " cut at " << cut;
  }
  EXPECT_GE(loaded, 70);  // most good and questionable files are within the rules
}

}  // namespace
}  // namespace qv70
