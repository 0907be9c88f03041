// The picture image: sizes and palettes of new images, the row table, colours
// at each depth, the format table, and loads and saves through files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/picture/picture_image.h"
#include "support/bad_files.h"
#include "support/picture_files.h"
#include "support/temp_dir.h"

namespace qv70 {
namespace {

using testing::BmpFile;
using testing::ReadWholeFile;
using testing::TgaFile;
using testing::WriteWholeFile;

TEST(PictureImage, CreateSizesBufferAndPalette) {
  const struct {
    const char* name;
    int width, height, bits;
    bool ok;
    std::size_t stride;
    std::vector<std::uint8_t> greys;  // the grey ramp, entry by entry (first ones)
  } rows[] = {
      {"1x1 at 1 bit", 1, 1, 1, true, 4, {0, 255}},     {"33x2 at 1 bit", 33, 2, 1, true, 8, {0, 255}},
      {"3x2 at 4 bits", 3, 2, 4, true, 4, {0, 17, 34}}, {"5x1 at 8 bits", 5, 1, 8, true, 8, {0, 1, 2}},
      {"3x3 at 16 bits", 3, 3, 16, true, 8, {}},        {"10x10 at 24 bits", 10, 10, 24, true, 32, {}},
      {"3x1 at 32 bits", 3, 1, 32, true, 12, {}},       {"width 0", 0, 5, 24, false, 0, {}},
      {"negative height", 5, -5, 24, false, 0, {}},     {"2 bits per pixel", 4, 4, 2, false, 0, {}},
      {"over 256 MiB", 65535, 65535, 32, false, 0, {}},
  };
  for (const auto& row : rows) {
    PictureImage image;
    ASSERT_TRUE(image.Create(7, 7, 8));
    EXPECT_EQ(image.Create(row.width, row.height, row.bits), row.ok) << row.name;
    // A failed creation keeps nothing, not even the image before it.
    EXPECT_EQ(image.IsValid(), row.ok) << row.name;
    EXPECT_EQ(image.Stride(), row.stride) << row.name;
    if (!row.ok) continue;
    EXPECT_EQ(image.PixelBytes(), row.stride * static_cast<std::size_t>(row.height)) << row.name;
    EXPECT_EQ(image.Palette().size(), row.bits <= 8 ? 1u << row.bits : 0u) << row.name;
    for (std::size_t i = 0; i < row.greys.size(); ++i)
      EXPECT_EQ(image.Palette()[i], (PaletteEntry{row.greys[i], row.greys[i], row.greys[i], 0})) << row.name;
    if (row.bits <= 8) {
      EXPECT_EQ(image.Palette().back(), (PaletteEntry{255, 255, 255, 0})) << row.name;
    }
    EXPECT_EQ(image.Header().compression, kCompressionPlain) << row.name;
  }
}

TEST(PictureImage, RowZeroIsTheLastStrideOfTheBuffer) {
  PictureImage image;
  ASSERT_TRUE(image.Create(3, 4, 24));
  EXPECT_EQ(image.Row(0), image.PixelData() + 3 * 12);
  EXPECT_EQ(image.Row(3), image.PixelData());
}

TEST(PictureImage, ColourAtEachDepth) {
  const struct {
    const char* name;
    int bits;
    std::vector<std::uint8_t> topRow;
    int x;
    Rgb colour;
  } rows[] = {
      {"1 bit, eighth pixel set", 1, {0x01}, 7, {255, 255, 255}},
      {"1 bit, first pixel clear", 1, {0x7F}, 0, {0, 0, 0}},
      {"4 bits, low nibble is the second pixel", 4, {0x2F}, 1, {255, 255, 255}},
      {"4 bits, high nibble is the first pixel", 4, {0x2F}, 0, {34, 34, 34}},
      {"8 bits through the grey ramp", 8, {0, 200}, 1, {200, 200, 200}},
      {"16 bits 5-5-5 red", 16, {0x00, 0x7C}, 0, {255, 0, 0}},
      {"16 bits 5-5-5 mid blue", 16, {0x10, 0x00}, 0, {0, 0, 131}},
      {"24 bits stored blue, green, red", 24, {0, 0, 0, 10, 20, 30}, 1, {30, 20, 10}},
      {"32 bits, fourth byte ignored", 32, {10, 20, 30, 0xFF}, 0, {30, 20, 10}},
  };
  for (const auto& row : rows) {
    PictureImage image;
    ASSERT_TRUE(image.Create(8, 2, row.bits)) << row.name;
    std::copy(row.topRow.begin(), row.topRow.end(), image.Row(0));
    EXPECT_EQ(image.ColourAt(row.x, 0), row.colour) << row.name;
    EXPECT_EQ(image.ColourAt(row.x, 1), (Rgb{0, 0, 0})) << row.name;
  }
  PictureImage masked;
  ASSERT_TRUE(masked.Create(1, 1, 16));
  ASSERT_TRUE(masked.SetBitFields({0xF800, 0x07E0, 0x001F}));
  masked.Row(0)[1] = 0x07;  // 0x0700: the top 3 of the 6 green bits
  EXPECT_EQ(masked.ColourAt(0, 0), (Rgb{0, 226, 0}));
}

TEST(PictureImage, FormatByExtensionInLowerCase) {
  const struct {
    const char* path;
    PictureFormat format;
  } rows[] = {
      {"logo.bmp", PictureFormat::Bmp},      {"LOGO.JPG", PictureFormat::Jpeg},
      {"logo.jpeg", PictureFormat::Jpeg},    {"logo.Gif", PictureFormat::Gif},
      {"logo.tga", PictureFormat::Tga},      {"logo.tiff", PictureFormat::Tiff},
      {"logo.png", PictureFormat::Png},      {"logo.oxo", PictureFormat::Oxo},
      {"logo", PictureFormat::None},         {"logo.", PictureFormat::None},
      {"logo.bmp.txt", PictureFormat::None}, {"pics.v2/logo", PictureFormat::None},
      {"old.jpg.bmp", PictureFormat::Bmp},
  };
  for (const auto& row : rows) EXPECT_EQ(PictureFormatOf(row.path), row.format) << row.path;
}

// Says which format it was asked for and makes a 24-bit 3 x 2 picture.
class RecordingDecoder : public PlatformPictureDecoder {
 public:
  ResultOf<PictureImage> Decode(std::string_view, PictureFormat format) const override {
    asked.push_back(format);
    PictureImage image;
    image.Create(3, 2, 24);
    return ResultOf<PictureImage>::Success(std::move(image));
  }
  mutable std::vector<PictureFormat> asked;
};

TEST(PictureImage, LoadFileByExtensionAndFailureKeepsThePicture) {
  BmpFile bmpFile;
  bmpFile.width = 4;
  const std::string bmp = bmpFile.Bytes();
  TgaFile tgaFile;
  tgaFile.width = 6;
  tgaFile.height = 1;
  tgaFile.data = std::string(18, 'p');
  const std::string tga = tgaFile.Bytes();
  const struct {
    const char* name;
    const char* file;
    std::string content;
    bool withDecoder;
    int width;  // 0: refused
    std::vector<PictureFormat> asked;
  } rows[] = {
      {"upper-case .JPG is JPEG", "logo.JPG", "jpeg bytes", true, 3, {PictureFormat::Jpeg}},
      {".gif through the platform", "logo.gif", "gif bytes", true, 3, {PictureFormat::Gif}},
      {".jpg without a platform decoder", "logo.jpg", "jpeg bytes", false, 0, {}},
      {".BMP", "logo.BMP", bmp, true, 4, {}},
      {".tga", "logo.tga", tga, true, 6, {}},
      {".png holding a BMP", "logo.png", bmp, true, 0, {}},
      {"no extension holding a BMP", "logo", bmp, true, 0, {}},
      {"empty .bmp", "empty.bmp", "", true, 0, {}},
      {"damaged .bmp", "bad.bmp", bmp.substr(0, 60), true, 0, {}},
  };
  for (const auto& row : rows) {
    testing::TempDir dir;
    WriteWholeFile(dir.File(row.file), row.content);
    RecordingDecoder decoder;
    PictureImage image;
    ASSERT_TRUE(image.Create(5, 5, 8));
    image.Row(2)[2] = 77;
    const Result loaded = image.LoadFile(dir.File(row.file), row.withDecoder ? &decoder : nullptr);
    EXPECT_EQ(loaded.ok, row.width != 0) << row.name << ": " << loaded.message;
    EXPECT_EQ(decoder.asked, row.asked) << row.name;
    if (row.width != 0) {
      EXPECT_EQ(image.Width(), row.width) << row.name;
      continue;
    }
    EXPECT_EQ(loaded.message.rfind("cannot load picture \"" + dir.File(row.file) + "\": ", 0), 0u)
        << loaded.message;
    EXPECT_EQ(image.Width(), 5) << row.name;
    EXPECT_EQ(image.Row(2)[2], 77) << row.name;
  }
  testing::TempDir dir;
  PictureImage image;
  EXPECT_FALSE(image.LoadFile(dir.File("missing.bmp")));
  mkdir(dir.File("folder.bmp").c_str(), 0755);
  EXPECT_FALSE(image.LoadFile(dir.File("folder.bmp")));
  EXPECT_FALSE(image.IsValid());
}

std::uint32_t U32At(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

TEST(PictureImage, SaveFileWritesBmpSizesAndOffsets) {
  const struct {
    const char* name;
    int width, height, bits;
    bool bitFields;
    std::uint32_t size, pixelOffset;
  } rows[] = {
      {"10x10 at 24 bits", 10, 10, 24, false, 374, 54},
      {"3x3 at 8 bits", 3, 3, 8, false, 54 + 1024 + 12, 54 + 1024},
      {"9x2 at 1 bit", 9, 2, 1, false, 54 + 8 + 8, 54 + 8},
      {"2x2 at 4 bits", 2, 2, 4, false, 54 + 64 + 8, 54 + 64},
      {"2x1 at 16 bits, bit fields", 2, 1, 16, true, 54 + 12 + 4, 66},
      {"2x1 at 32 bits", 2, 1, 32, false, 54 + 8, 54},
  };
  for (const auto& row : rows) {
    testing::TempDir dir;
    PictureImage image;
    ASSERT_TRUE(image.Create(row.width, row.height, row.bits));
    if (row.bitFields) image.SetBitFields({0xF800, 0x07E0, 0x001F});
    ASSERT_TRUE(image.SaveFile(dir.File("out.bmp"))) << row.name;
    const std::string bytes = ReadWholeFile(dir.File("out.bmp"));
    EXPECT_EQ(bytes.size(), row.size) << row.name;
    EXPECT_EQ(bytes.substr(0, 2), "BM") << row.name;
    EXPECT_EQ(U32At(bytes, 2), row.size) << row.name;
    EXPECT_EQ(U32At(bytes, 10), row.pixelOffset) << row.name;
    EXPECT_EQ(U32At(bytes, 30), row.bitFields ? 3u : 0u) << row.name;
    PictureImage reloaded;
    EXPECT_TRUE(reloaded.LoadFile(dir.File("out.bmp"))) << row.name;
    EXPECT_EQ(reloaded.Masks(), image.Masks()) << row.name;
  }
  testing::TempDir dir;
  PictureImage image;
  EXPECT_FALSE(image.SaveFile(dir.File("empty.bmp")));
  ASSERT_TRUE(image.Create(2, 2, 24));
  const testing::HangGuard guard;
  mkfifo(dir.File("fifo.bmp").c_str(), 0644);
  mkdir(dir.File("folder.bmp").c_str(), 0755);
  for (const char* name : {"out.jpg", "out.tga", "out", "no/folder/out.bmp", "fifo.bmp", "folder.bmp"})
    EXPECT_FALSE(image.SaveFile(dir.File(name))) << name;
  EXPECT_NE(access(dir.File("out.jpg").c_str(), F_OK), 0);
  EXPECT_EQ(testing::Fingerprint(dir.File("fifo.bmp")), "fifo");
}

TEST(PictureImage, CopyFromTakesOnlyAnotherValidImage) {
  PictureImage source;
  ASSERT_TRUE(source.Create(2, 2, 4));
  source.SetPaletteEntry(3, {1, 2, 3, 9});
  source.Row(1)[0] = 0x30;
  PictureImage copy;
  copy.CopyFrom(source);
  EXPECT_EQ(copy.ColourAt(0, 1), (Rgb{3, 2, 1}));
  EXPECT_EQ(copy.Palette()[3].reserved, 0);
  copy.CopyFrom(PictureImage());
  copy.CopyFrom(copy);
  EXPECT_EQ(copy.ColourAt(0, 1), (Rgb{3, 2, 1}));
}

}  // namespace
}  // namespace qv70
