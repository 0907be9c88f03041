#pragma once

#include <string>
#include <string_view>

#include "core/picture/picture_image.h"
#include "core/platform/result.h"

namespace qv70 {

// The image held by the BMP file `bytes`: a 40-byte or longer information
// header, rows bottom first, 1, 4, 8, 16, 24 or 32 bits per pixel, plain or
// with bit fields (at 32 bits only the usual 8-bit red, green, blue). The
// palette of 2^bits entries follows the header whatever its colours-used
// count says, and may overlap the pixels. Refused, with the reason and an
// empty image: anything else, and any file shorter than its headers promise.
ResultOf<PictureImage> DecodeBmp(std::string_view bytes);

// The BMP file of a valid image: file header, information header, palette or
// masks, pixels as stored. Empty for an empty image.
std::string EncodeBmp(const PictureImage& image);

}  // namespace qv70
