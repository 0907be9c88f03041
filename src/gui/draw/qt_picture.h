#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/draw/draw_types.h"
#include "core/picture/picture_image.h"

namespace qv70 {

// JPEG and GIF through Qt's image reader: the format comes from the file's
// extension, never from sniffing; the picture keeps its stored orientation
// (no EXIF rotation) and a GIF gives its first frame. Needs no application
// object, so qv70cli decodes with it too.
class QtPictureDecoder : public PlatformPictureDecoder {
 public:
  ResultOf<PictureImage> Decode(std::string_view bytes, PictureFormat format) const override;
};

// The device bitmap of a valid image: a 32-bit QImage of its size with the
// image's colours (through its palette or masks). Null for an empty image.
QImage ToDeviceBitmap(const PictureImage& image);

// Copies `rect` of `surface` into `image` as 24 bits per pixel, uncompressed.
// False, with `image` untouched, for an empty rectangle, a rectangle outside
// the surface or a surface of 8 or fewer bits per pixel; a rectangle reaching
// past an edge is cut to the surface.
bool CaptureSurface(PictureImage& image, const QImage& surface, Rect rect);

// The whole of `bitmap` into `image`, as CaptureSurface.
bool CaptureBitmap(const QImage& bitmap, PictureImage& image);

// The packed device-independent bitmap of `bitmap`, as pages and the RTF
// export stretch it: the 40-byte header (planes 1, the given compression,
// colours used 2^bits at 8 or fewer bits, image size the pixel bytes, no
// resolution), the colour table, then the rows bottom first. Indexed bitmaps
// give 8 bits, bitmaps of 24 bits 24, every other 32. None for a null bitmap
// or a compression other than 0: nothing here compresses.
std::optional<std::string> DeviceBitmapToDib(const QImage& bitmap, std::uint32_t compression);

}  // namespace qv70
