// BMP files as any bytes: the decoder never reads past the input, refuses
// with a reason or makes a whole picture that survives a BMP round trip.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/picture/bmp_codec.h"
#include "picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv70::CheckDecoded(qv70::DecodeBmp(std::string_view(reinterpret_cast<const char*>(data), size)));
  return 0;
}
