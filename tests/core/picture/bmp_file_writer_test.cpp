// The chart's bitmap writer: a snapshot view, top row first or bottom-up,
// written as a 24-bit BMP that the decoder reads back.
#include "core/picture/bmp_file_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/picture/bmp_codec.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

// 3 x 2 blue-green-red pixels, top row (10, 20, 30) ... and the bottom row
// (110, 120, 130) ..., each row padded to `stride` bytes.
std::vector<std::uint8_t> Pixels(std::size_t stride) {
  std::vector<std::uint8_t> bytes(stride * 2, 0xEE);
  for (std::size_t row = 0; row < 2; ++row)
    for (std::size_t i = 0; i < 9; ++i) bytes[row * stride + i] = static_cast<std::uint8_t>(row * 100 + 10 + i * 10);
  return bytes;
}

TEST(BmpFileWriter, WritesTheSnapshotAsATwentyFourBitBmp) {
  const std::vector<std::uint8_t> padded = Pixels(12);
  const std::vector<std::uint8_t> tight = Pixels(9);
  const struct {
    const char* name;
    BitmapView view;
    const char* file;
    bool writes;
  } cases[] = {
      {"top-down padded rows", {3, 2, padded.data(), 12}, "a.bmp", true},
      {"top-down tight rows", {3, 2, tight.data(), 9}, "b.bmp", true},
      {"bottom-up rows", {3, 2, padded.data() + 12, -12}, "c.bmp", true},
      {"upper-case extension", {3, 2, padded.data(), 12}, "d.BMP", true},
      {"no pixels", {3, 2, nullptr, 12}, "e.bmp", false},
      {"no width", {0, 2, padded.data(), 12}, "f.bmp", false},
      {"not a BMP path", {3, 2, padded.data(), 12}, "g.jpg", false},
      {"folder missing", {3, 2, padded.data(), 12}, "DAT/Temp.bmp", false},
  };
  test::TempDir dir;
  BmpFileWriter writer;
  for (const auto& c : cases) {
    const std::string path = dir.File(c.file);
    EXPECT_EQ(writer.WriteBitmap(c.view, path), c.writes) << c.name;
    const std::string bytes = test::ReadWholeFile(path);
    if (!c.writes) {
      EXPECT_TRUE(bytes.empty()) << c.name;
      continue;
    }
    EXPECT_EQ(bytes.size(), 54u + 12 * 2) << c.name;
    const ResultOf<PictureImage> decoded = DecodeBmp(bytes);
    ASSERT_TRUE(decoded.ok) << c.name << ": " << decoded.message;
    EXPECT_EQ(decoded.value.BitsPerPixel(), 24) << c.name;
    const bool flipped = c.view.stride < 0;
    EXPECT_EQ(decoded.value.ColourAt(0, 0), flipped ? (Rgb{130, 120, 110}) : (Rgb{30, 20, 10})) << c.name;
    EXPECT_EQ(decoded.value.ColourAt(2, 1), flipped ? (Rgb{90, 80, 70}) : (Rgb{190, 180, 170})) << c.name;
  }
}

}  // namespace
}  // namespace qv70
