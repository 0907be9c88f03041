// The TGA decoder: where each pixel lands for each row order and coding,
// colour maps, and the headers and short files it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/picture/tga_codec.h"
#include "support/picture_files.h"

namespace qv70 {
namespace {

using test::TgaFile;

// 3 x 2 grey pictures: the pixel values row by row from the top.
TEST(TgaDecoder, PlacesPixelsByRowOrderAndCoding) {
  const struct {
    const char* name;
    TgaFile file;
    std::vector<int> fromTop;
  } rows[] = {
      {"plain, bottom row first", TgaFile().Type(3).Data("\1\2\3\4\5\6"), {4, 5, 6, 1, 2, 3}},
      {"plain, top row first", TgaFile().Type(3).Descriptor(0x20).Data("\1\2\3\4\5\6"), {1, 2, 3, 4, 5, 6}},
      {"plain, right to left", TgaFile().Type(3).Descriptor(0x10).Data("\1\2\3\4\5\6"), {6, 5, 4, 3, 2, 1}},
      {"identification skipped",
       TgaFile().Type(3).Descriptor(0x20).Id(5).Data("\1\2\3\4\5\6"),
       {1, 2, 3, 4, 5, 6}},
      {"run across the row end",
       TgaFile().Type(11).Descriptor(0x20).Data("\x83\7\x01\1\2"),
       {7, 7, 7, 7, 1, 2}},
      {"run past the last pixel",
       TgaFile().Type(11).Descriptor(0x20).Data("\1\1\2\xFF\x09"),
       {1, 2, 9, 9, 9, 9}},
      {"literal past the last pixel",
       TgaFile().Type(11).Descriptor(0x20).Data("\x7F\1\2\3\4\5\6"),
       {1, 2, 3, 4, 5, 6}},
  };
  for (const auto& row : rows) {
    const ResultOf<PictureImage> decoded = DecodeTga(TgaFile(row.file).Size(3, 2).Depth(8).Bytes());
    ASSERT_TRUE(decoded.ok) << row.name << ": " << decoded.message;
    std::vector<int> values;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) values.push_back(decoded.value.ColourAt(x, y).red);
    EXPECT_EQ(values, row.fromTop) << row.name;
  }
}

TEST(TgaDecoder, ColourMapsAndTrueColourPixels) {
  const struct {
    const char* name;
    TgaFile file;
    int bits;
    Rgb first;
  } rows[] = {
      // Map entries 2..4 hold 0, 1, 2; the others are black, not the grey ramp.
      {"map entry at first + i", TgaFile().Type(1).Map(2, 3, 32).Depth(8).Data("\4"), 8, {2, 2, 2}},
      {"index the map leaves unset", TgaFile().Type(1).Map(2, 3, 24).Depth(8).Data("\1"), 8, {0, 0, 0}},
      {"24 bits", TgaFile().Data("\1\2\3"), 24, {3, 2, 1}},
      {"32 bits, alpha ignored", TgaFile().Depth(32).Data(std::string("\1\2\3\0", 4)), 32, {3, 2, 1}},
      {"15 bits read as 16", TgaFile().Depth(15).Data(std::string("\x00\x7C", 2)), 16, {255, 0, 0}},
      {"true colour skips its map", TgaFile().Map(0, 2, 24).Data("\x07\x08\x09"), 24, {9, 8, 7}},
  };
  for (const auto& row : rows) {
    const ResultOf<PictureImage> decoded = DecodeTga(TgaFile(row.file).Size(1, 1).Bytes());
    ASSERT_TRUE(decoded.ok) << row.name << ": " << decoded.message;
    EXPECT_EQ(decoded.value.BitsPerPixel(), row.bits) << row.name;
    EXPECT_EQ(decoded.value.ColourAt(0, 0), row.first) << row.name;
  }
}

TEST(TgaDecoder, RefusesWhatItWouldDecodeWrongAndShortFiles) {
  const struct {
    const char* name;
    std::string bytes;
    const char* refusal;
  } rows[] = {
      {"17 bytes", TgaFile().Bytes().substr(0, 17), "the header is cut short"},
      {"last pixel cut short", TgaFile().Data(std::string(11, 'x')).Bytes(), "the pixel data is cut short"},
      {"packet without its pixel", TgaFile().Type(10).Data("\x83").Bytes(), "the pixel data is cut short"},
      {"colour map cut short", TgaFile().Type(1).Map(0, 4, 24).Depth(8).Bytes().substr(0, 25),
       "the colour map is cut short"},
      {"map entries of 16 bits", TgaFile().Map(0, 1, 16).Bytes(),
       "colour map entries of 15 or 16 bits are not supported"},
      {"map entries of 8 bits", TgaFile().Map(0, 1, 8).Bytes(),
       "colour map entries of 8 bits are not supported"},
      {"map entries 250 + 7", TgaFile().Type(1).Map(250, 7, 24).Depth(8).Bytes(),
       "the colour map has more than 256 entries"},
      {"colour-mapped without a map", TgaFile().Type(1).Depth(8).Bytes(),
       "a colour-mapped image has no colour map"},
      {"colour-mapped at 16 bits", TgaFile().Type(9).Map(0, 1, 24).Depth(16).Bytes(),
       "colour-mapped images of 16 bits are not supported"},
      {"grey and alpha", TgaFile().Type(3).Depth(16).Bytes(), "grey images of 16 bits are not supported"},
      {"true colour at 8 bits", TgaFile().Depth(8).Bytes(), "true-colour images of 8 bits are not supported"},
      {"no image data, type 0", TgaFile().Type(0).Bytes(), "image type 0 is not supported"},
      {"colour map type 2", TgaFile().MapType(2).Bytes(), "colour map type 2 is not supported"},
      {"height 0", TgaFile().Size(2, 0).Bytes(), "the width or height is zero"},
      {"65535 x 65535 at 32 bits", TgaFile().Size(65535, 65535).Depth(32).Bytes(),
       "the picture is larger than 256 MiB"},
  };
  for (const auto& row : rows) {
    const ResultOf<PictureImage> decoded = DecodeTga(row.bytes);
    EXPECT_EQ(decoded.message, row.refusal) << row.name;
    EXPECT_FALSE(decoded.ok || decoded.value.IsValid()) << row.name;
  }
}

}  // namespace
}  // namespace qv70
