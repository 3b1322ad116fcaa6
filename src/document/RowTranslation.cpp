#include "RowTranslation.h"

#include <algorithm>
#include <optional>
#include <string>

#include "Palette.h"
#include "PngCodec.h"
#include "PngEntry.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

// Bounds for every read: a block too short for its rows is the end-of-input error.
void Require(ByteView buffer, std::size_t position, std::size_t count) {
  if (position > buffer.size() || buffer.size() - position < count) {
    Raise(ErrorCode::InputPastEnd);
  }
}

// Colour parts as the file stores them; a negative colour is written as black.
std::uint8_t BlueByte(Colour c) { return c < 0 ? 0 : static_cast<std::uint8_t>(BlueOf(c)); }
std::uint8_t GreenByte(Colour c) { return c < 0 ? 0 : static_cast<std::uint8_t>(GreenOf(c)); }
std::uint8_t RedByte(Colour c) { return c < 0 ? 0 : static_cast<std::uint8_t>(RedOf(c)); }

void CheckWritable(const IconImage& image) {
  if (!IsSupportedDepth(image.BitDepth) || image.Width < 1 || image.Height() < 1) {
    Raise(ErrorCode::InvalidArgument);
  }
  // Mask rows and 1-bit rows are written with their padding columns too.
  if (image.Palette.size() < ColourTableBytes(image.BitDepth) / 4 || !GridsCoverPicture(image) ||
      image.Mask.Columns() < W32(image.Width) ||
      (image.BitDepth == 1 && image.Pixels.Columns() < W32(image.Width))) {
    Raise(ErrorCode::SubscriptOutOfRange);
  }
}

// The palette index a 1-, 4- or 8-bit XOR row carries for a pixel.
class IndexWriter {
 public:
  IndexWriter(int bitDepth, const std::vector<Colour>& palette)
      : bitDepth_(bitDepth), zero_(palette.empty() ? kBlack : palette[0]), lookup_(palette) {
    for (std::size_t k = 0; k < palette.size() && white_ < 0; ++k) {
      if (palette[k] == kWhite) white_ = static_cast<std::int32_t>(k);
    }
  }

  // No branch depends on the colour itself but the table's own: pixels of two or sixteen
  // colours in no order would make any guess of the processor's wrong half the time.
  std::int32_t Index(Colour pixel, std::int32_t mask) const {
    const Colour colour = bitDepth_ != 1 && mask == MaskComplement ? InvertColor(pixel) : pixel;
    // An inverting pixel is AND 1 over XOR white.
    if (colour == kNoColour && mask != MaskOpaque && white_ >= 0) return white_;
    if (bitDepth_ == 1) return colour != zero_;
    return lookup_.Find(colour);
  }

 private:
  int bitDepth_;
  Colour zero_;
  PaletteLookup lookup_;
  std::int32_t white_ = -1;
};

bool IsPaletted(int bitDepth) { return bitDepth == 1 || bitDepth == 4 || bitDepth == 8; }

// The colour a true-colour pixel is written with: the complement under MaskComplement, and
// an inverting pixel as AND 1 over XOR white.
Colour WrittenColour(Colour pixel, std::int32_t mask) {
  const Colour colour = mask == MaskComplement ? InvertColor(pixel) : pixel;
  return colour == kNoColour && mask != MaskOpaque ? kWhite : colour;
}

// A 32-bit image with alpha as the PNG block it came from.
Bytes BuildPngData(const IconImage& image) {
  std::vector<std::uint8_t> rgba;
  rgba.reserve(static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height()) * 4);
  for (int y = 0; y < image.Height(); ++y) {
    const std::int32_t* pixels = image.Pixels.Row(y);
    const std::int32_t* masks = image.Mask.Row(y);
    for (int x = 0; x < image.Width; ++x) {
      const Colour colour = WrittenColour(pixels[x], masks[x]);
      rgba.insert(rgba.end(), {RedByte(colour), GreenByte(colour), BlueByte(colour),
                               static_cast<std::uint8_t>(AlphaAt(image, x, y))});
    }
  }
  return EncodePng(image.Width, image.Height(), rgba);
}

}  // namespace

