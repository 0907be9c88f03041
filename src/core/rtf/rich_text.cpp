#include "core/rtf/rich_text.h"

#include "core/rtf/text_codec.h"

namespace qv70 {

void AppendRun(RichParagraph& paragraph, std::string_view text, const CharFormat& format) {
  if (text.empty()) return;
  if (!paragraph.runs.empty() && paragraph.runs.back().format == format) {
    paragraph.runs.back().text += text;
  } else {
    paragraph.runs.push_back(TextRun{std::string(text), format});
  }
}

std::string PlainText(const RichText& text) {
  std::string plain;
  for (size_t p = 0; p < text.paragraphs.size(); ++p) {
    if (p > 0) plain += '\n';
    for (const TextRun& run : text.paragraphs[p].runs) {
      std::string_view rest = run.text;
      for (size_t at; (at = rest.find(kLineBreak)) != std::string_view::npos;) {
        plain.append(rest.substr(0, at));
        plain += '\n';
        rest.remove_prefix(at + kLineBreak.size());
      }
      plain.append(rest);
    }
  }
  return plain;
}

RichText RichTextFromPlain(std::string_view utf8, const CharFormat& format) {
  RichText text;
  RichParagraph paragraph;
  std::string line;
  bool open = false;  // a paragraph has begun and not ended
  for (size_t at = 0; at < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, at);
    if (c == '\r' || c == '\n') {
      if (c == '\r' && at < utf8.size() && utf8[at] == '\n') ++at;
      AppendRun(paragraph, line, format);
      text.paragraphs.push_back(std::move(paragraph));
      paragraph = {};
      line.clear();
      open = false;
      continue;
    }
    open = true;
    if (c < 0x20 && c != '\t') continue;
    if (c == 0x7F) continue;
    AppendUtf8(line, c);
  }
  if (open) {
    AppendRun(paragraph, line, format);
    text.paragraphs.push_back(std::move(paragraph));
  }
  return text;
}

}  // namespace qv70
