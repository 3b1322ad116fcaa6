// PNG-compressed entries, V4 and V5 bitmap headers, and alpha kept through reading and writing.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "AlphaChannel.h"
#include "AniTestFiles.h"
#include "ByteOrder.h"
#include "IcoFile.h"
#include "PngCodec.h"
#include "RowTranslation.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;
using test::Put32;

constexpr std::int32_t O = MaskOpaque;
constexpr std::int32_t T = MaskTransparent;

// An icon file of one block per image, each with its entry bytes 4 and 6 zero.
Bytes IconFile(const std::vector<Bytes>& blocks) {
  Bytes f = {0, 0, 1, 0, static_cast<std::uint8_t>(blocks.size()), 0};
  auto offset = static_cast<std::uint32_t>(6 + 16 * blocks.size());
  for (const Bytes& b : blocks) {
    f.insert(f.end(), {0, 0, 0, 0, 0, 0, 0, 0});
    Put32(f, static_cast<std::uint32_t>(b.size()));
    Put32(f, offset);
    offset += static_cast<std::uint32_t>(b.size());
  }
  for (const Bytes& b : blocks) f.insert(f.end(), b.begin(), b.end());
  return f;
}

// A bitmap header of size bytes: the 40-byte fields, then zeros up to size.
Bytes Header(std::uint32_t size, int width, int dibHeight, int bitCount) {
  Bytes h;
  Put32(h, size);
  Put32(h, static_cast<std::uint32_t>(width));
  Put32(h, static_cast<std::uint32_t>(dibHeight));
  h.insert(h.end(), {1, 0, static_cast<std::uint8_t>(bitCount), 0});
  h.resize(size, 0);
  return h;
}

// The CRC of a PNG chunk's type and data.
std::uint32_t ChunkCrc(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

bool HavePython() {
  return test::RunCommand("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") == 0;
}
bool HaveImageMagick() { return test::RunCommand("command -v convert >/dev/null 2>&1") == 0; }

int RunPil(const std::string& args) {
  return test::RunCommand("/usr/bin/python3 " + test::ShellQuote(BRIXEL_PIL_ALPHA) + " " + args);
}

// Every entry of an icon as Pillow decodes it to RGBA.
std::vector<Bytes> PillowFrames(const fs::path& icon, const fs::path& dir) {
  fs::create_directories(dir);
  EXPECT_EQ(RunPil("frames " + test::ShellQuote(icon.string()) + " " + test::ShellQuote(dir.string()) +
                   " >/dev/null"),
            0);
  std::vector<Bytes> frames;
  for (int i = 0; fs::exists(dir / (std::to_string(i) + ".rgba")); ++i) {
    frames.push_back(ReadWholeFile((dir / (std::to_string(i) + ".rgba")).string()));
  }
  return frames;
}

class AlphaPngTest : public ::testing::Test {
 protected:
  bool Open(cIco& doc, const Bytes& file) {
    test::WriteBytes(dir_ / "in.ico", file);
    return doc.OpenIcon((dir_ / "in.ico").string());
  }
  Bytes Save(cIco& doc, const std::string& name) {
    EXPECT_TRUE(doc.SaveIcon((dir_ / name).string()));
    return ReadWholeFile((dir_ / name).string());
  }
  int ReportNumber() const {
    const std::string& r = backEnd_.reporter.reports.at(0);
    return std::stoi(r.substr(r.find("Error Number: ") + 14));
  }

  // The image must hold the RGBA picture: alpha kept, transparent below 128, colour 0 where
  // alpha is 0.
  static void ExpectPicture(const IconImage& image, const Bytes& rgba) {
    ASSERT_EQ(rgba.size(), static_cast<std::size_t>(image.Width) * image.Height() * 4);
    ASSERT_TRUE(image.CarriesAlpha());
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width; ++x) {
        const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * image.Width + x) * 4];
        SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
        EXPECT_EQ(image.Alpha.At(x, y), p[3]);
        EXPECT_EQ(image.Mask.At(x, y), p[3] < 128 ? T : O);
        EXPECT_EQ(image.Pixels.At(x, y), p[3] == 0 ? kBlack : MakeColour(p[0], p[1], p[2]));
      }
    }
  }

  test::BackEndFixture backEnd_;
  test::TempDir dir_;
};

