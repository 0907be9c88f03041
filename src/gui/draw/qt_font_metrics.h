#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <map>
#include <string>
#include <tuple>

#include "core/draw/font_metrics.h"

namespace qv70 {

// The family that draws a face of the program: "Arial" and "Microsoft Sans
// Serif" are Liberation Sans, which has their metrics; other faces as named.
QString MappedFamily(const std::string& face);

// A Font resolved for Qt at one resolution.
struct QtResolvedFont {
  QFont font;  // pixel-sized, unhinted, without kerning
  QFontMetricsF measure{font};
  double horizontalScale = 1;  // the character-width stretch the text is drawn with
  LineMetrics metrics;
};

// FontMetrics over Qt's font engine. Sizes are always asked in pixels of the
// resolution given, and glyphs are measured without hinting or kerning, so a
// text measures the same on every display, on the offscreen platform and in
// a recording: only the font files count. A font given by cell height gets
// the largest pixel size whose cell fits; a character width stretches the
// text horizontally (the width is measured stretched, and QtSurface draws it so).
//
// Resolved fonts are kept, so measuring allocates little. Needs a
// QGuiApplication; for the user-interface thread only.
class QtFontMetrics : public FontMetrics {
 public:
  Size Extent(const Font& font, std::string_view text, int unitsPerInch) const override;
  LineMetrics Metrics(const Font& font, int unitsPerInch) const override;

  const QtResolvedFont& Resolve(const Font& font, int unitsPerInch) const;

 private:
  using Key = std::tuple<std::string, int, int, int, int, int>;
  static constexpr std::size_t kMaxKept = 256;
  mutable std::map<Key, QtResolvedFont> resolved_;
};

}  // namespace qv70
