#include "gui/draw/qt_font_metrics.h"

#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace qv70 {
namespace {

QFont BaseFont(const Font& font) {
  QFont qfont;
  qfont.setFamilies(QStringList{MappedFamily(font.face)});
  qfont.setStyleHint(QFont::SansSerif);
  qfont.setHintingPreference(QFont::PreferNoHinting);
  qfont.setKerning(false);
  qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight <= 0 ? 400 : font.weight, 1, 1000)));
  return qfont;
}

int CellHeightAt(QFont qfont, int pixels) {
  qfont.setPixelSize(pixels);
  const QFontMetricsF metrics(qfont);
  return static_cast<int>(std::lround(metrics.ascent())) + static_cast<int>(std::lround(metrics.descent()));
}

// The em size in pixels of a font whose cell (ascent + descent) is `cell`
// high: the largest that fits, at least 1.
int EmForCell(const QFont& qfont, int cell) {
  constexpr int kReference = 1000;
  const double ratio = double(CellHeightAt(qfont, kReference)) / kReference;
  int em = std::max(1, static_cast<int>(std::lround(cell / (ratio > 0 ? ratio : 1))));
  while (em > 1 && CellHeightAt(qfont, em) > cell) --em;
  while (CellHeightAt(qfont, em + 1) <= cell) ++em;
  return em;
}

// A point size becomes pixels as the desktop rounds it: to the nearest.
int EmForPoints(int pointTenths, int unitsPerInch) {
  return std::max(1, static_cast<int>(std::lround(double(pointTenths) * unitsPerInch / 720)));
}

}  // namespace

QString MappedFamily(const std::string& face) {
  if (face == "Arial" || face == "Microsoft Sans Serif" || face.empty())
    return QStringLiteral("Liberation Sans");
  if (face == "Times New Roman") return QStringLiteral("Liberation Serif");
  if (face == "Courier New") return QStringLiteral("Liberation Mono");
  return QString::fromStdString(face);
}

const QtResolvedFont& QtFontMetrics::Resolve(const Font& font, int unitsPerInch) const {
  const Key key{font.face,       font.cellHeight > 0 ? 0 : font.pointTenths,
                font.cellHeight, font.charWidth,
                font.weight,     unitsPerInch};
  if (const auto found = resolved_.find(key); found != resolved_.end()) return found->second;
  if (resolved_.size() >= kMaxKept) resolved_.clear();

  QtResolvedFont resolved;
  resolved.font = BaseFont(font);
  resolved.font.setPixelSize(font.cellHeight > 0 ? EmForCell(resolved.font, font.cellHeight)
                                                 : EmForPoints(font.pointTenths, unitsPerInch));
  resolved.measure = QFontMetricsF(resolved.font);
  const QFontMetricsF& metrics = resolved.measure;
  LineMetrics& m = resolved.metrics;
  m.ascent = static_cast<int>(std::lround(metrics.ascent()));
  m.descent = static_cast<int>(std::lround(metrics.descent()));
  m.height = m.ascent + m.descent;
  const double natural = metrics.averageCharWidth();
  if (font.charWidth > 0 && natural > 0) {
    resolved.horizontalScale = font.charWidth / natural;
    m.averageWidth = font.charWidth;
  } else {
    m.averageWidth = static_cast<int>(std::lround(natural));
  }
  return resolved_.emplace(key, std::move(resolved)).first->second;
}

Size QtFontMetrics::Extent(const Font& font, std::string_view text, int unitsPerInch) const {
  const QtResolvedFont& resolved = Resolve(font, unitsPerInch);
  if (text.empty()) return {0, resolved.metrics.height};
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const double width = resolved.measure.horizontalAdvance(qtext) * resolved.horizontalScale;
  return {static_cast<int>(std::lround(width)), resolved.metrics.height};
}

LineMetrics QtFontMetrics::Metrics(const Font& font, int unitsPerInch) const {
  return Resolve(font, unitsPerInch).metrics;
}

}  // namespace qv70
