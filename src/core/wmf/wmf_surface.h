#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/draw/surface.h"

namespace qv70 {

// A surface that records what is drawn on it as a Windows-format metafile:
// the 18-byte header (no placeable header), the records, the end record. The
// picture is in the anisotropic mapping mode with its window at (0, 0) and
// `page` units wide and high, so a reader scales it to whatever size it shows.
//
// The surface's logical units pass through its unit mapping onto the page;
// with the default mapping one logical unit is one page unit. Fonts are
// resolved at `pixelsPerInch`, text is laid out by Surface::LayOutText with
// the metrics given (one text record per line, as a Qt surface measuring
// through the same metrics places it) and written in code page 936, a
// character outside it as "?".
//
// Pens, brushes and fonts are created when a drawing first needs them, in the
// lowest free slot of the reader's object table, and deleted as soon as
// nothing selected, now or in the saved state of a clip, uses them. A clip is
// a SaveDC and IntersectClipRect undone by RestoreDC. Finish deletes what is
// left, so every object created is deleted.
class WmfSurface : public Surface {
 public:
  WmfSurface(const FontMetrics& metrics, Size page, Size pixelsPerInch = {96, 96});

  bool HasDevice() const override { return true; }
  Size PixelsPerInch() const override { return pixelsPerInch_; }

  void DrawLine(Point from, Point to) override;
  void DrawPolyline(const std::vector<Point>& points) override;
  void DrawRectangle(Rect rect) override;
  void DrawEllipse(Rect bounds) override;
  void DrawPolygon(const std::vector<Point>& points) override;
  void FillRect(Rect rect, Color color) override;
  void DrawTextAt(Point origin, std::string_view text) override;
  void DrawText(Rect rect, std::string_view text, TextPlacement placement) override;
  // A 24-bit device-independent bitmap copied as it is (SRCCOPY), in the
  // reader's default stretching mode.
  void StretchBitmap(Rect dest, const BitmapView& bitmap) override;

  // Ends the recording and hands over the metafile's bytes; the surface is
  // empty afterwards and records nothing more.
  std::vector<std::uint8_t> Finish();

 private:
  enum ObjectKind { kPen, kBrush, kFont, kObjectKinds };
  // What an object of the table is, as its creation record's parameters.
  struct ObjectKey {
    ObjectKind kind = kPen;
    std::vector<std::uint8_t> parameters;
    bool operator==(const ObjectKey& o) const { return kind == o.kind && parameters == o.parameters; }
  };
  // What the reader has selected and set: what the records so far leave.
  struct PlayerState {
    std::array<int, kObjectKinds> selected{{-1, -1, -1}};
    std::optional<Color> textColor;
    std::optional<Color> backgroundColor;
    std::optional<std::uint16_t> backgroundMode;
  };

  std::size_t BeginRecord(std::uint16_t function);
  void EndRecord(std::size_t start);
  void Word(int value);
  void DoubleWord(std::uint32_t value);
  void Bytes(const std::uint8_t* bytes, std::size_t count);
  void ColorRef(Color color);
  void XY(Point p);  // y first, as the drawing records want
  void EdgesBottomFirst(Rect r);
  void SimpleRecord(std::uint16_t function, std::initializer_list<int> words);

  Point Device(Point p) const;
  Rect Device(Rect r) const;
  int DeviceWidth(int logicalWidth) const;

  void Select(const ObjectKey& key);
  void CollectUnused();
  void SyncClip();
  void SyncPen(const Pen& pen);
  void SyncBrush(const Brush& brush);
  void SyncText(bool nonAscii);
  void SyncColor(std::optional<Color>& current, Color wanted, std::uint16_t function);
  void SaveDc();
  void RestoreDc();

  ObjectKey PenKey(const Pen& pen) const;
  ObjectKey BrushKey(const Brush& brush) const;
  ObjectKey FontKey(bool nonAscii) const;

  void StrokePolyline(const std::vector<Point>& points);
  void PointsRecord(std::uint16_t function, const std::vector<Point>& points);
  void TextRecord(Point origin, std::string_view text, const Rect* clip);

  Size pixelsPerInch_;
  std::vector<std::uint8_t> bytes_;
  std::uint32_t largestRecordWords_ = 0;
  bool finished_ = false;
  std::vector<std::optional<ObjectKey>> objects_;
  PlayerState player_;
  std::optional<PlayerState> saved_;  // while a clip is open
  std::optional<Rect> playerClip_;
};

}  // namespace qv70
