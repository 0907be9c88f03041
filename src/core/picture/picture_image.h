#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/result.h"

namespace qv70 {

// The largest pixel buffer an image may have. A logo is a few hundred
// kilobytes; anything beyond this is refused rather than allocated.
inline constexpr std::uint64_t kMaxPixelBytes = 256u * 1024 * 1024;

inline constexpr std::uint32_t kCompressionPlain = 0;
inline constexpr std::uint32_t kCompressionBitFields = 3;

// The platform's device-independent bitmap information header, as BMP files
// and packed bitmap blocks carry it (40 bytes, little-endian).
struct BitmapInfoHeader {
  std::uint32_t size = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // always > 0 here: rows are stored bottom row first
  std::uint16_t planes = 1;
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t compression = kCompressionPlain;  // bit fields only at 16 bits
  std::uint32_t imageSize = 0;
  std::int32_t xPixelsPerMetre = 0;
  std::int32_t yPixelsPerMetre = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t coloursImportant = 0;
};
inline constexpr std::size_t kBitmapInfoHeaderSize = 40;

struct PaletteEntry {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  std::uint8_t reserved = 0;
  bool operator==(const PaletteEntry& other) const {
    return blue == other.blue && green == other.green && red == other.red && reserved == other.reserved;
  }
};

// Where red, green and blue sit in a 16-bit pixel; the default is 5-5-5.
struct ColourMasks {
  std::uint32_t red = 0x7C00;
  std::uint32_t green = 0x03E0;
  std::uint32_t blue = 0x001F;
  bool operator==(const ColourMasks& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb& other) const {
    return red == other.red && green == other.green && blue == other.blue;
  }
};

// The picture formats by file-name extension; the numbers are the format codes.
enum class PictureFormat {
  None = 0,
  Bmp = 1,
  Pcx = 2,
  Jpeg = 3,
  Gif = 4,
  Tga = 5,
  Tiff = 6,
  Png = 7,
  Psd = 8,
  Ico = 9,
  Xpm = 10,
  Oxo = 11,
};

// The format named by the text after the path's last ".", compared in lower
// case; None without a "." or for any other text.
PictureFormat PictureFormatOf(const std::string& path);

// ((width x bits + 31) / 32) x 4: the bytes of one row, padded to 32 bits.
// 64-bit so that no width and depth can overflow it.
std::uint64_t RowStride(std::int64_t width, int bitsPerPixel);

// 1, 4, 8, 16, 24 or 32.
bool IsSupportedDepth(int bitsPerPixel);

class PlatformPictureDecoder;

// An in-memory device-independent bitmap: header, pixel buffer (rows bottom
// first, each Stride() bytes), palette for 8 or fewer bits per pixel and the
// colour masks of 16-bit pixels. The fourth byte of a 32-bit pixel is not
// alpha: nothing reads it. A new image is empty (not valid); an image owns
// its buffers, and copies are deep.
class PictureImage {
 public:
  // Discards what the image held, then makes a valid image of that size and
  // depth, pixels zero, compression plain, palettes a grey ramp. False, with
  // the image left empty, for a width or height <= 0, an unsupported depth, a
  // buffer over kMaxPixelBytes or memory that cannot be had.
  bool Create(int width, int height, int bitsPerPixel);

  // Decodes the file at `path` by its extension (PictureFormatOf): BMP and
  // TGA here, JPEG and GIF through `platform` when one is given. On failure
  // the image is left as it was and the message names the file and why.
  Result LoadFile(const std::string& path, const PlatformPictureDecoder* platform = nullptr);

  // Writes the image as the path's extension says; only BMP has an encoder.
  // Fails for an empty image, another extension, a path that is not a regular
  // file (a FIFO is never waited on) or a file that cannot be written (a
  // partly written file is removed).
  Result SaveFile(const std::string& path) const;

  // Makes this image a copy of `other`; nothing when `other` is empty or is
  // this image.
  void CopyFrom(const PictureImage& other);

  bool IsValid() const { return !pixels_.empty(); }
  const BitmapInfoHeader& Header() const { return header_; }
  int Width() const { return header_.width; }
  int Height() const { return header_.height; }
  int BitsPerPixel() const { return header_.bitsPerPixel; }
  std::size_t Stride() const { return stride_; }

  // The pixel buffer, bottom row first, Stride() x Height() bytes.
  std::uint8_t* PixelData() { return pixels_.data(); }
  const std::uint8_t* PixelData() const { return pixels_.data(); }
  std::size_t PixelBytes() const { return pixels_.size(); }

  // The row table: the bytes of row `fromTop` (0 is the top row, the last
  // stride of the buffer). `fromTop` must be within 0 .. Height() - 1.
  std::uint8_t* Row(int fromTop) { return pixels_.data() + RowOffset(fromTop); }
  const std::uint8_t* Row(int fromTop) const { return pixels_.data() + RowOffset(fromTop); }

  // 2^bits entries for 8 or fewer bits per pixel, else none.
  const std::vector<PaletteEntry>& Palette() const { return palette_; }
  // Ignored for an index outside the palette; the reserved byte is kept 0.
  void SetPaletteEntry(int index, PaletteEntry entry);
  void ClearPalette();

  const ColourMasks& Masks() const { return masks_; }
  // The masks of a 16-bit image that came with bit fields: compression
  // becomes 3. False, changing nothing, at any other depth.
  bool SetBitFields(const ColourMasks& masks);

  void SetResolution(std::int32_t xPixelsPerMetre, std::int32_t yPixelsPerMetre);

  // The colour of pixel (x, y), y counted from the top, through the palette
  // or the masks; black outside the image.
  Rgb ColourAt(int x, int y) const;

 private:
  std::size_t RowOffset(int fromTop) const {
    return static_cast<std::size_t>(header_.height - 1 - fromTop) * stride_;
  }

  BitmapInfoHeader header_;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> pixels_;
  std::vector<PaletteEntry> palette_;
  ColourMasks masks_;
};

// The decoder of the formats the platform knows (JPEG, GIF). The window layer
// gives one; where there is none (qv70cli), those files are refused.
class PlatformPictureDecoder {
 public:
  virtual ~PlatformPictureDecoder() = default;
  // A 24-bit image of the picture's size, or a failure with the reason.
  virtual ResultOf<PictureImage> Decode(std::string_view bytes, PictureFormat format) const = 0;
};

}  // namespace qv70
