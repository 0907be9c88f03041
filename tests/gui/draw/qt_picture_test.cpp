// Pictures over QImage: JPEG and GIF through Qt's reader, captures, device
// bitmaps and the packed blocks pages stretch.
#include "gui/draw/qt_picture.h"

#include <QBuffer>
#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>

#include "core/picture/bmp_codec.h"

namespace qv70 {
namespace {

// A `width` x `height` picture, red on the left half and blue on the right,
// saved by Qt in `format`.
std::string SavedPicture(int width, int height, const char* format) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(qRgb(255, 0, 0));
  for (int y = 0; y < height; ++y)
    for (int x = width / 2; x < width; ++x) image.setPixel(x, y, qRgb(0, 0, 255));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format)) << format;
  return bytes.toStdString();
}

// Qt writes no GIF: a 9 x 4 one, red left and blue right, and the same as
// the first of two frames (the second all green).
const char kGif[] = "\x47\x49\x46\x38\x37\x61\x09\x00\x04\x00\x81\x00\x00\xFF\x00\x00\x00\x00\xFF\x00\x00\x00\x00\x00\x00\x2C\x00\x00\x00\x00\x09\x00\x04\x00\x00\x08\x14\x00\x01\x08\x04\x10\xA0\x60\xC1\x81\x04\x0D\x06\x40\xA8\x70\xE1\xC0\x86\x01\x01\x00\x3B";
const char kTwoFrameGif[] = "\x47\x49\x46\x38\x39\x61\x09\x00\x04\x00\x81\x00\x00\xFF\x00\x00\x00\x00\xFF\x00\x00\x00\x00\x00\x00\x21\xF9\x04\x00\x0A\x00\x00\x00\x2C\x00\x00\x00\x00\x09\x00\x04\x00\x00\x08\x14\x00\x01\x08\x04\x10\xA0\x60\xC1\x81\x04\x0D\x06\x40\xA8\x70\xE1\xC0\x86\x01\x01\x00\x21\xF9\x04\x00\x0A\x00\x00\x00\x2C\x00\x00\x00\x00\x09\x00\x04\x00\x81\x00\xFF\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x08\x0C\x00\x01\x08\x1C\x48\xB0\xA0\xC1\x83\x08\x03\x02\x00\x3B";
std::string Bytes(const char* data, std::size_t size) { return std::string(data, size - 1); }

bool Near(Rgb actual, Rgb expected, int tolerance) {
  return std::abs(actual.red - expected.red) <= tolerance && std::abs(actual.green - expected.green) <= tolerance &&
         std::abs(actual.blue - expected.blue) <= tolerance;
}

std::uint32_t Field32(const std::string& block, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(block[at + static_cast<std::size_t>(i)]);
  return value;
}
std::uint16_t Field16(const std::string& block, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(block[at]) | static_cast<std::uint8_t>(block[at + 1]) << 8);
}

