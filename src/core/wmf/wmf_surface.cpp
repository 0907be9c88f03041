#include "core/wmf/wmf_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/draw/text_layout.h"
#include "core/rtf/text_codec.h"
#include "core/wmf/wmf_format.h"

namespace qv70 {
namespace {

using namespace wmf;

constexpr int kTextCodePage = 936;
// Record fields are 16 bits: coordinates, string lengths and point counts
// beyond them are cut rather than wrapped into nonsense.
constexpr int kMinCoordinate = -32768;
constexpr int kMaxCoordinate = 32767;
constexpr std::size_t kMaxTextCharacters = 8000;  // at most two bytes each in code page 936
constexpr std::size_t kMaxPolyPoints = 8000;
constexpr int kMaxBitmapSide = 32767;

int ClampCoordinate(long long value) {
  return static_cast<int>(std::clamp<long long>(value, kMinCoordinate, kMaxCoordinate));
}

bool HasNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(),
                     [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The faces the program draws with are sans serif; a reader without them
// should fall back to a sans serif as well.
std::uint8_t PitchAndFamily(const std::string& face) {
  return face == "Arial" || face == "Microsoft Sans Serif" ? kSwissVariablePitch : 0;
}

void PutWord(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutDoubleWord(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutWord(out, static_cast<int>(value & 0xFFFF));
  PutWord(out, static_cast<int>(value >> 16));
}

void PutColorRef(std::vector<std::uint8_t>& out, Color color) {
  out.insert(out.end(), {color.red, color.green, color.blue, 0});
}

void PatchDoubleWord(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

WmfSurface::WmfSurface(const FontMetrics& metrics, Size page, Size pixelsPerInch)
    : Surface(metrics), pixelsPerInch_(pixelsPerInch) {
  bytes_.resize(kHeaderBytes);
  SimpleRecord(kSetMapMode, {kMapModeAnisotropic});
  SimpleRecord(kSetWindowOrg, {0, 0});
  SimpleRecord(kSetWindowExt, {page.height, page.width});
  SimpleRecord(kSetTextAlign, {kAlignTopLeft});
}

std::size_t WmfSurface::BeginRecord(std::uint16_t function) {
  const std::size_t start = bytes_.size();
  PutDoubleWord(bytes_, 0);  // the size, once known
  PutWord(bytes_, function);
  return start;
}

void WmfSurface::EndRecord(std::size_t start) {
  if (bytes_.size() % 2 != 0) bytes_.push_back(0);
  const auto words = static_cast<std::uint32_t>((bytes_.size() - start) / 2);
  PatchDoubleWord(bytes_, start, words);
  largestRecordWords_ = std::max(largestRecordWords_, words);
}

void WmfSurface::Word(int value) { PutWord(bytes_, value); }

void WmfSurface::DoubleWord(std::uint32_t value) { PutDoubleWord(bytes_, value); }

void WmfSurface::Bytes(const std::uint8_t* bytes, std::size_t count) {
  bytes_.insert(bytes_.end(), bytes, bytes + count);
}

void WmfSurface::ColorRef(Color color) { PutColorRef(bytes_, color); }

void WmfSurface::XY(Point p) {
  Word(p.y);
  Word(p.x);
}

void WmfSurface::EdgesBottomFirst(Rect r) {
  Word(r.bottom);
  Word(r.right);
  Word(r.top);
  Word(r.left);
}

void WmfSurface::SimpleRecord(std::uint16_t function, std::initializer_list<int> words) {
  const std::size_t start = BeginRecord(function);
  for (int w : words) Word(w);
  EndRecord(start);
}

Point WmfSurface::Device(Point p) const {
  const UnitMapping& m = Mapping();
  // A degenerate mapping maps nothing; draw unmapped, as the Qt surface does.
  if (m.windowExtent.width == 0 || m.windowExtent.height == 0)
    return {ClampCoordinate(p.x), ClampCoordinate(p.y)};
  const auto axis = [](int logical, int windowOrigin, int windowExtent, int viewportOrigin,
                       int viewportExtent) {
    const double scaled = double(logical - windowOrigin) * viewportExtent / windowExtent;
    return ClampCoordinate(viewportOrigin + std::llround(scaled));
  };
  return {axis(p.x, m.windowOrigin.x, m.windowExtent.width, m.viewportOrigin.x, m.viewportExtent.width),
          axis(p.y, m.windowOrigin.y, m.windowExtent.height, m.viewportOrigin.y, m.viewportExtent.height)};
}

Rect WmfSurface::Device(Rect r) const {
  const Point topLeft = Device(Point{r.left, r.top});
  const Point bottomRight = Device(Point{r.right, r.bottom});
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

int WmfSurface::DeviceWidth(int logicalWidth) const {
  const UnitMapping& m = Mapping();
  if (m.windowExtent.width == 0) return logicalWidth;
  return ClampCoordinate(
      std::llround(double(logicalWidth) * std::abs(m.viewportExtent.width) / std::abs(m.windowExtent.width)));
}

WmfSurface::ObjectKey WmfSurface::PenKey(const Pen& pen) const {
  ObjectKey key{kPen, {}};
  const std::uint16_t style = pen.style == PenStyle::Null  ? kPenNull
                              : pen.style == PenStyle::Dot ? kPenDot
                                                           : kPenSolid;
  PutWord(key.parameters, style);
  PutWord(key.parameters, std::max(1, DeviceWidth(pen.width)));
  PutWord(key.parameters, 0);
  PutColorRef(key.parameters, pen.color);
  return key;
}

WmfSurface::ObjectKey WmfSurface::BrushKey(const Brush& brush) const {
  ObjectKey key{kBrush, {}};
  const bool null = brush.style == BrushStyle::Null;
  PutWord(key.parameters, null ? kBrushNull : kBrushSolid);
  PutColorRef(key.parameters, null ? kBlack : brush.color);
  PutWord(key.parameters, 0);
  return key;
}

WmfSurface::ObjectKey WmfSurface::FontKey(bool nonAscii) const {
  const Font& font = CurrentFont();
  const UnitMapping& m = Mapping();
  const double yScale =
      m.windowExtent.height == 0 ? 1.0 : std::abs(double(m.viewportExtent.height) / m.windowExtent.height);
  // A negative height asks for the em height, a positive one for the cell:
  // the same choice Font makes between points and a cell height.
  int height = 0;
  if (font.cellHeight > 0) {
    height = ClampCoordinate(std::llround(font.cellHeight * yScale));
  } else {
    const double em = std::max(1.0, std::round(double(font.pointTenths) * LogicalUnitsPerInch() / 720));
    height = -ClampCoordinate(std::max(1LL, std::llround(em * yScale)));
  }
  ObjectKey key{kFont, {}};
  std::vector<std::uint8_t>& p = key.parameters;
  PutWord(p, height);
  PutWord(p, font.charWidth > 0 ? DeviceWidth(font.charWidth) : 0);
  PutWord(p, font.escapement);
  PutWord(p, font.escapement);  // orientation follows the escapement
  PutWord(p, font.weight);
  p.insert(p.end(), {0, 0, 0, nonAscii ? kGb2312Charset : kAnsiCharset, 0, 0, 0, PitchAndFamily(font.face)});
  std::string face = font.face.substr(0, kFaceNameBytes - 1);
  face.resize(kFaceNameBytes, '\0');
  p.insert(p.end(), face.begin(), face.end());
  return key;
}

void WmfSurface::Select(const ObjectKey& key) {
  const int selected = player_.selected[key.kind];
  if (selected >= 0 && *objects_[static_cast<std::size_t>(selected)] == key) return;
  auto slot = std::find(objects_.begin(), objects_.end(), std::optional<ObjectKey>(key));
  if (slot == objects_.end()) {
    // Slots that came free (after a restore) are taken again before the
    // table grows; a reader puts each new object into the lowest free slot.
    CollectUnused();
    slot = std::find(objects_.begin(), objects_.end(), std::nullopt);
    if (slot == objects_.end()) slot = objects_.insert(objects_.end(), std::nullopt);
    *slot = key;
    static constexpr std::uint16_t kCreate[kObjectKinds] = {kCreatePenIndirect, kCreateBrushIndirect,
                                                            kCreateFontIndirect};
    const std::size_t start = BeginRecord(kCreate[key.kind]);
    Bytes(key.parameters.data(), key.parameters.size());
    EndRecord(start);
  }
  const int index = static_cast<int>(slot - objects_.begin());
  SimpleRecord(kSelectObject, {index});
  player_.selected[key.kind] = index;
  CollectUnused();
}

void WmfSurface::CollectUnused() {
  const auto inUse = [this](int index) {
    const auto selects = [index](const PlayerState& state) {
      return std::find(state.selected.begin(), state.selected.end(), index) != state.selected.end();
    };
    return selects(player_) || (saved_ && selects(*saved_));
  };
  for (std::size_t i = 0; i < objects_.size(); ++i) {
    if (!objects_[i] || inUse(static_cast<int>(i))) continue;
    SimpleRecord(kDeleteObject, {static_cast<int>(i)});
    objects_[i].reset();
  }
}

void WmfSurface::SaveDc() {
  SimpleRecord(kSaveDc, {});
  saved_ = player_;
}

void WmfSurface::RestoreDc() {
  SimpleRecord(kRestoreDc, {-1});
  // The reader selects again what was selected at the save, colours included.
  // What was selected inside stays until a selection shows it unneeded: the
  // drawing after the clip often wants it again.
  player_ = *saved_;
  saved_.reset();
}

void WmfSurface::SyncClip() {
  const std::optional<Rect> wanted = Clip() ? std::optional<Rect>(Device(*Clip())) : std::nullopt;
  if (wanted == playerClip_) return;
  // Clip regions only narrow; a wider or no clip goes back to the saved state.
  if (playerClip_) RestoreDc();
  if (wanted) {
    SaveDc();
    const std::size_t start = BeginRecord(kIntersectClipRect);
    EdgesBottomFirst(*wanted);
    EndRecord(start);
  }
  playerClip_ = wanted;
}

void WmfSurface::SyncPen(const Pen& pen) { Select(PenKey(pen)); }

void WmfSurface::SyncBrush(const Brush& brush) { Select(BrushKey(brush)); }

void WmfSurface::SyncColor(std::optional<Color>& current, Color wanted, std::uint16_t function) {
  if (current == wanted) return;
  const std::size_t start = BeginRecord(function);
  ColorRef(wanted);
  EndRecord(start);
  current = wanted;
}

void WmfSurface::SyncText(bool nonAscii) {
  Select(FontKey(nonAscii));
  SyncColor(player_.textColor, TextColor(), kSetTextColor);
  const std::uint16_t mode = Background() == BackgroundMode::Opaque ? kBkOpaque : kBkTransparent;
  if (player_.backgroundMode != mode) {
    SimpleRecord(kSetBkMode, {mode});
    player_.backgroundMode = mode;
  }
  if (mode == kBkOpaque) SyncColor(player_.backgroundColor, BackgroundColor(), kSetBkColor);
}

void WmfSurface::PointsRecord(std::uint16_t function, const std::vector<Point>& points) {
  const std::size_t start = BeginRecord(function);
  Word(static_cast<int>(points.size()));
  for (Point p : points) {
    const Point d = Device(p);
    Word(d.x);
    Word(d.y);
  }
  EndRecord(start);
}

void WmfSurface::StrokePolyline(const std::vector<Point>& points) {
  // Long lines go in pieces that share their joining point.
  for (std::size_t first = 0; first + 1 < points.size(); first += kMaxPolyPoints - 1) {
    const std::size_t last = std::min(points.size(), first + kMaxPolyPoints);
    PointsRecord(kPolyline, std::vector<Point>(points.begin() + static_cast<std::ptrdiff_t>(first),
                                               points.begin() + static_cast<std::ptrdiff_t>(last)));
  }
}

void WmfSurface::DrawLine(Point from, Point to) {
  const Pen& pen = CurrentPen();
  if (finished_ || pen.style == PenStyle::Null) return;
  SyncClip();
  // Dotted lines are drawn dash by dash, the same dashes on every surface.
  SyncPen(pen.style == PenStyle::Dot ? Pen::Solid(pen.width, pen.color) : pen);
  const std::vector<Dash> dashes =
      pen.style == PenStyle::Dot ? DashSegments(from, to) : std::vector<Dash>{{from, to}};
  for (const Dash& dash : dashes) {
    if (dash.from == dash.to) continue;
    const std::size_t move = BeginRecord(kMoveTo);
    XY(Device(dash.from));
    EndRecord(move);
    const std::size_t line = BeginRecord(kLineTo);
    XY(Device(dash.to));
    EndRecord(line);
  }
}

void WmfSurface::DrawPolyline(const std::vector<Point>& points) {
  const Pen& pen = CurrentPen();
  if (finished_ || pen.style == PenStyle::Null || points.size() < 2) return;
  if (pen.style == PenStyle::Dot) {
    for (std::size_t i = 1; i < points.size(); ++i) DrawLine(points[i - 1], points[i]);
    return;
  }
  SyncClip();
  SyncPen(pen);
  StrokePolyline(points);
}

void WmfSurface::DrawRectangle(Rect rect) {
  if (finished_ || rect.Width() <= 0 || rect.Height() <= 0) return;
  SyncClip();
  SyncPen(CurrentPen());
  SyncBrush(CurrentBrush());
  const std::size_t start = BeginRecord(kRectangle);
  EdgesBottomFirst(Device(rect));
  EndRecord(start);
}

void WmfSurface::DrawEllipse(Rect bounds) {
  if (finished_ || bounds.Width() <= 0 || bounds.Height() <= 0) return;
  SyncClip();
  SyncPen(CurrentPen());
  SyncBrush(CurrentBrush());
  const std::size_t start = BeginRecord(kEllipse);
  EdgesBottomFirst(Device(bounds));
  EndRecord(start);
}

void WmfSurface::DrawPolygon(const std::vector<Point>& points) {
  if (finished_ || points.empty()) return;
  SyncClip();
  SyncPen(CurrentPen());
  SyncBrush(CurrentBrush());
  if (points.size() <= kMaxPolyPoints) {
    PointsRecord(kPolygon, points);
  } else {
    PointsRecord(kPolygon, std::vector<Point>(points.begin(), points.begin() + kMaxPolyPoints));
  }
}

void WmfSurface::FillRect(Rect rect, Color color) {
  if (finished_ || rect.Width() <= 0 || rect.Height() <= 0) return;
  SyncClip();
  SyncBrush(Brush::Solid(color));
  const Rect d = Device(rect);
  const std::size_t start = BeginRecord(kPatBlt);
  DoubleWord(kPatCopy);
  Word(d.Height());
  Word(d.Width());
  XY({d.left, d.top});
  EndRecord(start);
}

void WmfSurface::TextRecord(Point origin, std::string_view text, const Rect* clip) {
  const std::string bytes = Utf8ToCodePage(FirstCharacters(text, kMaxTextCharacters), kTextCodePage);
  SyncClip();
  SyncText(HasNonAscii(bytes));
  const std::size_t start = BeginRecord(kExtTextOut);
  XY(origin);
  Word(static_cast<int>(bytes.size()));
  Word(clip ? kEtoClipped : 0);
  if (clip) {
    Word(clip->left);
    Word(clip->top);
    Word(clip->right);
    Word(clip->bottom);
  }
  Bytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  EndRecord(start);
}

void WmfSurface::DrawTextAt(Point origin, std::string_view text) {
  if (finished_ || text.empty()) return;
  TextRecord(Device(origin), text, nullptr);
}

void WmfSurface::DrawText(Rect rect, std::string_view text, TextPlacement placement) {
  if (finished_) return;
  const Rect clip = Device(rect);
  for (const PlacedLine& line : LayOutText(rect, text, placement))
    if (!line.text.empty()) TextRecord(Device(line.origin), line.text, &clip);
}

void WmfSurface::StretchBitmap(Rect dest, const BitmapView& bitmap) {
  if (finished_ || bitmap.IsEmpty() || bitmap.width > kMaxBitmapSide || bitmap.height > kMaxBitmapSide)
    return;
  const Rect d = Device(dest);
  if (d.Width() <= 0 || d.Height() <= 0) return;
  SyncClip();
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width) * 3;
  const std::size_t stride = (rowBytes + 3) / 4 * 4;
  const std::size_t start = BeginRecord(kStretchDib);
  DoubleWord(kSrcCopy);
  Word(kDibRgbColors);
  Word(bitmap.height);
  Word(bitmap.width);
  Word(0);
  Word(0);
  Word(d.Height());
  Word(d.Width());
  XY({d.left, d.top});
  // The bitmap's information header, then its rows bottom first.
  DoubleWord(40);
  DoubleWord(static_cast<std::uint32_t>(bitmap.width));
  DoubleWord(static_cast<std::uint32_t>(bitmap.height));
  Word(1);
  Word(24);
  DoubleWord(0);
  DoubleWord(static_cast<std::uint32_t>(stride * static_cast<std::size_t>(bitmap.height)));
  for (int i = 0; i < 4; ++i) DoubleWord(0);
  bytes_.reserve(bytes_.size() + stride * static_cast<std::size_t>(bitmap.height));
  for (int row = bitmap.height - 1; row >= 0; --row) {
    Bytes(bitmap.pixels + row * bitmap.stride, rowBytes);
    bytes_.resize(bytes_.size() + stride - rowBytes, 0);
  }
  EndRecord(start);
}

std::vector<std::uint8_t> WmfSurface::Finish() {
  if (finished_) return {};
  if (playerClip_) RestoreDc();
  playerClip_.reset();
  for (std::size_t i = 0; i < objects_.size(); ++i) {
    if (!objects_[i]) continue;
    SimpleRecord(kDeleteObject, {static_cast<int>(i)});
    objects_[i].reset();
  }
  SimpleRecord(kEof, {});
  finished_ = true;

  std::vector<std::uint8_t> header;
  PutWord(header, kMemoryMetafile);
  PutWord(header, kHeaderWords);
  PutWord(header, kVersion3);
  PutDoubleWord(header, static_cast<std::uint32_t>(bytes_.size() / 2));
  PutWord(header, static_cast<int>(objects_.size()));
  PutDoubleWord(header, largestRecordWords_);
  PutWord(header, 0);
  std::copy(header.begin(), header.end(), bytes_.begin());
  return std::move(bytes_);
}

}  // namespace qv70
