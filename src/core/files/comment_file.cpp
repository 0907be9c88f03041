#include "core/files/comment_file.h"

#include <cstdint>
#include <fstream>
#include <iterator>

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

bool DecodeCommentFile(const std::string& bytes, std::string& text) {
  text.clear();
  if (bytes.empty()) return false;
  std::size_t at = 1;
  std::uint64_t length = static_cast<unsigned char>(bytes[0]);
  if (length == 0xFF) {
    if (bytes.size() < at + 2) return false;
    length = LittleEndian(bytes, at, 2);
    at += 2;
    // 0xFFFE marks a wide-character string, which this file never holds.
    if (length == 0xFFFE) return false;
    if (length == 0xFFFF) {
      if (bytes.size() < at + 4) return false;
      length = LittleEndian(bytes, at, 4);
      at += 4;
    }
  }
  if (length > bytes.size() - at) return false;
  text.assign(bytes, at, static_cast<std::size_t>(length));
  return true;
}

bool ReadCommentFile(const std::string& path, std::string& text) {
  text.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  return DecodeCommentFile(bytes, text);
}

}  // namespace qv70
