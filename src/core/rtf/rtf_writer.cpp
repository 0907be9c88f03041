#include "core/rtf/rtf_writer.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/rtf/text_codec.h"

namespace qv70 {

namespace {

// A character outside printable ASCII as \uN? (a signed 16-bit N; two of them,
// a surrogate pair, beyond U+FFFF).
void AppendUnicodeWord(std::string& out, char32_t c) {
  auto word = [&out](unsigned unit) {
    out += "\\u" + std::to_string(unit >= 0x8000 ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit));
    out += '?';
  };
  if (c >= 0x10000) {
    c -= 0x10000;
    word(0xD800 + static_cast<unsigned>(c >> 10));
    word(0xDC00 + static_cast<unsigned>(c & 0x3FF));
  } else {
    word(static_cast<unsigned>(c));
  }
}

void AppendEscapedText(std::string& out, const std::string& utf8) {
  for (size_t at = 0; at < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, at);
    if (c == 0x2028) {
      out += "\\line ";
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (c >= 0x80) {
      AppendUnicodeWord(out, c);
    }
  }
}

// A font name ends at ";" and takes no control words, so ";" and tab are
// written as byte escapes.
void AppendFontName(std::string& out, const std::string& name) {
  for (size_t at = 0; at < name.size();) {
    const char32_t c = NextCodePoint(name, at);
    if (c == ';' || c == '\t') {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\'%02x", static_cast<unsigned>(c));
      out += escape;
    } else if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else if (c >= 0x80) {
      AppendUnicodeWord(out, c);
    }
  }
}

template <typename T>
int IndexOf(const std::vector<T>& values, const T& value) {
  return static_cast<int>(std::find(values.begin(), values.end(), value) - values.begin());
}

struct Tables {
  std::vector<std::string> faces;
  std::vector<RgbColor> colors;
};

Tables CollectTables(const RichText& text) {
  Tables tables;
  for (const RichParagraph& paragraph : text.paragraphs) {
    for (const TextRun& run : paragraph.runs) {
      const CharFormat& format = run.format;
      if (!format.fontFace.empty() &&
          IndexOf(tables.faces, format.fontFace) == static_cast<int>(tables.faces.size()))
        tables.faces.push_back(format.fontFace);
      if (format.color && IndexOf(tables.colors, *format.color) == static_cast<int>(tables.colors.size()))
        tables.colors.push_back(*format.color);
    }
  }
  return tables;
}

void AppendFormatWords(std::string& out, const CharFormat& format, const Tables& tables) {
  if (!format.fontFace.empty()) out += "\\f" + std::to_string(IndexOf(tables.faces, format.fontFace) + 1);
  out += "\\fs" + std::to_string(std::clamp(format.halfPoints, 1, kMaxHalfPoints));
  if (format.bold) out += "\\b";
  if (format.italic) out += "\\i";
  if (format.underline) out += "\\ul";
  if (format.strikeOut) out += "\\strike";
  if (format.color) out += "\\cf" + std::to_string(IndexOf(tables.colors, *format.color) + 1);
  out += ' ';
}

}  // namespace

std::string WriteRtf(const RichText& text) {
  const Tables tables = CollectTables(text);
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1";
  if (!tables.faces.empty()) {
    out += "{\\fonttbl";
    for (size_t i = 0; i < tables.faces.size(); ++i) {
      out += "{\\f" + std::to_string(i + 1) + "\\fnil\\fcharset0 ";
      AppendFontName(out, tables.faces[i]);
      out += ";}";
    }
    out += '}';
  }
  if (!tables.colors.empty()) {
    out += "{\\colortbl;";
    for (const RgbColor& color : tables.colors) {
      char entry[48];
      std::snprintf(entry, sizeof entry, "\\red%d\\green%d\\blue%d;", color.red, color.green, color.blue);
      out += entry;
    }
    out += '}';
  }
  out += "\r\n\\pard\\plain\r\n";
  for (const RichParagraph& paragraph : text.paragraphs) {
    for (const TextRun& run : paragraph.runs) {
      out += '{';
      AppendFormatWords(out, run.format, tables);
      AppendEscapedText(out, run.text);
      out += '}';
    }
    out += "\\par\r\n";
  }
  out += '}';
  return out;
}

}  // namespace qv70
