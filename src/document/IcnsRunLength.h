#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "FileIO.h"

namespace brixel {

// The run-length coding of the 32-bit entries of .icns files, one colour plane at a time: a
// byte below 0x80 copies the next byte + 1 bytes; any other repeats the next byte (byte - 125)
// times, 3 to 130.

// Decodes count bytes of one plane starting at position, which moves past them. Nothing when
// the data ends first or a run goes past count (the plane's bytes never spill into the next).
std::optional<std::vector<std::uint8_t>> DecodeRunLengthPlane(ByteView data, std::size_t& position,
                                                              std::size_t count);

// One plane coded as above; DecodeRunLengthPlane gives it back.
void AppendRunLengthPlane(const std::vector<std::uint8_t>& plane, Bytes& out);

}  // namespace brixel
