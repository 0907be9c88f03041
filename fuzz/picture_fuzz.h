#pragma once

// What both picture fuzz targets check of a decoder's answer: a refusal says
// why and leaves no picture; a picture is whole, every pixel can be read, and
// the BMP encoder writes it so that it decodes back to the same image.

#include <cstdlib>
#include <cstring>

#include "core/picture/bmp_codec.h"
#include "core/picture/picture_image.h"

namespace qv70 {

inline void CheckDecoded(const ResultOf<PictureImage>& decoded) {
  if (!decoded) {
    if (decoded.value.IsValid() || decoded.message.empty()) std::abort();
    return;
  }
  const PictureImage& image = decoded.value;
  if (!image.IsValid() || image.PixelBytes() != image.Stride() * static_cast<std::size_t>(image.Height()))
    std::abort();
  // Reading every pixel of a huge picture would only slow the search down.
  if (static_cast<long long>(image.Width()) * image.Height() <= 1 << 20) {
    unsigned sum = 0;
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) sum += image.ColourAt(x, y).green;
    if (sum == 0xFFFFFFFF) std::abort();  // keeps the reads
  }
  const ResultOf<PictureImage> again = DecodeBmp(EncodeBmp(image));
  if (!again) std::abort();
  const PictureImage& copy = again.value;
  if (copy.Width() != image.Width() || copy.Height() != image.Height() ||
      copy.BitsPerPixel() != image.BitsPerPixel() ||
      copy.Header().compression != image.Header().compression || !(copy.Masks() == image.Masks()) ||
      copy.Palette() != image.Palette() ||
      std::memcmp(copy.PixelData(), image.PixelData(), image.PixelBytes()) != 0)
    std::abort();
}

}  // namespace qv70
