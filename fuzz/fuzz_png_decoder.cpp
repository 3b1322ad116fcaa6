// Feeds arbitrary bytes to the PNG decoder, with the CRC of every whole chunk made right first
// so that the fuzzer reaches the pixel data. A PNG that the quick 8-bit RGBA path takes must
// come out exactly as libpng reads it: the same PNG with a suggested palette after its header,
// which only libpng reads, is the reference.

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "ByteOrder.h"
#include "FuzzSupport.h"
#include "PngCodec.h"
#include "RgbaPngDecoder.h"

using namespace brixel;

namespace {

constexpr std::uint64_t kLargestPicture = 1u << 20;  // pixels; larger ones only slow the run

void PutBigEndian32(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

void RepairChunkChecks(Bytes& png) {
  for (std::size_t at = 8; png.size() >= 12 && at <= png.size() - 12;) {
    const std::uint32_t length = BigEndian32(&png[at]);
    if (length > png.size() - at - 12) return;
    PutBigEndian32(&png[at + 8 + length], static_cast<std::uint32_t>(crc32(0, &png[at + 4], length + 4)));
    at += 12 + length;
  }
}

struct Outcome {
  bool read = false;
  PngPicture picture;
  int asked = 0;
};

Outcome Decode(const Bytes& png) {
  Outcome outcome;
  try {
    outcome.picture = DecodePng(png, [&](const PngHeader& header) {
      ++outcome.asked;
      if (std::uint64_t{header.width} * header.height > kLargestPicture) Raise(ErrorCode::Overflow);
    });
    outcome.read = true;
  } catch (const BackEndError&) {
  }
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::InstallQuietBackEnd();
  Bytes png(data, data + size);
  RepairChunkChecks(png);
  const Outcome quick = Decode(png);
  if (!FindPlainRgbaPng(png)) return 0;
  fuzz::Require(quick.asked == 1, "the header is accepted once");
  // The suggested palette goes right after the header chunk, which the quick path found whole.
  Bytes reference(png.begin(), png.begin() + 33);
  const std::uint8_t palette[] = {0, 0, 0, 3, 'P', 'L', 'T', 'E', 1, 2, 3, 0, 0, 0, 0};
  reference.insert(reference.end(), std::begin(palette), std::end(palette));
  reference.insert(reference.end(), png.begin() + 33, png.end());
  RepairChunkChecks(reference);
  fuzz::Require(!FindPlainRgbaPng(reference), "a palette chunk sends the PNG to libpng");
  const Outcome expected = Decode(reference);
  fuzz::Require(quick.read == expected.read, "read by both paths or by neither");
  if (quick.read) {
    fuzz::Require(quick.picture.width == expected.picture.width && quick.picture.height == expected.picture.height &&
                      quick.picture.rgba == expected.picture.rgba,
                  "the quick path's pixels are libpng's");
  }
  return 0;
}
