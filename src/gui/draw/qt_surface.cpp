#include "gui/draw/qt_surface.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gui/draw/qt_font_metrics.h"

namespace qv70 {
namespace {

QColor ToQColor(Color c) { return QColor(c.red, c.green, c.blue); }

// Qt's rectangles include their right and bottom edge when outlined; the
// surface's stop short of them.
QRect OutlineRect(Rect r) { return QRect(r.left, r.top, r.Width() - 1, r.Height() - 1); }

QPolygon ToPolygon(const std::vector<Point>& points) {
  QPolygon polygon;
  polygon.reserve(static_cast<int>(points.size()));
  for (Point p : points) polygon.append(QPoint(p.x, p.y));
  return polygon;
}

bool IsCosmetic(const Pen& pen) { return pen.width <= 1; }

// A cosmetic pen is one device pixel wide whatever the mapping; wider pens
// are in logical units.
QPen ToQPen(const Pen& pen, Qt::PenStyle style, Qt::PenCapStyle cap) {
  QPen qpen(ToQColor(pen.color));
  qpen.setCapStyle(cap);
  qpen.setJoinStyle(Qt::MiterJoin);
  if (IsCosmetic(pen)) {
    qpen.setWidth(0);
    qpen.setCosmetic(true);
  } else {
    qpen.setWidth(pen.width);
  }
  qpen.setStyle(style);
  return qpen;
}

// The last pixel a line from `from` to `to` covers: one short of `to`.
Point OnePixelShort(Point from, Point to) {
  const long long dx = static_cast<long long>(to.x) - from.x;
  const long long dy = static_cast<long long>(to.y) - from.y;
  const long long length = std::max(std::llabs(dx), std::llabs(dy));
  const double t = static_cast<double>(length - 1) / static_cast<double>(length);
  return {from.x + static_cast<int>(std::lround(t * static_cast<double>(dx))),
          from.y + static_cast<int>(std::lround(t * static_cast<double>(dy)))};
}

QImage ToQImage(const BitmapView& bitmap) {
  QImage image(bitmap.width, bitmap.height, QImage::Format_BGR888);
  const auto rowBytes = static_cast<std::size_t>(bitmap.width) * 3;
  for (int row = 0; row < bitmap.height; ++row)
    std::copy_n(bitmap.pixels + row * bitmap.stride, rowBytes, image.scanLine(row));
  return image;
}

}  // namespace

QtSurface::QtSurface(QPainter* painter, const QtFontMetrics& metrics, Size pixelsPerInch)
    : Surface(metrics), painter_(painter), qtMetrics_(metrics), pixelsPerInch_(pixelsPerInch) {
  if (!HasDevice()) return;
  painter_->save();
  baseTransform_ = painter_->worldTransform();
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  ApplyPen();
  StateChanged(StateItem::Brush);
  ApplyClip();
}

QtSurface::~QtSurface() {
  if (HasDevice()) painter_->restore();
}

bool QtSurface::HasDevice() const { return painter_ != nullptr && painter_->isActive(); }

void QtSurface::StateChanged(StateItem item) {
  if (!HasDevice()) return;
  switch (item) {
    case StateItem::Pen: ApplyPen(); break;
    case StateItem::Brush:
      painter_->setBrush(CurrentBrush().style == BrushStyle::Null ? QBrush(Qt::NoBrush)
                                                                  : QBrush(ToQColor(CurrentBrush().color)));
      break;
    case StateItem::Clip: ApplyClip(); break;
    case StateItem::Mapping:
      ApplyMapping();
      ApplyClip();
      break;
    // Fonts, text colour and background are taken when text is drawn.
    case StateItem::Font:
    case StateItem::TextColor:
    case StateItem::BackgroundColor:
    case StateItem::BackgroundMode: break;
  }
}

bool QtSurface::DrawsPixelLines() const { return unmapped_ && IsCosmetic(CurrentPen()); }

void QtSurface::ApplyPen() {
  const Pen& pen = CurrentPen();
  // Qt's flat caps leave out the pixel at the lower or right end, whichever
  // way the line runs; pixel lines are therefore cut short here and drawn
  // with both ends. Dotted lines are drawn dash by dash; closed shapes take
  // Qt's own 3-on, 3-off pattern.
  QPen qpen = ToQPen(pen, pen.style == PenStyle::Null ? Qt::NoPen : Qt::SolidLine,
                     DrawsPixelLines() ? Qt::SquareCap : Qt::FlatCap);
  if (pen.style == PenStyle::Dot) qpen.setDashPattern({3, 3});
  painter_->setPen(qpen);
}

void QtSurface::ApplyMapping() {
  const UnitMapping& m = Mapping();
  QTransform mapping;
  // A degenerate mapping maps nothing anywhere; draw unmapped instead.
  if (m.windowExtent.width != 0 && m.windowExtent.height != 0 && m.viewportExtent.width != 0 &&
      m.viewportExtent.height != 0) {
    const double sx = double(m.viewportExtent.width) / m.windowExtent.width;
    const double sy = double(m.viewportExtent.height) / m.windowExtent.height;
    mapping = QTransform(sx, 0, 0, sy, m.viewportOrigin.x - m.windowOrigin.x * sx,
                         m.viewportOrigin.y - m.windowOrigin.y * sy);
  }
  unmapped_ = mapping.isIdentity();
  painter_->setWorldTransform(mapping * baseTransform_);
  ApplyPen();
}

void QtSurface::ApplyClip() {
  if (const auto& clip = Clip())
    painter_->setClipRect(QRect(clip->left, clip->top, clip->Width(), clip->Height()));
  else
    painter_->setClipping(false);
}

void QtSurface::StrokeLine(Point from, Point to) {
  if (from == to) return;
  const Point last = DrawsPixelLines() ? OnePixelShort(from, to) : to;
  painter_->drawLine(from.x, from.y, last.x, last.y);
}

void QtSurface::DrawLine(Point from, Point to) {
  if (!HasDevice() || CurrentPen().style == PenStyle::Null) return;
  if (CurrentPen().style != PenStyle::Dot) {
    StrokeLine(from, to);
    return;
  }
  const QPen dotted = painter_->pen();
  QPen solid = dotted;
  solid.setStyle(Qt::SolidLine);
  painter_->setPen(solid);
  // One call for all the dashes: a grid line has hundreds.
  QVector<QLine> dashes;
  for (const Dash& dash : DashSegments(from, to)) {
    if (dash.from == dash.to) continue;
    const Point last = DrawsPixelLines() ? OnePixelShort(dash.from, dash.to) : dash.to;
    dashes.append(QLine(dash.from.x, dash.from.y, last.x, last.y));
  }
  painter_->drawLines(dashes);
  painter_->setPen(dotted);
}

void QtSurface::DrawPolyline(const std::vector<Point>& points) {
  for (std::size_t i = 1; i < points.size(); ++i) DrawLine(points[i - 1], points[i]);
}

void QtSurface::DrawRectangle(Rect rect) {
  if (!HasDevice() || rect.Width() <= 0 || rect.Height() <= 0) return;
  painter_->drawRect(OutlineRect(rect));
}

void QtSurface::DrawEllipse(Rect bounds) {
  if (!HasDevice() || bounds.Width() <= 0 || bounds.Height() <= 0) return;
  painter_->drawEllipse(OutlineRect(bounds));
}

void QtSurface::DrawPolygon(const std::vector<Point>& points) {
  if (!HasDevice() || points.empty()) return;
  painter_->drawPolygon(ToPolygon(points));
}

void QtSurface::FillRect(Rect rect, Color color) {
  if (!HasDevice() || rect.Width() <= 0 || rect.Height() <= 0) return;
  painter_->fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

void QtSurface::DrawLineOfText(Point origin, const QString& text, const QtResolvedFont& font) {
  painter_->save();
  painter_->translate(origin.x, origin.y);
  // Escapement turns counter-clockwise on the page, which is y upwards.
  if (CurrentFont().escapement != 0) painter_->rotate(-CurrentFont().escapement / 10.0);
  if (font.horizontalScale != 1) painter_->scale(font.horizontalScale, 1);
  if (Background() == BackgroundMode::Opaque) {
    const double width = font.measure.horizontalAdvance(text);
    painter_->fillRect(QRectF(0, 0, width, font.metrics.height), ToQColor(BackgroundColor()));
  }
  painter_->setFont(font.font);
  painter_->setPen(ToQColor(TextColor()));
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
  painter_->drawText(QPointF(0, font.metrics.ascent), text);
  painter_->restore();
}

void QtSurface::DrawTextAt(Point origin, std::string_view text) {
  if (!HasDevice() || text.empty()) return;
  const QtResolvedFont& font = qtMetrics_.Resolve(CurrentFont(), LogicalUnitsPerInch());
  DrawLineOfText(origin, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), font);
}

void QtSurface::DrawText(Rect rect, std::string_view text, TextPlacement placement) {
  if (!HasDevice()) return;
  const QtResolvedFont& font = qtMetrics_.Resolve(CurrentFont(), LogicalUnitsPerInch());
  painter_->save();
  painter_->setClipRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                        painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  for (const PlacedLine& line : LayOutText(rect, text, placement))
    DrawLineOfText(line.origin, QString::fromStdString(line.text), font);
  painter_->restore();
}

void QtSurface::StretchBitmap(Rect dest, const BitmapView& bitmap) {
  if (!HasDevice() || bitmap.IsEmpty()) return;
  painter_->drawImage(QRect(dest.left, dest.top, dest.Width(), dest.Height()), ToQImage(bitmap));
}

}  // namespace qv70
