#include "core/draw/text_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/draw/font_metrics.h"

namespace qv70 {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Length of the UTF-8 sequence starting at `at`.
std::size_t CharLength(std::string_view text, std::size_t at) {
  std::size_t end = at + 1;
  while (end < text.size() && IsUtf8Continuation(text[end])) ++end;
  return end - at;
}

std::vector<std::string_view> SplitParagraphs(std::string_view text) {
  std::vector<std::string_view> paragraphs;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    paragraphs.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  paragraphs.push_back(text.substr(start));
  return paragraphs;
}

// The longest run of whole characters from the start of `text` that fits,
// but at least one character.
std::size_t FittingCharacters(const TextMeasure& measure, std::string_view text, int width) {
  std::size_t fits = CharLength(text, 0);
  while (fits < text.size()) {
    const std::size_t next = fits + CharLength(text, fits);
    if (measure.Width(text.substr(0, next)) > width) break;
    fits = next;
  }
  return fits;
}

// End of the longest run of whole words from the start of `text` that fits;
// 0 when not even the first word does.
std::size_t FittingWords(const TextMeasure& measure, std::string_view text, int width) {
  std::size_t fits = 0;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return fits;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    if (measure.Width(text.substr(0, i)) > width) return fits;
    fits = i;
  }
}

void WrapParagraph(const TextMeasure& measure, std::string_view paragraph, int width,
                   std::vector<std::string>& lines) {
  if (paragraph.find_first_not_of(" \t") == std::string_view::npos) {
    lines.emplace_back();
    return;
  }
  std::size_t pos = 0;
  while (pos < paragraph.size()) {
    const std::string_view rest = paragraph.substr(pos);
    std::size_t lineEnd = FittingWords(measure, rest, width);
    if (lineEnd == 0) lineEnd = FittingCharacters(measure, rest, width);
    lines.emplace_back(rest.substr(0, lineEnd));
    pos += lineEnd;
    while (pos < paragraph.size() && IsBlank(paragraph[pos])) ++pos;
  }
}

int LineX(TextPlacement placement, Rect rect, int lineWidth) {
  switch (placement) {
    case TextPlacement::Centre:
    case TextPlacement::WrapCentred: return rect.left + (rect.Width() - lineWidth) / 2;
    case TextPlacement::Right:
    case TextPlacement::TopRight: return rect.right - lineWidth;
    default: return rect.left;
  }
}

bool IsVerticallyCentred(TextPlacement placement) {
  return placement == TextPlacement::Left || placement == TextPlacement::Centre ||
         placement == TextPlacement::Right;
}

}  // namespace

const char* PlacementCode(TextPlacement placement) {
  switch (placement) {
    case TextPlacement::Left: return "L";
    case TextPlacement::Centre: return "CE";
    case TextPlacement::Right: return "R";
    case TextPlacement::TopRight: return "RT";
    case TextPlacement::TopLeft: return "T";
    case TextPlacement::Wrap: return "W";
    case TextPlacement::WrapCentred: return "WC";
  }
  return "?";
}

std::vector<std::string> WrapText(const TextMeasure& measure, std::string_view text, int width) {
  std::vector<std::string> lines;
  if (text.empty()) return lines;
  for (std::string_view paragraph : SplitParagraphs(text)) {
    WrapParagraph(measure, paragraph, width, lines);
  }
  return lines;
}

std::vector<PlacedLine> LayOutText(const TextMeasure& measure, Rect rect, std::string_view text,
                                   TextPlacement placement) {
  std::vector<PlacedLine> placed;
  const int lineHeight = measure.LineHeight();
  if (placement == TextPlacement::Wrap || placement == TextPlacement::WrapCentred) {
    int y = rect.top;
    for (std::string& line : WrapText(measure, text, rect.Width())) {
      const int x = LineX(placement, rect, measure.Width(line));
      placed.push_back({{x, y}, std::move(line)});
      y += lineHeight;
    }
    return placed;
  }
  if (text.empty()) return placed;
  const int y = IsVerticallyCentred(placement) ? rect.top + (rect.Height() - lineHeight) / 2 : rect.top;
  placed.push_back({{LineX(placement, rect, measure.Width(text)), y}, std::string(text)});
  return placed;
}

std::vector<Dash> DashSegments(Point from, Point to) {
  std::vector<Dash> dashes;
  const long long dx = static_cast<long long>(to.x) - from.x;
  const long long dy = static_cast<long long>(to.y) - from.y;
  const long long length = std::max(std::llabs(dx), std::llabs(dy));
  const auto at = [&](long long s) {
    // Exact for axis-parallel lines; others round to the nearest unit.
    const double t = static_cast<double>(s) / static_cast<double>(length);
    return Point{from.x + static_cast<int>(std::lround(t * static_cast<double>(dx))),
                 from.y + static_cast<int>(std::lround(t * static_cast<double>(dy)))};
  };
  for (long long s = 0; s < length; s += 6) dashes.push_back({at(s), at(std::min(s + 3, length))});
  return dashes;
}

}  // namespace qv70
