#include "core/picture/bmp_codec.h"

#include <cstdint>
#include <cstring>

#include "core/picture/byte_reader.h"

namespace qv70 {

namespace {

using Decoded = ResultOf<PictureImage>;

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint64_t kMasksSize = 12;
constexpr std::uint64_t kPaletteEntrySize = 4;
constexpr ColourMasks kEightBitMasks{0xFF0000, 0x00FF00, 0x0000FF};

// The fields of the file and information headers that decoding uses.
struct BmpHeaders {
  std::uint64_t pixelOffset = 0;
  std::uint64_t headerSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  int bitsPerPixel = 0;
  std::uint32_t compression = 0;
  std::int32_t xPixelsPerMetre = 0;
  std::int32_t yPixelsPerMetre = 0;
};

BmpHeaders ReadHeaders(const ByteReader& file) {
  BmpHeaders headers;
  headers.pixelOffset = file.U32(10);
  headers.headerSize = file.U32(14);
  headers.width = file.I32(18);
  headers.height = file.I32(22);
  headers.bitsPerPixel = file.U16(28);
  headers.compression = file.U32(30);
  headers.xPixelsPerMetre = file.I32(38);
  headers.yPixelsPerMetre = file.I32(42);
  return headers;
}

// Why these headers cannot be decoded; empty when they can.
std::string Refusal(const BmpHeaders& headers, const ByteReader& file) {
  if (headers.pixelOffset >= file.Size()) return "the pixel data starts beyond the end of the file";
  // The 12-byte core header has 16-bit sizes and 3-byte palette entries.
  if (headers.headerSize < kBitmapInfoHeaderSize) return "the information header is shorter than 40 bytes";
  if (headers.pixelOffset < kFileHeaderSize + headers.headerSize)
    return "the pixel data starts inside the headers";
  if (headers.width <= 0) return "the width is not positive";
  if (headers.height == 0) return "the height is zero";
  if (headers.height < 0) return "rows stored top row first are not supported";
  if (headers.compression != kCompressionPlain && headers.compression != kCompressionBitFields)
    return "compression " + std::to_string(headers.compression) + " is not supported";
  if (!IsSupportedDepth(headers.bitsPerPixel))
    return std::to_string(headers.bitsPerPixel) + " bits per pixel are not supported";
  if (headers.compression == kCompressionBitFields && headers.bitsPerPixel != 16 &&
      headers.bitsPerPixel != 32)
    return "bit fields need 16 or 32 bits per pixel";
  const std::uint64_t pixelBytes =
      RowStride(headers.width, headers.bitsPerPixel) * static_cast<std::uint64_t>(headers.height);
  if (pixelBytes > kMaxPixelBytes) return "the picture is larger than 256 MiB";
  return {};
}

ColourMasks ReadMasks(const ByteReader& file, std::uint64_t at) {
  return {file.U32(at), file.U32(at + 4), file.U32(at + 8)};
}

// Masks, palette and pixels into the created image; empty, or why not.
std::string ReadBody(const ByteReader& file, const BmpHeaders& headers, PictureImage& image) {
  // The masks sit right after the 40 bytes, inside a longer header as well.
  const std::uint64_t masksAt = kFileHeaderSize + kBitmapInfoHeaderSize;
  if (headers.compression == kCompressionBitFields) {
    if (!file.Has(masksAt, kMasksSize)) return "the bit fields are cut short";
    const ColourMasks masks = ReadMasks(file, masksAt);
    if (headers.bitsPerPixel == 16) {
      image.SetBitFields(masks);
    } else if (!(masks == kEightBitMasks)) {
      // Only the usual layout reads as stored; others would need converting.
      return "32-bit bit fields other than 8-bit red, green, blue are not supported";
    }
  }

  if (headers.bitsPerPixel <= 8) {
    const std::uint64_t paletteAt = kFileHeaderSize + headers.headerSize;
    const int entries = 1 << headers.bitsPerPixel;
    if (!file.Has(paletteAt, kPaletteEntrySize * static_cast<std::uint64_t>(entries)))
      return "the palette is cut short";
    for (int i = 0; i < entries; ++i) {
      const std::uint8_t* entry = file.At(paletteAt + kPaletteEntrySize * static_cast<std::uint64_t>(i));
      image.SetPaletteEntry(i, {entry[0], entry[1], entry[2], 0});
    }
  }

  if (!file.Has(headers.pixelOffset, image.PixelBytes())) return "the pixel data is cut short";
  std::memcpy(image.PixelData(), file.At(headers.pixelOffset), image.PixelBytes());
  image.SetResolution(headers.xPixelsPerMetre, headers.yPixelsPerMetre);
  return {};
}

void AppendU16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void AppendU32(std::string& out, std::uint32_t value) {
  AppendU16(out, value & 0xFFFF);
  AppendU16(out, value >> 16);
}

void AppendInfoHeader(std::string& out, const BitmapInfoHeader& header) {
  AppendU32(out, header.size);
  AppendU32(out, static_cast<std::uint32_t>(header.width));
  AppendU32(out, static_cast<std::uint32_t>(header.height));
  AppendU16(out, header.planes);
  AppendU16(out, header.bitsPerPixel);
  AppendU32(out, header.compression);
  AppendU32(out, header.imageSize);
  AppendU32(out, static_cast<std::uint32_t>(header.xPixelsPerMetre));
  AppendU32(out, static_cast<std::uint32_t>(header.yPixelsPerMetre));
  AppendU32(out, header.coloursUsed);
  AppendU32(out, header.coloursImportant);
}

}  // namespace

ResultOf<PictureImage> DecodeBmp(std::string_view bytes) {
  const ByteReader file(bytes);
  if (file.Size() <= kFileHeaderSize || file.U8(0) != 'B' || file.U8(1) != 'M')
    return Decoded::Failure("not a BMP file");
  if (!file.Has(kFileHeaderSize, kBitmapInfoHeaderSize)) return Decoded::Failure("the headers are cut short");
  const BmpHeaders headers = ReadHeaders(file);
  if (std::string refusal = Refusal(headers, file); !refusal.empty()) return Decoded::Failure(refusal);

  PictureImage image;
  if (!image.Create(headers.width, headers.height, headers.bitsPerPixel))
    return Decoded::Failure("out of memory for the picture");
  if (std::string problem = ReadBody(file, headers, image); !problem.empty())
    return Decoded::Failure(problem);
  return Decoded::Success(std::move(image));
}

std::string EncodeBmp(const PictureImage& image) {
  if (!image.IsValid()) return {};
  const BitmapInfoHeader& header = image.Header();
  const auto pixelBytes = static_cast<std::uint32_t>(image.PixelBytes());
  std::uint32_t tableBytes = 0;
  if (header.bitsPerPixel <= 8)
    tableBytes = static_cast<std::uint32_t>(kPaletteEntrySize * image.Palette().size());
  if (header.compression == kCompressionBitFields) tableBytes = kMasksSize;
  const std::uint32_t fileSize = kFileHeaderSize + kBitmapInfoHeaderSize + tableBytes + pixelBytes;

  std::string out;
  out.reserve(fileSize);
  out += "BM";
  AppendU32(out, fileSize);
  AppendU32(out, 0);  // two reserved 16-bit fields
  AppendU32(out, fileSize - pixelBytes);
  AppendInfoHeader(out, header);
  if (header.bitsPerPixel <= 8) {
    for (const PaletteEntry& entry : image.Palette())
      out += {char(entry.blue), char(entry.green), char(entry.red), 0};
  } else if (header.compression == kCompressionBitFields) {
    AppendU32(out, image.Masks().red);
    AppendU32(out, image.Masks().green);
    AppendU32(out, image.Masks().blue);
  }
  out.append(reinterpret_cast<const char*>(image.PixelData()), image.PixelBytes());
  return out;
}

}  // namespace qv70
