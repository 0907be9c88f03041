#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/draw/draw_types.h"
#include "core/draw/recording_surface.h"
#include "core/report/report_page.h"
#include "core/report/report_settings.h"

namespace qv70 {

class ChartCtrl;
class RecordTables;
class Surface;

// Page units are display pixels: this many per inch, mapped onto the
// printer's pixels per inch. Fixed rather than read from the display, so a
// report lays out alike on every desktop and without one.
inline constexpr int kPageUnitsPerInch = 96;

// The mapping that puts page units onto a device of `devicePixelsPerInch`,
// origin at the device's (printable area's) top-left corner.
UnitMapping PageUnitMapping(Size devicePixelsPerInch);

// The paper's width and height in page units (portrait).
Size PaperSizeInUnits(PaperSize paper);

// The rectangle a logging or step page's graph is drawn into; the report
// chart is moved there before printing.
Rect ReportGraphRect(PaperSize paper);

// Draws a logging or step page's graph into its rectangle.
using GraphPainter = std::function<void(Surface& surface, Rect rect)>;

// What a page draws besides its texts: the loaded logo (empty: none) and the
// graph of logging and step pages (null: none drawn).
struct ReportArt {
  BitmapView logo;
  GraphPainter graph;
};

// Where the logo rule puts a picture of width x height pixels.
Rect LogoDestination(int width, int height);

// The author's font on `paper`: 11 pt Arial with a cell height of 20 units
// (16 on B5), narrowed when `author` is wider than the paper allows.
Font ReportAuthorFont(const Surface& surface, std::string_view author, PaperSize paper);

// The frame every page carries: ruled header, logo or company text, labels
// and footer. Leaves the thin pen selected and, on B5, the B5 text font.
void DrawPageFrame(Surface& surface, const ReportSettings& settings, const BitmapView& logo);

// The frame, then the page's texts, its box or graph and its page number.
// Without a page (the index has none) only the frame. Pens and fonts are the
// page's own; the surface's font and pen are restored afterwards.
void DrawReportPage(Surface& surface, const std::optional<ReportPage>& page, const ReportSettings& settings,
                    const ReportArt& art);

// BuildPage of `pageIndex` and DrawReportPage, the graph drawn by `chart`.
void DrawReportPageAt(Surface& surface, int pageIndex, const ReportSettings& settings,
                      const RecordTables& tables, ChartCtrl& chart, const BitmapView& logo);

// A recorded page as the lines of `qv70cli report --drawing`: "pen WIDTH",
// "font FACE POINTS" or "font FACE cell HEIGHT width WIDTH", "line X1 Y1 X2
// Y2", "text L T R B CODE TEXT", "picture L T WIDTH HEIGHT", "graph L T R B"
// and "restore-font", in drawing order; other records are left out. `graphs`
// are the rectangles the graph painter was given, each with the number of
// records made before it (a describing painter notes them and draws nothing).
// Fonts are followed on a stack that starts with a fresh surface's Font: a
// selection of a font already on it is "restore-font" and returns to it.
struct GraphMark {
  std::size_t recordIndex = 0;
  Rect rect;
};
std::vector<std::string> DescribePageDrawing(const std::vector<SurfaceRecord>& records,
                                             const std::vector<GraphMark>& graphs);

}  // namespace qv70
