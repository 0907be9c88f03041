#include "core/files/data_file_layout.h"

#include "core/files/data_file.h"

namespace qv70 {

std::string WithSeparator(std::string_view text, char separator) {
  std::string result(text);
  for (char& c : result)
    if (c == ',') c = separator;
  return result;
}

std::string IdentificationLine(std::string_view idn, char separator) {
  std::string line(idn);
  for (char& c : line)
    if (c == ',' || c == ';') c = separator;
  return line;
}

bool IdentificationLineAccepted(std::string_view line, char separator) {
  std::string parts[3];
  SplitFields(line, separator, parts, 3, false);
  return (parts[0] + parts[1] + parts[2]).find(kIdentificationMark) != std::string::npos;
}

std::string_view LineReader::Next() {
  const size_t size = text_.size();
  if (position_ >= size) return {};
  const size_t start = position_;
  size_t end = start;
  while (end < size && end - start < kMaxLineLength && text_[end] != '\n') ++end;

  size_t length = end - start;
  if (end < size && text_[end] == '\n') {
    position_ = end + 1;
    if (length > 0 && text_[end - 1] == '\r') --length;
  } else if (end < size && text_[end] == '\r' && end + 1 < size && text_[end + 1] == '\n') {
    // A line of exactly the longest length: its CR LF still belongs to it.
    position_ = end + 2;
  } else {
    position_ = end;
  }

  std::string_view line = text_.substr(start, length);
  size_t nul = line.find('\0');
  if (nul != std::string_view::npos) line = line.substr(0, nul);
  return line;
}

void SplitFields(std::string_view line, char separator, std::string* fields, int count,
                 bool commaToPeriod, bool dropBlanks) {
  int index = 0;
  for (char c : line) {
    if (c == separator) {
      if (commaToPeriod) {
        for (char& d : fields[index])
          if (d == ',') d = '.';
      }
      if (++index >= count) return;
      continue;
    }
    if (dropBlanks && (c == ' ' || c == '\t')) continue;
    fields[index] += c;
  }
}

}  // namespace qv70
