#pragma once

#include <string_view>

#include "core/draw/font_metrics.h"

namespace qv70 {

// Every character (UTF-8 code point) is as wide as the font's character
// width, or half its cell height when that is automatic, one more in bold.
// The cell is the em height in units (rounded) plus 2; 8 points at 96 per
// inch: cells 13 high, characters 6 wide.
class FakeFontMetrics : public FontMetrics {
 public:
  Size Extent(const Font& font, std::string_view text, int unitsPerInch) const override {
    int characters = 0;
    for (char c : text)
      if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    const LineMetrics m = Metrics(font, unitsPerInch);
    return {characters * m.averageWidth, m.height};
  }

  LineMetrics Metrics(const Font& font, int unitsPerInch) const override {
    const int height = font.cellHeight > 0 ? font.cellHeight : (font.pointTenths * unitsPerInch + 360) / 720 + 2;
    int width = font.charWidth > 0 ? font.charWidth : height / 2;
    if (font.weight >= kBoldWeight) ++width;
    return {height - height / 4, height / 4, height, width};
  }
};

inline const FakeFontMetrics kFakeMetrics;

}  // namespace qv70
