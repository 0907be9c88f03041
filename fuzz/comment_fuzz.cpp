// Comment.inl as any bytes: decoding never reads past the input, and a decoded
// comment encodes and decodes back to itself.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/files/comment_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const qv70::ResultOf<std::string> decoded = qv70::DecodeCommentFile(bytes);
  if (!decoded) {
    if (!decoded.value.empty() || decoded.message.empty()) std::abort();
    return 0;
  }
  if (decoded.value.size() > size) std::abort();
  const qv70::ResultOf<std::string> again = qv70::DecodeCommentFile(qv70::EncodeCommentFile(decoded.value));
  if (!again || again.value != decoded.value) std::abort();
  return 0;
}
