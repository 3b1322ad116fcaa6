#include "RowTranslation.h"

#include <optional>

#include "Palette.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

// Bounds for every read: a block too short for its rows is the end-of-input error.
void Require(ByteView buffer, std::size_t position, std::size_t count) {
  if (position > buffer.size() || buffer.size() - position < count) {
    Raise(ErrorCode::InputPastEnd);
  }
}

Colour PaletteEntry(const IconImage& image, std::size_t index) {
  if (index >= image.Palette.size()) Raise(ErrorCode::SubscriptOutOfRange);
  return image.Palette[index];
}

// Colour parts as the file stores them; a negative colour is written as black.
std::uint8_t BlueByte(Colour c) { return c < 0 ? 0 : static_cast<std::uint8_t>(BlueOf(c)); }
std::uint8_t GreenByte(Colour c) { return c < 0 ? 0 : static_cast<std::uint8_t>(GreenOf(c)); }
std::uint8_t RedByte(Colour c) { return c < 0 ? 0 : static_cast<std::uint8_t>(RedOf(c)); }

void CheckWritable(const IconImage& image) {
  if (!IsSupportedDepth(image.BitDepth) || image.Width < 1 || image.Height() < 1) {
    Raise(ErrorCode::InvalidArgument);
  }
  if (image.Pixels.Rows() < image.Height() || image.Mask.Rows() < image.Height() ||
      image.Mask.Columns() < W32(image.Width) ||
      image.Pixels.Columns() < (image.BitDepth == 1 ? W32(image.Width) : image.Width)) {
    Raise(ErrorCode::SubscriptOutOfRange);
  }
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

std::size_t SetPalette(ByteView buffer, IconImage& image) {
  std::size_t rowsStart = kSingleImageBlockOffset + kBitmapHeaderSize;
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
    for (int stored = 0; stored < height; ++stored) {
      const int y = height - 1 - stored;
      const std::uint8_t* row = &buffer[position + rowBytes * static_cast<std::size_t>(stored)];
      switch (image.BitDepth) {
        case 1:
          for (int x = 0; x < image.Pixels.Columns(); ++x) {
            const int bit = (row[x / 8] >> (7 - x % 8)) & 1;
            image.Pixels.At(x, y) = PaletteEntry(image, static_cast<std::size_t>(bit));
          }
          break;
        case 4:
          for (int x = 0; x < width; ++x) {
            const int nibble = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
            image.Pixels.At(x, y) = PaletteEntry(image, static_cast<std::size_t>(nibble));
          }
          break;
        case 8:
          for (int x = 0; x < width; ++x) image.Pixels.At(x, y) = PaletteEntry(image, row[x]);
          break;
        case 24:
        case 32: {
          const int step = image.BitDepth / 8;
          for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(step);
            image.Pixels.At(x, y) = MakeColour(p[2], p[1], p[0]);
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
    const std::size_t rowBytes = AndRowBytes(image.Width);
    Require(buffer, position, rowBytes * static_cast<std::size_t>(height));
    for (int stored = 0; stored < height; ++stored) {
      const int y = height - 1 - stored;
      const std::uint8_t* row = &buffer[position + rowBytes * static_cast<std::size_t>(stored)];
      for (int x = 0; x < image.Mask.Columns(); ++x) {
        const int bit = (row[x / 8] >> (7 - x % 8)) & 1;
        image.Mask.At(x, y) = bit ? MaskTransparent : MaskOpaque;
      }
    }
  });
}

void MaskFromAlpha(ByteView buffer, std::size_t xorPosition, IconImage& image) {
  TrapAndPropagate("PrjBackEnd.mTranslate.DrawMask", [&] {
    const int width = image.Width;
    const int height = image.Height();
    const std::size_t rowBytes = XorRowBytes(width, 32);
    Require(buffer, xorPosition, rowBytes * static_cast<std::size_t>(height));
    for (int stored = 0; stored < height; ++stored) {
      const int y = height - 1 - stored;
      const std::uint8_t* row = &buffer[xorPosition + rowBytes * static_cast<std::size_t>(stored)];
      for (int x = 0; x < width; ++x) {
        image.Mask.At(x, y) = row[4 * static_cast<std::size_t>(x) + 3] < 128 ? MaskTransparent : MaskOpaque;
      }
    }
  });
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
    bytes.insert(bytes.end(), header, header + 16);
    bytes.insert(bytes.end(), kBitmapHeaderSize - 16, 0);
  });
}