TEST_F(AlphaPngTest, PngEntriesOfEveryColourTypeAndDepthRead) {
  if (!HavePython()) GTEST_SKIP() << "Pillow is not installed";
  ASSERT_EQ(RunPil("pngs " + test::ShellQuote(dir_.Path().string())), 0);
  std::vector<std::string> names = {"rgba8", "rgb8", "grey8", "grey_alpha8", "grey1", "grey16", "palette"};
  if (HaveImageMagick()) {
    // 16 bits a channel with alpha, and interlaced rows.
    const std::string source = test::ShellQuote((dir_ / "rgba8.png").string());
    ASSERT_EQ(test::RunCommand("convert " + source + " -depth 16 " + test::ShellQuote("PNG64:" + (dir_ / "rgba16.png").string())), 0);
    ASSERT_EQ(test::RunCommand("convert " + source + " -interlace PNG " + test::ShellQuote("PNG32:" + (dir_ / "interlaced.png").string())), 0);
    fs::copy_file(dir_ / "rgba8.rgba", dir_ / "rgba16.rgba");
    fs::copy_file(dir_ / "rgba8.rgba", dir_ / "interlaced.rgba");
    names.insert(names.end(), {"rgba16", "interlaced"});
  }
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const Bytes png = ReadWholeFile((dir_ / (name + ".png")).string());
    const Bytes file = IconFile({png});
    test::KeepFuzzSeed("ico", "png-" + name + ".ico", file);
    cIco doc;
    ASSERT_TRUE(Open(doc, file));
    const IconImage& image = doc.Image(0);
    EXPECT_EQ(image.BitDepth, 32);
    EXPECT_TRUE(image.StoredAsPng);
    ExpectPicture(image, ReadWholeFile((dir_ / (name + ".rgba")).string()));

    // Written back as a PNG that reads as the same image.
    const Bytes saved = Save(doc, name + ".ico");
    EXPECT_TRUE(IsPng(ByteView(saved).subspan(22)));
    cIco back;
    ASSERT_TRUE(back.OpenIcon((dir_ / (name + ".ico")).string()));
    EXPECT_EQ(back.Image(0), image);
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

TEST_F(AlphaPngTest, WithTheOptionOffPngEntriesBecomePlainBitmaps) {
  std::vector<std::uint8_t> rgba = {10, 20, 30, 255, 250, 250, 250, 0, 40, 50, 60, 127, 70, 80, 90, 128};
  const Bytes file = IconFile({EncodePng(2, 2, rgba)});
  KeepAlpha(false);  // the fixture turns it on again
  cIco doc;
  ASSERT_TRUE(Open(doc, file));
  const IconImage& image = doc.Image(0);
  EXPECT_FALSE(image.CarriesAlpha());
  EXPECT_FALSE(image.StoredAsPng);
  // Below 128 transparent with colour 0, as without AND rows; the rest opaque.
  EXPECT_EQ(image.Pixels.At(0, 0), MakeColour(10, 20, 30));
  EXPECT_EQ(image.Mask.At(0, 0), O);
  for (const auto& [x, y] : {std::pair{1, 0}, {0, 1}}) {
    EXPECT_EQ(image.Pixels.At(x, y), kBlack);
    EXPECT_EQ(image.Mask.At(x, y), T);
  }
  EXPECT_EQ(image.Mask.At(1, 1), O);
  const Bytes saved = Save(doc, "plain.ico");
  EXPECT_EQ(GetLength(saved, 22), 40u);  // a 32-bit bitmap, every fourth byte 0
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(saved[22 + 40 + 4 * i + 3], 0) << i;
}

TEST_F(AlphaPngTest, BitmapAlphaIsKeptAndAlphaZeroIsPlainTransparent) {
  // 5 x 1, 32 bits: alpha 200 opaque; alpha 0 over XOR white with AND 1 (without alpha an
  // inverting pixel); alpha 0 over a colour with AND 0; alpha 90 with AND 0; alpha 90 over
  // XOR white with AND 1, which inverts only where alpha is not shown.
  Bytes block = Header(40, 5, 2, 32);
  block.insert(block.end(), {30, 20, 10, 200, 255, 255, 255, 0, 3, 2, 1, 0, 6, 5, 4, 90, 255, 255, 255, 90});
  block.insert(block.end(), {0x48, 0, 0, 0});
  const Bytes file = IconFile({block});
  for (const bool keep : {true, false}) {
    SCOPED_TRACE(keep);
    KeepAlpha(keep);
    cIco doc;
    ASSERT_TRUE(Open(doc, file));
    const IconImage& image = doc.Image(0);
    const std::pair<Colour, std::int32_t> expected[] = {
        {MakeColour(10, 20, 30), O}, {kBlack, T}, {kBlack, T}, {MakeColour(4, 5, 6), O},
        {keep ? kWhite : kNoColour, T}};
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(image.Pixels.At(x, 0), expected[x].first) << x;
      EXPECT_EQ(image.Mask.At(x, 0), expected[x].second) << x;
    }
    EXPECT_EQ(image.CarriesAlpha(), keep);
    const Bytes saved = Save(doc, "alpha.ico");
    EXPECT_EQ(GetLength(saved, 22), 40u);
    EXPECT_EQ(Bytes(saved.begin() + 62, saved.begin() + 82),
              keep ? (Bytes{30, 20, 10, 200, 0, 0, 0, 0, 0, 0, 0, 0, 6, 5, 4, 90, 255, 255, 255, 90})
                   : (Bytes{30, 20, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6, 5, 4, 0, 255, 255, 255, 0}));
    EXPECT_EQ(saved[82], 0x68);
  }

  // Without AND rows the mask comes from the alpha; kept alpha keeps the colour of a pixel
  // that is only partly transparent.
  KeepAlpha(true);
  Bytes noAnd = Header(40, 2, 2, 32);
  noAnd.insert(noAnd.end(), {30, 20, 10, 60, 3, 2, 1, 0});
  cIco doc;
  ASSERT_TRUE(Open(doc, IconFile({noAnd})));
  EXPECT_EQ(doc.XYColor(0, 0, 0), MakeColour(10, 20, 30));
  EXPECT_EQ(doc.XYMask(0, 0, 0), T);
  EXPECT_EQ(doc.Image(0).Alpha.At(0, 0), 60);
  EXPECT_EQ(doc.XYColor(0, 1, 0), kBlack);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(AlphaPngTest, FilesWithoutAlphaAreWrittenAlikeWithTheOptionOnOrOff) {
  cIco doc;
  for (int depth : {1, 4, 8, 24, 32}) {
    doc.AddImage(9, 7, static_cast<std::int16_t>(depth), -1);
    const auto i = static_cast<std::int16_t>(doc.IconCount() - 1);
    for (int x = 0; x < 9; ++x) {
      doc.XYColor(i, x, x % 7, doc.PaletteColor(i, x % 2));
      doc.XYMask(i, x, x % 7, x % 3 == 0 ? T : O);
    }
  }
  const Bytes on = Save(doc, "on.ico");
  cIco back;
  ASSERT_TRUE(back.OpenIcon((dir_ / "on.ico").string()));
  for (const IconImage& image : back.Images()) EXPECT_FALSE(image.CarriesAlpha());
  KeepAlpha(false);  // the fixture turns it on again
  EXPECT_EQ(Save(back, "off.ico"), on);
}

TEST_F(AlphaPngTest, V4AndV5HeadersReadLikeTheFortyByteOne) {
  // A 3 x 2 8-bit image with a palette, AND rows and, for V5, a colour profile after them.
  Bytes table;
  for (int k = 0; k < 256; ++k) table.insert(table.end(), {static_cast<std::uint8_t>(k), 7, static_cast<std::uint8_t>(255 - k), 0});
  const Bytes rows = {1, 2, 3, 0, 200, 100, 50, 0};
  const Bytes andRows = {0x20, 0, 0, 0, 0x80, 0, 0, 0};
  const Bytes profile = test::Text("....acspICC profile bytes that no reader needs.....");
  const auto block = [&](std::uint32_t headerSize, bool withProfile) {
    Bytes b = Header(headerSize, 3, 4, 8);
    b.insert(b.end(), table.begin(), table.end());
    b.insert(b.end(), rows.begin(), rows.end());
    b.insert(b.end(), andRows.begin(), andRows.end());
    if (withProfile) {
      PutMarker(b, 112, static_cast<std::int64_t>(b.size()));  // from the header's start
      PutMarker(b, 116, static_cast<std::int64_t>(profile.size()));
      b.insert(b.end(), profile.begin(), profile.end());
    }
    return b;
  };
  // A 32-bit image without AND rows whose profile follows its colour rows directly: the
  // profile is not taken for AND rows.
  const auto bare = [&](std::uint32_t headerSize) {
    Bytes b = Header(headerSize, 2, 2, 32);
    b.insert(b.end(), {1, 2, 3, 255, 4, 5, 6, 0});
    if (headerSize == kBitmapV5HeaderSize) {
      PutMarker(b, 112, static_cast<std::int64_t>(b.size()));
      PutMarker(b, 116, static_cast<std::int64_t>(profile.size()));
      b.insert(b.end(), profile.begin(), profile.end());
    }
    return b;
  };

  cIco plain;
  ASSERT_TRUE(Open(plain, IconFile({block(40, false), bare(40)})));
  EXPECT_EQ(plain.XYColor(0, 2, 1), MakeColour(252, 7, 3));
  EXPECT_EQ(plain.XYMask(0, 2, 1), T);
  EXPECT_EQ(plain.XYMask(1, 1, 0), T);
  for (const auto& [headerSize, withProfile] : {std::pair{108u, false}, {124u, false}, {124u, true}}) {
    SCOPED_TRACE(std::to_string(headerSize) + (withProfile ? " with a profile" : ""));
    const Bytes file = IconFile({block(headerSize, withProfile), bare(headerSize)});
    test::KeepFuzzSeed("ico", "header-" + std::to_string(headerSize) + (withProfile ? "-icc" : "") + ".ico", file);
    cIco doc;
    ASSERT_TRUE(Open(doc, file));
    ASSERT_EQ(doc.IconCount(), 2);
    EXPECT_EQ(doc.Image(0), plain.Image(0));
    EXPECT_EQ(doc.Image(1), plain.Image(1));
    // Written with the 40-byte header.
    const Bytes saved = Save(doc, "v5.ico");
    EXPECT_EQ(GetLength(saved, GetLength(saved, 6 + 12)), 40u);
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(AlphaPngTest, BadPngEntriesAreReportedWithMemoryBounded) {
  std::vector<std::uint8_t> rgba(16 * 16 * 4, 0x55);
  const Bytes good = EncodePng(16, 16, rgba);
  Bytes truncated(good.begin(), good.end() - 30);
  Bytes corrupt = good;
  corrupt[good.size() / 2] ^= 0xFF;
  // The header claims 20000 x 16000 pixels; the data behind it is a few bytes.
  Bytes huge = good;
  const std::uint8_t size[8] = {0, 0, 0x4E, 0x20, 0, 0, 0x3E, 0x80};
  std::copy(size, size + 8, huge.begin() + 16);
  const std::uint32_t crc = ChunkCrc(&huge[12], 17);  // "IHDR" and its 13 bytes
  const std::uint8_t crcBytes[4] = {static_cast<std::uint8_t>(crc >> 24), static_cast<std::uint8_t>(crc >> 16),
                                    static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)};
  std::copy(crcBytes, crcBytes + 4, huge.begin() + 29);
  // 255 entries sharing one PNG block would decompress to far more than the file holds.
  const Bytes compressed = EncodePng(1000, 1000, std::vector<std::uint8_t>(1000 * 1000 * 4, 0));
  // Two such pictures, each within its file, decompress to more than a file may.
  const Bytes large = EncodePng(1500, 1500, std::vector<std::uint8_t>(1500 * 1500 * 4, 0));
  Bytes shared = {0, 0, 1, 0, 255, 0};
  for (int i = 0; i < 255; ++i) {
    shared.insert(shared.end(), {0, 0, 0, 0, 0, 0, 0, 0});
    Put32(shared, static_cast<std::uint32_t>(compressed.size()));
    Put32(shared, 6 + 16 * 255);
  }
  shared.insert(shared.end(), compressed.begin(), compressed.end());

  const struct {
    const char* name;
    Bytes file;
    int number;
  } cases[] = {
      {"truncated", IconFile({truncated}), 481},  // beside a good one it is kept (KeptEntryTest)
      {"corrupt", IconFile({corrupt}), 481},
      {"huge header", IconFile({huge}), 62},
      {"shared block", shared, 62},
      {"too many pixels", IconFile({large, large}), 481},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    backEnd_.reporter.reports.clear();
    cIco doc;
    EXPECT_FALSE(Open(doc, c.file));
    ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
    EXPECT_EQ(ReportNumber(), c.number) << backEnd_.reporter.reports[0];
    EXPECT_EQ(doc.IconCount(), 0);
    if (c.file.size() < 10000) test::KeepFuzzSeed("ico", std::string("bad-png-") + c.name + ".ico", c.file);
  }
}

// A PNG entry the image still matches is written back byte for byte, chunks this program
// would not write included; once a pixel changes it is compressed again from the grids.
TEST_F(AlphaPngTest, UnchangedPngEntriesAreWrittenBackAsReadAndEditedOnesAreCompressedAgain) {
  std::vector<std::uint8_t> rgba(4 * 4 * 4, 0);
  for (std::size_t p = 0; p < rgba.size(); p += 4) rgba[p] = 200, rgba[p + 3] = p < 32 ? 255 : 90;
  Bytes png = EncodePng(4, 4, rgba);
  // A text chunk before IEND, which the encoder here never writes.
  Bytes text = {0, 0, 0, 5, 't', 'E', 'X', 't', 'k', 0, 'v', 'a', 'l'};
  const std::uint32_t crc = ChunkCrc(&text[4], text.size() - 4);
  text.insert(text.end(), {static_cast<std::uint8_t>(crc >> 24), static_cast<std::uint8_t>(crc >> 16),
                           static_cast<std::uint8_t>(crc >> 8), static_cast<std::uint8_t>(crc)});
  png.insert(png.end() - 12, text.begin(), text.end());
  cIco doc;
  ASSERT_TRUE(Open(doc, IconFile({png})));

  const Bytes same = Save(doc, "same.ico");
  EXPECT_EQ(Bytes(same.begin() + 22, same.end()), png);

  // Copies share where they came from; a changed copy is its own image.
  IconImage copy = doc.Image(0);
  EXPECT_EQ(copy, doc.Image(0));
  doc.Image(0).Alpha.At(3, 3) = 255;
  doc.Image(0).Mask.At(3, 3) = O;
  doc.Image(0).Pixels.At(3, 3) = MakeColour(1, 2, 3);
  EXPECT_NE(copy, doc.Image(0));
  const Bytes edited = Save(doc, "edited.ico");
  const Bytes block(edited.begin() + 22, edited.end());
  EXPECT_TRUE(IsPng(block));
  EXPECT_NE(block, png);
  cIco back;
  ASSERT_TRUE(back.OpenIcon((dir_ / "edited.ico").string()));
  EXPECT_EQ(back.Image(0).Pixels.At(3, 3), MakeColour(1, 2, 3));
  EXPECT_EQ(back.Image(0).Alpha.At(3, 3), 255);
  EXPECT_EQ(back.Image(0).Alpha.At(0, 3), 90);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

// Icons that ImageMagick and Pillow write, with PNG entries and 32-bit alpha, open and come
// back from a save as Pillow decoded them before. Where alpha is 0 the colour is not compared:
// such pixels read as colour 0.
TEST_F(AlphaPngTest, IconsOfImageMagickAndPillowRoundTripThroughASave) {
  if (!HavePython()) GTEST_SKIP() << "Pillow is not installed";
  std::vector<std::pair<std::string, std::string>> makers = {
      {"pil-png", "pil png"}, {"pil-bmp", "pil bmp"}};
  if (HaveImageMagick()) makers.push_back({"im", "im"});
  for (const auto& [name, how] : makers) {
    SCOPED_TRACE(name);
    const fs::path original = dir_ / (name + ".ico");
    if (how == "im") {
      ASSERT_EQ(RunPil("ico " + test::ShellQuote((dir_ / "source.ico").string()) + " png"), 0);
      ASSERT_EQ(test::RunCommand("convert " + test::ShellQuote((dir_ / "source.ico").string() + "[0]") +
                                 " -define icon:auto-resize=256,48,16 " + test::ShellQuote(original.string())),
                0);
    } else {
      ASSERT_EQ(RunPil("ico " + test::ShellQuote(original.string()) + " " + how.substr(4)), 0);
    }
    cIco doc;
    ASSERT_TRUE(doc.OpenIcon(original.string()));
    ASSERT_GE(doc.IconCount(), 3);
    for (const IconImage& image : doc.Images()) {
      EXPECT_TRUE(image.CarriesAlpha());
      // Pillow writes every entry in its one format, ImageMagick the 256-pixel one as PNG.
      EXPECT_EQ(image.StoredAsPng, name == "pil-png" || (name == "im" && image.Width == 256)) << image.Width;
    }
    const fs::path saved = dir_ / (name + "-saved.ico");
    ASSERT_TRUE(doc.SaveIcon(saved.string()));

    const std::vector<Bytes> before = PillowFrames(original, dir_ / (name + "-before"));
    const std::vector<Bytes> after = PillowFrames(saved, dir_ / (name + "-after"));
    ASSERT_EQ(before.size(), static_cast<std::size_t>(doc.IconCount()));
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t f = 0; f < before.size(); ++f) {
      ASSERT_EQ(after[f].size(), before[f].size()) << f;
      int soft = 0;
      int differing = 0;
      for (std::size_t p = 0; p < before[f].size(); p += 4) {
        const int alpha = before[f][p + 3];
        soft += alpha > 0 && alpha < 255;
        const bool same = after[f][p + 3] == alpha &&
                          (alpha == 0 || std::equal(&before[f][p], &before[f][p + 3], &after[f][p]));
        differing += !same;
      }
      EXPECT_EQ(differing, 0) << "frame " << f;
      EXPECT_GT(soft, 0) << "frame " << f;  // the soft edges are there to be kept
    }
  }
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

}  // namespace
}  // namespace brixel
