#include "PngCodec.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "ByteOrder.h"
#include "ErrorReport.h"
#include "RgbaPngDecoder.h"

namespace brixel {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Larger pictures are refused by libpng itself, before their rows are read.
constexpr std::uint32_t kLargestSide = 32767;

// libpng reports through callbacks that must not return; the reason is kept here and the
// call longjmps back into the function that set the jump buffer.
struct Failure {
  char reason[160] = {};
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* failure = static_cast<Failure*>(png_get_error_ptr(png));
  if (failure && message) std::strncpy(failure->reason, message, sizeof failure->reason - 1);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

struct Source {
  ByteView data;
  std::size_t position = 0;
};

void ReadFromSource(png_structp png, png_bytep out, png_size_t count) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (count > source->data.size() - source->position) png_error(png, "the PNG data ends early");
  std::memcpy(out, source->data.data() + source->position, count);
  source->position += count;
}

struct Sink {
  Bytes* bytes;
};

void WriteToSink(png_structp png, png_bytep data, png_size_t count) {
  auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
  try {
    sink->bytes->insert(sink->bytes->end(), data, data + count);
  } catch (const std::bad_alloc&) {
    png_error(png, "out of memory");
  }
}

void FlushSink(png_structp) {}

struct ReadState {
  png_structp png;
  png_infop info;
  const std::function<void(const PngHeader&)>* accept;
  PngPicture* picture;
  std::vector<png_bytep>* rows;
};

// The libpng calls. Only plain values live in this frame, so a longjmp out of libpng skips no
// destructor; what it fills belongs to the caller. C++ exceptions (a refusal, bad_alloc) come
// from our own calls here, never through libpng.
void ReadRowsBody(ReadState* state) {
  png_structp png = state->png;
  png_infop info = state->info;
  png_read_info(png, info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colourType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
  PngHeader header;
  header.width = width;
  header.height = height;
  header.rawBytes = (static_cast<std::uint64_t>(png_get_rowbytes(png, info)) + 1) * height;
  (*state->accept)(header);

  const bool transparentColour = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (transparentColour) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  if ((colourType & PNG_COLOR_MASK_ALPHA) == 0 && !transparentColour) {
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) {
    png_error(png, "unexpected row layout after conversion to RGBA");
  }

  PngPicture& picture = *state->picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
  state->rows->resize(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    (*state->rows)[y] = picture.rgba.data() + static_cast<std::size_t>(y) * width * 4;
  }
  png_read_image(png, state->rows->data());
  // Chunks after the pixels (text, time) are not needed; a file cut off there still shows
  // every pixel.
}

bool ReadRows(ReadState* state) {
  if (setjmp(png_jmpbuf(state->png))) return false;
  ReadRowsBody(state);
  return true;
}

[[noreturn]] void RaiseBadPng(const Failure& failure) {
  const std::string reason = failure.reason[0] ? failure.reason : "unreadable PNG data";
  throw BackEndError(static_cast<int>(ErrorCode::InvalidPicture),
                     ErrorDescription(static_cast<int>(ErrorCode::InvalidPicture)) + " (PNG: " +
                         reason + ")");
}

}  // namespace

std::optional<std::pair<std::uint32_t, std::uint32_t>> PngSize(ByteView png) {
  constexpr std::size_t kHeaderEnd = 24;  // signature, IHDR's length and type, width, height
  if (!IsPng(png) || png.size() < kHeaderEnd) return std::nullopt;
  return std::pair{BigEndian32(&png[16]), BigEndian32(&png[20])};
}

bool IsPng(ByteView bytes) {
  return bytes.size() >= sizeof kSignature &&
         std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

namespace {

PngPicture DecodeWithLibpng(ByteView png, const std::function<void(const PngHeader&)>& accept) {
  Failure failure;
  png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure, OnError, OnWarning);
  if (!reader) Raise(ErrorCode::OutOfMemory);
  png_infop info = png_create_info_struct(reader);
  struct Guard {
    png_structp* png;
    png_infop* info;
    ~Guard() { png_destroy_read_struct(png, info, nullptr); }
  } guard{&reader, &info};
  if (!info) Raise(ErrorCode::OutOfMemory);

  Source source{png, 0};
  png_set_read_fn(reader, &source, ReadFromSource);
  png_set_user_limits(reader, kLargestSide, kLargestSide);
  // Text and profile chunks are decompressed by libpng too; none of them is used here.
  png_set_chunk_malloc_max(reader, 1u << 20);

  PngPicture picture;
  std::vector<png_bytep> rows;
  ReadState state{reader, info, &accept, &picture, &rows};
  if (!ReadRows(&state)) RaiseBadPng(failure);
  return picture;
}

// libpng allocates a chunk before the pixels (text, a colour profile) at the size its length
// claims before reading it: a damaged length would cost that much memory only to find the
// data ends early. Such a PNG is refused as libpng would refuse it, without the allocation.
void RequireWholeChunksBeforePixels(ByteView png) {
  for (std::size_t at = sizeof kSignature; png.size() - at >= 8;) {
    const std::uint32_t length = BigEndian32(&png[at]);
    if (BigEndian32(&png[at + 4]) == FourCharacterCode("IDAT")) return;
    if (length > png.size() - at - 8) {
      Failure failure;
      std::strncpy(failure.reason, "the PNG data ends early", sizeof failure.reason - 1);
      RaiseBadPng(failure);
    }
    at += std::size_t{length} + 8 + std::min<std::size_t>(4, png.size() - at - 8 - length);
  }
}

}  // namespace

PngPicture DecodePng(ByteView png, const std::function<void(const PngHeader&)>& accept) {
  const std::optional<PlainRgbaPng> plain = FindPlainRgbaPng(png);
  if (!plain) {
    if (IsPng(png)) RequireWholeChunksBeforePixels(png);
    return DecodeWithLibpng(png, accept);
  }
  accept(PngHeader{plain->width, plain->height, plain->RawBytes()});
  PngPicture picture;
  if (DecodePlainRgbaPng(*plain, picture)) return picture;
  // Damaged pixel data: libpng's reading says how, or reads what it can. The header is
  // accepted already.
  return DecodeWithLibpng(png, [](const PngHeader&) {});
}

namespace {

struct WriteState {
  png_structp png;
  png_infop info;
  int width;
  int height;
  const std::vector<std::uint8_t>* rgba;
};

void WriteRowsBody(WriteState* state) {
  png_structp png = state->png;
  png_set_IHDR(png, state->info, static_cast<png_uint_32>(state->width),
               static_cast<png_uint_32>(state->height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, state->info);
  const std::size_t rowBytes = static_cast<std::size_t>(state->width) * 4;
  for (int y = 0; y < state->height; ++y) {
    // libpng takes a non-const row but only reads it.
    png_write_row(png, const_cast<png_bytep>(state->rgba->data() + rowBytes * static_cast<std::size_t>(y)));
  }
  png_write_end(png, state->info);
}

bool WriteRows(WriteState* state) {
  if (setjmp(png_jmpbuf(state->png))) return false;
  WriteRowsBody(state);
  return true;
}

}  // namespace

Bytes EncodePng(int width, int height, const std::vector<std::uint8_t>& rgba) {
  if (width < 1 || height < 1 ||
      rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
    Raise(ErrorCode::InvalidArgument);
  }
  Failure failure;
  png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnError, OnWarning);
  if (!writer) Raise(ErrorCode::OutOfMemory);
  png_infop info = png_create_info_struct(writer);
  struct Guard {
    png_structp* png;
    png_infop* info;
    ~Guard() { png_destroy_write_struct(png, info); }
  } guard{&writer, &info};
  if (!info) Raise(ErrorCode::OutOfMemory);

  Bytes bytes;
  Sink sink{&bytes};
  png_set_write_fn(writer, &sink, WriteToSink, FlushSink);
  WriteState state{writer, info, width, height, &rgba};
  if (!WriteRows(&state)) {
    if (std::strcmp(failure.reason, "out of memory") == 0) Raise(ErrorCode::OutOfMemory);
    throw BackEndError(static_cast<int>(ErrorCode::DeviceIO),
                       std::string("The image could not be compressed as PNG: ") + failure.reason);
  }
  return bytes;
}

}  // namespace brixel
