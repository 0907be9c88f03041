#include "core/report/report_comment.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/platform/ui_services.h"
#include "core/report/messages.h"
#include "core/report/report_settings.h"
#include "core/rtf/text_codec.h"

namespace qv70 {

namespace {

constexpr size_t kLineChunk = 999;  // characters per line read; a longer line reads as several
constexpr int kLinesKept = 5;
constexpr int kJoinedLine = 4;  // the line whose line end is dropped
// Enough bytes for five lines of 999 four-byte characters with CR LF, and a byte-order mark.
constexpr size_t kFileStartBytes = kLinesKept * (kLineChunk * 4 + 2) + 3;

struct FileStart {
  enum class State { Read, Missing, Unreadable } state = State::Missing;
  std::string bytes;
  bool cut = false;  // the file holds more than `bytes`
};

// The first `limit` bytes of a regular file. Anything else is refused before it
// is opened (a FIFO would make the open wait, a device would be read).
FileStart ReadFileStart(const std::string& path, size_t limit) {
  FileStart file;
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT && errno != ENOTDIR) file.state = FileStart::State::Unreadable;
    return file;
  }
  file.state = FileStart::State::Unreadable;
  if (!S_ISREG(info.st_mode)) return file;
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return file;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return file;
  }
  std::string bytes(limit + 1, '\0');
  size_t used = 0;
  while (used < bytes.size()) {
    const ssize_t got = read(fd, &bytes[used], bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      close(fd);
      return file;
    }
    if (got == 0) break;
    used += static_cast<size_t>(got);
  }
  close(fd);
  file.cut = used > limit;
  bytes.resize(std::min(used, limit));
  file.bytes = std::move(bytes);
  file.state = FileStart::State::Read;
  return file;
}

// "\r\n" and a lone "\r" as "\n"; control characters but tab and "\n" dropped.
std::string WithPlainLineEnds(std::string_view text) {
  std::string out;
  for (size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '\r') {
      out += '\n';
      if (at + 1 < text.size() && text[at + 1] == '\n') ++at;
    } else if ((static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) || c == '\t' || c == '\n') {
      out += c;
    }
  }
  return out;
}

// The next line of `text` from `at`: up to and with its "\n", at most kLineChunk characters.
std::string NextLine(std::string_view text, size_t& at) {
  const size_t start = at;
  for (size_t taken = 0; taken < kLineChunk && at < text.size(); ++taken) {
    if (text[at] == '\n') {
      ++at;
      break;
    }
    NextCodePoint(text, at);
  }
  return std::string(text.substr(start, at - start));
}

}  // namespace

std::optional<std::string> CommentCutToLimit(std::string_view plain) {
  if (CharacterCount(plain) <= report_limit::kComment) return std::nullopt;
  return LimitText(plain, report_limit::kComment);
}

std::string CommentFromTextFile(std::string_view bytes, bool cutTail) {
  const std::string text = WithPlainLineEnds(TextFileToUtf8(bytes, cutTail));
  std::string comment;
  size_t at = 0;
  for (int line = 1; line <= kLinesKept && at < text.size(); ++line) {
    std::string next = NextLine(text, at);
    if (line == kJoinedLine) {
      while (!next.empty() && next.back() == '\n') next.pop_back();
    }
    comment += next;
  }
  return LimitText(comment, report_limit::kComment);
}

ResultOf<std::string> ReadCommentTextFile(const std::string& path) {
  const FileStart file = ReadFileStart(path, kFileStartBytes);
  switch (file.state) {
    case FileStart::State::Missing:
      return ResultOf<std::string>::Failure(report_message::CannotOpenFile(path));
    case FileStart::State::Unreadable: return ResultOf<std::string>::Failure("");
    case FileStart::State::Read: break;
  }
  return ResultOf<std::string>::Success(CommentFromTextFile(file.bytes, file.cut));
}

bool ReadCommentFileCommand(UiServices& ui, std::string& comment) {
  FileDialogRequest request;
  request.filterDescription = "Text File (*.txt)";
  request.filterPattern = "*.txt";
  std::string path;
  if (!ui.AskOpenFileName(request, path)) return false;
  ResultOf<std::string> read = ReadCommentTextFile(path);
  if (!read) {
    ui.Tell({read.message, report_message::kOpenFileCaption, MessageIcon::Warning});
    return false;
  }
  comment = std::move(read.value);
  return true;
}

}  // namespace qv70