void TranslatePalette(const IconImage& image, Bytes& bytes) {
  TrapAndPropagate("PrjBackEnd.mTranslate.TranslatePalette", [&] {
    const std::size_t entries = ColourTableBytes(image.BitDepth) / 4;
    for (std::size_t k = 0; k < entries; ++k) {
      const Colour c = PaletteEntry(image, k);
      bytes.insert(bytes.end(), {BlueByte(c), GreenByte(c), RedByte(c), 0});
    }
  });
}

void TranslatePicArr(const IconImage& image, Bytes& bytes) {
  TrapAndPropagate("PrjBackEnd.mTranslate.TranslatePicArr", [&] {
    const int width = image.Width;
    const int height = image.Height();
    const std::size_t rowBytes = XorRowBytes(width, image.BitDepth);
    // A 256-entry palette is indexed once; sixteen entries are quicker to search.
    const std::optional<PaletteLookup> palette =
        image.BitDepth == 8 ? std::optional<PaletteLookup>(image) : std::nullopt;
    for (int y = height - 1; y >= 0; --y) {
      const std::size_t rowStart = bytes.size();
      bytes.resize(rowStart + rowBytes, 0);
      std::uint8_t* row = &bytes[rowStart];
      if (image.BitDepth == 1) {
        const Colour zero = PaletteEntry(image, 0);
        for (int x = 0; x < image.Pixels.Columns(); ++x) {
          if (image.Pixels.At(x, y) != zero) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        continue;
      }
      for (int x = 0; x < width; ++x) {
        const Colour pixel = image.Pixels.At(x, y);
        const Colour colour = image.Mask.At(x, y) == MaskComplement ? InvertColor(pixel) : pixel;
        switch (image.BitDepth) {
          case 4: {
            const auto index = static_cast<std::uint8_t>(GetPaletteNum(colour, image) & 0x0F);
            row[x / 2] |= (x % 2 == 0) ? static_cast<std::uint8_t>(index << 4) : index;
            break;
          }
          case 8:
            row[x] = static_cast<std::uint8_t>(palette->Find(colour));
            break;
          default: {
            std::uint8_t* p = row + static_cast<std::size_t>(x) * static_cast<std::size_t>(image.BitDepth / 8);
            p[0] = BlueByte(colour);
            p[1] = GreenByte(colour);
            p[2] = RedByte(colour);
            break;  // the fourth byte of a 32-bit pixel stays 0
          }
        }
      }
    }
  });
}

void TranslateMaskArr(const IconImage& image, Bytes& bytes) {
  TrapAndPropagate("PrjBackEnd.mTranslate.TranslateMaskArr", [&] {
    const int height = image.Height();
    const std::size_t rowBytes = AndRowBytes(image.Width);
    for (int y = height - 1; y >= 0; --y) {
      const std::size_t rowStart = bytes.size();
      bytes.resize(rowStart + rowBytes, 0);
      for (int x = 0; x < image.Mask.Columns() && x < W32(image.Width); ++x) {
        if (image.Mask.At(x, y) != MaskOpaque) {
          bytes[rowStart + static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
      }
    }
  });
}

Bytes BuildImageData(const IconImage& image) {
  CheckWritable(image);
  Bytes bytes;
  bytes.reserve(kBitmapHeaderSize + ColourTableBytes(image.BitDepth) +
                (XorRowBytes(image.Width, image.BitDepth) + AndRowBytes(image.Width)) *
                    static_cast<std::size_t>(image.Height()));
  CreateIconSubHeader(image, bytes);
  TranslatePalette(image, bytes);
  TranslatePicArr(image, bytes);
  TranslateMaskArr(image, bytes);
  return bytes;
}

}  // namespace brixel
