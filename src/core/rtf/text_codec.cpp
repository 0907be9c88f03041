#include "core/rtf/text_codec.h"

#include <iconv.h>

#include <cerrno>

namespace qv70 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed sequence at `at`; 0 when malformed, and -1 when
// it is well-formed so far but cut by the end of `bytes`.
int SequenceLength(std::string_view bytes, size_t at) {
  const unsigned char lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return 1;
  int length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  for (int i = 1; i < length; ++i) {
    if (at + static_cast<size_t>(i) >= bytes.size()) return -1;
    const unsigned char byte = static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    if (i == 1 ? (byte < low || byte > high) : !IsContinuation(byte)) return 0;
  }
  return length;
}

bool IsAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::string IconvName(int codePage) {
  switch (codePage) {
    case 936:
    case 54936: return "GB18030";
    case 65001: return "UTF-8";
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    default: break;
  }
  if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

// Every non-ASCII byte as U+FFFD: what is left when no converter exists.
std::string AsciiOnly(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out.push_back(c);
    } else {
      AppendUtf8(out, kReplacement);
    }
  }
  return out;
}

std::string ConvertWithIconv(std::string_view bytes, int codePage, bool cutTail) {
  iconv_t converter = iconv_open("UTF-8", IconvName(codePage).c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return AsciiOnly(bytes);
  std::string input(bytes);
  char* in = input.data();
  size_t inLeft = input.size();
  std::string out;
  char buffer[1024];
  while (inLeft > 0) {
    char* to = buffer;
    size_t toLeft = sizeof buffer;
    const size_t done = iconv(converter, &in, &inLeft, &to, &toLeft);
    out.append(buffer, static_cast<size_t>(to - buffer));
    if (done != static_cast<size_t>(-1) || errno == E2BIG) continue;
    if (errno == EINVAL) {  // a character cut by the end
      if (!cutTail) AppendUtf8(out, kReplacement);
      break;
    }
    // A sequence the code page does not define: one replacement, then go on
    // from the next byte with the converter's state reset.
    AppendUtf8(out, kReplacement);
    ++in;
    --inLeft;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(converter);
  return out;
}

// The converter's name for writing: 936 is strictly GBK here.
std::string EncoderName(int codePage) {
  if (codePage == 936) return "CP936";
  return IconvName(codePage);
}

// One character's bytes in the converter's code page; false when it has none.
bool EncodeCharacter(iconv_t converter, std::string_view utf8, std::string& out) {
  std::string input(utf8);
  char* in = input.data();
  size_t inLeft = input.size();
  char buffer[16];
  char* to = buffer;
  size_t toLeft = sizeof buffer;
  const bool done = iconv(converter, &in, &inLeft, &to, &toLeft) != static_cast<size_t>(-1) && inLeft == 0;
  // Flush a stateful encoding's shift back to its initial state.
  const bool flushed = done && iconv(converter, nullptr, nullptr, &to, &toLeft) != static_cast<size_t>(-1);
  if (!flushed) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    return false;
  }
  out.append(buffer, static_cast<size_t>(to - buffer));
  return true;
}

}  // namespace

bool IsUtf8(std::string_view bytes, bool allowCutTail) {
  for (size_t at = 0; at < bytes.size();) {
    const int length = SequenceLength(bytes, at);
    if (length == -1) return allowCutTail;
    if (length == 0) return false;
    at += static_cast<size_t>(length);
  }
  return true;
}

size_t CharacterCount(std::string_view utf8) {
  size_t count = 0;
  for (size_t at = 0; at < utf8.size(); ++count) NextCodePoint(utf8, at);
  return count;
}

std::string FirstCharacters(std::string_view utf8, size_t count) {
  size_t at = 0;
  for (size_t taken = 0; taken < count && at < utf8.size(); ++taken) NextCodePoint(utf8, at);
  return std::string(utf8.substr(0, at));
}

void AppendUtf8(std::string& out, char32_t codePoint) {
  if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) codePoint = kReplacement;
  if (codePoint < 0x80) {
    out.push_back(static_cast<char>(codePoint));
  } else if (codePoint < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
  }
}

char32_t NextCodePoint(std::string_view utf8, size_t& at) {
  const int length = SequenceLength(utf8, at);
  if (length <= 0) {
    ++at;
    return kReplacement;
  }
  const unsigned char lead = static_cast<unsigned char>(utf8[at]);
  char32_t value = length == 1 ? lead : lead & (0x7F >> length);
  for (int i = 1; i < length; ++i) value = (value << 6) | (static_cast<unsigned char>(utf8[at + i]) & 0x3F);
  at += static_cast<size_t>(length);
  return value;
}

std::string CodePageToUtf8(std::string_view bytes, int codePage) {
  if (IsAscii(bytes)) return std::string(bytes);
  return ConvertWithIconv(bytes, codePage, false);
}

std::string Utf8ToCodePage(std::string_view utf8, int codePage) {
  if (IsAscii(utf8)) return std::string(utf8);
  iconv_t converter = iconv_open(EncoderName(codePage).c_str(), "UTF-8");
  const bool canConvert = converter != reinterpret_cast<iconv_t>(-1);
  std::string out;
  for (size_t at = 0; at < utf8.size();) {
    const size_t start = at;
    const char32_t c = NextCodePoint(utf8, at);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    const bool wellFormed = SequenceLength(utf8, start) > 0;
    if (!wellFormed || !canConvert || !EncodeCharacter(converter, utf8.substr(start, at - start), out))
      out.push_back('?');
  }
  if (canConvert) iconv_close(converter);
  return out;
}

std::string TextFileToUtf8(std::string_view bytes, bool cutTail) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (IsUtf8(bytes, cutTail)) {
    std::string text(bytes);
    // Drop a sequence the cut left incomplete.
    size_t end = text.size();
    while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end - 1]))) --end;
    if (end > 0 && SequenceLength(text, end - 1) == -1) text.resize(end - 1);
    return text;
  }
  if (IsAscii(bytes)) return std::string(bytes);
  return ConvertWithIconv(bytes, 54936, cutTail);
}

}  // namespace qv70
