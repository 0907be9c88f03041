#include "core/files/comment_file.h"

#include <cstdint>

#include "core/platform/bounded_file.h"

namespace qv70 {

namespace {

void AppendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  }
  return value;
}

}  // namespace

std::string EncodeCommentFile(const std::string& text) {
  std::string out;
  const std::size_t length = text.size();
  if (length < 0xFF) {
    out.push_back(static_cast<char>(length));
  } else if (length < 0xFFFE) {
    out.push_back(static_cast<char>(0xFF));
    AppendLittleEndian(out, static_cast<std::uint32_t>(length), 2);
  } else {
    out.push_back(static_cast<char>(0xFF));
    AppendLittleEndian(out, 0xFFFF, 2);
    AppendLittleEndian(out, static_cast<std::uint32_t>(length), 4);
  }
  out += text;
  return out;
}

ResultOf<std::string> DecodeCommentFile(const std::string& bytes) {
  using Decoded = ResultOf<std::string>;
  if (bytes.empty()) return Decoded::Failure("no length prefix");
  std::size_t at = 1;
  std::uint64_t length = static_cast<unsigned char>(bytes[0]);
  if (length == 0xFF) {
    if (bytes.size() < at + 2) return Decoded::Failure("length prefix cut short");
    length = LittleEndian(bytes, at, 2);
    at += 2;
    // 0xFFFE marks a wide-character string, which this file never holds.
    if (length == 0xFFFE) return Decoded::Failure("wide-character string");
    if (length == 0xFFFF) {
      if (bytes.size() < at + 4) return Decoded::Failure("length prefix cut short");
      length = LittleEndian(bytes, at, 4);
      at += 4;
    }
  }
  if (length > bytes.size() - at) return Decoded::Failure("fewer characters than the prefix announces");
  return Decoded::Success(bytes.substr(at, static_cast<std::size_t>(length)));
}

ResultOf<std::string> ReadCommentFile(const std::string& path) {
  const BoundedFile file = ReadBoundedFile(path, kMaxSideFileSize);
  if (file.state == FileState::Missing) return ResultOf<std::string>::Failure(path + " is missing");
  if (file.state == FileState::Damaged) return ResultOf<std::string>::Failure(path + " " + file.problem);
  return DecodeCommentFile(file.content);
}

}  // namespace qv70
