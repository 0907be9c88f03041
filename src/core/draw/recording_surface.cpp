#include "core/draw/recording_surface.h"

#include "core/draw/number_text.h"

namespace qv70 {
namespace {

std::vector<double> Numbers(Rect r) { return {double(r.left), double(r.top), double(r.right), double(r.bottom)}; }

std::vector<double> Numbers(const std::vector<Point>& points) {
  std::vector<double> numbers;
  numbers.reserve(points.size() * 2);
  for (Point p : points) {
    numbers.push_back(p.x);
    numbers.push_back(p.y);
  }
  return numbers;
}

void AppendColor(std::vector<double>& numbers, Color c) {
  numbers.push_back(c.red);
  numbers.push_back(c.green);
  numbers.push_back(c.blue);
}

const char* PenStyleName(PenStyle style) {
  switch (style) {
    case PenStyle::Solid: return "solid";
    case PenStyle::Dot: return "dot";
    case PenStyle::Null: return "null";
  }
  return "?";
}

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

// Only ops that carry a text show it, so an empty text still reads as "".
bool CarriesText(SurfaceOp op) { return op == SurfaceOp::Font || op == SurfaceOp::TextAt || op == SurfaceOp::Text; }

}  // namespace

const char* SurfaceOpName(SurfaceOp op) {
  switch (op) {
    case SurfaceOp::Pen: return "pen";
    case SurfaceOp::Brush: return "brush";
    case SurfaceOp::Font: return "font";
    case SurfaceOp::TextColor: return "text-color";
    case SurfaceOp::BackgroundColor: return "background-color";
    case SurfaceOp::BackgroundMode: return "background-mode";
    case SurfaceOp::Clip: return "clip";
    case SurfaceOp::Mapping: return "mapping";
    case SurfaceOp::Line: return "line";
    case SurfaceOp::Polyline: return "polyline";
    case SurfaceOp::Rectangle: return "rectangle";
    case SurfaceOp::Ellipse: return "ellipse";
    case SurfaceOp::Polygon: return "polygon";
    case SurfaceOp::FillRect: return "fill";
    case SurfaceOp::TextAt: return "text-at";
    case SurfaceOp::Text: return "text";
    case SurfaceOp::Bitmap: return "bitmap";
  }
  return "?";
}

std::string SurfaceRecord::Describe() const {
  std::string line = SurfaceOpName(op);
  if (!word.empty()) line += " " + word;
  for (double n : numbers) line += " " + ExactText(n);
  if (CarriesText(op)) line += " " + Quoted(text);
  return line;
}

void RecordingSurface::Add(SurfaceOp op, std::vector<double> numbers, std::string word, std::string text) {
  records_.push_back({op, std::move(word), std::move(numbers), std::move(text)});
}

void RecordingSurface::StateChanged(StateItem item) {
  std::vector<double> numbers;
  switch (item) {
    case StateItem::Pen:
      numbers = {double(CurrentPen().width)};
      AppendColor(numbers, CurrentPen().color);
      Add(SurfaceOp::Pen, numbers, PenStyleName(CurrentPen().style));
      break;
    case StateItem::Brush:
      AppendColor(numbers, CurrentBrush().color);
      Add(SurfaceOp::Brush, numbers, CurrentBrush().style == BrushStyle::Null ? "null" : "solid");
      break;
    case StateItem::Font: {
      const Font& f = CurrentFont();
      Add(SurfaceOp::Font,
          {double(f.pointTenths), double(f.cellHeight), double(f.charWidth), double(f.weight),
           double(f.escapement)},
          {}, f.face);
      break;
    }
    case StateItem::TextColor:
      AppendColor(numbers, TextColor());
      Add(SurfaceOp::TextColor, numbers);
      break;
    case StateItem::BackgroundColor:
      AppendColor(numbers, BackgroundColor());
      Add(SurfaceOp::BackgroundColor, numbers);
      break;
    case StateItem::BackgroundMode:
      Add(SurfaceOp::BackgroundMode, {}, Background() == BackgroundMode::Opaque ? "opaque" : "transparent");
      break;
    case StateItem::Clip:
      if (Clip()) Add(SurfaceOp::Clip, Numbers(*Clip()));
      else Add(SurfaceOp::Clip, {}, "none");
      break;
    case StateItem::Mapping: {
      const UnitMapping& m = Mapping();
      Add(SurfaceOp::Mapping,
          {double(m.windowOrigin.x), double(m.windowOrigin.y), double(m.windowExtent.width),
           double(m.windowExtent.height), double(m.viewportOrigin.x), double(m.viewportOrigin.y),
           double(m.viewportExtent.width), double(m.viewportExtent.height)});
      break;
    }
  }
}

void RecordingSurface::DrawLine(Point from, Point to) {
  Add(SurfaceOp::Line, {double(from.x), double(from.y), double(to.x), double(to.y)});
}

void RecordingSurface::DrawPolyline(const std::vector<Point>& points) { Add(SurfaceOp::Polyline, Numbers(points)); }

void RecordingSurface::DrawRectangle(Rect rect) { Add(SurfaceOp::Rectangle, Numbers(rect)); }

void RecordingSurface::DrawEllipse(Rect bounds) { Add(SurfaceOp::Ellipse, Numbers(bounds)); }

void RecordingSurface::DrawPolygon(const std::vector<Point>& points) { Add(SurfaceOp::Polygon, Numbers(points)); }

void RecordingSurface::FillRect(Rect rect, Color color) {
  std::vector<double> numbers = Numbers(rect);
  AppendColor(numbers, color);
  Add(SurfaceOp::FillRect, numbers);
}

void RecordingSurface::DrawTextAt(Point origin, std::string_view text) {
  Add(SurfaceOp::TextAt, {double(origin.x), double(origin.y)}, {}, std::string(text));
}

void RecordingSurface::DrawText(Rect rect, std::string_view text, TextPlacement placement) {
  Add(SurfaceOp::Text, Numbers(rect), PlacementCode(placement), std::string(text));
}

void RecordingSurface::StretchBitmap(Rect dest, const BitmapView& bitmap) {
  std::vector<double> numbers = Numbers(dest);
  numbers.push_back(bitmap.width);
  numbers.push_back(bitmap.height);
  Add(SurfaceOp::Bitmap, numbers);
}

std::vector<SurfaceRecord> RecordingSurface::RecordsOf(SurfaceOp op) const {
  std::vector<SurfaceRecord> matching;
  for (const SurfaceRecord& r : records_)
    if (r.op == op) matching.push_back(r);
  return matching;
}

std::string RecordingSurface::Describe() const {
  std::string text;
  for (const SurfaceRecord& r : records_) text += r.Describe() + "\n";
  return text;
}

}  // namespace qv70
