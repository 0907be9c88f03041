#include "core/picture/tga_codec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/picture/byte_reader.h"

namespace qv70 {

namespace {

using Decoded = ResultOf<PictureImage>;

constexpr std::uint64_t kHeaderSize = 18;
constexpr int kPaletteSize = 256;

enum class TgaKind { ColourMapped, TrueColour, Grey };

struct TgaHeader {
  int idLength = 0;
  int colourMapType = 0;
  int imageType = 0;
  int mapFirst = 0;
  int mapLength = 0;
  int mapEntryBits = 0;
  int width = 0;
  int height = 0;
  int depth = 0;
  int descriptor = 0;

  TgaKind Kind() const {
    const int base = imageType & 7;
    return base == 1 ? TgaKind::ColourMapped : base == 2 ? TgaKind::TrueColour : TgaKind::Grey;
  }
  bool RunLength() const { return imageType >= 9; }
  bool TopRowFirst() const { return (descriptor & 0x20) != 0; }
  bool RightToLeft() const { return (descriptor & 0x10) != 0; }
  int PixelSize() const { return (depth + 7) / 8; }
  std::uint64_t MapBytes() const {
    return colourMapType == 1
               ? static_cast<std::uint64_t>(mapLength) * static_cast<std::uint64_t>(mapEntryBits / 8)
               : 0;
  }
};

TgaHeader ReadHeader(const ByteReader& file) {
  TgaHeader header;
  header.idLength = file.U8(0);
  header.colourMapType = file.U8(1);
  header.imageType = file.U8(2);
  header.mapFirst = file.U16(3);
  header.mapLength = file.U16(5);
  header.mapEntryBits = file.U8(7);
  header.width = file.U16(12);
  header.height = file.U16(14);
  header.depth = file.U8(16);
  header.descriptor = file.U8(17);
  return header;
}

bool IsKnownImageType(int type) { return (type >= 1 && type <= 3) || (type >= 9 && type <= 11); }

std::string ColourMapRefusal(const TgaHeader& header) {
  if (header.colourMapType > 1)
    return "colour map type " + std::to_string(header.colourMapType) + " is not supported";
  if (header.colourMapType == 0) return {};
  if (header.mapEntryBits != 24 && header.mapEntryBits != 32)
    return "colour map entries of " + std::to_string(header.mapEntryBits) + " bits are not supported";
  if (header.mapFirst + header.mapLength > kPaletteSize) return "the colour map has more than 256 entries";
  return {};
}

// Each kind of image has the depths it can be read at.
std::string DepthRefusal(const TgaHeader& header) {
  const std::string bits = std::to_string(header.depth) + " bits are not supported";
  switch (header.Kind()) {
    case TgaKind::ColourMapped:
      if (header.colourMapType != 1) return "a colour-mapped image has no colour map";
      return header.depth == 8 ? std::string() : "colour-mapped images of " + bits;
    case TgaKind::Grey: return header.depth == 8 ? std::string() : "grey images of " + bits;
    case TgaKind::TrueColour:
      if (header.depth == 15 || header.depth == 16 || header.depth == 24 || header.depth == 32) return {};
      return "true-colour images of " + bits;
  }
  return {};
}

std::string SizeRefusal(const TgaHeader& header) {
  if (header.width == 0 || header.height == 0) return "the width or height is zero";
  const int bits = header.depth == 15 ? 16 : header.depth;
  if (RowStride(header.width, bits) * static_cast<std::uint64_t>(header.height) > kMaxPixelBytes)
    return "the picture is larger than 256 MiB";
  return {};
}

// Why this header cannot be decoded; empty when it can.
std::string Refusal(const TgaHeader& header) {
  if (header.mapEntryBits == 15 || header.mapEntryBits == 16)
    return "colour map entries of 15 or 16 bits are not supported";
  if (!IsKnownImageType(header.imageType))
    return "image type " + std::to_string(header.imageType) + " is not supported";
  for (const std::string& refusal : {ColourMapRefusal(header), DepthRefusal(header), SizeRefusal(header)})
    if (!refusal.empty()) return refusal;
  return {};
}

// Puts the pixels, in the file's order, where the descriptor says they go.
class PixelPlacer {
 public:
  PixelPlacer(PictureImage& image, const TgaHeader& header)
      : image_(image),
        pixelSize_(static_cast<std::size_t>(header.PixelSize())),
        topRowFirst_(header.TopRowFirst()),
        rightToLeft_(header.RightToLeft()),
        remaining_(static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height)) {}

