#pragma once

// Small BMP and TGA files made field by field, so that a test row can say
// which field of an otherwise sound file it spoils:
//   BmpFile().Bits(4).Height(16).Palette(3).Bytes()

#include <cstdint>
#include <string>
#include <vector>

namespace qv70::test {

inline void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Byte i of the pixels is i * 7 + 1, a pattern that shows misplaced rows.
inline std::string PatternBytes(std::uint64_t count) {
  std::string bytes;
  for (std::uint64_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i * 7 + 1));
  return bytes;
}

struct BmpFile {
  std::int64_t width = 2, height = 2, bits = 24, compression = 0, headerSize = 40;
  std::int64_t paletteEntries = -1;  // -1: 2^bits for 8 or fewer bits, else none
  std::int64_t pixelOffset = -1;     // -1: right after headers, masks and palette
  std::int64_t pixelBytes = -1;      // -1: stride x height
  std::vector<std::uint32_t> masks;  // after the 40-byte header
  std::string magic = "BM";

  BmpFile& Width(std::int64_t v) { return width = v, *this; }
  BmpFile& Height(std::int64_t v) { return height = v, *this; }
  BmpFile& Bits(std::int64_t v) { return bits = v, *this; }
  BmpFile& BitFields(std::vector<std::uint32_t> v) { return compression = 3, masks = std::move(v), *this; }
  BmpFile& Compression(std::int64_t v) { return compression = v, *this; }
  BmpFile& HeaderSize(std::int64_t v) { return headerSize = v, *this; }
  BmpFile& Palette(std::int64_t v) { return paletteEntries = v, *this; }
  BmpFile& PixelOffset(std::int64_t v) { return pixelOffset = v, *this; }
  BmpFile& PixelBytes(std::int64_t v) { return pixelBytes = v, *this; }
  BmpFile& Magic(std::string v) { return magic = std::move(v), *this; }

  // Entry i is blue i, green 2i, red 3i; a palette of a given size is also the
  // colours-used count. A header or offset beyond any real file is not padded to.
  std::string Bytes() const {
    const std::int64_t entries = paletteEntries >= 0 ? paletteEntries : bits <= 8 ? 1 << bits : 0;
    const std::int64_t coloursUsed = paletteEntries >= 0 ? paletteEntries : 0;
    std::string table;
    for (std::uint32_t mask : masks) PutLittleEndian(table, mask, 4);
    for (int i = 0; i < entries; ++i) table += {char(i), char(i * 2), char(i * 3), 0};
    const auto offset =
        static_cast<std::uint64_t>(pixelOffset >= 0 ? pixelOffset : 14 + headerSize + table.size());
    const std::int64_t stride = (width * bits + 31) / 32 * 4;
    const auto count = static_cast<std::uint64_t>(pixelBytes >= 0 ? pixelBytes : stride * height);
    std::string out = magic;
    for (std::uint64_t field : {offset + count, std::uint64_t{0}, offset, std::uint64_t(headerSize),
                                std::uint64_t(width), std::uint64_t(height)})
      PutLittleEndian(out, field, 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, static_cast<std::uint64_t>(bits), 2);
    for (std::uint64_t field : {std::uint64_t(compression), std::uint64_t{0}, std::uint64_t{2835},
                                std::uint64_t{2835}, std::uint64_t(coloursUsed), std::uint64_t{0}})
      PutLittleEndian(out, field, 4);
    if (headerSize < 1 << 20) out.resize(static_cast<std::size_t>(14 + headerSize), '\0');
    out += table;
    // The palette and the pixels may overlap, as in files with a short colours-used count.
    if (offset < 1 << 20) out.resize(static_cast<std::size_t>(offset), '\0');
    return out + PatternBytes(count);
  }
};

struct TgaFile {
  int idLength = 0, colourMapType = 0, imageType = 2, mapFirst = 0, mapLength = 0, mapEntryBits = 0;
  int width = 2, height = 2, depth = 24, descriptor = 0;
  std::string data;  // what follows the identification field and the map

  TgaFile& Type(int v) { return imageType = v, *this; }
  TgaFile& Size(int w, int h) { return width = w, height = h, *this; }
  TgaFile& Depth(int v) { return depth = v, *this; }
  TgaFile& Descriptor(int v) { return descriptor = v, *this; }
  TgaFile& Id(int v) { return idLength = v, *this; }
  TgaFile& Map(int first, int length, int bits) {
    return colourMapType = 1, mapFirst = first, mapLength = length, mapEntryBits = bits, *this;
  }
  TgaFile& MapType(int v) { return colourMapType = v, *this; }
  TgaFile& Data(std::string v) { return data = std::move(v), *this; }

  // Map entry i is blue, green, red i, then alpha 0x80 for 32-bit entries.
  std::string Bytes() const {
    std::string out;
    for (int field : {idLength, colourMapType, imageType}) PutLittleEndian(out, std::uint64_t(field), 1);
    for (int field : {mapFirst, mapLength}) PutLittleEndian(out, std::uint64_t(field), 2);
    PutLittleEndian(out, std::uint64_t(mapEntryBits), 1);
    for (int field : {0, 0, width, height}) PutLittleEndian(out, std::uint64_t(field), 2);
    for (int field : {depth, descriptor}) PutLittleEndian(out, std::uint64_t(field), 1);
    out += std::string(static_cast<std::size_t>(idLength), 'i');
    for (int i = 0; colourMapType == 1 && i < mapLength; ++i)
      out += std::string(3, char(i)) + (mapEntryBits == 32 ? "\x80" : "");
    return out + data;
  }
};

}  // namespace qv70::test
