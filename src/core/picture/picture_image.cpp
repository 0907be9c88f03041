#include "core/picture/picture_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include "core/picture/bmp_codec.h"
#include "core/picture/tga_codec.h"
#include "core/platform/bounded_file.h"

namespace qv70 {

namespace {

// A picture file holds its pixels and some headers; TGA files are smaller
// than their pixels, BMP files a little larger.
constexpr std::size_t kMaxPictureFileSize = kMaxPixelBytes + 1024 * 1024;

struct ExtensionFormat {
  const char* extension;
  PictureFormat format;
};

constexpr ExtensionFormat kFormatTable[] = {
    {"bmp", PictureFormat::Bmp},   {"pcx", PictureFormat::Pcx},   {"jpg", PictureFormat::Jpeg},
    {"jpeg", PictureFormat::Jpeg}, {"gif", PictureFormat::Gif},   {"tga", PictureFormat::Tga},
    {"tif", PictureFormat::Tiff},  {"tiff", PictureFormat::Tiff}, {"png", PictureFormat::Png},
    {"psd", PictureFormat::Psd},   {"ico", PictureFormat::Ico},   {"xpm", PictureFormat::Xpm},
    {"oxo", PictureFormat::Oxo},
};

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

Result CannotLoad(const std::string& path, const std::string& why) {
  return Result::Failure("cannot load picture " + Quoted(path) + ": " + why);
}

Result CannotSave(const std::string& path, const std::string& why) {
  return Result::Failure("cannot save picture " + Quoted(path) + ": " + why);
}

ResultOf<PictureImage> Decode(PictureFormat format, std::string_view bytes,
                              const PlatformPictureDecoder* platform) {
  switch (format) {
    case PictureFormat::Bmp: return DecodeBmp(bytes);
    case PictureFormat::Tga: return DecodeTga(bytes);
    case PictureFormat::Jpeg:
    case PictureFormat::Gif: return platform->Decode(bytes, format);
    default: return ResultOf<PictureImage>::Failure("no decoder for this kind of file");
  }
}

// Why a file of `format` cannot be decoded here; empty when it can.
std::string MissingDecoder(PictureFormat format, const PlatformPictureDecoder* platform) {
  switch (format) {
    case PictureFormat::Bmp:
    case PictureFormat::Tga: return {};
    case PictureFormat::Jpeg:
    case PictureFormat::Gif:
      return platform != nullptr ? std::string() : "JPEG and GIF pictures are decoded in the program only";
    default: return "no decoder for this kind of file";
  }
}

// Samples `pixel`'s bits under `mask`, scaled to 0..255.
std::uint8_t MaskedComponent(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1u) == 0) ++shift;
  const std::uint32_t full = mask >> shift;
  const std::uint32_t value = (pixel & mask) >> shift;
  return static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) * 255 / full);
}

// Writes `bytes` over the regular file at `path`. Never waits: a FIFO without
// a reader fails to open, and anything not a regular file is left untouched.
Result WriteWholeFile(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return CannotSave(path, std::strerror(errno));
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return CannotSave(path, "it is not a regular file");
  }
  int error = ftruncate(fd, 0) == 0 ? 0 : errno;
  for (std::size_t done = 0; error == 0 && done < bytes.size();) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno != EINTR) error = errno;
    if (wrote > 0) done += static_cast<std::size_t>(wrote);
  }
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0) return Result::Success();
  // No half-written picture stays behind.
  unlink(path.c_str());
  return CannotSave(path, std::strerror(error));
}

}  // namespace

PictureFormat PictureFormatOf(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos) return PictureFormat::None;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const ExtensionFormat& row : kFormatTable)
    if (extension == row.extension) return row.format;
  return PictureFormat::None;
}

std::uint64_t RowStride(std::int64_t width, int bitsPerPixel) {
  if (width <= 0 || bitsPerPixel <= 0) return 0;
  return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitsPerPixel) + 31) / 32 * 4;
}

bool IsSupportedDepth(int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: return true;
    default: return false;
  }
}

