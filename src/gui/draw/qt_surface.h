#pragma once

#include <QTransform>

#include "core/draw/surface.h"

class QPainter;
class QPointF;
class QString;

namespace qv70 {

class QtFontMetrics;
struct QtResolvedFont;

// Screens and off-screen images are laid out at 96 pixels per inch whatever
// the display reports, so a graph measures alike on every desktop.
constexpr Size kScreenPixelsPerInch{96, 96};

// Surface over a QPainter: a window, an off-screen image, a printer, a PDF
// or an SVG generator. The painter is not owned and must stay active while
// the surface draws; a null painter makes a surface without a device that
// only measures. Text goes through `metrics`, as on every surface.
//
// Drawing follows the desktop's conventions: no antialiasing of shapes, a
// line stops short of its last point, a rectangle or an ellipse covers left
// <= x < right, dotted lines are expanded by DashSegments, and text in the
// opaque mode fills its cell with the background colour.
class QtSurface : public Surface {
 public:
  QtSurface(QPainter* painter, const QtFontMetrics& metrics, Size pixelsPerInch = kScreenPixelsPerInch);
  ~QtSurface() override;

  bool HasDevice() const override;
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

 protected:
  void StateChanged(StateItem item) override;

 private:
  bool DrawsPixelLines() const;
  void ApplyPen();
  void ApplyMapping();
  void ApplyClip();
  // A solid line with the current pen's colour and width, as the dashes of a dotted pen are drawn.
  void StrokeLine(Point from, Point to);
  void DrawLineOfText(Point origin, const QString& text, const QtResolvedFont& font);

  QPainter* painter_;
  const QtFontMetrics& qtMetrics_;
  Size pixelsPerInch_;
  QTransform baseTransform_;
  bool unmapped_ = true;
};

}  // namespace qv70
