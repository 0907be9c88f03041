#pragma once

#include <string>
#include <vector>

#include "core/draw/surface.h"

namespace qv70 {

enum class SurfaceOp {
  Pen,              // word: style; numbers: width, red, green, blue
  Brush,            // word: style; numbers: red, green, blue
  Font,             // numbers: pointTenths, cellHeight, charWidth, weight, escapement; text: face
  TextColor,        // numbers: red, green, blue
  BackgroundColor,  // numbers: red, green, blue
  BackgroundMode,   // word: "opaque" or "transparent"
  Clip,             // word: "none", or numbers: left, top, right, bottom
  Mapping,          // numbers: window origin x y, extent w h, viewport origin x y, extent w h
  Line,             // numbers: x1 y1 x2 y2
  Polyline,         // numbers: x y per point
  Rectangle,        // numbers: left top right bottom
  Ellipse,          // numbers: left top right bottom
  Polygon,          // numbers: x y per point
  FillRect,         // numbers: left top right bottom red green blue
  TextAt,           // numbers: x y; text
  Text,             // word: placement code; numbers: left top right bottom; text
  Bitmap,           // numbers: left top right bottom, bitmap width height
};

// "pen", "brush", "font", "text-color", "background-color", "background-mode",
// "clip", "mapping", "line", "polyline", "rectangle", "ellipse", "polygon",
// "fill", "text-at", "text", "bitmap".
const char* SurfaceOpName(SurfaceOp op);

// One call on a RecordingSurface, as numbers.
struct SurfaceRecord {
  SurfaceOp op;
  std::string word;
  std::vector<double> numbers;
  std::string text;

  // The op's name, the word, the numbers ("%.17g") and the text in double
  // quotes (backslash, quote and line ends escaped), separated by blanks.
  std::string Describe() const;
  bool operator==(const SurfaceRecord& o) const {
    return op == o.op && word == o.word && numbers == o.numbers && text == o.text;
  }
};

// A surface that draws nothing but lists every call in order, for tests and
// for describing a drawing as text. Text is measured through the given
// metrics like on any surface.
class RecordingSurface : public Surface {
 public:
  explicit RecordingSurface(const FontMetrics& metrics, Size pixelsPerInch = {96, 96}, bool hasDevice = true)
      : Surface(metrics), pixelsPerInch_(pixelsPerInch), hasDevice_(hasDevice) {}

  bool HasDevice() const override { return hasDevice_; }
  Size PixelsPerInch() const override { return pixelsPerInch_; }

  void DrawLine(Point from, Point to) override;
  void DrawPolyline(const std::vector<Point>& points) override;
  void DrawRectangle(Rect rect) override;
  void DrawEllipse(Rect bounds) override;
  void DrawPolygon(const std::vector<Point>& points) override;
  void FillRect(Rect rect, Color color) override;
  void DrawTextAt(Point origin, std::string_view text) override;
  void DrawText(Rect rect, std::string_view text, TextPlacement placement) override;
  void StretchBitmap(Rect dest, const BitmapView& bitmap) override;

  const std::vector<SurfaceRecord>& Records() const { return records_; }
  std::vector<SurfaceRecord> RecordsOf(SurfaceOp op) const;
  // Describe() of every record, one line each, each ending in a line feed.
  std::string Describe() const;
  void Clear() { records_.clear(); }

 protected:
  void StateChanged(StateItem item) override;

 private:
  void Add(SurfaceOp op, std::vector<double> numbers, std::string word = {}, std::string text = {});

  Size pixelsPerInch_;
  bool hasDevice_;
  std::vector<SurfaceRecord> records_;
};

}  // namespace qv70
