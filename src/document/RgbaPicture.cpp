#include "RgbaPicture.h"

#include <algorithm>
#include <cmath>

#include "AlphaChannel.h"
#include "ErrorReport.h"
#include "PictureImport.h"

namespace brixel {
namespace {

// The source pixels one target pixel covers along one side, and how much of each.
struct Coverage {
  int first = 0;
  std::vector<double> weights;  // of first, first + 1, ...; they add up to 1
};

// Target pixel t covers [t * source / target, (t + 1) * source / target) of the source. In
// units of 1 / target of a source pixel both ends are whole numbers, so the weights are exact.
std::vector<Coverage> Coverages(int source, int target) {
  std::vector<Coverage> coverages(static_cast<std::size_t>(target));
  const std::int64_t s = source;
  const std::int64_t t = target;
  for (std::int64_t i = 0; i < t; ++i) {
    const std::int64_t start = i * s;
    const std::int64_t end = start + s;
    Coverage& c = coverages[static_cast<std::size_t>(i)];
    c.first = static_cast<int>(start / t);
    for (std::int64_t p = c.first; p * t < end; ++p) {
      const std::int64_t overlap = std::min(end, (p + 1) * t) - std::max(start, p * t);
      c.weights.push_back(static_cast<double>(overlap) / static_cast<double>(s));
    }
  }
  return coverages;
}

std::uint8_t ToByte(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

}  // namespace

RgbaPicture ScaleByArea(const RgbaPicture& source, int width, int height) {
  if (width < 1 || height < 1 || source.Empty()) Raise(ErrorCode::InvalidArgument);
  const std::vector<Coverage> columns = Coverages(source.Width, width);
  const std::vector<Coverage> rows = Coverages(source.Height, height);

  // Across first, into colours premultiplied by alpha: width x source rows of 4 sums.
  const auto across = static_cast<std::size_t>(width) * 4;
  std::vector<double> wide(across * static_cast<std::size_t>(source.Height), 0.0);
  for (int y = 0; y < source.Height; ++y) {
    double* out = &wide[across * static_cast<std::size_t>(y)];
    for (int x = 0; x < width; ++x, out += 4) {
      const Coverage& c = columns[static_cast<std::size_t>(x)];
      for (std::size_t k = 0; k < c.weights.size(); ++k) {
        const std::uint8_t* p = source.At(c.first + static_cast<int>(k), y);
        const double weight = c.weights[k] * p[3];
        out[0] += weight * p[0];
        out[1] += weight * p[1];
        out[2] += weight * p[2];
        out[3] += weight;
      }
    }
  }

  RgbaPicture target(width, height);
  std::vector<double> sums(across);
  for (int y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 0.0);
    const Coverage& c = rows[static_cast<std::size_t>(y)];
    for (std::size_t k = 0; k < c.weights.size(); ++k) {
      const double* in = &wide[across * static_cast<std::size_t>(c.first + static_cast<int>(k))];
      for (std::size_t i = 0; i < across; ++i) sums[i] += c.weights[k] * in[i];
    }
    for (int x = 0; x < width; ++x) {
      const double* s = &sums[static_cast<std::size_t>(x) * 4];
      std::uint8_t* out = target.At(x, y);
      out[3] = ToByte(s[3]);
      if (out[3] == 0) continue;  // transparent black
      for (int part = 0; part < 3; ++part) out[part] = ToByte(s[part] / s[3]);
    }
  }
  return target;
}

RgbaPicture EnlargeByPixels(const RgbaPicture& source, int factor) {
  if (factor < 1) Raise(ErrorCode::InvalidArgument);
  RgbaPicture target(source.Width * factor, source.Height * factor);
  for (int y = 0; y < target.Height; ++y) {
    for (int x = 0; x < target.Width; ++x) {
      std::copy_n(source.At(x / factor, y / factor), 4, target.At(x, y));
    }
  }
  return target;
}

RgbaPicture PlacedOnSquare(const RgbaPicture& source, int size, int left, int top) {
  RgbaPicture square(size, size);
  for (int y = std::max(0, top); y < std::min(size, top + source.Height); ++y) {
    for (int x = std::max(0, left); x < std::min(size, left + source.Width); ++x) {
      std::copy_n(source.At(x - left, y - top), 4, square.At(x, y));
    }
  }
  return square;
}

namespace {

template <class AlphaOf>
RgbaPicture RgbaWithAlpha(const IconImage& image, AlphaOf alphaOf) {
  RgbaPicture picture(image.Width, image.Height());
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      std::uint8_t* out = picture.At(x, y);
      const Colour colour = image.Pixels.At(x, y);
      if (colour < 0) {
        out[3] = 255;  // inverting: black, as over white
        continue;
      }
      const int alpha = alphaOf(image, x, y);
      if (alpha == 0) continue;
      out[0] = static_cast<std::uint8_t>(RedOf(colour));
      out[1] = static_cast<std::uint8_t>(GreenOf(colour));
      out[2] = static_cast<std::uint8_t>(BlueOf(colour));
      out[3] = static_cast<std::uint8_t>(alpha);
    }
  }
  return picture;
}

}  // namespace

RgbaPicture RgbaFromImage(const IconImage& image) { return RgbaWithAlpha(image, AlphaAt); }

RgbaPicture RgbaForWriting(const IconImage& image) { return RgbaWithAlpha(image, WrittenAlphaAt); }

RgbaPicture RgbaFromPicture(const LoadedPicture& loaded) {
  RgbaPicture picture(loaded.Width(), loaded.Height());
  for (int y = 0; y < picture.Height; ++y) {
    for (int x = 0; x < picture.Width; ++x) {
      std::uint8_t* out = picture.At(x, y);
      const int alpha = loaded.AlphaAt(x, y);
      if (alpha == 0) continue;
      const Colour colour = loaded.Colours.At(x, y);
      out[0] = static_cast<std::uint8_t>(RedOf(colour));
      out[1] = static_cast<std::uint8_t>(GreenOf(colour));
      out[2] = static_cast<std::uint8_t>(BlueOf(colour));
      out[3] = static_cast<std::uint8_t>(alpha);
    }
  }
  return picture;
}

LoadedPicture PictureFromRgba(const RgbaPicture& rgba) {
  LoadedPicture picture;
  picture.Colours = Bitmap(rgba.Width, rgba.Height, kWhite);
  picture.Alpha.resize(picture.Colours.Pixels.size());
  for (int y = 0; y < rgba.Height; ++y) {
    for (int x = 0; x < rgba.Width; ++x) {
      const std::uint8_t* p = rgba.At(x, y);
      picture.Colours.At(x, y) = MakeColour(p[0], p[1], p[2]);
      picture.Alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(rgba.Width) + static_cast<std::size_t>(x)] = p[3];
    }
  }
  return picture;
}

}  // namespace brixel
