#pragma once

#include <string_view>

#include "core/picture/picture_image.h"
#include "core/platform/result.h"

namespace qv70 {

// The image held by the TGA file `bytes`: colour-mapped (types 1, 9; 8 bits
// with a map of 24- or 32-bit entries), true-colour (2, 10; 15, 16, 24 or 32
// bits) or grey (3, 11; 8 bits), types 9 to 11 run-length coded. Rows run
// from the bottom unless descriptor bit 5 is set, and right to left when
// bit 4 is. A run past the last pixel stops there. Refused, with the reason
// and an empty image: anything else, and any file shorter than its header,
// map and pixels need.
ResultOf<PictureImage> DecodeTga(std::string_view bytes);

}  // namespace qv70