TEST(QtPictureDecoder, DecodesJpegAndGifToTwentyFourBitsOfThePictureSize) {
  const struct {
    const char* name;
    std::string bytes;
    PictureFormat format;
    bool decodes;
    int width, height, tolerance;
  } cases[] = {
      {"jpeg 16x8", SavedPicture(16, 8, "JPG"), PictureFormat::Jpeg, true, 16, 8, 40},
      {"jpeg odd 13x7", SavedPicture(13, 7, "JPG"), PictureFormat::Jpeg, true, 13, 7, 40},
      {"gif 9x4", Bytes(kGif, sizeof kGif), PictureFormat::Gif, true, 9, 4, 0},
      {"two-frame gif", Bytes(kTwoFrameGif, sizeof kTwoFrameGif), PictureFormat::Gif, true, 9, 4, 0},
      {"empty jpeg", "", PictureFormat::Jpeg, false, 0, 0, 0},
      {"cut jpeg", SavedPicture(16, 8, "JPG").substr(0, 20), PictureFormat::Jpeg, false, 0, 0, 0},
      {"text as gif", "GIF89a but nothing else", PictureFormat::Gif, false, 0, 0, 0},
      {"gif asked as bmp", Bytes(kGif, sizeof kGif), PictureFormat::Bmp, false, 0, 0, 0},
  };
  const QtPictureDecoder decoder;
  for (const auto& c : cases) {
    const ResultOf<PictureImage> decoded = decoder.Decode(c.bytes, c.format);
    EXPECT_EQ(decoded.ok, c.decodes) << c.name << ": " << decoded.message;
    if (!decoded.ok) {
      EXPECT_FALSE(decoded.message.empty()) << c.name;
      continue;
    }
    const PictureImage& image = decoded.value;
    EXPECT_EQ(image.Width(), c.width) << c.name;
    EXPECT_EQ(image.Height(), c.height) << c.name;
    EXPECT_EQ(image.BitsPerPixel(), 24) << c.name;
    EXPECT_EQ(image.Header().compression, kCompressionPlain) << c.name;
    EXPECT_TRUE(Near(image.ColourAt(0, 0), {255, 0, 0}, c.tolerance)) << c.name;
    EXPECT_TRUE(Near(image.ColourAt(c.width - 1, c.height - 1), {0, 0, 255}, c.tolerance)) << c.name;
  }
}

TEST(QtPicture, CaptureRefusesSurfacesOfEightOrFewerBitsAndEmptyRectangles) {
  const struct {
    const char* name;
    QImage::Format format;
    Rect rect;
    bool captures;
  } cases[] = {
      {"32-bit whole", QImage::Format_RGB32, {0, 0, 8, 6}, true},
      {"32-bit part", QImage::Format_RGB32, {2, 1, 5, 4}, true},
      {"24-bit", QImage::Format_RGB888, {0, 0, 8, 6}, true},
      {"16-bit", QImage::Format_RGB16, {0, 0, 8, 6}, true},
      {"8-bit indexed", QImage::Format_Indexed8, {0, 0, 8, 6}, false},
      {"8-bit grey", QImage::Format_Grayscale8, {0, 0, 8, 6}, false},
      {"1-bit", QImage::Format_Mono, {0, 0, 8, 6}, false},
      {"empty rectangle", QImage::Format_RGB32, {3, 3, 3, 5}, false},
      {"inverted rectangle", QImage::Format_RGB32, {5, 5, 2, 2}, false},
  };
  QImage source(8, 6, QImage::Format_RGB32);
  source.fill(qRgb(0, 255, 0));
  source.setPixel(2, 1, qRgb(255, 255, 255));
  for (const auto& c : cases) {
    const QImage surface = source.convertToFormat(c.format);
    PictureImage image;
    ASSERT_TRUE(image.Create(1, 1, 8));
    EXPECT_EQ(CaptureSurface(image, surface, c.rect), c.captures) << c.name;
    if (!c.captures) {
      EXPECT_EQ(image.BitsPerPixel(), 8) << c.name << ": a refused capture leaves the image";
      continue;
    }
    EXPECT_EQ(image.Width(), c.rect.Width()) << c.name;
    EXPECT_EQ(image.Height(), c.rect.Height()) << c.name;
    EXPECT_EQ(image.BitsPerPixel(), 24) << c.name;
    const Rgb expected = c.rect.left == 2 ? Rgb{255, 255, 255} : Rgb{0, 255, 0};
    EXPECT_EQ(image.ColourAt(0, c.rect.top == 1 ? 0 : 1), expected) << c.name;
  }
}

