#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace qv70 {

// Logical units of a surface: x to the right, y down.
struct Point {
  int x = 0;
  int y = 0;

  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
  bool operator!=(const Point& o) const { return !(*this == o); }
};

struct Size {
  int width = 0;
  int height = 0;

  bool operator==(const Size& o) const { return width == o.width && height == o.height; }
  bool operator!=(const Size& o) const { return !(*this == o); }
};

// Given by its edges. Filled shapes and clipping cover left <= x < right and
// top <= y < bottom; the chart's clamping treats both edges as inside.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  Rect Deflated(int by) const { return {left + by, top + by, right - by, bottom - by}; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
  bool operator!=(const Rect& o) const { return !(*this == o); }
};

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  static constexpr Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return Color{r, g, b}; }
  bool operator==(const Color& o) const { return red == o.red && green == o.green && blue == o.blue; }
  bool operator!=(const Color& o) const { return !(*this == o); }
};

constexpr Color kBlack = Color::Rgb(0, 0, 0);
constexpr Color kWhite = Color::Rgb(255, 255, 255);

// Dot draws 3 units on, 3 off, starting at the line's first point (see
// DashSegments); every surface expands it the same way.
enum class PenStyle { Solid, Dot, Null };

struct Pen {
  PenStyle style = PenStyle::Solid;
  int width = 1;
  Color color = kBlack;

  static Pen Solid(int width, Color color) { return Pen{PenStyle::Solid, width, color}; }
  static Pen Dotted(Color color) { return Pen{PenStyle::Dot, 1, color}; }
  bool operator==(const Pen& o) const { return style == o.style && width == o.width && color == o.color; }
  bool operator!=(const Pen& o) const { return !(*this == o); }
};

enum class BrushStyle { Solid, Null };

struct Brush {
  BrushStyle style = BrushStyle::Solid;
  Color color = kWhite;

  static Brush Solid(Color color) { return Brush{BrushStyle::Solid, color}; }
  static Brush Null() { return Brush{BrushStyle::Null, kBlack}; }
  bool operator==(const Brush& o) const {
    return style == o.style && (style == BrushStyle::Null || color == o.color);
  }
  bool operator!=(const Brush& o) const { return !(*this == o); }
};

constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;

// A font asked for either by point size or by cell height. Point sizes are
// resolved with the surface's logical resolution (LogicalUnitsPerInch), so a
// font of 8 points is 8/72 inch high on screen, on paper and in a recording.
struct Font {
  std::string face = "Microsoft Sans Serif";
  int pointTenths = 80;  // em height in tenths of a point; used while cellHeight is 0
  int cellHeight = 0;    // ascent + descent in logical units; 0: from pointTenths
  int charWidth = 0;     // average character width in logical units; 0: the face's own
  int weight = kNormalWeight;
  int escapement = 0;  // tenths of a degree, counter-clockwise; 900 reads upwards

  static Font Points(std::string face, int pointTenths) {
    Font f;
    f.face = std::move(face);
    f.pointTenths = pointTenths;
    return f;
  }
  static Font Cell(std::string face, int cellHeight, int charWidth) {
    Font f;
    f.face = std::move(face);
    f.pointTenths = 0;
    f.cellHeight = cellHeight;
    f.charWidth = charWidth;
    return f;
  }
  Font Rotated(int tenthsOfDegree) const {
    Font f = *this;
    f.escapement = tenthsOfDegree;
    return f;
  }
  bool operator==(const Font& o) const {
    return face == o.face && pointTenths == o.pointTenths && cellHeight == o.cellHeight &&
           charWidth == o.charWidth && weight == o.weight && escapement == o.escapement;
  }
  bool operator!=(const Font& o) const { return !(*this == o); }
};

enum class BackgroundMode { Opaque, Transparent };

// Logical to device units, anisotropic: device = viewportOrigin +
// (logical - windowOrigin) * viewportExtent / windowExtent, per direction.
// The default maps one logical unit to one device pixel.
struct UnitMapping {
  Point windowOrigin;
  Size windowExtent{1, 1};
  Point viewportOrigin;
  Size viewportExtent{1, 1};

  bool operator==(const UnitMapping& o) const {
    return windowOrigin == o.windowOrigin && windowExtent == o.windowExtent &&
           viewportOrigin == o.viewportOrigin && viewportExtent == o.viewportExtent;
  }
  bool operator!=(const UnitMapping& o) const { return !(*this == o); }
};

// A device-independent bitmap of 24-bit pixels (blue, green, red bytes), not
// owned. Row r starts at pixels + r * stride, row 0 at the top; a bottom-up
// bitmap passes its last stored row and a negative stride.
struct BitmapView {
  int width = 0;
  int height = 0;
  const std::uint8_t* pixels = nullptr;
  std::ptrdiff_t stride = 0;

  bool IsEmpty() const { return width <= 0 || height <= 0 || pixels == nullptr; }
};

// How a text sits in its rectangle.
enum class TextPlacement {
  Left,         // L: one line, left, vertically centred
  Centre,       // CE: one line, centred both ways
  Right,        // R: one line, right, vertically centred
  TopRight,     // RT: one line, right, at the top
  TopLeft,      // T: one line, left, at the top
  Wrap,         // W: lines wrapped at blanks, from the top-left
  WrapCentred,  // WC: wrapped, each line centred
};

// "L", "CE", "R", "RT", "T", "W" or "WC".
const char* PlacementCode(TextPlacement placement);

}  // namespace qv70
