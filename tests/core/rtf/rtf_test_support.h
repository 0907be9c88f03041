#pragma once

#include <cstdio>
#include <string>

#include "core/rtf/rich_text.h"

namespace qv70::test {

// A RichText as one line, for table rows: each run as "[format]text", each
// paragraph closed by " |". The format lists only what differs from the
// default: the face, "fsN", "b", "i", "u", "s" and "#rrggbb".
inline std::string Describe(const RichText& text) {
  const CharFormat plain;
  std::string out;
  for (const RichParagraph& paragraph : text.paragraphs) {
    for (const TextRun& run : paragraph.runs) {
      std::string format;
      auto add = [&format](const std::string& part) { format += (format.empty() ? "" : " ") + part; };
      const CharFormat& f = run.format;
      if (!f.fontFace.empty()) add(f.fontFace);
      if (f.halfPoints != plain.halfPoints) add("fs" + std::to_string(f.halfPoints));
      if (f.bold) add("b");
      if (f.italic) add("i");
      if (f.underline) add("u");
      if (f.strikeOut) add("s");
      if (f.color) {
        char color[8];
        std::snprintf(color, sizeof color, "#%02x%02x%02x", f.color->red, f.color->green, f.color->blue);
        add(color);
      }
      out += "[" + format + "]" + run.text;
    }
    out += " |";
  }
  return out;
}

}  // namespace qv70::test
