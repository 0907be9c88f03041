// The picture image: new images, colours at each depth, the format table,
// and loads and saves through files.
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

using test::BmpFile;
using test::TgaFile;

TEST(PictureImage, CreateSizesBufferAndGreyRamp) {
  const struct {
    const char* name;
    int width, height, bits;
    std::size_t stride;  // 0: refused
    std::uint8_t secondGrey;
  } rows[] = {
      {"33x2 at 1 bit", 33, 2, 1, 8, 255},
      {"3x2 at 4 bits", 3, 2, 4, 4, 17},
      {"5x1 at 8 bits", 5, 1, 8, 8, 1},
      {"3x3 at 16 bits", 3, 3, 16, 8, 0},
      {"10x10 at 24 bits", 10, 10, 24, 32, 0},
      {"3x1 at 32 bits", 3, 1, 32, 12, 0},
      {"width 0", 0, 5, 24, 0, 0},
      {"negative height", 5, -5, 24, 0, 0},
      {"2 bits per pixel", 4, 4, 2, 0, 0},
      {"over 256 MiB", 65535, 65535, 32, 0, 0},
  };
  for (const auto& row : rows) {
    PictureImage image;
    ASSERT_TRUE(image.Create(7, 7, 8));
    EXPECT_EQ(image.Create(row.width, row.height, row.bits), row.stride != 0) << row.name;
    // A failed creation keeps nothing, not even the image before it.
    EXPECT_EQ(image.IsValid(), row.stride != 0) << row.name;
    EXPECT_EQ(image.Stride(), row.stride) << row.name;
    if (row.stride == 0) continue;
    EXPECT_EQ(image.PixelBytes(), row.stride * static_cast<std::size_t>(row.height)) << row.name;
    EXPECT_EQ(image.Row(0), image.PixelData() + (row.height - 1) * row.stride) << row.name;
    EXPECT_EQ(image.Palette().size(), row.bits <= 8 ? 1u << row.bits : 0u) << row.name;
    if (row.bits > 8) continue;
    EXPECT_EQ(image.Palette()[1], (PaletteEntry{row.secondGrey, row.secondGrey, row.secondGrey, 0}))
        << row.name;
    EXPECT_EQ(image.Palette().back(), (PaletteEntry{255, 255, 255, 0})) << row.name;
  }
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
      {"4 bits, high nibble first", 4, {0x2F}, 0, {34, 34, 34}},
      {"4 bits, low nibble second", 4, {0x2F}, 1, {255, 255, 255}},
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
  masked.Row(0)[1] = 0x07;  // the top 3 of the 6 green bits
  EXPECT_EQ(masked.ColourAt(0, 0), (Rgb{0, 226, 0}));
}