std::size_t XorRowBytes(int width, int bitDepth) {
  return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitDepth) + 31) / 32) * 4;
}

std::size_t AndRowBytes(int width) { return static_cast<std::size_t>(W32(width)) / 8; }

std::size_t ColourTableBytes(int bitDepth) {
  switch (bitDepth) {
    case 1: return 8;
    case 4: return 64;
    case 8: return 1024;
    default: return 0;
  }
}

std::size_t SetPalette(ByteView buffer, IconImage& image, std::size_t headerSize) {
  std::size_t rowsStart = kSingleImageBlockOffset + headerSize;
  TrapAndPropagate("PrjBackEnd.mTranslate.SetPalette", [&] {
    const std::size_t tableStart = rowsStart;
    const int entries = ColourTableBytes(image.BitDepth) / 4;
    if (entries == 0) {
      image.Palette.assign(256, kBlack);
      GetNewPalette(image.Palette);
      return;
    }
    Require(buffer, tableStart, static_cast<std::size_t>(entries) * 4);
    image.Palette.assign(static_cast<std::size_t>(entries), kBlack);
    for (int k = 0; k < entries; ++k) {
      const std::uint8_t* entry = &buffer[tableStart + 4 * static_cast<std::size_t>(k)];
      image.Palette[static_cast<std::size_t>(k)] = MakeColour(entry[2], entry[1], entry[0]);
    }
    rowsStart = tableStart + static_cast<std::size_t>(entries) * 4;
  });
  return rowsStart;
}

void UnpackXorRows(ByteView buffer, std::size_t position, IconImage& image) {
  TrapAndPropagate("PrjBackEnd.mTranslate.TranslateIcon", [&] {
    const int width = image.Width;
    const int height = image.Height();
    const std::size_t rowBytes = XorRowBytes(width, image.BitDepth);
    Require(buffer, position, rowBytes * static_cast<std::size_t>(height));
    if (IsPaletted(image.BitDepth) && image.Palette.size() < ColourTableBytes(image.BitDepth) / 4) {
      Raise(ErrorCode::SubscriptOutOfRange);
    }
    const Colour* palette = image.Palette.data();
    for (int stored = 0; stored < height; ++stored) {
      const int y = height - 1 - stored;
      const std::uint8_t* row = &buffer[position + rowBytes * static_cast<std::size_t>(stored)];
      std::int32_t* pixels = image.Pixels.Row(y);
      switch (image.BitDepth) {
        case 1: {
          const int columns = image.Pixels.Columns();
          for (int x = 0; x < columns; ++x) pixels[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1];
          break;
        }
        case 4:
          for (int x = 0; x < width; ++x) {
            pixels[x] = palette[(x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F];
          }
          break;
        case 8:
          for (int x = 0; x < width; ++x) pixels[x] = palette[row[x]];
          break;
        case 24:
        case 32: {
          const std::size_t step = static_cast<std::size_t>(image.BitDepth / 8);
          for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + static_cast<std::size_t>(x) * step;
            pixels[x] = MakeColour(p[2], p[1], p[0]);
          }
          break;
        }
        default:
          Raise(ErrorCode::InvalidArgument);
      }
    }
  });
}

void DrawMask(ByteView buffer, std::size_t position, IconImage& image) {
  TrapAndPropagate("PrjBackEnd.mTranslate.DrawMask", [&] {
    const int height = image.Height();
    const int columns = image.Mask.Columns();
    const std::size_t rowBytes = AndRowBytes(image.Width);
    Require(buffer, position, rowBytes * static_cast<std::size_t>(height));
    for (int stored = 0; stored < height; ++stored) {
      const std::uint8_t* row = &buffer[position + rowBytes * static_cast<std::size_t>(stored)];
      std::int32_t* mask = image.Mask.Row(height - 1 - stored);
      for (int x = 0; x < columns; x += 8) {
        const unsigned bits = row[x / 8];
        for (int bit = 0; bit < 8 && x + bit < columns; ++bit) {
          // All ones or all zeros from the bit, without a branch on it.
          static_assert(MaskOpaque == 0);
          mask[x + bit] = static_cast<std::int32_t>(0u - ((bits >> (7 - bit)) & 1u)) & MaskTransparent;
        }
      }
    }
  });
}

