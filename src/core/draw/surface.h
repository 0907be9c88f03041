#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "core/draw/draw_types.h"
#include "core/draw/font_metrics.h"
#include "core/draw/text_layout.h"

namespace qv70 {

// The one drawing interface of the core: the chart, the report pages and the
// page recorder all draw through it; the window layer implements it for
// windows, off-screen layers, printers and files.
//
// Coordinates are logical units, turned into device pixels by the unit
// mapping. The surface keeps a current pen, brush, font, text colour,
// background colour and mode, clip and mapping; every Select or Set returns
// what was current before, so a caller restores it by selecting that value
// again. A fresh surface has a solid black pen one unit wide, a solid white
// brush, the default Font, black text on an opaque white background, no clip
// and the identity mapping.
//
// Text is measured through the FontMetrics given at construction, at the
// surface's logical resolution: every implementation measures, wraps and
// places text alike. A surface without a device measures text but shows
// nothing drawn on it (a recording still lists the calls).
class Surface {
 public:
  explicit Surface(const FontMetrics& metrics) : metrics_(metrics) {}
  virtual ~Surface() = default;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // False for a surface that cannot draw (no window, printer or recording
  // behind it); such a surface still measures text.
  virtual bool HasDevice() const = 0;
  // Device pixels per inch, horizontally and vertically.
  virtual Size PixelsPerInch() const = 0;

  UnitMapping SetMapping(const UnitMapping& mapping);
  const UnitMapping& Mapping() const { return mapping_; }
  // Logical units per inch, vertically: the resolution fonts are resolved
  // and text is measured at (device pixels per inch through the mapping).
  int LogicalUnitsPerInch() const;

  Pen SelectPen(const Pen& pen);
  Brush SelectBrush(const Brush& brush);
  Font SelectFont(const Font& font);
  Color SetTextColor(Color color);
  // The colour behind text cells while the mode is Opaque.
  Color SetBackgroundColor(Color color);
  BackgroundMode SetBackgroundMode(BackgroundMode mode);
  // Drawing is limited to the rectangle (right and bottom edges outside);
  // nullopt draws everywhere.
  std::optional<Rect> SetClip(const std::optional<Rect>& clip);

  const Pen& CurrentPen() const { return pen_; }
  const Brush& CurrentBrush() const { return brush_; }
  const Font& CurrentFont() const { return font_; }
  Color TextColor() const { return textColor_; }
  Color BackgroundColor() const { return backgroundColor_; }
  BackgroundMode Background() const { return backgroundMode_; }
  const std::optional<Rect>& Clip() const { return clip_; }

  // Extent of one line in the current font; the height is the font's.
  Size TextExtent(std::string_view text) const;
  LineMetrics CurrentFontMetrics() const;
  // The lines DrawText puts into `rect`, in the current font.
  std::vector<PlacedLine> LayOutText(Rect rect, std::string_view text, TextPlacement placement) const;
  const FontMetrics& Metrics() const { return metrics_; }

  // A line covers its first point up to, not including, its last.
  virtual void DrawLine(Point from, Point to) = 0;
  virtual void DrawPolyline(const std::vector<Point>& points) = 0;
  // Outlined with the pen and filled with the brush, inside the rectangle.
  virtual void DrawRectangle(Rect rect) = 0;
  virtual void DrawEllipse(Rect bounds) = 0;
  virtual void DrawPolygon(const std::vector<Point>& points) = 0;
  // Fills with `color`, whatever the brush.
  virtual void FillRect(Rect rect, Color color) = 0;
  // One line of text with the top-left corner of its cell at `origin`, in
  // the current font, turned about that corner by the font's escapement.
  virtual void DrawTextAt(Point origin, std::string_view text) = 0;
  // Text placed by LayOutText and clipped to `rect`.
  virtual void DrawText(Rect rect, std::string_view text, TextPlacement placement) = 0;
  // The whole bitmap stretched into `dest`, pixels copied as they are.
  virtual void StretchBitmap(Rect dest, const BitmapView& bitmap) = 0;

 protected:
  enum class StateItem { Pen, Brush, Font, TextColor, BackgroundColor, BackgroundMode, Clip, Mapping };
  // Called after a state item was selected or set, with the new value
  // already current: implementations apply or record it here.
  virtual void StateChanged(StateItem item) { (void)item; }

 private:
  const FontMetrics& metrics_;
  UnitMapping mapping_;
  Pen pen_;
  Brush brush_;
  Font font_;
  Color textColor_ = kBlack;
  Color backgroundColor_ = kWhite;
  BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
  std::optional<Rect> clip_;
};

}  // namespace qv70
