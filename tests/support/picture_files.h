#pragma once

// Small BMP and TGA files made field by field, so that each test row can say
// which field of an otherwise sound file it spoils.

#include <cstdint>
#include <string>
#include <vector>

namespace qv70::testing {

inline void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Byte i of a pixel area: a pattern that shows misplaced rows.
inline std::string PatternBytes(std::size_t count) {
  std::string bytes;
  for (std::size_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(i * 7 + 1));
  return bytes;
}

struct BmpFile {
  std::int32_t width = 2;
  std::int32_t height = 2;
  int bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 40;
  std::uint32_t coloursUsed = 0;
  int paletteEntries = -1;           // -1: 2^bits for 8 or fewer bits, else none
  std::vector<std::uint32_t> masks;  // written after the 40-byte header
  std::int64_t pixelOffset = -1;     // -1: right after headers, masks and palette
  std::int64_t pixelBytes = -1;      // -1: stride x height
  std::string magic = "BM";

  static constexpr std::uint64_t kMaxPadding = 1024 * 1024;

  std::string Bytes() const {
    const int entries = paletteEntries >= 0 ? paletteEntries : bits <= 8 ? 1 << bits : 0;
    std::string table;
    for (std::uint32_t mask : masks) PutLittleEndian(table, mask, 4);
    for (int i = 0; i < entries; ++i)
      table += {static_cast<char>(i), static_cast<char>(i * 2), static_cast<char>(i * 3), 0};
    const std::uint64_t offset =
        pixelOffset >= 0 ? static_cast<std::uint64_t>(pixelOffset) : 14 + headerSize + table.size();
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bits) + 31) / 32 * 4;
    const std::uint64_t count = pixelBytes >= 0 ? static_cast<std::uint64_t>(pixelBytes)
                                                : stride * static_cast<std::uint64_t>(height);

    std::string out = magic;
    PutLittleEndian(out, offset + count, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, offset, 4);
    PutLittleEndian(out, headerSize, 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(width), 4);
    PutLittleEndian(out, static_cast<std::uint32_t>(height), 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, static_cast<std::uint64_t>(bits), 2);
    PutLittleEndian(out, compression, 4);
    PutLittleEndian(out, 0, 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, 2835, 4);
    PutLittleEndian(out, coloursUsed, 4);
    PutLittleEndian(out, 0, 4);
    // A header or offset beyond any real file is not padded out to.
    if (headerSize < kMaxPadding) out.resize(14 + headerSize, '\0');
    out += table;
    // Palette and pixels may overlap, as files whose colours-used count is short have them.
    if (offset < kMaxPadding) out.resize(static_cast<std::size_t>(offset), '\0');
    return out + PatternBytes(static_cast<std::size_t>(count));
  }
};

struct TgaFile {
  int idLength = 0;
  int colourMapType = 0;
  int imageType = 2;
  int mapFirst = 0;
  int mapLength = 0;
  int mapEntryBits = 0;
  int width = 2;
  int height = 2;
  int depth = 24;
  int descriptor = 0;
  std::string data;  // what follows the identification field and the map

  std::string Bytes() const {
    std::string out;
    PutLittleEndian(out, static_cast<std::uint64_t>(idLength), 1);
    PutLittleEndian(out, static_cast<std::uint64_t>(colourMapType), 1);
    PutLittleEndian(out, static_cast<std::uint64_t>(imageType), 1);
    PutLittleEndian(out, static_cast<std::uint64_t>(mapFirst), 2);
    PutLittleEndian(out, static_cast<std::uint64_t>(mapLength), 2);
    PutLittleEndian(out, static_cast<std::uint64_t>(mapEntryBits), 1);
    PutLittleEndian(out, 0, 4);  // origin
    PutLittleEndian(out, static_cast<std::uint64_t>(width), 2);
    PutLittleEndian(out, static_cast<std::uint64_t>(height), 2);
    PutLittleEndian(out, static_cast<std::uint64_t>(depth), 1);
    PutLittleEndian(out, static_cast<std::uint64_t>(descriptor), 1);
    out += std::string(static_cast<std::size_t>(idLength), 'i');
    // Map entry i is (i, i, i) in blue, green, red, then 0x80 as alpha.
    for (int i = 0; colourMapType == 1 && i < mapLength; ++i) {
      out += std::string(3, static_cast<char>(i));
      if (mapEntryBits == 32) out += '\x80';
    }
    return out + data;
  }
};

}  // namespace qv70::testing