void MaskFromAlpha(ByteView buffer, std::size_t xorPosition, IconImage& image,
                   bool keepColours) {
  TrapAndPropagate("PrjBackEnd.mTranslate.DrawMask", [&] {
    const int width = image.Width;
    const int height = image.Height();
    const std::size_t rowBytes = XorRowBytes(width, 32);
    Require(buffer, xorPosition, rowBytes * static_cast<std::size_t>(height));
    for (int stored = 0; stored < height; ++stored) {
      const int y = height - 1 - stored;
      const std::uint8_t* row = &buffer[xorPosition + rowBytes * static_cast<std::size_t>(stored)];
      for (int x = 0; x < width; ++x) {
        // What the alpha hides is not shown anywhere, so such a pixel is plainly transparent;
        // its colour under an AND bit would show on the screen behind it. Kept alpha shows
        // the colour of a pixel that is only partly transparent.
        const int alpha = row[4 * static_cast<std::size_t>(x) + 3];
        if (alpha < 128) {
          if (!keepColours || alpha == 0) image.Pixels.At(x, y) = kBlack;
          image.Mask.At(x, y) = MaskTransparent;
        } else {
          image.Mask.At(x, y) = MaskOpaque;
        }
      }
    }
  });
}

void MarkInvertingPixels(IconImage& image) {
  for (int y = 0; y < image.Height(); ++y) {
    const std::int32_t* mask = image.Mask.Row(y);
    std::int32_t* pixels = image.Pixels.Row(y);
    // Written without a branch so that the loop runs on whole vectors.
    for (int x = 0; x < image.Width; ++x) {
      pixels[x] = mask[x] != MaskOpaque && pixels[x] == kWhite ? kNoColour : pixels[x];
    }
  }
}

std::optional<std::vector<Colour>> WrittenPalette(const IconImage& image, std::vector<std::uint8_t>* indices) {
  if (indices) indices->clear();
  std::vector<Colour> palette = image.Palette;
  if (!IsPaletted(image.BitDepth)) return palette;
  const std::size_t entries = ColourTableBytes(image.BitDepth) / 4;
  if (palette.size() > entries) palette.resize(entries);
  const auto has = [&](Colour c) { return std::find(palette.begin(), palette.end(), c) != palette.end(); };
  const bool hasBlack = has(kBlack);
  const bool hasWhite = has(kWhite);
  if (hasBlack && hasWhite) return palette;

  // Which entries the pixels are written with, leaving out the pixels waiting for the
  // missing colour. Padding columns are not part of the picture and do not count.
  IndexWriter writer(image.BitDepth, palette);
  // Bytes, not bits: setting a bit is a read and a write of a word every pixel waits on.
  std::vector<std::uint8_t> used(palette.size(), 0);
  bool needBlack = false;
  bool needWhite = false;
  const bool keepIndices = indices && image.BitDepth != 1;
  const auto width = static_cast<std::size_t>(image.Width);
  if (keepIndices) indices->resize(width * static_cast<std::size_t>(image.Height()));
  for (int y = 0; y < image.Height(); ++y) {
    const std::int32_t* pixels = image.Pixels.Row(y);
    const std::int32_t* masks = image.Mask.Row(y);
    std::uint8_t* rowIndices = keepIndices ? indices->data() + static_cast<std::size_t>(y) * width : nullptr;
    for (int x = 0; x < image.Width; ++x) {
      const Colour pixel = pixels[x];
      const std::int32_t mask = masks[x];
      if (mask != MaskOpaque) {
        const Colour colour = image.BitDepth != 1 && mask == MaskComplement ? InvertColor(pixel) : pixel;
        if (colour == kBlack && !hasBlack) {
          needBlack = true;
          continue;
        }
        if (colour == kNoColour && !hasWhite) {
          needWhite = true;
          continue;
        }
      }
      const std::int32_t index = writer.Index(pixel, mask);
      used[static_cast<std::size_t>(index)] = 1;
      if (rowIndices) rowIndices[x] = static_cast<std::uint8_t>(index);
    }
  }
  // Indices taken under the palette as it was hold only while no entry changes.
  if (keepIndices && (needBlack || needWhite)) indices->clear();
  std::size_t candidate = used.size();
  const auto takeFree = [&](Colour colour) {
    while (candidate > 0) {
      if (!used[--candidate]) {
        palette[candidate] = colour;
        return true;
      }
    }
    return false;
  };
  if (needBlack && !takeFree(kBlack)) return std::nullopt;
  // Without room for white, inverting pixels keep the lookup's entry 0.
  if (needWhite) takeFree(kWhite);
  return palette;
}

