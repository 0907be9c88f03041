#pragma once

#include <string_view>

#include "core/draw/draw_types.h"

namespace qv70 {

// Vertical measures of a font and its average character width, in the units
// it was measured in. height = ascent + descent (the cell height).
struct LineMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;
  int averageWidth = 0;
};

// Text measuring for every surface. The window layer implements it over its
// font engine; a surface and its recordings measure through the same object,
// so a page laid out headless wraps and centres as on screen or on paper.
//
// `unitsPerInch` is the resolution to measure at: point sizes become
// pointTenths * unitsPerInch / 720 units, cell heights and character widths
// are already in those units.
class FontMetrics {
 public:
  virtual ~FontMetrics() = default;

  // Width of one line of text (line ends are not breaks here) and the font's
  // cell height, which is also the height of an empty text.
  virtual Size Extent(const Font& font, std::string_view text, int unitsPerInch) const = 0;
  virtual LineMetrics Metrics(const Font& font, int unitsPerInch) const = 0;
};

// One font measured at one resolution: what text layout needs.
class TextMeasure {
 public:
  TextMeasure(const FontMetrics& metrics, const Font& font, int unitsPerInch)
      : metrics_(metrics), font_(font), unitsPerInch_(unitsPerInch) {}

  int Width(std::string_view text) const { return metrics_.Extent(font_, text, unitsPerInch_).width; }
  Size Extent(std::string_view text) const { return metrics_.Extent(font_, text, unitsPerInch_); }
  int LineHeight() const { return metrics_.Metrics(font_, unitsPerInch_).height; }

 private:
  const FontMetrics& metrics_;
  Font font_;
  int unitsPerInch_;
};

}  // namespace qv70
