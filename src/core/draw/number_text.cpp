#include "core/draw/number_text.h"

#include <charconv>
#include <vector>

namespace qv70 {
namespace {

// to_chars formats as printf does in the "C" locale, without consulting the
// current one. Fixed notation needs up to 309 digits before the point.
std::string ToChars(double value, std::chars_format format, int precision) {
  std::vector<char> buffer(static_cast<std::size_t>(precision) + 330);
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
  return std::string(buffer.data(), result.ptr);
}

}  // namespace

std::string FixedPointText(double value, int decimals) {
  return ToChars(value, std::chars_format::fixed, decimals < 0 ? 0 : decimals);
}

std::string ExactText(double value) { return ToChars(value, std::chars_format::general, 17); }

}  // namespace qv70