TEST(PictureImage, FormatByExtensionInLowerCase) {
  const struct {
    const char* path;
    PictureFormat format;
  } rows[] = {
      {"logo.bmp", PictureFormat::Bmp},   {"LOGO.JPG", PictureFormat::Jpeg},
      {"logo.jpeg", PictureFormat::Jpeg}, {"logo.Gif", PictureFormat::Gif},
      {"logo.tga", PictureFormat::Tga},   {"logo.png", PictureFormat::Png},
      {"logo", PictureFormat::None},      {"logo.", PictureFormat::None},
      {"v2.0/logo", PictureFormat::None}, {"a.jpg.bmp", PictureFormat::Bmp},
      {"logo.oxo", PictureFormat::Oxo},   {"logo.tif", PictureFormat::Tiff},
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

TEST(PictureImage, LoadFileByExtensionAndAFailureKeepsThePicture) {
  const std::string bmp = BmpFile().Width(4).Bytes();
  const struct {
    const char* file;
    std::string content;
    bool withDecoder;
    int width;  // 0: refused
    std::vector<PictureFormat> asked;
  } rows[] = {
      {"logo.JPG", "jpeg", true, 3, {PictureFormat::Jpeg}},
      {"logo.gif", "gif", true, 3, {PictureFormat::Gif}},
      {"logo.jpg", "jpeg", false, 0, {}},
      {"logo.BMP", bmp, true, 4, {}},
      {"logo.tga", TgaFile().Size(6, 1).Data(std::string(18, 'p')).Bytes(), true, 6, {}},
      {"logo.png", bmp, true, 0, {}},
      {"logo", bmp, true, 0, {}},
      {"empty.bmp", "", true, 0, {}},
      {"cut.bmp", bmp.substr(0, 60), true, 0, {}},
      {"folder.bmp", "(a folder)", true, 0, {}},
      {"missing.bmp", "(nothing)", true, 0, {}},
  };
  for (const auto& row : rows) {
    test::TempDir dir;
    const std::string path = dir.File(row.file);
    if (row.content == "(a folder)") mkdir(path.c_str(), 0755);
    if (row.content[0] != '(') test::WriteWholeFile(path, row.content);
    RecordingDecoder decoder;
    PictureImage image;
    ASSERT_TRUE(image.Create(5, 5, 8));
    image.Row(2)[2] = 77;
    const Result loaded = image.LoadFile(path, row.withDecoder ? &decoder : nullptr);
    EXPECT_EQ(loaded.ok, row.width != 0) << row.file << ": " << loaded.message;
    EXPECT_EQ(decoder.asked, row.asked) << row.file;
    EXPECT_EQ(image.Width(), row.width != 0 ? row.width : 5) << row.file;
    if (row.width != 0) continue;
    EXPECT_EQ(loaded.message.rfind("cannot load picture \"" + path + "\": ", 0), 0u) << loaded.message;
    EXPECT_EQ(image.Row(2)[2], 77) << row.file;
  }
}

std::uint32_t U32At(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 4; i-- > 0;) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

TEST(PictureImage, SaveFileWritesBmpSizesAndOffsets) {
  const struct {
    const char* name;
    int width, height, bits;
    std::uint32_t size, pixelOffset;
  } rows[] = {
      {"10x10 at 24 bits", 10, 10, 24, 374, 54},        {"3x3 at 8 bits", 3, 3, 8, 54 + 1024 + 12, 54 + 1024},
      {"9x2 at 1 bit", 9, 2, 1, 54 + 8 + 8, 54 + 8},    {"2x2 at 4 bits", 2, 2, 4, 54 + 64 + 8, 54 + 64},
      {"2x1 at 16 bits, bit fields", 2, 1, 16, 70, 66}, {"2x1 at 32 bits", 2, 1, 32, 54 + 8, 54},
  };
  for (const auto& row : rows) {
    test::TempDir dir;
    PictureImage image;
    ASSERT_TRUE(image.Create(row.width, row.height, row.bits));
    image.SetBitFields({0xF800, 0x07E0, 0x001F});  // taken at 16 bits only
    ASSERT_TRUE(image.SaveFile(dir.File("out.bmp"))) << row.name;
    const std::string bytes = test::ReadWholeFile(dir.File("out.bmp"));
    EXPECT_EQ(bytes.size(), row.size) << row.name;
    EXPECT_EQ(bytes.substr(0, 2), "BM") << row.name;
    EXPECT_EQ(U32At(bytes, 2), row.size) << row.name;
    EXPECT_EQ(U32At(bytes, 10), row.pixelOffset) << row.name;
    EXPECT_EQ(U32At(bytes, 30), row.bits == 16 ? 3u : 0u) << row.name;
  }
  test::TempDir dir;
  PictureImage image;
  EXPECT_FALSE(image.SaveFile(dir.File("empty.bmp")));
  ASSERT_TRUE(image.Create(2, 2, 24));
  const test::HangGuard guard;
  mkfifo(dir.File("fifo.bmp").c_str(), 0644);
  mkdir(dir.File("folder.bmp").c_str(), 0755);
  for (const char* name : {"out.jpg", "out.tga", "out", "no/folder/out.bmp", "fifo.bmp", "folder.bmp"})
    EXPECT_FALSE(image.SaveFile(dir.File(name))) << name;
  EXPECT_NE(access(dir.File("out.jpg").c_str(), F_OK), 0);
  EXPECT_EQ(test::Fingerprint(dir.File("fifo.bmp")), "fifo");
}

TEST(PictureImage, CopyFromTakesOnlyAnotherValidImage) {
  PictureImage source;
  ASSERT_TRUE(source.Create(2, 2, 4));
  source.SetPaletteEntry(3, {1, 2, 3, 9});
  source.Row(1)[0] = 0x30;
  PictureImage copy;
  copy.CopyFrom(source);
  copy.CopyFrom(PictureImage());
  copy.CopyFrom(copy);
  EXPECT_EQ(copy.ColourAt(0, 1), (Rgb{3, 2, 1}));
  EXPECT_EQ(copy.Palette()[3].reserved, 0);
}

}  // namespace
}  // namespace qv70
