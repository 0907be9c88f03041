#include "core/picture/bmp_file_writer.h"

#include <cstring>

namespace qv70 {

PictureImage PictureFromView(const BitmapView& view) {
  PictureImage image;
  if (view.IsEmpty() || !image.Create(view.width, view.height, 24)) return image;
  const auto rowBytes = static_cast<std::size_t>(view.width) * 3;
  for (int y = 0; y < view.height; ++y) std::memcpy(image.Row(y), view.pixels + y * view.stride, rowBytes);
  return image;
}

bool BmpFileWriter::WriteBitmap(const BitmapView& picture, const std::string& path) {
  const PictureImage image = PictureFromView(picture);
  return image.IsValid() && image.SaveFile(path).ok;
}

}  // namespace qv70
