#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include "core/grid/grid_types.h"

class QFontMetrics;
class QPainter;
class QPalette;
class QSize;

namespace qv70 {

class CGridCtrl;
class QtGridTextMeasure;
struct GridTrackLine;

// A grid colour on this desktop: roles from the palette, rgb values as they are.
QColor ToQColor(GridColor color, const QPalette& palette);

// The lines a cell text is drawn as in a box `width` pixels wide: one per line
// feed (a single line with kSingleLine), each too long for the box ending in
// an ellipsis.
QStringList CellTextLines(const QString& text, unsigned format, const QFontMetrics& metrics, int width);

// One paint of the grid's viewport: the fixed cells raised, the scrolled cells
// in view with their grid lines, then the area beyond the last cell.
void PaintGrid(QPainter& painter, const CGridCtrl& grid, const QtGridTextMeasure& fonts,
               const QPalette& palette);

// The line of a border being dragged, drawn by inverting what is under it.
void PaintTrackLine(QPainter& painter, const GridTrackLine& line, const QSize& viewport);

}  // namespace qv70
