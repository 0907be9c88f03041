#pragma once

#include <cstdint>
#include <string_view>

namespace qv70 {

// Little-endian reads from a file's bytes, every one bounded by its size.
// Decoders ask Has() before they rely on a field; a read beyond the end
// yields 0 rather than touching memory that is not the file's.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  std::uint64_t Size() const { return bytes_.size(); }

  // True when `count` bytes from `offset` lie inside the file; no sum can
  // overflow, whatever a header claims.
  bool Has(std::uint64_t offset, std::uint64_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }

  std::uint8_t U8(std::uint64_t offset) const {
    return Has(offset, 1) ? static_cast<std::uint8_t>(bytes_[static_cast<std::size_t>(offset)]) : 0;
  }
  std::uint16_t U16(std::uint64_t offset) const {
    return static_cast<std::uint16_t>(U8(offset) | U8(offset + 1) << 8);
  }
  std::uint32_t U32(std::uint64_t offset) const {
    return static_cast<std::uint32_t>(U16(offset)) | static_cast<std::uint32_t>(U16(offset + 2)) << 16;
  }
  std::int32_t I32(std::uint64_t offset) const { return static_cast<std::int32_t>(U32(offset)); }

  // The bytes from `offset`; Has(offset, count) must hold.
  const std::uint8_t* At(std::uint64_t offset) const {
    return reinterpret_cast<const std::uint8_t*>(bytes_.data()) + offset;
  }

 private:
  std::string_view bytes_;
};

}  // namespace qv70
