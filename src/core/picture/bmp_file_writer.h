#pragma once

#include <string>

#include "core/chart/bitmap_file_writer.h"
#include "core/draw/draw_types.h"
#include "core/picture/picture_image.h"

namespace qv70 {

// A 24-bit image holding the pixels of `view`; empty for an empty view or
// one over the pixel limit.
PictureImage PictureFromView(const BitmapView& view);

// A chart's snapshot written through PictureImage::SaveFile: a 24-bit BMP
// for a .bmp path, nothing for any other.
class BmpFileWriter : public BitmapFileWriter {
 public:
  bool WriteBitmap(const BitmapView& picture, const std::string& path) override;
};

}  // namespace qv70