  std::uint64_t Remaining() const { return remaining_; }

  void Put(const std::uint8_t* pixel) {
    const int row = topRowFirst_ ? fileRow_ : image_.Height() - 1 - fileRow_;
    const int column = rightToLeft_ ? image_.Width() - 1 - fileColumn_ : fileColumn_;
    std::memcpy(image_.Row(row) + static_cast<std::size_t>(column) * pixelSize_, pixel, pixelSize_);
    if (++fileColumn_ == image_.Width()) {
      fileColumn_ = 0;
      ++fileRow_;
    }
    --remaining_;
  }

 private:
  PictureImage& image_;
  std::size_t pixelSize_;
  bool topRowFirst_;
  bool rightToLeft_;
  std::uint64_t remaining_;
  int fileRow_ = 0;
  int fileColumn_ = 0;
};

bool ReadPlainPixels(const ByteReader& file, std::uint64_t at, std::uint64_t pixelSize, PixelPlacer& placer) {
  if (!file.Has(at, placer.Remaining() * pixelSize)) return false;
  while (placer.Remaining() > 0) {
    placer.Put(file.At(at));
    at += pixelSize;
  }
  return true;
}

// Packets may cross rows; one that runs past the last pixel stops there, and
// the bytes it would have needed beyond are not asked for.
bool ReadRunLengthPixels(const ByteReader& file, std::uint64_t at, std::uint64_t pixelSize,
                         PixelPlacer& placer) {
  while (placer.Remaining() > 0) {
    if (!file.Has(at, 1)) return false;
    const std::uint8_t packet = file.U8(at++);
    const std::uint64_t count = std::min<std::uint64_t>((packet & 0x7F) + 1, placer.Remaining());
    if ((packet & 0x80) != 0) {
      if (!file.Has(at, pixelSize)) return false;
      for (std::uint64_t i = 0; i < count; ++i) placer.Put(file.At(at));
      at += pixelSize;
    } else {
      if (!file.Has(at, count * pixelSize)) return false;
      for (std::uint64_t i = 0; i < count; ++i, at += pixelSize) placer.Put(file.At(at));
    }
  }
  return true;
}

// Entries of 3 bytes (blue, green, red) or 4 (and alpha, dropped), stored at
// palette index first + i; the entries the map does not set are black.
void ReadColourMap(const ByteReader& file, std::uint64_t at, const TgaHeader& header, PictureImage& image) {
  const std::uint64_t entrySize = static_cast<std::uint64_t>(header.mapEntryBits / 8);
  image.ClearPalette();
  for (int i = 0; i < header.mapLength; ++i) {
    const std::uint8_t* entry = file.At(at + entrySize * static_cast<std::uint64_t>(i));
    image.SetPaletteEntry(header.mapFirst + i, {entry[0], entry[1], entry[2], 0});
  }
}

}  // namespace

ResultOf<PictureImage> DecodeTga(std::string_view bytes) {
  const ByteReader file(bytes);
  if (!file.Has(0, kHeaderSize)) return Decoded::Failure("the header is cut short");
  const TgaHeader header = ReadHeader(file);
  if (std::string refusal = Refusal(header); !refusal.empty()) return Decoded::Failure(refusal);

  const std::uint64_t mapAt = kHeaderSize + static_cast<std::uint64_t>(header.idLength);
  const std::uint64_t pixelsAt = mapAt + header.MapBytes();
  if (!file.Has(mapAt, header.MapBytes())) return Decoded::Failure("the colour map is cut short");

  PictureImage image;
  const int bits = header.depth == 15 ? 16 : header.depth;
  if (!image.Create(header.width, header.height, bits))
    return Decoded::Failure("out of memory for the picture");
  // A true-colour image's map is only skipped: its palette would have no use.
  if (header.Kind() == TgaKind::ColourMapped) ReadColourMap(file, mapAt, header, image);

  PixelPlacer placer(image, header);
  const auto pixelSize = static_cast<std::uint64_t>(header.PixelSize());
  const bool read = header.RunLength() ? ReadRunLengthPixels(file, pixelsAt, pixelSize, placer)
                                       : ReadPlainPixels(file, pixelsAt, pixelSize, placer);
  if (!read) return Decoded::Failure("the pixel data is cut short");
  return Decoded::Success(std::move(image));
}

}  // namespace qv70
