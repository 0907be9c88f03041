// Comment.inl as any bytes: decoding never reads past the input, and a decoded
// comment encodes and decodes back to itself.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/files/comment_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string text;
  if (!qv70::DecodeCommentFile(bytes, text)) {
    if (!text.empty()) std::abort();
    return 0;
  }
  if (text.size() > size) std::abort();
  std::string again;
  if (!qv70::DecodeCommentFile(qv70::EncodeCommentFile(text), again) || again != text) std::abort();
  return 0;
}