void CreateIconSubHeader(const IconImage& image, Bytes& bytes) {
  TrapAndPropagate("PrjBackEnd.mTranslate.CreateIconSubHeader", [&] {
    const auto width = static_cast<std::uint16_t>(image.Width);
    const auto dibHeight = static_cast<std::uint16_t>(image.DibHeight);
    const auto depth = static_cast<std::uint16_t>(image.BitDepth);
    const std::uint8_t header[16] = {40, 0, 0, 0,
                                     static_cast<std::uint8_t>(width), static_cast<std::uint8_t>(width >> 8), 0, 0,
                                     static_cast<std::uint8_t>(dibHeight), static_cast<std::uint8_t>(dibHeight >> 8), 0, 0,
                                     1, 0,
                                     static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(depth >> 8)};
    const std::size_t at = bytes.size();
    bytes.resize(at + kBitmapHeaderSize, 0);
    std::copy(std::begin(header), std::end(header), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  });
}

void TranslatePalette(const IconImage& image, const std::vector<Colour>& palette, Bytes& bytes) {
  TrapAndPropagate("PrjBackEnd.mTranslate.TranslatePalette", [&] {
    const std::size_t entries = ColourTableBytes(image.BitDepth) / 4;
    if (palette.size() < entries) Raise(ErrorCode::SubscriptOutOfRange);
    for (std::size_t k = 0; k < entries; ++k) {
      const Colour c = palette[k];
      bytes.insert(bytes.end(), {BlueByte(c), GreenByte(c), RedByte(c), 0});
    }
  });
}

void TranslatePicArr(const IconImage& image, const std::vector<Colour>& palette, Bytes& bytes,
                     bool keepAlpha, const std::vector<std::uint8_t>& indexed) {
  TrapAndPropagate("PrjBackEnd.mTranslate.TranslatePicArr", [&] {
    const int width = image.Width;
    const int height = image.Height();
    const std::size_t rowBytes = XorRowBytes(width, image.BitDepth);
    if (IsPaletted(image.BitDepth) && palette.size() < ColourTableBytes(image.BitDepth) / 4) {
      Raise(ErrorCode::SubscriptOutOfRange);
    }
    std::optional<IndexWriter> indices =
        IsPaletted(image.BitDepth) ? std::optional<IndexWriter>(std::in_place, image.BitDepth, palette)
                                   : std::nullopt;
    const bool withAlpha = keepAlpha && image.BitDepth == 32 && image.CarriesAlpha();
    const std::size_t pixelBytes = static_cast<std::size_t>(image.BitDepth / 8);
    const std::size_t start = bytes.size();
    bytes.resize(start + rowBytes * static_cast<std::size_t>(height), 0);
    for (int y = height - 1; y >= 0; --y) {
      std::uint8_t* row = &bytes[start + rowBytes * static_cast<std::size_t>(height - 1 - y)];
      const std::int32_t* pixels = image.Pixels.Row(y);
      const std::int32_t* masks = image.Mask.Row(y);
      const std::uint8_t* known =
          indexed.empty() ? nullptr : indexed.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      switch (image.BitDepth) {
        case 1: {
          // Every W32 column, the padding ones from the grid's padding columns.
          const int columns = image.Pixels.Columns();
          for (int x = 0; x < columns; ++x) {
            row[x / 8] |= static_cast<std::uint8_t>((indices->Index(pixels[x], masks[x]) != 0) << (7 - x % 8));
          }
          break;
        }
        case 4:
          for (int x = 0; x < width; ++x) {
            const std::int32_t found = known ? known[x] : indices->Index(pixels[x], masks[x]);
            const auto index = static_cast<std::uint8_t>(found & 0x0F);
            row[x / 2] |= (x % 2 == 0) ? static_cast<std::uint8_t>(index << 4) : index;
          }
          break;
        case 8:
          if (known) {
            std::copy(known, known + width, row);
          } else {
            for (int x = 0; x < width; ++x) row[x] = static_cast<std::uint8_t>(indices->Index(pixels[x], masks[x]));
          }
          break;
        default: {
          const std::int32_t* alpha = withAlpha ? image.Alpha.Row(y) : nullptr;
          for (int x = 0; x < width; ++x) {
            const Colour colour = WrittenColour(pixels[x], masks[x]);
            std::uint8_t* p = row + static_cast<std::size_t>(x) * pixelBytes;
            p[0] = BlueByte(colour);
            p[1] = GreenByte(colour);
            p[2] = RedByte(colour);
            if (alpha) p[3] = static_cast<std::uint8_t>(alpha[x]);
          }
          break;  // without alpha the fourth byte of a 32-bit pixel stays 0
        }
      }
    }
  });
}

void TranslateMaskArr(const IconImage& image, Bytes& bytes) {
  TrapAndPropagate("PrjBackEnd.mTranslate.TranslateMaskArr", [&] {
    const int height = image.Height();
    const std::size_t rowBytes = AndRowBytes(image.Width);
    const int columns = std::min(image.Mask.Columns(), W32(image.Width));
    const std::size_t start = bytes.size();
    bytes.resize(start + rowBytes * static_cast<std::size_t>(height), 0);
    for (int y = height - 1; y >= 0; --y) {
      std::uint8_t* row = &bytes[start + rowBytes * static_cast<std::size_t>(height - 1 - y)];
      const std::int32_t* mask = image.Mask.Row(y);
      for (int x = 0; x < columns; x += 8) {
        unsigned bits = 0;
        for (int bit = 0; bit < 8 && x + bit < columns; ++bit) {
          if (mask[x + bit] != MaskOpaque) bits |= 0x80u >> bit;
        }
        row[x / 8] = static_cast<std::uint8_t>(bits);
      }
    }
  });
}

Bytes BuildImageData(const IconImage& image, bool keepAlpha) {
  if (image.IsKept()) return image.Kept.entry->block;
  CheckWritable(image);
  if (keepAlpha && image.StoredAsPng && image.BitDepth == 32 && image.CarriesAlpha()) {
    if (UnchangedSincePngRead(image)) return image.ReadFrom.source->png;
    Bytes png;
    TrapAndPropagate("PrjBackEnd.mTranslate.TranslatePicArr", [&] { png = BuildPngData(image); });
    return png;
  }
  std::vector<std::uint8_t> indexed;
  const std::optional<std::vector<Colour>> palette = WrittenPalette(image, &indexed);
  if (!palette) {
    // Written with another colour, the transparent pixels would show: refuse rather than
    // write a different image.
    throw BackEndError(static_cast<int>(ErrorCode::InvalidArgument),
                       "A " + std::to_string(1 << image.BitDepth) +
                           "-colour image has transparent pixels but no black in its palette, "
                           "and no unused palette entry can be made black");
  }
  Bytes bytes;
  bytes.reserve(kBitmapHeaderSize + ColourTableBytes(image.BitDepth) +
                (XorRowBytes(image.Width, image.BitDepth) + AndRowBytes(image.Width)) *
                    static_cast<std::size_t>(image.Height()));
  CreateIconSubHeader(image, bytes);
  TranslatePalette(image, *palette, bytes);
  TranslatePicArr(image, *palette, bytes, keepAlpha, indexed);
  TranslateMaskArr(image, bytes);
  return bytes;
}

}  // namespace brixel
