#include "core/rtf/rtf_reader.h"

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/rtf/text_codec.h"

namespace qv70 {

namespace {

enum class Destination { Text, FontTable, ColorTable, Skip };

// What a group inherits from its parent and gets back when it closes.
struct GroupState {
  Destination destination = Destination::Text;
  int font = -1;  // -1: the document's default font (\deff)
  int halfPoints = kDefaultHalfPoints;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int color = 0;
  int unicodeSkip = 1;  // \uc: fallback characters after each \u
};

struct FontEntry {
  std::string name;
  int codePage = 0;  // 0: the document's code page
};

// Destinations that hold nothing the comment shows, skipped with their groups
// even without \*.
// clang-format off
constexpr std::string_view kSkippedDestinations[] = {
    "aftncn", "aftnsep", "aftnsepc", "annotation", "atnauthor", "atnid", "bkmkend", "bkmkstart",
    "blipuid", "colorschememapping", "datastore", "do", "fchars", "fldinst", "filetbl", "footer",
    "footerf", "footerl", "footerr", "footnote", "ftncn", "ftnsep", "ftnsepc", "generator", "header",
    "headerf", "headerl", "headerr", "info", "latentstyles", "lchars", "listoverridetable", "listtable",
    "listtext", "mmathPr", "nonshppict", "object", "objdata", "pgdsctbl", "pict", "pn", "pnseclvl",
    "pntext", "pntxta", "pntxtb", "private", "revtbl", "rsidtbl", "shpinst", "sn", "sp", "stylesheet",
    "sv", "tc", "template", "themedata", "txe", "userprops", "xe", "xmlnstbl",
};
// clang-format on

// Underline in any of its kinds; \ulc (its colour) and \ulnone are not among them.
constexpr std::string_view kUnderlineWords[] = {
    "ul",    "uld",      "uldash",    "uldashd",    "uldashdd",  "uldb",       "ulhwave", "ulldash", "ulth",
    "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave",
};

template <size_t N>
bool IsOneOf(std::string_view word, const std::string_view (&words)[N]) {
  return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

// The Windows code page of an RTF \fcharset; 0 for the document's own.
int CodePageOfCharset(int charset) {
  switch (charset) {
    case 0: return 1252;
    case 2: return 1252;  // symbol fonts: their bytes are taken as they come
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return 0;
  }
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Text as the model holds it: no control characters but tab.
void AppendClean(std::string& out, std::string_view utf8) {
  for (size_t at = 0; at < utf8.size();) {
    const char32_t c = NextCodePoint(utf8, at);
    if ((c < 0x20 && c != '\t') || c == 0x7F) continue;
    AppendUtf8(out, c);
  }
}

std::string TrimBlanks(std::string text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

class RtfParser {
 public:
  explicit RtfParser(std::string_view input) : in_(input) {}

  RichText Parse() {
    while (!stopped_ && at_ < in_.size()) {
      const char c = in_[at_++];
      switch (c) {
        case '{': OpenGroup(); break;
        case '}': CloseGroup(); break;
        case '\\': ReadControl(); break;
        case '\r':
        case '\n': break;  // line ends in RTF text are layout only
        default:
          if (!SkipsFallback()) TextByte(c);
          break;
      }
    }
    Flush();
    EndPendingSurrogate();
    if (!paragraph_.runs.empty()) text_.paragraphs.push_back(std::move(paragraph_));
    return std::move(text_);
  }

 private:
  // A character of the fallback of the last \u: dropped.
  bool SkipsFallback() {
    if (fallbackLeft_ == 0) return false;
    --fallbackLeft_;
    return true;
  }

  void OpenGroup() {
    fallbackLeft_ = 0;
    Flush();
    if (stack_.size() >= static_cast<size_t>(kMaxRtfGroupDepth)) {
      stopped_ = true;
      return;
    }
    stack_.push_back(state_);
  }

  void CloseGroup() {
    fallbackLeft_ = 0;
    Flush();
    if (state_.destination == Destination::FontTable) FinishFontEntry();
    if (stack_.empty()) {  // a brace that closes nothing
      stopped_ = true;
      return;
    }
    state_ = stack_.back();
    stack_.pop_back();
    if (stack_.empty()) stopped_ = true;  // the document's own group closed
  }

  void ReadControl() {
    if (at_ >= in_.size()) return;
    if (!IsLetter(in_[at_])) {
      ReadControlSymbol(in_[at_++]);
      return;
    }
    const size_t wordStart = at_;
    while (at_ < in_.size() && IsLetter(in_[at_])) ++at_;
    const std::string_view word = in_.substr(wordStart, at_ - wordStart);
    bool negative = false;
    if (at_ + 1 < in_.size() && in_[at_] == '-' && IsDigit(in_[at_ + 1])) {
      negative = true;
      ++at_;
    }
    std::optional<int> parameter;
    long long value = 0;
    while (at_ < in_.size() && IsDigit(in_[at_])) {
      value = std::min<long long>(value * 10 + (in_[at_++] - '0'), INT_MAX);
      parameter = static_cast<int>(negative ? -value : value);
    }
    if (at_ < in_.size() && in_[at_] == ' ') ++at_;  // the delimiter belongs to the word
    // Binary data is skipped wherever it is, in a fallback or not.
    if (word == "bin") {
      SkipBinary(parameter.value_or(0));
      return;
    }
    if (SkipsFallback()) return;
    Flush();
    ControlWord(word, parameter);
  }

  void SkipBinary(int count) {
    fallbackLeft_ = 0;
    if (count <= 0) return;
    if (static_cast<size_t>(count) > in_.size() - at_) {
      at_ = in_.size();
      stopped_ = true;
      return;
    }
    at_ += static_cast<size_t>(count);
  }

  void ReadControlSymbol(char symbol) {
    if (symbol == '\'') {
      int value = 0;
      for (int i = 0; i < 2; ++i) {
        const int digit = at_ < in_.size() ? HexValue(in_[at_]) : -1;
        if (digit < 0) return;  // not an escape after all: dropped
        value = value * 16 + digit;
        ++at_;
      }
      if (!SkipsFallback()) PendingByte(static_cast<char>(value));
      return;
    }
    if (SkipsFallback()) return;
    if (symbol == '\\' || symbol == '{' || symbol == '}') {
      PendingByte(symbol);
      return;
    }
    Flush();
    switch (symbol) {
      case '~': AppendCodePoint(0x00A0); break;
      case '_': AppendCodePoint(0x2011); break;
      case '*': state_.destination = Destination::Skip; break;
      case '\r':
      case '\n': EndParagraph(); break;
      default: break;  // \- optional hyphen, \| \: and the like
    }
  }

  void ControlWord(std::string_view word, std::optional<int> parameter) {
    if (state_.destination == Destination::Skip) return;
    if (state_.destination == Destination::FontTable) return FontTableWord(word, parameter);
    if (state_.destination == Destination::ColorTable) return ColorTableWord(word, parameter);

    const bool on = parameter.value_or(1) != 0;
    const int value = parameter.value_or(0);
    if (word == "fonttbl") {
      state_.destination = Destination::FontTable;
    } else if (word == "colortbl") {
      state_.destination = Destination::ColorTable;
    } else if (IsOneOf(word, kSkippedDestinations)) {
      state_.destination = Destination::Skip;
    } else if (word == "par" || word == "sect" || word == "page" || word == "row") {
      EndParagraph();
    } else if (word == "line") {
      AppendText(kLineBreak);
    } else if (word == "tab" || word == "cell") {
      AppendText("\t");
    } else if (word == "plain") {
      const GroupState plain;
      state_.font = plain.font;
      state_.halfPoints = plain.halfPoints;
      state_.bold = state_.italic = state_.underline = state_.strikeOut = false;
      state_.color = plain.color;
    } else if (word == "b") {
      state_.bold = on;
    } else if (word == "i") {
      state_.italic = on;
    } else if (IsOneOf(word, kUnderlineWords)) {
      state_.underline = on;
    } else if (word == "ulnone") {
      state_.underline = false;
    } else if (word == "strike" || word == "striked") {
      state_.strikeOut = on;
    } else if (word == "fs") {
      if (value > 0) state_.halfPoints = std::min(value, kMaxHalfPoints);
    } else if (word == "f") {
      if (parameter) state_.font = value;
    } else if (word == "cf") {
      state_.color = value;
    } else if (word == "uc") {
      state_.unicodeSkip = std::max(value, 0);
    } else if (word == "u") {
      UnicodeCharacter(value);
    } else if (word == "deff") {
      defaultFont_ = value;
    } else if (word == "ansicpg") {
      documentCodePage_ = value;
    } else if (word == "mac") {
      documentCodePage_ = 10000;
    } else if (word == "pc") {
      documentCodePage_ = 437;
    } else if (word == "pca") {
      documentCodePage_ = 850;
    } else if (auto named = NamedCharacter(word)) {
      AppendCodePoint(*named);
    }
  }

  static std::optional<char32_t> NamedCharacter(std::string_view word) {
    static const std::map<std::string_view, char32_t> kNamed = {
        {"emdash", 0x2014},    {"endash", 0x2013},    {"lquote", 0x2018}, {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022}, {"emspace", 0x2003},
        {"enspace", 0x2002},   {"qmspace", 0x2005},
    };
    const auto found = kNamed.find(word);
    if (found == kNamed.end()) return std::nullopt;
    return found->second;
  }

  void FontTableWord(std::string_view word, std::optional<int> parameter) {
    if (word == "f" && parameter) {
      FinishFontEntry();
      fontNumber_ = *parameter;
      fontCodePage_ = 0;
    } else if (word == "fcharset" && parameter) {
      fontCodePage_ = CodePageOfCharset(*parameter);
    } else if (word == "cpg" && parameter) {
      fontCodePage_ = *parameter;
    } else if (word == "u" && parameter) {
      UnicodeCharacter(*parameter);
    } else if (IsOneOf(word, kSkippedDestinations)) {
      state_.destination = Destination::Skip;
    }
  }

  void ColorTableWord(std::string_view word, std::optional<int> parameter) {
    const auto component = static_cast<std::uint8_t>(std::clamp(parameter.value_or(0), 0, 255));
    if (word == "red") {
      colorEntry_.red = component;
    } else if (word == "green") {
      colorEntry_.green = component;
    } else if (word == "blue") {
      colorEntry_.blue = component;
    } else {
      return;
    }
    colorEntryGiven_ = true;
  }

  void UnicodeCharacter(int value) {
    // \u takes a signed 16-bit value; some writers give the code point unsigned.
    if (value < 0) value += 65536;
    AppendCodePoint(value < 0 ? 0xFFFD : static_cast<char32_t>(value));
    fallbackLeft_ = state_.unicodeSkip;
  }

  void TextByte(char c) {
    if (c == ';' && state_.destination == Destination::FontTable) {
      FinishFontEntry();
    } else if (c == ';' && state_.destination == Destination::ColorTable) {
      colors_.push_back(colorEntryGiven_ ? std::optional<RgbColor>(colorEntry_) : std::nullopt);
      colorEntry_ = {};
      colorEntryGiven_ = false;
    } else {
      PendingByte(c);
    }
  }

  // Code-page bytes wait until a control word, a group or the end, so that a
  // double-byte character given as two \'hh is decoded whole.
  void PendingByte(char c) {
    if (state_.destination == Destination::Text || state_.destination == Destination::FontTable)
      pending_.push_back(c);
  }

  void Flush() {
    if (pending_.empty()) return;
    const int codePage = state_.destination == Destination::FontTable ? FontCodePage() : TextCodePage();
    const std::string utf8 = CodePageToUtf8(pending_, codePage);
    pending_.clear();
    AppendText(utf8);
  }

  int FontCodePage() const { return fontCodePage_ != 0 ? fontCodePage_ : documentCodePage_; }

  int TextCodePage() const {
    const FontEntry* font = CurrentFont();
    return font && font->codePage != 0 ? font->codePage : documentCodePage_;
  }

  const FontEntry* CurrentFont() const {
    const auto found = fonts_.find(state_.font >= 0 ? state_.font : defaultFont_);
    return found == fonts_.end() ? nullptr : &found->second;
  }

  CharFormat CurrentFormat() const {
    CharFormat format;
    if (const FontEntry* font = CurrentFont()) format.fontFace = font->name;
    format.halfPoints = state_.halfPoints;
    format.bold = state_.bold;
    format.italic = state_.italic;
    format.underline = state_.underline;
    format.strikeOut = state_.strikeOut;
    if (state_.color >= 0 && static_cast<size_t>(state_.color) < colors_.size())
      format.color = colors_[static_cast<size_t>(state_.color)];
    return format;
  }

  void AppendCodePoint(char32_t c) {
    // A character beyond the 16-bit range comes as two \u, high surrogate first.
    if (c >= 0xD800 && c <= 0xDBFF) {
      EndPendingSurrogate();
      highSurrogate_ = c;
      return;
    }
    if (c >= 0xDC00 && c <= 0xDFFF && highSurrogate_) {
      c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00);
      highSurrogate_ = 0;
    }
    std::string utf8;
    AppendUtf8(utf8, c);
    AppendText(utf8);
  }

  void EndPendingSurrogate() {
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    AppendText("\xEF\xBF\xBD");
  }

  void AppendText(std::string_view utf8) {
    if (highSurrogate_ != 0) EndPendingSurrogate();
    if (state_.destination == Destination::FontTable) {
      if (fontNumber_ >= 0) AppendClean(fontName_, utf8);
    } else if (state_.destination == Destination::Text) {
      std::string clean;
      AppendClean(clean, utf8);
      AppendRun(paragraph_, clean, CurrentFormat());
    }
  }

  void EndParagraph() {
    if (state_.destination != Destination::Text) return;
    EndPendingSurrogate();
    text_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = {};
  }

  void FinishFontEntry() {
    Flush();
    if (fontNumber_ >= 0) fonts_[fontNumber_] = FontEntry{TrimBlanks(std::move(fontName_)), fontCodePage_};
    fontNumber_ = -1;
    fontName_.clear();
  }

  std::string_view in_;
  size_t at_ = 0;
  bool stopped_ = false;
  std::vector<GroupState> stack_;
  GroupState state_;
  int fallbackLeft_ = 0;
  std::string pending_;
  char32_t highSurrogate_ = 0;

  int documentCodePage_ = 1252;
  int defaultFont_ = 0;
  std::map<int, FontEntry> fonts_;
  int fontNumber_ = -1;  // the font table entry being read
  std::string fontName_;
  int fontCodePage_ = 0;
  std::vector<std::optional<RgbColor>> colors_;
  RgbColor colorEntry_;
  bool colorEntryGiven_ = false;

  RichText text_;
  RichParagraph paragraph_;
};

}  // namespace

bool LooksLikeRtf(std::string_view bytes) {
  const size_t first = bytes.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return false;
  bytes.remove_prefix(first);
  return bytes.substr(0, 5) == "{\\rtf" || bytes.substr(0, 6) == "{\\urtf";
}

RichText ReadRtf(std::string_view rtf) {
  if (!LooksLikeRtf(rtf)) return RichTextFromPlain(TextFileToUtf8(rtf));
  return RtfParser(rtf.substr(rtf.find('{'))).Parse();
}

}  // namespace qv70
