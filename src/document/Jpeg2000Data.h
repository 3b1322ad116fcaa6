#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "FileIO.h"

namespace brixel {

// Whether the bytes start like JPEG 2000: a JP2 file's signature box or a bare code stream.
inline bool IsJpeg2000Data(ByteView bytes) {
  constexpr std::array<std::uint8_t, 12> kSignatureBox = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
  constexpr std::array<std::uint8_t, 4> kCodeStream = {0xFF, 0x4F, 0xFF, 0x51};
  const auto startsWith = [&](const auto& signature) {
    return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
  };
  return startsWith(kSignatureBox) || startsWith(kCodeStream);
}

}  // namespace brixel
