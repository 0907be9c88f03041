#include "gui/draw/qt_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cstring>

#include "core/picture/bmp_codec.h"

namespace qv70 {

namespace {

using Decoded = ResultOf<PictureImage>;

constexpr std::size_t kBmpFileHeaderSize = 14;
// Offsets inside the information header of the fields the packed block fills
// in beyond what an image's own header holds.
constexpr std::size_t kImageSizeField = 20;
constexpr std::size_t kColoursUsedField = 32;

const char* ReaderFormat(PictureFormat format) { return format == PictureFormat::Jpeg ? "jpeg" : "gif"; }

bool FitsPixelLimit(int width, int height, int bitsPerPixel) {
  return width > 0 && height > 0 &&
         RowStride(width, bitsPerPixel) * static_cast<std::uint64_t>(height) <= kMaxPixelBytes;
}

// The rows of a Format_BGR888 image (blue, green, red bytes, top row first)
// into a 24-bit image of the same size.
void CopyBgrRows(const QImage& bgr, PictureImage& image) {
  const auto rowBytes = static_cast<std::size_t>(bgr.width()) * 3;
  for (int y = 0; y < bgr.height(); ++y) std::memcpy(image.Row(y), bgr.constScanLine(y), rowBytes);
}

ResultOf<PictureImage> TwentyFourBitCopy(const QImage& picture) {
  PictureImage image;
  if (!image.Create(picture.width(), picture.height(), 24)) return Decoded::Failure("the picture is too large");
  CopyBgrRows(picture.convertToFormat(QImage::Format_BGR888), image);
  return Decoded::Success(std::move(image));
}

PictureImage IndexedImage(const QImage& bitmap) {
  const QImage indexed = bitmap.convertToFormat(QImage::Format_Indexed8);
  PictureImage image;
  if (!image.Create(indexed.width(), indexed.height(), 8)) return image;
  const QList<QRgb> colours = indexed.colorTable();
  for (int i = 0; i < colours.size(); ++i) {
    const QRgb c = colours[i];
    image.SetPaletteEntry(i, {static_cast<std::uint8_t>(qBlue(c)), static_cast<std::uint8_t>(qGreen(c)),
                              static_cast<std::uint8_t>(qRed(c)), 0});
  }
  for (int y = 0; y < indexed.height(); ++y)
    std::memcpy(image.Row(y), indexed.constScanLine(y), static_cast<std::size_t>(indexed.width()));
  return image;
}

PictureImage ThirtyTwoBitImage(const QImage& bitmap) {
  const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB32);
  PictureImage image;
  if (!image.Create(rgb.width(), rgb.height(), 32)) return image;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    std::uint8_t* out = image.Row(y);
    for (int x = 0; x < rgb.width(); ++x, out += 4) {
      out[0] = static_cast<std::uint8_t>(qBlue(source[x]));
      out[1] = static_cast<std::uint8_t>(qGreen(source[x]));
      out[2] = static_cast<std::uint8_t>(qRed(source[x]));
      out[3] = 0;
    }
  }
  return image;
}

// The bitmap at the depth its packed block has: 8 bits for indexed formats,
// 24 for 24-bit ones, 32 for everything else.
PictureImage DibDepthImage(const QImage& bitmap) {
  if (bitmap.depth() <= 8) return IndexedImage(bitmap);
  if (bitmap.depth() == 24) {
    PictureImage image;
    if (image.Create(bitmap.width(), bitmap.height(), 24))
      CopyBgrRows(bitmap.convertToFormat(QImage::Format_BGR888), image);
    return image;
  }
  return ThirtyTwoBitImage(bitmap);
}

void PutUint32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

ResultOf<PictureImage> QtPictureDecoder::Decode(std::string_view bytes, PictureFormat format) const {
  if (format != PictureFormat::Jpeg && format != PictureFormat::Gif)
    return Decoded::Failure("no decoder for this kind of file");
  if (bytes.empty()) return Decoded::Failure("the file is empty");
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, ReaderFormat(format));
  reader.setAutoTransform(false);
  // Refused before the pixels are allocated.
  const QSize size = reader.size();
  if (size.isValid() && !FitsPixelLimit(size.width(), size.height(), 24))
    return Decoded::Failure("the picture is too large");
  const QImage picture = reader.read();
  if (picture.isNull()) return Decoded::Failure("the picture cannot be decoded: " + reader.errorString().toStdString());
  return TwentyFourBitCopy(picture);
}

QImage ToDeviceBitmap(const PictureImage& image) {
  if (!image.IsValid()) return {};
  QImage bitmap(image.Width(), image.Height(), QImage::Format_RGB32);
  if (bitmap.isNull()) return {};
  for (int y = 0; y < image.Height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
    for (int x = 0; x < image.Width(); ++x) {
      const Rgb colour = image.ColourAt(x, y);
      row[x] = qRgb(colour.red, colour.green, colour.blue);
    }
  }
  return bitmap;
}

bool CaptureSurface(PictureImage& image, const QImage& surface, Rect rect) {
  if (rect.Width() <= 0 || rect.Height() <= 0 || surface.isNull() || surface.depth() <= 8) return false;
  PictureImage captured;
  if (!captured.Create(rect.Width(), rect.Height(), 24)) return false;
  // Parts of the rectangle outside the surface come out black.
  const QImage copy = surface.copy(rect.left, rect.top, rect.Width(), rect.Height());
  if (copy.isNull()) return false;
  CopyBgrRows(copy.convertToFormat(QImage::Format_BGR888), captured);
  image = std::move(captured);
  return image.IsValid();
}

bool CaptureBitmap(const QImage& bitmap, PictureImage& image) {
  return CaptureSurface(image, bitmap, Rect{0, 0, bitmap.width(), bitmap.height()});
}

std::optional<std::string> DeviceBitmapToDib(const QImage& bitmap, std::uint32_t compression) {
  if (bitmap.isNull() || compression != kCompressionPlain) return std::nullopt;
  if (!FitsPixelLimit(bitmap.width(), bitmap.height(), 32)) return std::nullopt;
  const PictureImage image = DibDepthImage(bitmap);
  if (!image.IsValid()) return std::nullopt;
  std::string block = EncodeBmp(image).substr(kBmpFileHeaderSize);
  PutUint32(block, kImageSizeField, static_cast<std::uint32_t>(image.PixelBytes()));
  PutUint32(block, kColoursUsedField, static_cast<std::uint32_t>(image.Palette().size()));
  return block;
}

}  // namespace qv70
