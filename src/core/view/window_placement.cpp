#include "core/view/window_placement.h"

#include <algorithm>
#include <cstdint>

namespace qv70 {

namespace {

// Stored values may be anywhere in the int range: every width, height and
// area is worked out in 64 bits.
struct Span {
  std::int64_t left, top, right, bottom;
  std::int64_t Width() const { return right - left; }
  std::int64_t Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

Span ToSpan(const WindowRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

Span Intersection(const Span& a, const Span& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

std::int64_t OverlapArea(const Span& a, const Span& b) {
  const Span common = Intersection(a, b);
  return common.Empty() ? 0 : common.Width() * common.Height();
}

// The edges of `window` and every screen edge inside it, in order: between
// two neighbours a cell lies wholly inside or wholly outside each screen.
std::vector<std::int64_t> CellEdges(std::int64_t from, std::int64_t to,
                                    const std::vector<std::int64_t>& screenEdges) {
  std::vector<std::int64_t> edges = {from, to};
  for (std::int64_t edge : screenEdges) {
    if (edge > from && edge < to) edges.push_back(edge);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  return edges;
}

// Screens may touch or overlap (mirrored outputs), so a window across two of
// them counts as covered only when no part of it lies outside every screen.
bool CoveredByScreens(const Span& window, const std::vector<Span>& screens) {
  std::vector<std::int64_t> xs, ys;
  for (const Span& screen : screens) {
    xs.insert(xs.end(), {screen.left, screen.right});
    ys.insert(ys.end(), {screen.top, screen.bottom});
  }
  const std::vector<std::int64_t> columns = CellEdges(window.left, window.right, xs);
  const std::vector<std::int64_t> rows = CellEdges(window.top, window.bottom, ys);
  for (size_t c = 0; c + 1 < columns.size(); ++c) {
    for (size_t r = 0; r + 1 < rows.size(); ++r) {
      const Span cell{columns[c], rows[r], columns[c + 1], rows[r + 1]};
      const bool inside = std::any_of(screens.begin(), screens.end(), [&](const Span& screen) {
        return screen.left <= cell.left && cell.right <= screen.right && screen.top <= cell.top &&
               cell.bottom <= screen.bottom;
      });
      if (!inside) return false;
    }
  }
  return true;
}

const Span& ScreenOverlappedMost(const Span& window, const std::vector<Span>& screens) {
  const Span* best = &screens.front();
  std::int64_t bestArea = 0;
  for (const Span& screen : screens) {
    const std::int64_t area = OverlapArea(window, screen);
    if (area > bestArea) {
      best = &screen;
      bestArea = area;
    }
  }
  return *best;
}

// The start edge of a length-`size` span moved as little as possible into
// [from, to); a span longer than that starts at `from`.
std::int64_t ClampStart(std::int64_t start, std::int64_t size, std::int64_t from, std::int64_t to) {
  return std::max(from, std::min(start, to - size));
}

}  // namespace

WindowRect PlaceMainWindow(const WindowRect& stored, const std::vector<WindowRect>& screens) {
  if (screens.empty()) return WindowRect{};
  Span window = ToSpan(stored);
  window.right = window.left + std::max<std::int64_t>(window.Width(), kMinWindowWidth);
  window.bottom = window.top + std::max<std::int64_t>(window.Height(), kMinWindowHeight);

  std::vector<Span> areas;
  for (const WindowRect& screen : screens) areas.push_back(ToSpan(screen));
  if (!CoveredByScreens(window, areas)) {
    const Span& screen = ScreenOverlappedMost(window, areas);
    const std::int64_t width =
        std::max<std::int64_t>(std::min(window.Width(), screen.Width()), kMinWindowWidth);
    const std::int64_t height =
        std::max<std::int64_t>(std::min(window.Height(), screen.Height()), kMinWindowHeight);
    window.left = ClampStart(window.left, width, screen.left, screen.right);
    window.top = ClampStart(window.top, height, screen.top, screen.bottom);
    window.right = window.left + width;
    window.bottom = window.top + height;
  }
  return {static_cast<int>(window.left), static_cast<int>(window.top), static_cast<int>(window.right),
          static_cast<int>(window.bottom)};
}

}  // namespace qv70
