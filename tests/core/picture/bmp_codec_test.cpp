// The BMP decoder and encoder: files that are sound, short, overflowing or
// outside the rules, and encode-decode round trips at every depth.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/picture/bmp_codec.h"
#include "support/picture_files.h"

namespace qv70 {
namespace {

using testing::BmpFile;

BmpFile Edited(const std::function<void(BmpFile&)>& edit) {
  BmpFile file;
  edit(file);
  return file;
}

TEST(BmpDecoder, AcceptsWhatTheRulesAllowAndSaysWhyNot) {
  const struct {
    const char* name;
    std::string bytes;
    const char* refusal;  // empty: decoded
  } rows[] = {
      {"2x2 at 24 bits", BmpFile().Bytes(), ""},
      {"4 bits, 3 colours used, palette overlapping the pixels",
       Edited([](BmpFile& f) { f.bits = 4, f.height = 16, f.coloursUsed = 3, f.paletteEntries = 3; }).Bytes(),
       ""},
      {"8 bits after a 108-byte header", Edited([](BmpFile& f) { f.bits = 8, f.headerSize = 108; }).Bytes(),
       ""},
      {"32 bits, 8-bit bit fields", Edited([](BmpFile& f) {
                                      f.bits = 32, f.compression = 3, f.masks = {0xFF0000, 0xFF00, 0xFF};
                                    }).Bytes(),
       ""},
      {"16 bits, bit fields of 4 bits", Edited([](BmpFile& f) {
                                          f.bits = 16, f.compression = 3, f.masks = {0xF00, 0xF0, 0xF};
                                        }).Bytes(),
       ""},
      {"32 bits, alpha-first bit fields",
       Edited([](BmpFile& f) {
         f.bits = 32, f.compression = 3, f.masks = {0xFF000000, 0xFF0000, 0xFF00};
       }).Bytes(),
       "32-bit bit fields other than 8-bit red, green, blue are not supported"},
      {"16 bits, bit fields cut short",
       Edited([](BmpFile& f) { f.bits = 16, f.compression = 3, f.pixelOffset = 54; }).Bytes(),
       "the bit fields are cut short"},
      {"24 bits with bit fields", Edited([](BmpFile& f) {
                                    f.compression = 3, f.masks = {0xFF0000, 0xFF00, 0xFF};
                                  }).Bytes(),
       "bit fields need 16 or 32 bits per pixel"},
      {"negative height, rows top first",
       Edited([](BmpFile& f) { f.height = -2, f.pixelBytes = 16; }).Bytes(),
       "rows stored top row first are not supported"},
      {"width 0", Edited([](BmpFile& f) { f.width = 0, f.pixelBytes = 8; }).Bytes(),
       "the width is not positive"},
      {"12-byte core header", Edited([](BmpFile& f) { f.headerSize = 12, f.pixelOffset = 54; }).Bytes(),
       "the information header is shorter than 40 bytes"},
      {"pixel offset inside the header", Edited([](BmpFile& f) { f.pixelOffset = 40; }).Bytes(),
       "the pixel data starts inside the headers"},
      {"pixel offset at the end of the file",
       Edited([](BmpFile& f) { f.pixelOffset = 70, f.pixelBytes = 0; }).Bytes(),
       "the pixel data starts beyond the end of the file"},
      {"pixel offset 4 GiB", Edited([](BmpFile& f) { f.pixelOffset = 0xFFFFFFFF, f.pixelBytes = 0; }).Bytes(),
       "the pixel data starts beyond the end of the file"},
      {"header size 4 GiB", Edited([](BmpFile& f) { f.headerSize = 0xFFFFFFF0, f.pixelOffset = 54; }).Bytes(),
       "the pixel data starts inside the headers"},
      {"last row cut short", Edited([](BmpFile& f) { f.pixelBytes = 15; }).Bytes(),
       "the pixel data is cut short"},
      {"palette cut short",
       Edited([](BmpFile& f) { f.bits = 8, f.width = 1, f.height = 1, f.paletteEntries = 2; }).Bytes(),
       "the palette is cut short"},
      {"run-length compression", Edited([](BmpFile& f) { f.bits = 8, f.compression = 1; }).Bytes(),
       "compression 1 is not supported"},
      {"2 bits per pixel", Edited([](BmpFile& f) { f.bits = 2; }).Bytes(),
       "2 bits per pixel are not supported"},
      {"64 bits per pixel", Edited([](BmpFile& f) { f.bits = 64; }).Bytes(),
       "64 bits per pixel are not supported"},
      {"rows overflowing 32 bits",
       Edited([](BmpFile& f) { f.width = 0x7FFFFFFF, f.height = 0x7FFFFFFF, f.pixelBytes = 8; }).Bytes(),
       "the picture is larger than 256 MiB"},
      {"just over 256 MiB",
       Edited([](BmpFile& f) { f.bits = 32, f.width = 8192, f.height = 8193, f.pixelBytes = 8; }).Bytes(),
       "the picture is larger than 256 MiB"},
      {"\"BA\" signature", Edited([](BmpFile& f) { f.magic = "BA"; }).Bytes(), "not a BMP file"},
      {"14 bytes", BmpFile().Bytes().substr(0, 14), "not a BMP file"},
      {"headers cut at 53 bytes", BmpFile().Bytes().substr(0, 53), "the headers are cut short"},
  };
  for (const auto& row : rows) {
    const ResultOf<PictureImage> decoded = DecodeBmp(row.bytes);
    EXPECT_EQ(decoded.message, row.refusal) << row.name;
    EXPECT_EQ(decoded.ok, decoded.message.empty()) << row.name;
    EXPECT_EQ(decoded.value.IsValid(), decoded.ok) << row.name;
  }
}

TEST(BmpDecoder, ReadsPaletteMasksAndRowsAsStored) {
  // 16 entries from the header's end although 3 are used: the last ones are pixel bytes.
  const BmpFile four = Edited(
      [](BmpFile& f) { f.bits = 4, f.width = 3, f.height = 16, f.coloursUsed = 3, f.paletteEntries = 3; });
  const ResultOf<PictureImage> image = DecodeBmp(four.Bytes());
  ASSERT_TRUE(image.ok);
  EXPECT_EQ(image.value.Palette().size(), 16u);
  EXPECT_EQ(image.value.Palette()[2], (PaletteEntry{2, 4, 6, 0}));
  EXPECT_EQ(image.value.Palette()[3], (PaletteEntry{1, 8, 15, 0}));  // the first pixel bytes
  // Bottom row first: the top row is the second stride of the file.
  EXPECT_EQ(image.value.Row(0)[0], static_cast<std::uint8_t>(15 * 4 * 7 + 1));
  EXPECT_EQ(image.value.Header().xPixelsPerMetre, 2835);

  const BmpFile masked = Edited([](BmpFile& f) {
    f.bits = 16, f.compression = 3, f.masks = {0xF800, 0x7E0, 0x1F};
  });
  const ResultOf<PictureImage> sixteen = DecodeBmp(masked.Bytes());
  ASSERT_TRUE(sixteen.ok);
  EXPECT_EQ(sixteen.value.Header().compression, kCompressionBitFields);
  EXPECT_EQ(sixteen.value.Masks(), (ColourMasks{0xF800, 0x7E0, 0x1F}));

  const BmpFile wide = Edited([](BmpFile& f) {
    f.bits = 32, f.compression = 3, f.masks = {0xFF0000, 0xFF00, 0xFF};
  });
  EXPECT_EQ(DecodeBmp(wide.Bytes()).value.Header().compression, kCompressionPlain);
}

TEST(BmpEncoder, DecodingWhatItWritesGivesTheSameImage) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    const BmpFile file = Edited([bits](BmpFile& f) { f.bits = bits, f.width = 5, f.height = 3; });
    const ResultOf<PictureImage> first = DecodeBmp(file.Bytes());
    ASSERT_TRUE(first.ok) << bits;
    const std::string encoded = EncodeBmp(first.value);
    EXPECT_EQ(encoded, file.Bytes()) << bits << " bits";
    const ResultOf<PictureImage> second = DecodeBmp(encoded);
    ASSERT_TRUE(second.ok) << bits;
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) EXPECT_EQ(second.value.ColourAt(x, y), first.value.ColourAt(x, y)) << bits;
  }
  EXPECT_EQ(EncodeBmp(PictureImage()), "");
}

}  // namespace
}  // namespace qv70
