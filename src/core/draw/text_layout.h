#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/draw/draw_types.h"

namespace qv70 {

class TextMeasure;

// Breaks a text into lines no wider than `width`, as a multi-line edit
// control does. Line ends ("\r\n", "\n", "\r") always break, and an empty
// paragraph between them is an empty line. Within a paragraph a line takes
// as many words as fit; the blanks (spaces, tabs) where it breaks belong to
// no line. A word wider than a whole line is cut after its last character
// that fits, at least one character per line, never inside a UTF-8 sequence.
// An empty text gives no lines.
std::vector<std::string> WrapText(const TextMeasure& measure, std::string_view text, int width);

// One line of a laid-out text: `origin` is the top-left corner of its cell.
struct PlacedLine {
  Point origin;
  std::string text;

  bool operator==(const PlacedLine& o) const { return origin == o.origin && text == o.text; }
};

// Where the lines of a text drawn into `rect` go. One-line placements keep the
// text whole; vertical centring puts the cell at top + (height - cell) / 2.
// Wrapped lines follow each other by the font's height, from the top, also
// below the rectangle: clipping them is the surface's part.
std::vector<PlacedLine> LayOutText(const TextMeasure& measure, Rect rect, std::string_view text,
                                   TextPlacement placement);

// A line drawn with a dotted pen: 3-unit dashes with 3-unit gaps from `from`
// towards `to`, measured along the longer direction, the last dash cut at
// `to`. Each dash runs from its first point up to its second.
struct Dash {
  Point from;
  Point to;

  bool operator==(const Dash& o) const { return from == o.from && to == o.to; }
};
std::vector<Dash> DashSegments(Point from, Point to);

}  // namespace qv70
