#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv70 {

// The formatted text the report comment can hold, without a window system:
// paragraphs of runs, each run UTF-8 text in one character format. The comment
// editor converts it to and from its document; the RTF reader and writer
// (rtf_reader.h, rtf_writer.h) convert it to and from RTF text.
//
// Normal form, which the reader, AppendRun and the plain-text builder keep: no
// run is empty, no two neighbouring runs of a paragraph share a format, text
// holds no control characters but tab, and a line break inside a paragraph is
// U+2028 (the editor's own line separator).

struct RgbColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const RgbColor& o) const { return red == o.red && green == o.green && blue == o.blue; }
};

inline constexpr int kDefaultHalfPoints = 24;  // 12 pt, RTF's size when none is given
inline constexpr int kMaxHalfPoints = 3276;    // 1638 pt, the largest the editor takes
inline constexpr std::string_view kLineBreak = "\u2028";

struct CharFormat {
  std::string fontFace;  // empty: the editor's default font
  int halfPoints = kDefaultHalfPoints;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::optional<RgbColor> color;  // none: the automatic text colour

  bool operator==(const CharFormat& o) const {
    return fontFace == o.fontFace && halfPoints == o.halfPoints && bold == o.bold && italic == o.italic &&
           underline == o.underline && strikeOut == o.strikeOut && color == o.color;
  }
  bool operator!=(const CharFormat& o) const { return !(*this == o); }
};

struct TextRun {
  std::string text;
  CharFormat format;
  bool operator==(const TextRun& o) const { return text == o.text && format == o.format; }
};

struct RichParagraph {
  std::vector<TextRun> runs;
  bool operator==(const RichParagraph& o) const { return runs == o.runs; }
};

// No paragraphs is the empty comment.
struct RichText {
  std::vector<RichParagraph> paragraphs;
  bool operator==(const RichText& o) const { return paragraphs == o.paragraphs; }
  bool operator!=(const RichText& o) const { return !(*this == o); }
};

// Appends `text` in `format` to the paragraph's last run when the formats
// match, else as a new run; nothing for an empty text. The text is taken as it
// is: callers pass text already free of control characters.
void AppendRun(RichParagraph& paragraph, std::string_view text, const CharFormat& format);

// The comment as plain text: paragraphs joined by "\n", line breaks as "\n".
std::string PlainText(const RichText& text);

// Plain text as paragraphs in one format: "\n", "\r\n" and a lone "\r" end a
// paragraph, and a text that ends with a line end has no empty paragraph after
// it; other control characters but tab are dropped, and malformed UTF-8 becomes
// U+FFFD.
RichText RichTextFromPlain(std::string_view utf8, const CharFormat& format = {});

}  // namespace qv70
