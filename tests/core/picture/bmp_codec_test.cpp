// The BMP decoder and encoder: files that are sound, short, overflowing or
// outside the rules, and encode-decode round trips at every depth.
#include <gtest/gtest.h>

#include <string>

#include "core/picture/bmp_codec.h"
#include "support/picture_files.h"

namespace qv70 {
namespace {

using test::BmpFile;

TEST(BmpDecoder, AcceptsWhatTheRulesAllowAndSaysWhyNot) {
  const std::vector<std::uint32_t> rgb8{0xFF0000, 0xFF00, 0xFF};
  const struct {
    const char* name;
    std::string bytes;
    const char* refusal;  // empty: decoded
  } rows[] = {
      {"4 bits, 3 colours used, palette over the pixels", BmpFile().Bits(4).Height(16).Palette(3).Bytes(),
       ""},
      {"8 bits after a 108-byte header", BmpFile().Bits(8).HeaderSize(108).Bytes(), ""},
      {"32 bits, 8-bit bit fields", BmpFile().Bits(32).BitFields(rgb8).Bytes(), ""},
      {"16 bits, 4-bit bit fields", BmpFile().Bits(16).BitFields({0xF00, 0xF0, 0xF}).Bytes(), ""},
      {"32 bits, alpha-first bit fields",
       BmpFile().Bits(32).BitFields({0xFF000000, 0xFF0000, 0xFF00}).Bytes(),
       "32-bit bit fields other than 8-bit red, green, blue are not supported"},
      {"16 bits, bit fields cut short", BmpFile().Bits(16).BitFields({}).PixelOffset(54).Bytes(),
       "the bit fields are cut short"},
      {"24 bits with bit fields", BmpFile().BitFields(rgb8).Bytes(),
       "bit fields need 16 or 32 bits per pixel"},
      {"negative height", BmpFile().Height(-2).PixelBytes(16).Bytes(),
       "rows stored top row first are not supported"},
      {"width 0", BmpFile().Width(0).PixelBytes(8).Bytes(), "the width is not positive"},
      {"12-byte core header", BmpFile().HeaderSize(12).PixelOffset(54).Bytes(),
       "the information header is shorter than 40 bytes"},
      {"pixel offset inside the header", BmpFile().PixelOffset(40).Bytes(),
       "the pixel data starts inside the headers"},
      {"pixel offset at the end", BmpFile().PixelOffset(70).PixelBytes(0).Bytes(),
       "the pixel data starts beyond the end of the file"},
      {"header size 4 GiB", BmpFile().HeaderSize(0xFFFFFFF0).PixelOffset(54).Bytes(),
       "the pixel data starts inside the headers"},
      {"last row cut short", BmpFile().PixelBytes(15).Bytes(), "the pixel data is cut short"},
      {"palette cut short", BmpFile().Bits(8).Width(1).Height(1).Palette(2).Bytes(),
       "the palette is cut short"},
      {"run-length compression", BmpFile().Bits(8).Compression(1).Bytes(), "compression 1 is not supported"},
      {"2 bits per pixel", BmpFile().Bits(2).Bytes(), "2 bits per pixel are not supported"},
      {"rows overflowing 32 bits", BmpFile().Width(0x7FFFFFFF).Height(0x7FFFFFFF).PixelBytes(8).Bytes(),
       "the picture is larger than 256 MiB"},
      {"just over 256 MiB", BmpFile().Bits(32).Width(8192).Height(8193).PixelBytes(8).Bytes(),
       "the picture is larger than 256 MiB"},
      {"\"BA\" signature", BmpFile().Magic("BA").Bytes(), "not a BMP file"},
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
  // 16 entries after the header although 3 are used: the others are pixel bytes.
  const ResultOf<PictureImage> four = DecodeBmp(BmpFile().Bits(4).Width(3).Height(16).Palette(3).Bytes());
  ASSERT_TRUE(four.ok);
  EXPECT_EQ(four.value.Palette().size(), 16u);
  EXPECT_EQ(four.value.Palette()[2], (PaletteEntry{2, 4, 6, 0}));
  EXPECT_EQ(four.value.Palette()[3], (PaletteEntry{1, 8, 15, 0}));
  // The top row is the last stride of the file.
  EXPECT_EQ(four.value.Row(0)[0], static_cast<std::uint8_t>(15 * 4 * 7 + 1));
  EXPECT_EQ(four.value.Header().xPixelsPerMetre, 2835);

  const ResultOf<PictureImage> sixteen =
      DecodeBmp(BmpFile().Bits(16).BitFields({0xF800, 0x7E0, 0x1F}).Bytes());
  EXPECT_EQ(sixteen.value.Header().compression, kCompressionBitFields);
  EXPECT_EQ(sixteen.value.Masks(), (ColourMasks{0xF800, 0x7E0, 0x1F}));
  const ResultOf<PictureImage> wide =
      DecodeBmp(BmpFile().Bits(32).BitFields({0xFF0000, 0xFF00, 0xFF}).Bytes());
  EXPECT_EQ(wide.value.Header().compression, kCompressionPlain);
}

TEST(BmpEncoder, WritesBackTheFileItDecoded) {
  for (int bits : {1, 4, 8, 16, 24, 32}) {
    const std::string file = BmpFile().Bits(bits).Width(5).Height(3).Bytes();
    const ResultOf<PictureImage> decoded = DecodeBmp(file);
    ASSERT_TRUE(decoded.ok) << bits;
    EXPECT_EQ(EncodeBmp(decoded.value), file) << bits << " bits";
  }
  const std::string masked = BmpFile().Bits(16).BitFields({0xF800, 0x7E0, 0x1F}).Bytes();
  EXPECT_EQ(EncodeBmp(DecodeBmp(masked).value), masked);
  EXPECT_EQ(EncodeBmp(PictureImage()), "");
}

}  // namespace
}  // namespace qv70
