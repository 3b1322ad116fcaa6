#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brixel {

using Bytes = std::vector<std::uint8_t>;
// Read-only bytes: a whole file or a part of one, without copying.
using ByteView = std::span<const std::uint8_t>;

// Reads the whole file. Raises BackEndError with the classic number of the failure
// (53 file not found, 70 permission denied, 75 access error, ...).
Bytes ReadWholeFile(const std::string& path);

// Replaces the file with bytes without ever destroying the old content first: the bytes go
// to a temporary file in the same folder, which is flushed and then renamed over the
// target. An existing file's permission bits are kept. On failure the target is untouched,
// the temporary file is removed, and BackEndError is raised.
void WriteFileReplacing(const std::string& path, const Bytes& bytes);

// The classic error number for an errno value.
int ErrorNumberFromErrno(int err);

}  // namespace brixel
