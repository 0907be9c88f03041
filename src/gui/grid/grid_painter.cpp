#include "gui/grid/grid_painter.h"

#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QPalette>
#include <QRect>
#include <QSize>
#include <vector>

#include "core/grid/grid_ctrl.h"
#include "gui/grid/qt_grid_text_measure.h"

namespace qv70 {

namespace {

QRect ToQRect(const GridRect& rect) { return QRect(rect.left, rect.top, rect.width, rect.height); }

Qt::Alignment Alignment(unsigned format) {
  Qt::Alignment alignment = Qt::AlignLeft;
  if (format & grid_format::kCenter) alignment = Qt::AlignHCenter;
  if (format & grid_format::kRight) alignment = Qt::AlignRight;
  if (format & grid_format::kBottom) return alignment | Qt::AlignBottom;
  return alignment | (format & grid_format::kVCenter ? Qt::AlignVCenter : Qt::AlignTop);
}

// Where the lines start: by the format inside the margins, unless that cuts
// them off while the cell could show them all (two title lines in a low title
// row); then they are centred and the margins give way.
int BlockTop(const QRect& cell, const QRect& box, int blockHeight, unsigned format) {
  int top = box.top();
  if (format & grid_format::kBottom) top = box.top() + box.height() - blockHeight;
  else if (format & grid_format::kVCenter) top = box.top() + (box.height() - blockHeight) / 2;
  const bool cut = top < cell.top() || top + blockHeight > cell.top() + cell.height();
  if (cut && blockHeight <= cell.height()) top = cell.top() + (cell.height() - blockHeight) / 2;
  return top;
}

int LineLeft(const QRect& box, const QString& line, unsigned format, const QFontMetrics& metrics) {
  if (!(format & (grid_format::kCenter | grid_format::kRight))) return box.left();
  const int width = metrics.horizontalAdvance(line);
  if (format & grid_format::kRight) return box.left() + box.width() - width;
  return box.left() + (box.width() - width) / 2;
}

// Clips to the cell only when the lines reach out of it: a row lower than its
// text must not paint into its neighbours, and most cells need no clip at all.
class CellClip {
 public:
  CellClip(QPainter& painter, const QRect& cell, bool needed) : painter_(painter), needed_(needed) {
    if (!needed_) return;
    painter_.save();
    painter_.setClipRect(cell, Qt::IntersectClip);
  }
  ~CellClip() {
    if (needed_) painter_.restore();
  }
  CellClip(const CellClip&) = delete;
  CellClip& operator=(const CellClip&) = delete;

