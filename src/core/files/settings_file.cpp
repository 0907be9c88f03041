#include "core/files/settings_file.h"

#include <new>
#include <vector>

#include "core/data/values.h"
#include "core/files/atomic_file.h"
#include "core/platform/bounded_file.h"
#include "core/platform/environment.h"

namespace qv70 {

namespace {

struct Line {
  std::string text;    // without its line end
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

struct Lines {
  FileState state = FileState::Missing;
  std::string problem;  // why the file is damaged
  std::vector<Line> lines;
};

std::vector<Line> SplitLines(const std::string& all) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\n', start);
    Line line;
    if (end == std::string::npos) {
      line.text = all.substr(start);
      start = all.size();
    } else {
      line.text = all.substr(start, end - start);
      line.ending = "\n";
      start = end + 1;
    }
    if (!line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.ending = "\r" + line.ending;
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

// The file's lines, or why it is damaged: not a regular file, larger than
// kMaxSideFileSize, unreadable, or holding a NUL byte (no text file does). A
// damaged file reads as empty and is never rewritten, so the settings it may
// still hold are not lost to a fresh file.
Lines ReadLines(const std::string& path) {
  BoundedFile file = ReadBoundedFile(path, kMaxSideFileSize);
  if (file.state == FileState::Read && file.content.find('\0') != std::string::npos)
    return {FileState::Damaged, "holds a NUL byte, so it is no text file", {}};
  if (file.state != FileState::Read) return {file.state, std::move(file.problem), {}};
  try {
    return {FileState::Read, {}, SplitLines(file.content)};
  } catch (const std::bad_alloc&) {
    return {FileState::Damaged, "cannot be read: out of memory", {}};
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trim(const std::string& text) {
  size_t first = 0;
  while (first < text.size() && IsBlank(text[first])) ++first;
  size_t last = text.size();
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Names compare in ASCII, whatever the desktop's locale.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

bool IsComment(const std::string& trimmed) { return !trimmed.empty() && (trimmed[0] == ';' || trimmed[0] == '#'); }

// The section name of a "[name]" line, or false for any other line.
bool SectionName(const std::string& text, std::string& name) {
  std::string trimmed = Trim(text);
  if (trimmed.empty() || trimmed[0] != '[') return false;
  size_t close = trimmed.find(']');
  name = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

// The key and value of a "key=value" line, or false for any other line.
bool KeyValue(const std::string& text, std::string& key, std::string& value) {
  std::string trimmed = Trim(text);
  if (trimmed.empty() || IsComment(trimmed)) return false;
  size_t equals = trimmed.find('=');
  if (equals == std::string::npos) return false;
  key = Trim(trimmed.substr(0, equals));
  value = Trim(trimmed.substr(equals + 1));
  // A value enclosed in matching quotes is read without them.
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return true;
}

struct Position {
  int sectionLine = -1;     // the "[section]" line
  int lastLineOfSection = -1;  // the last key or other non-blank line of that section
  int keyLine = -1;
  std::string value;
};

Position Find(const std::vector<Line>& lines, const std::string& section, const std::string& key) {
  Position position;
  bool inSection = false;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    std::string name;
    if (SectionName(lines[i].text, name)) {
      if (position.sectionLine >= 0) break;  // only the first section of that name counts
      inSection = SameName(name, Trim(section));
      if (inSection) position.sectionLine = position.lastLineOfSection = i;
      continue;
    }
    if (!inSection) continue;
    if (!Trim(lines[i].text).empty()) position.lastLineOfSection = i;
    std::string lineKey, value;
    if (position.keyLine < 0 && KeyValue(lines[i].text, lineKey, value) && SameName(lineKey, Trim(key))) {
      position.keyLine = i;
      position.value = value;
    }
  }
  return position;
}

// A last line without a line feed (nothing, or a lone CR) gets CR LF, so that
// nothing written after it joins it.
void EndLine(Line& line) {
  if (line.ending.empty() || line.ending.back() != '\n') line.ending = "\r\n";
}

bool HasLineEnd(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

std::string JoinLines(const std::vector<Line>& lines) {
  std::string all;
  for (const Line& line : lines) all += line.text + line.ending;
  return all;
}

}  // namespace

SettingsFile SettingsFile::InDirectory(const std::string& directory) {
  return SettingsFile(JoinPath(directory, "Config.ini"));
}

bool SettingsFile::Exists() const { return FileExists(path_); }

std::string SettingsFile::Read(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const {
  const Lines file = ReadLines(path_);
  Position position = Find(file.lines, section, key);
  std::string value = position.keyLine >= 0 ? position.value : defaultValue;
  if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
  return value;
}

int SettingsFile::ReadInt(const std::string& section, const std::string& key, int defaultValue) const {
  std::string text = Read(section, key, std::to_string(defaultValue));
  return TextToInt(text);
}

Result SettingsFile::Write(const std::string& section, const std::string& key, const std::string& value) {
  const std::string sectionName = Trim(section);
  const std::string keyName = Trim(key);
  if (sectionName.empty() || keyName.empty() || HasLineEnd(section) || HasLineEnd(key) ||
      HasLineEnd(value) || sectionName.find(']') != std::string::npos ||
      keyName.find('=') != std::string::npos || keyName[0] == '[' || IsComment(keyName))
    return Result::Failure("a name or the value would break the line layout");

  Lines file = ReadLines(path_);
  if (file.state == FileState::Damaged) return Result::Failure(path_ + " " + file.problem);
  std::vector<Line>& lines = file.lines;

  const Line entry{keyName + "=" + value, "\r\n"};
  Position position = Find(lines, sectionName, keyName);
  if (position.keyLine >= 0) {
    lines[static_cast<size_t>(position.keyLine)].text = entry.text;
    EndLine(lines[static_cast<size_t>(position.keyLine)]);
  } else {
    if (!lines.empty()) EndLine(lines.back());
    if (position.sectionLine >= 0) {
      lines.insert(lines.begin() + position.lastLineOfSection + 1, entry);
    } else {
      lines.push_back(Line{"[" + sectionName + "]", "\r\n"});
      lines.push_back(entry);
    }
  }
  return WriteFileAtomically(path_, JoinLines(lines), durability_);
}

}  // namespace qv70
