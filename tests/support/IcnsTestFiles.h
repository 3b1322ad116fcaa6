#pragma once

// macOS icon files made byte by byte for the tests.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FileIO.h"

namespace brixel::test {

inline void PutBig(Bytes& out, std::uint32_t value) {
  for (const int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// An .icns file of these entries, each a type and its data.
inline Bytes IcnsOf(const std::vector<std::pair<std::string, Bytes>>& entries) {
  Bytes body;
  for (const auto& [type, data] : entries) {
    body.insert(body.end(), type.begin(), type.end());
    PutBig(body, static_cast<std::uint32_t>(data.size() + 8));
    body.insert(body.end(), data.begin(), data.end());
  }
  Bytes file = {'i', 'c', 'n', 's'};
  PutBig(file, static_cast<std::uint32_t>(body.size() + 8));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

}  // namespace brixel::test
