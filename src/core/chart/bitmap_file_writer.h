#pragma once

#include <string>

#include "core/draw/draw_types.h"

namespace qv70 {

// Writes a chart's snapshot as a bitmap file, in the format the path's
// extension names; the picture code implements it. False when nothing was
// written.
class BitmapFileWriter {
 public:
  virtual ~BitmapFileWriter() = default;
  virtual bool WriteBitmap(const BitmapView& picture, const std::string& path) = 0;
};

}  // namespace qv70
