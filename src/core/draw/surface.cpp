#include "core/draw/surface.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace qv70 {
namespace {

template <typename T>
T Exchange(T& current, const T& value) {
  T previous = current;
  current = value;
  return previous;
}

}  // namespace

UnitMapping Surface::SetMapping(const UnitMapping& mapping) {
  UnitMapping previous = Exchange(mapping_, mapping);
  StateChanged(StateItem::Mapping);
  return previous;
}

int Surface::LogicalUnitsPerInch() const {
  const double pixels = PixelsPerInch().height;
  const double window = std::abs(mapping_.windowExtent.height);
  const double viewport = std::abs(mapping_.viewportExtent.height);
  // A degenerate mapping maps nothing; measure as the device does.
  if (window == 0 || viewport == 0) return static_cast<int>(pixels);
  return static_cast<int>(std::lround(pixels * window / viewport));
}

Pen Surface::SelectPen(const Pen& pen) {
  Pen previous = Exchange(pen_, pen);
  StateChanged(StateItem::Pen);
  return previous;
}

Brush Surface::SelectBrush(const Brush& brush) {
  Brush previous = Exchange(brush_, brush);
  StateChanged(StateItem::Brush);
  return previous;
}

Font Surface::SelectFont(const Font& font) {
  Font previous = Exchange(font_, font);
  StateChanged(StateItem::Font);
  return previous;
}

Color Surface::SetTextColor(Color color) {
  Color previous = Exchange(textColor_, color);
  StateChanged(StateItem::TextColor);
  return previous;
}

Color Surface::SetBackgroundColor(Color color) {
  Color previous = Exchange(backgroundColor_, color);
  StateChanged(StateItem::BackgroundColor);
  return previous;
}

BackgroundMode Surface::SetBackgroundMode(BackgroundMode mode) {
  BackgroundMode previous = Exchange(backgroundMode_, mode);
  StateChanged(StateItem::BackgroundMode);
  return previous;
}

std::optional<Rect> Surface::SetClip(const std::optional<Rect>& clip) {
  std::optional<Rect> previous = Exchange(clip_, clip);
  StateChanged(StateItem::Clip);
  return previous;
}

Size Surface::TextExtent(std::string_view text) const {
  return metrics_.Extent(font_, text, LogicalUnitsPerInch());
}

LineMetrics Surface::CurrentFontMetrics() const { return metrics_.Metrics(font_, LogicalUnitsPerInch()); }

std::vector<PlacedLine> Surface::LayOutText(Rect rect, std::string_view text,
                                            TextPlacement placement) const {
  return qv70::LayOutText(TextMeasure(metrics_, font_, LogicalUnitsPerInch()), rect, text, placement);
}

}  // namespace qv70
