#pragma once

#include "core/draw/surface.h"

namespace qv70 {

// A surface with a device that draws nothing: laying a page or a chart out on
// it gives the numbers a real surface of that resolution would, without the
// cost of drawing.
class MeasuringSurface : public Surface {
 public:
  explicit MeasuringSurface(const FontMetrics& metrics, Size pixelsPerInch = {96, 96})
      : Surface(metrics), pixelsPerInch_(pixelsPerInch) {}

  bool HasDevice() const override { return true; }
  Size PixelsPerInch() const override { return pixelsPerInch_; }

  void DrawLine(Point, Point) override {}
  void DrawPolyline(const std::vector<Point>&) override {}
  void DrawRectangle(Rect) override {}
  void DrawEllipse(Rect) override {}
  void DrawPolygon(const std::vector<Point>&) override {}
  void FillRect(Rect, Color) override {}
  void DrawTextAt(Point, std::string_view) override {}
  void DrawText(Rect, std::string_view, TextPlacement) override {}
  void StretchBitmap(Rect, const BitmapView&) override {}

 private:
  Size pixelsPerInch_;
};

}  // namespace qv70