bool PictureImage::Create(int width, int height, int bitsPerPixel) {
  *this = PictureImage();
  if (width <= 0 || height <= 0 || !IsSupportedDepth(bitsPerPixel)) return false;
  const std::uint64_t stride = RowStride(width, bitsPerPixel);
  if (stride * static_cast<std::uint64_t>(height) > kMaxPixelBytes) return false;
  try {
    pixels_.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height), 0);
    if (bitsPerPixel <= 8) {
      const int entries = 1 << bitsPerPixel;
      palette_.resize(static_cast<std::size_t>(entries));
      const int step = 255 / (entries - 1);
      for (int i = 0; i < entries; ++i) {
        const auto grey = static_cast<std::uint8_t>(i * step);
        palette_[static_cast<std::size_t>(i)] = {grey, grey, grey, 0};
      }
    }
  } catch (const std::bad_alloc&) {
    *this = PictureImage();
    return false;
  }
  stride_ = static_cast<std::size_t>(stride);
  header_.width = width;
  header_.height = height;
  header_.bitsPerPixel = static_cast<std::uint16_t>(bitsPerPixel);
  return true;
}

Result PictureImage::LoadFile(const std::string& path, const PlatformPictureDecoder* platform) {
  const PictureFormat format = PictureFormatOf(path);
  if (const std::string missing = MissingDecoder(format, platform); !missing.empty())
    return CannotLoad(path, missing);

  const BoundedFile file = ReadBoundedFile(path, kMaxPictureFileSize);
  if (file.state == FileState::Missing) return CannotLoad(path, "no such file");
  if (file.state == FileState::Damaged)
    return CannotLoad(path, file.problem.empty() ? "out of memory" : "the file " + file.problem);
  if (file.content.empty()) return CannotLoad(path, "the file is empty");

  ResultOf<PictureImage> decoded = Decode(format, file.content, platform);
  if (!decoded) return CannotLoad(path, decoded.message);
  if (!decoded.value.IsValid()) return CannotLoad(path, "the decoder made no picture");
  // The decoded image is this one's copy; moving it spares a second buffer.
  *this = std::move(decoded.value);
  return Result::Success();
}

Result PictureImage::SaveFile(const std::string& path) const {
  if (!IsValid()) return CannotSave(path, "there is no picture");
  if (PictureFormatOf(path) != PictureFormat::Bmp)
    return CannotSave(path, "pictures are saved as .bmp files only");
  std::string bytes;
  try {
    bytes = EncodeBmp(*this);
  } catch (const std::bad_alloc&) {
    return CannotSave(path, "out of memory");
  }
  return WriteWholeFile(path, bytes);
}

void PictureImage::CopyFrom(const PictureImage& other) {
  if (&other == this || !other.IsValid()) return;
  *this = other;
}

void PictureImage::SetPaletteEntry(int index, PaletteEntry entry) {
  if (index < 0 || static_cast<std::size_t>(index) >= palette_.size()) return;
  entry.reserved = 0;
  palette_[static_cast<std::size_t>(index)] = entry;
}

void PictureImage::ClearPalette() {
  for (PaletteEntry& entry : palette_) entry = PaletteEntry{};
}

bool PictureImage::SetBitFields(const ColourMasks& masks) {
  if (header_.bitsPerPixel != 16) return false;
  masks_ = masks;
  header_.compression = kCompressionBitFields;
  return true;
}

void PictureImage::SetResolution(std::int32_t xPixelsPerMetre, std::int32_t yPixelsPerMetre) {
  header_.xPixelsPerMetre = xPixelsPerMetre;
  header_.yPixelsPerMetre = yPixelsPerMetre;
}

Rgb PictureImage::ColourAt(int x, int y) const {
  if (!IsValid() || x < 0 || y < 0 || x >= Width() || y >= Height()) return {};
  const std::uint8_t* row = Row(y);
  const auto column = static_cast<std::size_t>(x);
  const int bits = BitsPerPixel();
  if (bits <= 8) {
    const std::size_t bit = column * static_cast<std::size_t>(bits);
    const int shift = 8 - bits - static_cast<int>(bit % 8);
    const int index = (row[bit / 8] >> shift) & ((1 << bits) - 1);
    const PaletteEntry& entry = palette_[static_cast<std::size_t>(index)];
    return {entry.red, entry.green, entry.blue};
  }
  if (bits == 16) {
    const std::uint32_t pixel = row[column * 2] | static_cast<std::uint32_t>(row[column * 2 + 1]) << 8;
    return {MaskedComponent(pixel, masks_.red), MaskedComponent(pixel, masks_.green),
            MaskedComponent(pixel, masks_.blue)};
  }
  const std::uint8_t* pixel = row + column * static_cast<std::size_t>(bits / 8);
  return {pixel[2], pixel[1], pixel[0]};
}

}  // namespace qv70
