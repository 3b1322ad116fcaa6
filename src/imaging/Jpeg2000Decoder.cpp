#include "Jpeg2000Decoder.h"

#include <openjpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "Colour.h"
#include "Jpeg2000Data.h"

namespace brixel {
namespace {

// The data OpenJPEG reads from, and how far it has read.
struct MemoryStream {
  const Bytes& data;
  std::size_t position = 0;
};

OPJ_SIZE_T ReadFromMemory(void* buffer, OPJ_SIZE_T count, void* user) {
  auto& stream = *static_cast<MemoryStream*>(user);
  const std::size_t left = stream.data.size() - stream.position;
  if (left == 0) return static_cast<OPJ_SIZE_T>(-1);
  const std::size_t n = std::min<std::size_t>(count, left);
  std::memcpy(buffer, stream.data.data() + stream.position, n);
  stream.position += n;
  return n;
}

OPJ_OFF_T SkipInMemory(OPJ_OFF_T count, void* user) {
  auto& stream = *static_cast<MemoryStream*>(user);
  if (count < 0) return -1;
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), stream.data.size() - stream.position);
  stream.position += n;
  return static_cast<OPJ_OFF_T>(n);
}

OPJ_BOOL SeekInMemory(OPJ_OFF_T to, void* user) {
  auto& stream = *static_cast<MemoryStream*>(user);
  if (to < 0 || static_cast<std::uint64_t>(to) > stream.data.size()) return OPJ_FALSE;
  stream.position = static_cast<std::size_t>(to);
  return OPJ_TRUE;
}

// OpenJPEG's last error, the reason given when decoding fails.
void KeepError(const char* text, void* user) {
  std::string& message = *static_cast<std::string*>(user);
  message = text;
  while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
}

void Ignore(const char*, void*) {}

struct CodecDeleter {
  void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct StreamDeleter {
  void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct ImageDeleter {
  void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};

// A sample of a component taken to 8 bits.
int EightBits(const opj_image_comp_t& component, std::size_t index) {
  std::int64_t value = component.data[index];
  if (component.sgnd) value += std::int64_t{1} << (component.prec - 1);
  const std::int64_t most = (std::int64_t{1} << component.prec) - 1;
  value = std::clamp<std::int64_t>(value, 0, most);
  if (component.prec == 8) return static_cast<int>(value);
  return static_cast<int>((value * 255 + most / 2) / most);
}

int Clamp8(double value) { return static_cast<int>(std::clamp(std::lround(value), 0L, 255L)); }

}  // namespace

bool DecodeJpeg2000(const Bytes& data, LoadedPicture& picture, std::string& message) {
  picture = LoadedPicture();
  if (!IsJpeg2000Data(data)) return message = "not a JPEG 2000 picture", false;
  const bool codeStream = data[0] == 0xFF;
  MemoryStream memory{data};
  std::unique_ptr<opj_stream_t, StreamDeleter> stream(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE));
  std::unique_ptr<opj_codec_t, CodecDeleter> codec(opj_create_decompress(codeStream ? OPJ_CODEC_J2K : OPJ_CODEC_JP2));
  if (!stream || !codec) return message = "the JPEG 2000 decoder cannot be set up", false;
  opj_stream_set_user_data(stream.get(), &memory, nullptr);
  opj_stream_set_user_data_length(stream.get(), data.size());
  opj_stream_set_read_function(stream.get(), ReadFromMemory);
  opj_stream_set_skip_function(stream.get(), SkipInMemory);
  opj_stream_set_seek_function(stream.get(), SeekInMemory);
  std::string error = "damaged JPEG 2000 data";
  opj_set_error_handler(codec.get(), KeepError, &error);
  opj_set_warning_handler(codec.get(), Ignore, nullptr);
  opj_set_info_handler(codec.get(), Ignore, nullptr);
  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  if (!opj_setup_decoder(codec.get(), &parameters)) return message = error, false;

  opj_image_t* header = nullptr;
  if (!opj_read_header(stream.get(), codec.get(), &header)) return message = error, false;
  std::unique_ptr<opj_image_t, ImageDeleter> image(header);
  const std::uint64_t width = image->x1 > image->x0 ? image->x1 - image->x0 : 0;
  const std::uint64_t height = image->y1 > image->y0 ? image->y1 - image->y0 : 0;
  if (width == 0 || height == 0 || image->numcomps == 0) return message = "JPEG 2000 picture without pixels", false;
  if (width > kMaxPictureSide || height > kMaxPictureSide) {
    return message = "JPEG 2000 picture larger than " + std::to_string(kMaxPictureSide) + " on a side", false;
  }
  if (!opj_decode(codec.get(), stream.get(), image.get()) || !opj_end_decompress(codec.get(), stream.get())) {
    return message = error, false;
  }

  const opj_image_comp_t* comps = image->comps;
  const std::uint32_t used = std::min<std::uint32_t>(image->numcomps, 4);
  const OPJ_UINT32 w = comps[0].w;
  const OPJ_UINT32 h = comps[0].h;
  for (std::uint32_t i = 0; i < used; ++i) {
    if (comps[i].w != w || comps[i].h != h || !comps[i].data || comps[i].prec < 1 || comps[i].prec > 31) {
      return message = "JPEG 2000 picture with components of different sizes", false;
    }
  }
  if (w == 0 || h == 0 || w > kMaxPictureSide || h > kMaxPictureSide) {
    return message = "JPEG 2000 picture of an unexpected size", false;
  }
  const bool grey = used < 3;
  const bool hasAlpha = used == 2 || used == 4;
  const bool ycc = !grey && image->color_space == OPJ_CLRSPC_SYCC;
  picture.Colours = Bitmap(static_cast<int>(w), static_cast<int>(h), kWhite);
  if (hasAlpha) picture.Alpha.assign(picture.Colours.Pixels.size(), 255);
  for (std::size_t i = 0; i < picture.Colours.Pixels.size(); ++i) {
    const int first = EightBits(comps[0], i);
    int red = first, green = first, blue = first;
    if (!grey) {
      green = EightBits(comps[1], i);
      blue = EightBits(comps[2], i);
      if (ycc) {
        const double y = first, cb = green - 128.0, cr = blue - 128.0;
        red = Clamp8(y + 1.402 * cr);
        green = Clamp8(y - 0.344136 * cb - 0.714136 * cr);
        blue = Clamp8(y + 1.772 * cb);
      }
    }
    picture.Colours.Pixels[i] = MakeColour(red, green, blue);
    if (hasAlpha) picture.Alpha[i] = static_cast<std::uint8_t>(EightBits(comps[used - 1], i));
  }
  return true;
}

}  // namespace brixel
