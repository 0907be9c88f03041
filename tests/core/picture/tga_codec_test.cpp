// The TGA decoder: where each pixel lands for each row order and coding,
// colour maps, and the headers and short files it refuses.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/picture/tga_codec.h"
#include "support/picture_files.h"

namespace qv70 {
namespace {

using testing::TgaFile;

TgaFile Edited(const std::function<void(TgaFile&)>& edit) {
  TgaFile file;
  edit(file);
  return file;
}

// 3 x 2 grey pictures: the pixel values row by row from the top.
TEST(TgaDecoder, PlacesPixelsByRowOrderAndCoding) {
  const struct {
    const char* name;
    int imageType;
    int descriptor;
    std::string data;
    std::vector<int> fromTop;
  } rows[] = {
      {"plain, bottom row first", 3, 0x00, "\1\2\3\4\5\6", {4, 5, 6, 1, 2, 3}},
      {"plain, top row first", 3, 0x20, "\1\2\3\4\5\6", {1, 2, 3, 4, 5, 6}},
      {"plain, right to left", 3, 0x10, "\1\2\3\4\5\6", {6, 5, 4, 3, 2, 1}},
      {"plain, top first, right to left", 3, 0x30, "\1\2\3\4\5\6", {3, 2, 1, 6, 5, 4}},
      {"run across the row end", 11, 0x20, "\x83\7\x01\1\2", {7, 7, 7, 7, 1, 2}},
      {"run past the last pixel stops", 11, 0x20, "\1\1\2\xFF\x09", {1, 2, 9, 9, 9, 9}},
      {"literal past the last pixel stops", 11, 0x20, "\x7F\1\2\3\4\5\6", {1, 2, 3, 4, 5, 6}},
      {"identification field skipped", 3, 0x20, "\1\2\3\4\5\6", {1, 2, 3, 4, 5, 6}},
  };
  for (const auto& row : rows) {
    const TgaFile file = Edited([&row](TgaFile& f) {
      f.imageType = row.imageType, f.descriptor = row.descriptor, f.width = 3, f.depth = 8, f.data = row.data;
      if (std::string(row.name).find("identification") == 0) f.idLength = 5;
    });
    const ResultOf<PictureImage> decoded = DecodeTga(file.Bytes());
    ASSERT_TRUE(decoded.ok) << row.name << ": " << decoded.message;
    std::vector<int> values;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) values.push_back(decoded.value.ColourAt(x, y).red);
    EXPECT_EQ(values, row.fromTop) << row.name;
  }
}

TEST(TgaDecoder, ColourMapEntriesAndTrueColourPixels) {
  // Entries 2..4 set from a map of 32-bit entries; the others black, not grey.
  const TgaFile mapped = Edited([](TgaFile& f) {
    f.colourMapType = 1, f.imageType = 1, f.mapFirst = 2, f.mapLength = 3, f.mapEntryBits = 32, f.depth = 8;
    f.width = 2, f.height = 1, f.data = "\4\1";
  });
  const ResultOf<PictureImage> image = DecodeTga(mapped.Bytes());
  ASSERT_TRUE(image.ok) << image.message;
  EXPECT_EQ(image.value.ColourAt(0, 0), (Rgb{2, 2, 2}));
  EXPECT_EQ(image.value.ColourAt(1, 0), (Rgb{0, 0, 0}));
  EXPECT_EQ(image.value.Palette()[4].reserved, 0);

  const struct {
    const char* name;
    TgaFile file;
    int bits;
    Rgb first;
  } rows[] = {
      {"24 bits", Edited([](TgaFile& f) { f.width = 1, f.height = 1, f.data = "\1\2\3"; }), 24, {3, 2, 1}},
      {"32 bits, alpha byte ignored",
       Edited(
           [](TgaFile& f) { f.width = 1, f.height = 1, f.depth = 32, f.data = std::string("\1\2\3\0", 4); }),
       32,
       {3, 2, 1}},
      {"15 bits read as 16",
       Edited(
           [](TgaFile& f) { f.width = 1, f.height = 1, f.depth = 15, f.data = std::string("\x00\x7C", 2); }),
       16,
       {255, 0, 0}},
      {"true colour with a map skips it",
       Edited([](TgaFile& f) {
         f.colourMapType = 1, f.mapLength = 2, f.mapEntryBits = 24, f.width = 1, f.height = 1,
         f.data = "\x07\x08\x09";
       }),
       24,
       {9, 8, 7}},
  };
  for (const auto& row : rows) {
    const ResultOf<PictureImage> decoded = DecodeTga(row.file.Bytes());
    ASSERT_TRUE(decoded.ok) << row.name << ": " << decoded.message;
    EXPECT_EQ(decoded.value.BitsPerPixel(), row.bits) << row.name;
    EXPECT_EQ(decoded.value.ColourAt(0, 0), row.first) << row.name;
  }
}

TEST(TgaDecoder, RefusesWhatItWouldDecodeWrongAndShortFiles) {
  const std::string plain24(12, 'x');
  const struct {
    const char* name;
    std::string bytes;
    const char* refusal;
  } rows[] = {
      {"17 bytes", TgaFile().Bytes().substr(0, 17), "the header is cut short"},
      {"header only", TgaFile().Bytes(), "the pixel data is cut short"},
      {"last pixel cut short", Edited([&](TgaFile& f) { f.data = plain24.substr(1); }).Bytes(),
       "the pixel data is cut short"},
      {"run-length packet without its pixel",
       Edited([](TgaFile& f) { f.imageType = 10, f.data = "\x83"; }).Bytes(), "the pixel data is cut short"},
      {"colour map cut short",
       Edited([](TgaFile& f) {
         f.colourMapType = 1, f.imageType = 1, f.mapLength = 4, f.mapEntryBits = 24, f.depth = 8;
       })
           .Bytes()
           .substr(0, 25),
       "the colour map is cut short"},
      {"map entries of 16 bits", Edited([](TgaFile& f) { f.colourMapType = 1, f.mapEntryBits = 16; }).Bytes(),
       "colour map entries of 15 or 16 bits are not supported"},
      {"map entries of 8 bits", Edited([](TgaFile& f) { f.colourMapType = 1, f.mapEntryBits = 8; }).Bytes(),
       "colour map entries of 8 bits are not supported"},
      {"map entries 250 + 7", Edited([](TgaFile& f) {
                                f.colourMapType = 1, f.imageType = 1, f.mapFirst = 250, f.mapLength = 7,
                                f.mapEntryBits = 24, f.depth = 8;
                              }).Bytes(),
       "the colour map has more than 256 entries"},
      {"colour-mapped without a map", Edited([](TgaFile& f) { f.imageType = 1, f.depth = 8; }).Bytes(),
       "a colour-mapped image has no colour map"},
      {"colour-mapped at 16 bits", Edited([](TgaFile& f) {
                                     f.colourMapType = 1, f.imageType = 9, f.mapLength = 1,
                                     f.mapEntryBits = 24, f.depth = 16;
                                   }).Bytes(),
       "colour-mapped images of 16 bits are not supported"},
      {"grey and alpha at 16 bits", Edited([](TgaFile& f) { f.imageType = 3, f.depth = 16; }).Bytes(),
       "grey images of 16 bits are not supported"},
      {"true colour at 8 bits", Edited([](TgaFile& f) { f.depth = 8; }).Bytes(),
       "true-colour images of 8 bits are not supported"},
      {"no image data, type 0", Edited([](TgaFile& f) { f.imageType = 0; }).Bytes(),
       "image type 0 is not supported"},
      {"compressed type 32", Edited([](TgaFile& f) { f.imageType = 32; }).Bytes(),
       "image type 32 is not supported"},
      {"colour map type 2", Edited([](TgaFile& f) { f.colourMapType = 2; }).Bytes(),
       "colour map type 2 is not supported"},
      {"height 0", Edited([](TgaFile& f) { f.height = 0; }).Bytes(), "the width or height is zero"},
      {"65535 x 65535 at 32 bits",
       Edited([](TgaFile& f) { f.width = 65535, f.height = 65535, f.depth = 32; }).Bytes(),
       "the picture is larger than 256 MiB"},
  };
  for (const auto& row : rows) {
    const ResultOf<PictureImage> decoded = DecodeTga(row.bytes);
    EXPECT_EQ(decoded.message, row.refusal) << row.name;
    EXPECT_FALSE(decoded.ok) << row.name;
    EXPECT_FALSE(decoded.value.IsValid()) << row.name;
  }
}

}  // namespace
}  // namespace qv70
