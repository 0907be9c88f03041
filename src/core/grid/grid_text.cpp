#include "core/grid/grid_text.h"

#include <algorithm>

namespace qv70 {

GridTextSize MeasureText(const GridTextMeasure& measure, std::string_view text, bool bold) {
  GridTextSize total;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    const GridTextSize size = measure.LineExtent(line, bold);
    total.width = std::max(total.width, size.width);
    total.height += size.height;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return total;
}

bool TextFitsCell(const GridTextMeasure& measure, std::string_view text, int width) {
  std::string padded;
  padded.reserve(text.size() + 2);
  padded.append(" ").append(text).append(" ");
  return MeasureText(measure, padded, false).width <= width;
}

std::vector<std::vector<std::string>> SplitPasteText(std::string_view text) {
  constexpr std::string_view kSeparators = "\t,\n";
  std::vector<std::vector<std::string>> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    const bool last = end == std::string_view::npos;
    if (last) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!last && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    // A text ending in a line feed has no further line to paste.
    if (last && line.empty() && !lines.empty()) break;

    std::vector<std::string> pieces;
    std::size_t pos = line.find_first_not_of(kSeparators);
    while (pos != std::string_view::npos) {
      const std::size_t stop = line.find_first_of(kSeparators, pos);
      pieces.emplace_back(line.substr(pos, stop == std::string_view::npos ? stop : stop - pos));
      pos = stop == std::string_view::npos ? stop : line.find_first_not_of(kSeparators, stop);
    }
    lines.push_back(std::move(pieces));
    start = end + 1;
  }
  return lines;
}

}  // namespace qv70
