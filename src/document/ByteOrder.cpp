#include "ByteOrder.h"

#include "ErrorReport.h"

namespace brixel {

std::uint32_t GetLength(ByteView bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) Raise(ErrorCode::InputPastEnd);
  return static_cast<std::uint32_t>(bytes[offset]) |
         static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::array<std::uint8_t, 4> ConvertMarker(std::int64_t value) {
  if (value < 0 || value > UINT32_MAX) Raise(ErrorCode::Overflow);
  const auto v = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
}

void PutMarker(Bytes& bytes, std::size_t offset, std::int64_t value) {
  const auto marker = ConvertMarker(value);
  for (std::size_t i = 0; i < 4; ++i) bytes.at(offset + i) = marker[i];
}

}  // namespace brixel