TEST(QtPicture, DeviceBitmapShowsTheImageColoursAndCapturesBackToThem) {
  PictureImage empty;
  EXPECT_TRUE(ToDeviceBitmap(empty).isNull());

  PictureImage indexed;
  ASSERT_TRUE(indexed.Create(3, 2, 4));
  indexed.SetPaletteEntry(1, {0x30, 0x20, 0x10, 0});
  indexed.Row(1)[0] = 0x10;  // bottom-left pixel: entry 1
  const QImage bitmap = ToDeviceBitmap(indexed);
  ASSERT_EQ(bitmap.size(), QSize(3, 2));
  EXPECT_EQ(bitmap.pixel(0, 1), qRgb(0x10, 0x20, 0x30));
  EXPECT_EQ(bitmap.pixel(0, 0), qRgb(0, 0, 0));

  PictureImage captured;
  ASSERT_TRUE(CaptureBitmap(bitmap, captured));
  EXPECT_EQ(captured.BitsPerPixel(), 24);
  EXPECT_EQ(captured.ColourAt(0, 1), (Rgb{0x10, 0x20, 0x30}));
}

TEST(QtPicture, DeviceBitmapToDibPacksHeaderColourTableAndRowsBottomFirst) {
  const struct {
    const char* name;
    QImage::Format format;
    std::uint32_t compression;
    bool packs;
    int bits;
    std::uint32_t colours;
    std::uint32_t imageSize;  // for 5 x 3 pixels
  } cases[] = {
      {"32-bit", QImage::Format_RGB32, 0, true, 32, 0, 5 * 4 * 3},
      {"alpha", QImage::Format_ARGB32, 0, true, 32, 0, 5 * 4 * 3},
      {"16-bit", QImage::Format_RGB16, 0, true, 32, 0, 5 * 4 * 3},
      {"24-bit", QImage::Format_RGB888, 0, true, 24, 0, 16 * 3},
      {"indexed", QImage::Format_Indexed8, 0, true, 8, 256, 8 * 3},
      {"bit fields", QImage::Format_RGB32, kCompressionBitFields, false, 0, 0, 0},
      {"run-length", QImage::Format_RGB32, 1, false, 0, 0, 0},
  };
  QImage source(5, 3, QImage::Format_RGB32);
  source.fill(qRgb(0, 0, 255));
  source.setPixel(0, 2, qRgb(255, 0, 0));  // bottom-left
  for (const auto& c : cases) {
    const std::optional<std::string> block = DeviceBitmapToDib(source.convertToFormat(c.format), c.compression);
    ASSERT_EQ(block.has_value(), c.packs) << c.name;
    if (!block) continue;
    const std::size_t table = 4 * c.colours;
    ASSERT_EQ(block->size(), 40 + table + c.imageSize) << c.name;
    EXPECT_EQ(Field32(*block, 0), 40u) << c.name;
    EXPECT_EQ(Field32(*block, 4), 5u) << c.name;
    EXPECT_EQ(Field32(*block, 8), 3u) << c.name;
    EXPECT_EQ(Field16(*block, 12), 1) << c.name;
    EXPECT_EQ(Field16(*block, 14), c.bits) << c.name;
    EXPECT_EQ(Field32(*block, 16), 0u) << c.name;
    EXPECT_EQ(Field32(*block, 20), c.imageSize) << c.name;
    EXPECT_EQ(Field32(*block, 24), 0u) << c.name;
    EXPECT_EQ(Field32(*block, 32), c.colours) << c.name;
    // The file around the block decodes to the source's pixels.
    std::string file = "BM" + std::string(12, '\0') + *block;
    const std::uint32_t offset = static_cast<std::uint32_t>(14 + 40 + table);
    for (int i = 0; i < 4; ++i) file[10 + static_cast<std::size_t>(i)] = static_cast<char>(offset >> (8 * i) & 0xFF);
    const ResultOf<PictureImage> decoded = DecodeBmp(file);
    ASSERT_TRUE(decoded.ok) << c.name << ": " << decoded.message;
    EXPECT_EQ(decoded.value.ColourAt(0, 2), (Rgb{255, 0, 0})) << c.name;
    EXPECT_EQ(decoded.value.ColourAt(4, 0), (Rgb{0, 0, 255})) << c.name;
  }
  EXPECT_FALSE(DeviceBitmapToDib(QImage(), 0).has_value());
}

}  // namespace
}  // namespace qv70