 private:
  QPainter& painter_;
  bool needed_;
};

void DrawCellText(QPainter& painter, const QString& text, unsigned format, const QRect& cell, int margin,
                  const QFontMetrics& metrics) {
  const QRect box = cell.adjusted(margin, margin, -margin, -margin);
  if (box.width() <= 0) return;
  if (format & grid_format::kWordBreak) {
    CellClip clip(painter, cell, true);
    painter.drawText(box, static_cast<int>(Alignment(format)) | Qt::TextWordWrap, text);
    return;
  }
  const QStringList lines = CellTextLines(text, format, metrics, box.width());
  const int lineHeight = metrics.height();
  const int blockHeight = lineHeight * static_cast<int>(lines.size());
  int top = BlockTop(cell, box, blockHeight, format);
  CellClip clip(painter, cell, top < cell.top() || top + blockHeight > cell.top() + cell.height());
  for (const QString& line : lines) {
    painter.drawText(QPoint(LineLeft(box, line, format, metrics), top + metrics.ascent()), line);
    top += lineHeight;
  }
}

void PaintCells(QPainter& painter, const CGridCtrl& grid, const std::vector<GridPaintCell>& cells,
                const QtGridTextMeasure& fonts, bool fixed, const QPalette& palette) {
  painter.setFont(fonts.Font(fixed));
  const QFontMetrics& metrics = fonts.Metrics(fixed);
  for (const GridPaintCell& paint : cells) {
    const int row = paint.cell.row;
    const int col = paint.cell.col;
    const QRect rect = ToQRect(paint.rect);
    painter.fillRect(rect, ToQColor(grid.CellBackColor(row, col), palette));
    const GridCell* cell = grid.GetCell(row, col);
    if (cell == nullptr || cell->text.empty()) continue;
    painter.setPen(ToQColor(grid.CellTextColor(row, col), palette));
    DrawCellText(painter, QString::fromStdString(cell->text), cell->format, rect, grid.GetMargin(), metrics);
  }
}

// Light along the top and left, dark along the bottom and right of each cell.
void PaintRaisedEdges(QPainter& painter, const std::vector<GridPaintCell>& cells, const QPalette& palette) {
  std::vector<QLine> light;
  std::vector<QLine> dark;
  light.reserve(2 * cells.size());
  dark.reserve(2 * cells.size());
  for (const GridPaintCell& paint : cells) {
    const QRect r = ToQRect(paint.rect);
    if (r.isEmpty()) continue;
    light.emplace_back(r.left(), r.top(), r.right(), r.top());
    light.emplace_back(r.left(), r.top(), r.left(), r.bottom());
    dark.emplace_back(r.left(), r.bottom(), r.right(), r.bottom());
    dark.emplace_back(r.right(), r.top(), r.right(), r.bottom());
  }
  painter.setPen(palette.color(QPalette::Light));
  painter.drawLines(light.data(), static_cast<int>(light.size()));
  painter.setPen(palette.color(QPalette::Dark));
  painter.drawLines(dark.data(), static_cast<int>(dark.size()));
}

// One line per column along the right edges and one per row along the bottom
// edges of the scrolled cells in view, which come row by row.
void PaintGridLines(QPainter& painter, const std::vector<GridPaintCell>& cells, const QColor& color) {
  if (cells.empty()) return;
  const GridRect first = cells.front().rect;
  const GridRect last = cells.back().rect;
  std::vector<QLine> lines;
  for (const GridPaintCell& paint : cells) {
    if (paint.cell.row == cells.front().cell.row) {
      const int x = paint.rect.Right() - 1;
      lines.emplace_back(x, first.top, x, last.Bottom() - 1);
    }
    if (paint.cell.col == cells.front().cell.col) {
      const int y = paint.rect.Bottom() - 1;
      lines.emplace_back(first.left, y, last.Right() - 1, y);
    }
  }
  painter.setPen(color);
  painter.drawLines(lines.data(), static_cast<int>(lines.size()));
}

}  // namespace

QColor ToQColor(GridColor color, const QPalette& palette) {
  switch (color.role) {
    case GridColorRole::WindowText: return palette.color(QPalette::WindowText);
    case GridColorRole::Window: return palette.color(QPalette::Base);
    case GridColorRole::ButtonFace: return palette.color(QPalette::Button);
    case GridColorRole::ButtonShadow: return palette.color(QPalette::Dark);
    case GridColorRole::Highlight: return palette.color(QPalette::Highlight);
    case GridColorRole::HighlightText: return palette.color(QPalette::HighlightedText);
    case GridColorRole::Rgb: break;
  }
  return QColor((color.rgb >> 16) & 0xff, (color.rgb >> 8) & 0xff, color.rgb & 0xff);
}

QStringList CellTextLines(const QString& text, unsigned format, const QFontMetrics& metrics, int width) {
  QStringList lines;
  if (format & grid_format::kSingleLine) lines.append(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
  else lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, width);
  return lines;
}

void PaintGrid(QPainter& painter, const CGridCtrl& grid, const QtGridTextMeasure& fonts,
               const QPalette& palette) {
  const GridPaintList list = grid.GetPaintList();
  PaintCells(painter, grid, list.fixedCells, fonts, true, palette);
  PaintRaisedEdges(painter, list.fixedCells, palette);
  PaintCells(painter, grid, list.scrolledCells, fonts, false, palette);
  PaintGridLines(painter, list.scrolledCells, ToQColor(grid.GetColors().gridLines, palette));
  const QColor outside = ToQColor(grid.GetColors().outside, palette);
  for (const GridRect& rect : list.outside) painter.fillRect(ToQRect(rect), outside);
}

void PaintTrackLine(QPainter& painter, const GridTrackLine& line, const QSize& viewport) {
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_NotDestination);
  painter.setPen(Qt::black);
  if (line.kind == GridBorderKind::Column) painter.drawLine(line.pos, 0, line.pos, viewport.height() - 1);
  else painter.drawLine(0, line.pos, viewport.width() - 1, line.pos);
  painter.restore();
}

}  // namespace qv70
