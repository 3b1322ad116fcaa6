// macOS icons (.icns) through the back end alone: the run-length planes, the old paletted
// entries, the entry kinds a file may hold, what the writer puts under each type, and files
// that lie about their lengths.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

#include "AlphaChannel.h"
#include "IcnsClassic.h"
#include "IcnsFile.h"
#include "IcnsRunLength.h"
#include "IcoFile.h"
#include "PngCodec.h"
#include "PngEntry.h"
#include "TestSupport.h"
#include "Documents.h"
#include "IcnsTestFiles.h"
#include "cAni.h"
#include "cIco.h"

namespace brixel {
namespace {

using test::IcnsOf;
using test::PutBig;

std::uint32_t BigAt(const Bytes& bytes, std::size_t at) {
  return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 |
         bytes[at + 3];
}

std::uint32_t TypeOf(const std::string& name) { return BigAt(Bytes(name.begin(), name.end()), 0); }

// The entries of a file by type, each with its data.
std::map<std::string, Bytes> EntriesOf(const Bytes& file) {
  std::map<std::string, Bytes> entries;
  for (std::size_t at = 8; at + 8 <= file.size();) {
    const std::uint32_t length = BigAt(file, at + 4);
    entries[std::string(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(at + 4))] =
        Bytes(file.begin() + static_cast<std::ptrdiff_t>(at + 8), file.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  }
  return entries;
}

Bytes RunLength(const std::vector<std::uint8_t>& plane) {
  Bytes out;
  AppendRunLengthPlane(plane, out);
  return out;
}

// A 32-bit image with alpha: colours that vary, alpha from 0 to 255 across the rows.
IconImage SoftImage(int size) {
  IconImage image = MakeNewImage(size, size, 32);
  image.Alpha = Grid(size, size, 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const int alpha = (x * 255 / std::max(1, size - 1) + y * 37) % 256;
      image.Alpha.At(x, y) = alpha;
      image.Mask.At(x, y) = alpha >= 128 ? MaskOpaque : MaskTransparent;
      image.Pixels.At(x, y) = alpha == 0 ? kBlack : MakeColour(x % 256, y % 256, (x * y) % 256);
    }
  }
  return image;
}

// The images read back with every pixel as a writer gives it: its RGBA with alpha.
void ExpectSamePixels(const IconImage& a, const IconImage& b) {
  ASSERT_EQ(a.Width, b.Width);
  ASSERT_EQ(a.Height(), b.Height());
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width; ++x) {
      ASSERT_EQ(AlphaAt(a, x, y), AlphaAt(b, x, y)) << x << "," << y;
      if (AlphaAt(a, x, y) > 0) {
        ASSERT_EQ(a.Pixels.At(x, y), b.Pixels.At(x, y)) << x << "," << y;
      }
    }
  }
}

IconImage ImageFromPicture64() { return SoftImage(64); }

std::vector<IconImage> Read(const Bytes& file, const PictureDecoder& decoder = nullptr) {
  std::vector<IconImage> images;
  EXPECT_TRUE(ReadIcnsImages(file, images, decoder));
  return images;
}

std::string DamageOf(const Bytes& file) {
  std::vector<IconImage> images;
  try {
    ReadIcnsImages(file, images, nullptr);
  } catch (const BackEndError& error) {
    EXPECT_EQ(error.Number(), static_cast<int>(ErrorCode::InvalidPicture));
    return error.Description();
  }
  ADD_FAILURE() << "the file was read";
  return {};
}

TEST(IcnsRunLengthTest, PlanesComeBackAsTheyWere) {
  std::vector<std::vector<std::uint8_t>> planes = {
      {}, {7}, {1, 2}, {5, 5, 5}, std::vector<std::uint8_t>(300, 9), std::vector<std::uint8_t>(131, 4)};
  std::vector<std::uint8_t> mixed;
  for (int i = 0; i < 1000; ++i) mixed.push_back(static_cast<std::uint8_t>(i % 7 < 3 ? 200 : i * 31));
  planes.push_back(mixed);
  std::vector<std::uint8_t> noRuns(400);
  std::iota(noRuns.begin(), noRuns.end(), 0);
  planes.push_back(noRuns);
  for (const auto& plane : planes) {
    const Bytes coded = RunLength(plane);
    std::size_t position = 0;
    const auto decoded = DecodeRunLengthPlane(coded, position, plane.size());
    ASSERT_TRUE(decoded) << plane.size();
    EXPECT_EQ(*decoded, plane);
    EXPECT_EQ(position, coded.size());
  }
  // Runs are coded as runs: 300 equal bytes take a few pairs.
  EXPECT_LE(RunLength(std::vector<std::uint8_t>(300, 9)).size(), 6u);
}

TEST(IcnsRunLengthTest, DataThatEndsOrOverrunsThePlaneIsRefused) {
  std::size_t position = 0;
  EXPECT_FALSE(DecodeRunLengthPlane(Bytes{0x80 + 5}, position, 8));  // run without its byte
  position = 0;
  EXPECT_FALSE(DecodeRunLengthPlane(Bytes{3, 1, 2}, position, 4));  // copy cut short
  position = 0;
  EXPECT_FALSE(DecodeRunLengthPlane(Bytes{0xFF, 1}, position, 100));  // run of 130 past 100
  position = 0;
  EXPECT_FALSE(DecodeRunLengthPlane(Bytes{}, position, 1));
  position = 0;
  const auto plane = DecodeRunLengthPlane(Bytes{0x80, 6, 1, 7, 8}, position, 5);
  ASSERT_TRUE(plane);
  EXPECT_EQ(*plane, (std::vector<std::uint8_t>{6, 6, 6, 7, 8}));
}

TEST(IcnsClassicTest, SystemPalettes) {
  const auto& p256 = ClassicPalette256();
  ASSERT_EQ(p256.size(), 256u);
  EXPECT_EQ(p256[0], kWhite);
  EXPECT_EQ(p256[255], kBlack);
  EXPECT_EQ(p256[215], MakeColour(0xEE, 0, 0));
  EXPECT_EQ(p256[245], MakeColour(0xEE, 0xEE, 0xEE));
  EXPECT_EQ(std::set<Colour>(p256.begin(), p256.end()).size(), 256u);
  const auto& p16 = ClassicPalette16();
  ASSERT_EQ(p16.size(), 16u);
  EXPECT_EQ(p16[0], kWhite);
  EXPECT_EQ(p16[3], MakeColour(0xDD, 0x08, 0x06));
  EXPECT_EQ(p16[15], kBlack);
}

// A 32 pixel file of the old kind: ICN# (image and mask), icl4 and icl8.
Bytes ClassicFile(bool withEightBit) {
  Bytes icn(256, 0);
  for (int y = 0; y < 32; ++y) {
    icn[static_cast<std::size_t>(4 * y)] = 0xF0;             // image: 4 black pixels a row
    // mask: the upper half opaque
    std::fill_n(icn.begin() + 128 + 4 * y, 4, static_cast<std::uint8_t>(y < 16 ? 0xFF : 0));
  }
  Bytes icl4(512);
  for (std::size_t i = 0; i < icl4.size(); ++i) icl4[i] = static_cast<std::uint8_t>((i % 16) << 4 | 3);
  Bytes icl8(1024);
  for (std::size_t i = 0; i < icl8.size(); ++i) icl8[i] = static_cast<std::uint8_t>(i % 256);
  std::vector<std::pair<std::string, Bytes>> entries = {{"ICN#", icn}, {"icl4", icl4}};
  if (withEightBit) entries.push_back({"icl8", icl8});
  return IcnsOf(entries);
}

TEST(IcnsReaderTest, OldEntriesReadWithTheSystemPalettes) {
  test::BackEndFixture fixture;
  const Bytes file = ClassicFile(true);
  test::KeepFuzzSeed("icns", "classic-32.icns", file);
  std::vector<IconImage> images = Read(file);
  ASSERT_EQ(images.size(), 1u);  // the deepest of the size
  const IconImage& eight = images[0];
  EXPECT_EQ(eight.BitDepth, 8);
  EXPECT_EQ(eight.Palette, ClassicPalette256());
  EXPECT_EQ(eight.Pixels.At(5, 0), ClassicPalette256()[5]);
  EXPECT_EQ(eight.Pixels.At(0, 1), ClassicPalette256()[32]);
  EXPECT_EQ(eight.Mask.At(20, 3), MaskOpaque);
  EXPECT_EQ(eight.Mask.At(20, 16), MaskTransparent);

  images = Read(ClassicFile(false));
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].BitDepth, 4);
  EXPECT_EQ(images[0].Pixels.At(0, 0), ClassicPalette16()[0]);
  EXPECT_EQ(images[0].Pixels.At(1, 0), ClassicPalette16()[3]);
  EXPECT_EQ(images[0].Pixels.At(2, 0), ClassicPalette16()[1]);

  // A 1-bit one alone: 1 bits black.
  images = Read(IcnsOf({{"ICN#", EntriesOf(ClassicFile(false))["ICN#"]}}));
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].BitDepth, 1);
  EXPECT_EQ(images[0].Pixels.At(3, 5), kBlack);
  EXPECT_EQ(images[0].Pixels.At(4, 5), kWhite);
  // The old image goes to an icon file as a paletted image of its own.
  cIco icon;
  EXPECT_TRUE(icon.ReadIconData(BuildIconFile(images, 1)));
  EXPECT_EQ(icon.Image(0).BitDepth, 1);
}

TEST(IcnsReaderTest, ThirtyTwoBitEntriesWinOverOldOnesOfTheirSize) {
  test::BackEndFixture fixture;
  Bytes colours;
  for (int c = 0; c < 3; ++c) AppendRunLengthPlane(std::vector<std::uint8_t>(1024, static_cast<std::uint8_t>(60 * c)), colours);
  Bytes mask(1024, 255);
  std::fill(mask.begin(), mask.begin() + 32, 0);
  auto entries = EntriesOf(ClassicFile(true));
  const Bytes file = IcnsOf({{"ICN#", entries["ICN#"]}, {"icl8", entries["icl8"]}, {"il32", colours}, {"l8mk", mask}});
  test::KeepFuzzSeed("icns", "il32-and-classic.icns", file);
  const std::vector<IconImage> images = Read(file);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].BitDepth, 32);
  EXPECT_EQ(images[0].Pixels.At(3, 3), MakeColour(0, 60, 120));
  EXPECT_EQ(AlphaAt(images[0], 3, 0), 0);
  EXPECT_EQ(AlphaAt(images[0], 3, 1), 255);
}

TEST(IcnsReaderTest, RunLengthArgbAndPngEntries) {
  test::BackEndFixture fixture;
  // 128 pixels: four bytes of 0 before the planes; no mask, so opaque without alpha.
  Bytes it32 = {0, 0, 0, 0};
  for (int c = 0; c < 3; ++c) AppendRunLengthPlane(std::vector<std::uint8_t>(128 * 128, static_cast<std::uint8_t>(10 + c)), it32);
  // 16 pixels as ARGB: alpha first.
  Bytes argb = {'A', 'R', 'G', 'B'};
  std::vector<std::uint8_t> alpha(256);
  for (std::size_t i = 0; i < alpha.size(); ++i) alpha[i] = static_cast<std::uint8_t>(i);
  AppendRunLengthPlane(alpha, argb);
  for (int c = 0; c < 3; ++c) AppendRunLengthPlane(std::vector<std::uint8_t>(256, static_cast<std::uint8_t>(100 + c)), argb);
  // 64 pixels as PNG.
  std::vector<std::uint8_t> rgba(64 * 64 * 4);
  for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = static_cast<std::uint8_t>(i * 7);
  const Bytes png = EncodePng(64, 64, rgba);
  const Bytes file = IcnsOf({{"TOC ", Bytes(16, 0)}, {"it32", it32}, {"ic04", argb}, {"icp6", png}, {"icnV", Bytes(4, 1)}});
  test::KeepFuzzSeed("icns", "it32-ic04-icp6.icns", file);
  const std::vector<IconImage> images = Read(file);
  ASSERT_EQ(images.size(), 3u);
  const IconImage& argbImage = images[0];
  EXPECT_EQ(argbImage.Width, 16);
  EXPECT_EQ(AlphaAt(argbImage, 5, 2), 37);
  EXPECT_EQ(argbImage.Pixels.At(5, 2), MakeColour(100, 101, 102));
  const IconImage& pngImage = images[1];
  EXPECT_EQ(pngImage.Width, 64);
  EXPECT_TRUE(pngImage.StoredAsPng);
  EXPECT_TRUE(UnchangedSincePngRead(pngImage));
  const IconImage& rle = images[2];
  EXPECT_EQ(rle.Width, 128);
  EXPECT_FALSE(rle.CarriesAlpha());
  EXPECT_EQ(rle.Pixels.At(127, 127), MakeColour(10, 11, 12));
  EXPECT_EQ(rle.Mask.At(127, 127), MaskOpaque);

  // Written again, the PNG entry is its own bytes, under its type and its @2x type.
  std::vector<std::string> leftOut;
  const auto written = EntriesOf(BuildIcnsFile(images, leftOut));
  EXPECT_TRUE(leftOut.empty());
  EXPECT_EQ(written.at("icp6"), png);
  EXPECT_EQ(written.at("ic12"), png);
  EXPECT_TRUE(written.count("ic07") && written.count("icp4") && written.count("TOC "));
}

TEST(IcnsReaderTest, DamagedRunLengthEntryIsKeptAndWrittenBackUnchanged) {
  test::BackEndFixture fixture;
  const Bytes damaged = {0xFF, 1, 0xFF};  // a run, then one without its byte
  std::vector<std::uint8_t> rgba(16 * 16 * 4, 200);
  const Bytes file = IcnsOf({{"ih32", damaged}, {"icp4", EncodePng(16, 16, rgba)}});
  std::vector<IconImage> images = Read(file);
  ASSERT_EQ(images.size(), 2u);
  const IconImage& kept = images[1];
  ASSERT_TRUE(kept.IsKept());
  EXPECT_EQ(kept.Kept.entry->width, 48);
  EXPECT_EQ(kept.Kept.entry->icnsType, TypeOf("ih32"));
  std::vector<std::string> leftOut;
  const Bytes saved = BuildIcnsFile(images, leftOut);
  EXPECT_EQ(EntriesOf(saved).at("ih32"), damaged);
  // An icon file has no place for it.
  std::vector<IconImage> asIcon;
  ReadIconEntries(BuildIconFile(images, 1), asIcon);
  ASSERT_EQ(asIcon.size(), 1u);
  EXPECT_FALSE(asIcon[0].IsKept());
}

TEST(IcnsReaderTest, ImageWhosePngTypeAKeptEntryHoldsIsWrittenAsRunLength) {
  test::BackEndFixture fixture;
  const Bytes damaged = {'A', 'R', 'G', 'B', 0xFF};  // ARGB planes cut short
  Bytes it32 = {0, 0, 0, 0};
  for (int c = 0; c < 3; ++c) AppendRunLengthPlane(std::vector<std::uint8_t>(128 * 128, static_cast<std::uint8_t>(40 * c)), it32);
  const std::vector<IconImage> images = Read(IcnsOf({{"ic07", damaged}, {"it32", it32}}));
  ASSERT_EQ(images.size(), 2u);
  ASSERT_TRUE(images[0].IsKept());
  std::vector<std::string> leftOut;
  const Bytes saved = BuildIcnsFile(images, leftOut);
  EXPECT_TRUE(leftOut.empty());
  const auto entries = EntriesOf(saved);
  EXPECT_EQ(entries.at("ic07"), damaged);
  ASSERT_TRUE(entries.count("it32") && entries.count("t8mk"));
  const std::vector<IconImage> back = Read(saved);
  ASSERT_EQ(back.size(), 2u);
  ExpectSamePixels(back[1], images[1]);

  // With no run-length type for its size the image is left out and named.
  std::vector<std::uint8_t> rgba(16 * 16 * 4, 255);
  const std::vector<IconImage> sixtyFour =
      Read(IcnsOf({{"icp6", damaged}, {"ic12", damaged}, {"icp4", EncodePng(16, 16, rgba)}}));
  std::vector<IconImage> withImage = sixtyFour;
  withImage.push_back(ImageFromPicture64());
  leftOut.clear();
  BuildIcnsFile(withImage, leftOut);
  ASSERT_EQ(leftOut.size(), 1u);
  EXPECT_EQ(leftOut[0].substr(0, 5), "64x64");
}

// The smallest JPEG 2000 data the reader recognises; what follows does not matter to it.
Bytes Jpeg2000Like() {
  Bytes data = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
  data.resize(64, 0x33);
  return data;
}

TEST(IcnsReaderTest, Jpeg2000GoesToTheDecoderAndIsKeptWhenItFails) {
  test::BackEndFixture fixture;
  std::vector<std::uint8_t> rgba(32 * 32 * 4, 90);
  const Bytes file = IcnsOf({{"ic09", Jpeg2000Like()}, {"icp5", EncodePng(32, 32, rgba)}});
  test::KeepFuzzSeed("icns", "jpeg2000-kept.icns", file);

  int asked = 0;
  const PictureDecoder decoder = [&](const Bytes& data, const std::string&, LoadedPicture& picture, std::string&) {
    ++asked;
    EXPECT_EQ(data, Jpeg2000Like());
    picture.Colours = Bitmap(512, 512, MakeColour(1, 2, 3));
    picture.Alpha.assign(512 * 512, 77);
    return true;
  };
  std::vector<IconImage> images = Read(file, decoder);
  EXPECT_EQ(asked, 1);
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[1].Width, 512);
  EXPECT_EQ(images[1].Pixels.At(100, 100), MakeColour(1, 2, 3));
  EXPECT_EQ(AlphaAt(images[1], 100, 100), 77);

  const PictureDecoder failing = [](const Bytes&, const std::string&, LoadedPicture&, std::string& message) {
    message = "the picture decoder stopped";
    return false;
  };
  for (const PictureDecoder& none : {failing, PictureDecoder()}) {
    images = Read(file, none);
    ASSERT_EQ(images.size(), 2u);
    ASSERT_TRUE(images[1].IsKept());
    EXPECT_NE(images[1].Kept.entry->reason.find("JPEG 2000"), std::string::npos);
    std::vector<std::string> leftOut;
    const auto written = EntriesOf(BuildIcnsFile(images, leftOut));
    EXPECT_EQ(written.at("ic09"), Jpeg2000Like());
    EXPECT_TRUE(written.count("icp5"));
  }
  // A decoded picture larger than any entry is not taken.
  const PictureDecoder huge = [](const Bytes&, const std::string&, LoadedPicture& picture, std::string&) {
    picture.Colours = Bitmap(2048, 16, kBlack);
    return true;
  };
  images = Read(file, huge);
  EXPECT_TRUE(images[1].IsKept());
}

TEST(IcnsReaderTest, FileOfOnlyUndecodableEntriesFailsSayingWhy) {
  test::BackEndFixture fixture;
  EXPECT_NE(DamageOf(IcnsOf({{"ic08", Jpeg2000Like()}})).find("ic08"), std::string::npos);
  EXPECT_NE(DamageOf(IcnsOf({{"icnV", Bytes(4, 0)}})).find("no entry"), std::string::npos);
}

TEST(IcnsReaderTest, LyingLengthsAreRefusedWithTheReason) {
  test::BackEndFixture fixture;
  std::vector<std::uint8_t> rgba(16 * 16 * 4, 1);
  const Bytes good = IcnsOf({{"icp4", EncodePng(16, 16, rgba)}});
  ASSERT_EQ(Read(good).size(), 1u);

  Bytes longer = good;  // the header claims more than the file holds
  longer[7] += 1;
  EXPECT_NE(DamageOf(longer).find("length of"), std::string::npos);
  Bytes tiny = good;  // the header claims less than itself
  std::fill(tiny.begin() + 4, tiny.begin() + 8, 0);
  tiny[7] = 4;
  EXPECT_NE(DamageOf(tiny).find("length of 4"), std::string::npos);
  Bytes entryTooLong = good;
  entryTooLong[15] += 1;
  EXPECT_NE(DamageOf(entryTooLong).find("'icp4' at byte 8"), std::string::npos);
  Bytes entryTooShort = good;  // an entry shorter than its header would not advance
  std::fill(entryTooShort.begin() + 12, entryTooShort.begin() + 16, 0);
  EXPECT_NE(DamageOf(entryTooShort).find("'icp4' at byte 8 gives a length of 0"), std::string::npos);
  Bytes cut(good.begin(), good.end() - 3);
  EXPECT_FALSE(DamageOf(cut).empty());
  EXPECT_FALSE(DamageOf(Bytes{'i', 'c', 'n', 's', 0, 0}).empty());

  // Many entries of one type: only the first is read, so a large file of them stays cheap.
  std::vector<std::pair<std::string, Bytes>> many(20000, {"it32", Bytes(800, 0x81)});
  many.push_back({"icp4", EncodePng(16, 16, rgba)});
  const std::vector<IconImage> images = Read(IcnsOf(many));
  EXPECT_EQ(images.size(), 2u);
}

TEST(IcnsReaderTest, PngEntriesTogetherStayWithinThePixelBudget) {
  test::BackEndFixture fixture;
  std::vector<std::uint8_t> rgba(1024 * 1024 * 4, 0);
  const Bytes big = EncodePng(1024, 1024, rgba);
  // Five large entries: 5 Mi pixels, more than one file may decode.
  const Bytes file = IcnsOf({{"ic10", big}, {"ic09", big}, {"ic08", big}, {"ic07", big}, {"icp6", big}});
  EXPECT_NE(DamageOf(file).find("pixels"), std::string::npos);
}

TEST(IcnsWriterTest, EachSizeGoesUnderItsTypesAndOthersAreLeftOut) {
  test::BackEndFixture fixture;
  std::vector<IconImage> images;
  for (const int size : {16, 24, 32, 48, 64, 128, 256, 512, 1024}) images.push_back(SoftImage(size));
  images.push_back(SoftImage(32));
  images.push_back(MakeNewImage(20, 40, 8));
  std::vector<std::string> leftOut;
  const Bytes file = BuildIcnsFile(images, leftOut);
  EXPECT_EQ(leftOut, (std::vector<std::string>{"24x24", "32x32 (a second image of its size)", "20x40"}));
  const auto entries = EntriesOf(file);
  std::set<std::string> types;
  for (const auto& [type, data] : entries) types.insert(type);
  EXPECT_EQ(types, (std::set<std::string>{"TOC ", "icp4", "icp5", "ic11", "ih32", "h8mk", "icp6", "ic12", "ic07",
                                          "ic08", "ic13", "ic09", "ic14", "ic10"}));
  EXPECT_EQ(BigAt(file, 4), file.size());
  // The table of contents lists every other entry with its length.
  const Bytes& toc = entries.at("TOC ");
  EXPECT_EQ(toc.size(), 8 * (entries.size() - 1));
  for (std::size_t at = 0; at < toc.size(); at += 8) {
    const std::string type(toc.begin() + static_cast<std::ptrdiff_t>(at), toc.begin() + static_cast<std::ptrdiff_t>(at + 4));
    EXPECT_EQ(BigAt(toc, at + 4), entries.at(type).size() + 8) << type;
  }

  // Read back: one image of each size, the same pixels and alpha.
  const std::vector<IconImage> back = Read(file);
  ASSERT_EQ(back.size(), 8u);
  for (std::size_t i = 0, j = 0; i < back.size(); ++i, ++j) {
    if (images[j].Width == 24) ++j;
    ExpectSamePixels(back[i], images[j]);
  }

  // The run-length entries for old readers when asked: the same pixels again.
  IcnsRunLengthEntries(true);
  leftOut.clear();
  const Bytes withRunLength = BuildIcnsFile({images[0], images[2]}, leftOut);
  IcnsRunLengthEntries(false);
  test::KeepFuzzSeed("icns", "written-16-32-run-length.icns", withRunLength);
  auto rle = EntriesOf(withRunLength);
  ASSERT_TRUE(rle.count("is32") && rle.count("s8mk") && rle.count("il32") && rle.count("l8mk"));
  rle.erase("icp4");
  rle.erase("icp5");
  rle.erase("ic11");
  rle.erase("TOC ");
  std::vector<std::pair<std::string, Bytes>> only(rle.begin(), rle.end());
  const std::vector<IconImage> fromRunLength = Read(IcnsOf(only));
  ASSERT_EQ(fromRunLength.size(), 2u);
  ExpectSamePixels(fromRunLength[0], images[0]);
  ExpectSamePixels(fromRunLength[1], images[2]);
}

TEST(IcnsWriterTest, NothingToWriteIsRefusedWithAMessage) {
  test::BackEndFixture fixture;
  std::vector<std::string> leftOut;
  try {
    BuildIcnsFile({MakeNewImage(24, 24, 32)}, leftOut);
    FAIL() << "written";
  } catch (const BackEndError& error) {
    EXPECT_NE(error.Description().find("16, 32, 48"), std::string::npos);
  }
}

TEST(IcnsWriterTest, SavingAsIcnsNamesWhatIsLeftOutAndKeepsTheOldFileOnFailure) {
  test::BackEndFixture fixture;
  test::TempDir dir;
  const std::string path = (dir / "out.icns").string();
  cIco icon;
  icon.AppendImage(SoftImage(16));
  icon.AppendImage(SoftImage(24));
  ASSERT_TRUE(icon.SaveIcon(path));
  ASSERT_EQ(fixture.prompter.shown.size(), 1u);
  EXPECT_NE(fixture.prompter.shown[0].text.find("24x24"), std::string::npos);
  const Bytes saved = ReadWholeFile(path);
  cIco again;
  ASSERT_TRUE(again.OpenIcon(path));
  EXPECT_EQ(again.IconCount(), 1);

  cIco nothing;
  nothing.AppendImage(SoftImage(24));
  EXPECT_FALSE(nothing.SaveIcon(path));
  EXPECT_FALSE(fixture.reporter.reports.empty());
  EXPECT_EQ(ReadWholeFile(path), saved);
}

}  // namespace
}  // namespace brixel

namespace brixel {
namespace {

// The file's information, version and dark-mode icon survive an edit and a save, in their
// order, after the images, and in the table of contents; an old table of contents does not.
TEST(IcnsDocumentsTest, EntriesWithoutImagesAreWrittenBackAsTheyWere) {
  test::BackEndFixture fixture;
  test::TempDir dir;
  std::vector<std::string> unused;
  const Bytes dark = BuildIcnsFile({SoftImage(16)}, unused);
  const Bytes info = {'b', 'p', 'l', 'i', 's', 't', '0', '0', 1, 2, 3};
  const Bytes version = {0x42, 0x0C, 0, 0};
  const Bytes png = EncodePng(32, 32, std::vector<std::uint8_t>(32 * 32 * 4, 200));
  const Bytes file = IcnsOf({{"TOC ", {'i', 'c', 'p', '5', 0, 0, 0, 8}}, {"info", info}, {"icp5", png},
                             {"icnV", version}, {"\xFD\xD9\x2F\xA8", dark}});
  cIco document;
  ASSERT_TRUE(document.ReadIconData(file));
  ASSERT_EQ(document.IconCount(), 1);
  document.XYColor(0, 3, 3, 0x123456);  // an edit: the image is written afresh
  const std::string saved = (dir / "saved.icns").string();
  ASSERT_TRUE(document.SaveIcon(saved));

  const Bytes written = ReadWholeFile(saved);
  std::vector<std::string> order;
  for (std::size_t at = 8; at + 8 <= written.size(); at += BigAt(written, at + 4)) {
    const auto type = written.begin() + static_cast<std::ptrdiff_t>(at);
    order.emplace_back(type, type + 4);
  }
  const std::vector<std::string> expected = {"TOC ", "icp5", "ic11", "info", "icnV", "\xFD\xD9\x2F\xA8"};
  EXPECT_EQ(order, expected);
  const auto entries = EntriesOf(written);
  EXPECT_EQ(entries.at("info"), info);
  EXPECT_EQ(entries.at("icnV"), version);
  EXPECT_EQ(entries.at("\xFD\xD9\x2F\xA8"), dark);
  EXPECT_EQ(entries.at("TOC ").size(), 8u * 5);

  cIco reread;
  ASSERT_TRUE(reread.ReadIconData(written));
  EXPECT_EQ(reread.IcnsOthers(), document.IcnsOthers());
  // Each is a copy of its own: a file of thousands of tiny ones is refused, not held.
  std::vector<std::pair<std::string, Bytes>> names(4096, {"name", {'x'}});
  names.push_back({"icp5", png});
  std::vector<IconImage> images;
  std::vector<IcnsEntry> others;
  EXPECT_TRUE(ReadIcnsImages(IcnsOf(names), images, nullptr, &others));
  EXPECT_EQ(others.size(), 4096u);
  names.push_back({"name", {'y'}});
  try {
    ReadIcnsImages(IcnsOf(names), images, nullptr, &others);
    ADD_FAILURE() << "read";
  } catch (const BackEndError& error) {
    EXPECT_NE(error.Description().find("more than 4096 entries that hold no image"), std::string::npos);
  }
  ASSERT_EQ(document.IcnsOthers().size(), 3u);
  // An icon file holds none of them, and its save says so; reading one leaves none behind.
  EXPECT_TRUE(fixture.prompter.shown.empty());
  const std::string ico = (dir / "saved.ico").string();
  ASSERT_TRUE(reread.SaveIcon(ico));
  ASSERT_EQ(fixture.prompter.shown.size(), 1u);
  EXPECT_EQ(fixture.prompter.shown[0].text,
            "These entries are not in " + ico + ", as only a macOS icon holds them: 'info', 'icnV', '\?\?/?'");
  ASSERT_TRUE(reread.ReadIconData(ReadWholeFile(ico)));
  EXPECT_TRUE(reread.IcnsOthers().empty());
}

// What a save leaves out is said once for each kind, with how often: an animated cursor's
// frames make hundreds of the same.
TEST(IcnsDocumentsTest, ASaveSaysWhatItLeftOutOnceForEachKind) {
  test::BackEndFixture fixture;
  test::TempDir dir;
  cIco document;
  for (int i = 0; i < 3; ++i) document.AppendImage(SoftImage(32));
  document.AppendImage(SoftImage(24));
  const std::string icns = (dir / "frames.icns").string();
  ASSERT_TRUE(document.SaveIcon(icns));
  ASSERT_EQ(fixture.prompter.shown.size(), 1u);
  const std::string& text = fixture.prompter.shown[0].text;
  EXPECT_EQ(text.substr(text.find(" pixels: ")), " pixels: 32x32 (a second image of its size; 2 of them), 24x24") << text;
}

// Saved as an animated cursor, a macOS icon's kept entries make no frame (which would be an
// icon file of no image), and the save says what it left out, once for each file.
TEST(IcnsDocumentsTest, SavedAsAnimatedCursorItLeavesOutAndSaysWhatOnlyAMacIconHolds) {
  test::BackEndFixture fixture;
  test::TempDir dir;
  IconDocuments.Clear();
  AniDocuments.Clear();
  Bytes damaged = EncodePng(128, 128, std::vector<std::uint8_t>(128 * 128 * 4, 90));
  damaged.resize(damaged.size() / 2);
  const std::string icns = (dir / "kept.icns").string();
  test::WriteBytes(icns, IcnsOf({{"icp5", EncodePng(32, 32, std::vector<std::uint8_t>(32 * 32 * 4, 200))},
                                 {"ic07", damaged}, {"info", {'b', 'p'}}}));
  ASSERT_TRUE(OpenDocument(icns));
  ASSERT_EQ(IconDocuments.CurrentDocument().IconCount(), 2);
  fixture.prompter.shown.clear();
  const std::string ani = (dir / "kept.ani").string();
  ASSERT_TRUE(SaveDocument(ani));
  cAni cursor;
  ASSERT_TRUE(cursor.OpenAni(ani));
  EXPECT_EQ(cursor.IconCount(), 1);
  ASSERT_EQ(fixture.prompter.shown.size(), 1u);
  EXPECT_EQ(fixture.prompter.shown[0].text,
            "These entries are not in " + ani +
                ", as only a macOS icon holds them: the 128x128 image that cannot be shown (damaged PNG), 'info'");
  // Saved again to the same file, it is not said again; to another, it is.
  ASSERT_TRUE(SaveDocument(ani));
  EXPECT_EQ(fixture.prompter.shown.size(), 1u);
  ASSERT_TRUE(SaveDocument((dir / "kept.ico").string()));
  EXPECT_EQ(fixture.prompter.shown.size(), 2u);
  IconDocuments.Clear();
  AniDocuments.Clear();
}

TEST(IcnsDocumentsTest, OpenedByContentSavedAndClosedAsIconDocuments) {
  test::BackEndFixture fixture;
  test::TempDir dir;
  IconDocuments.Clear();
  cIco made;
  made.AppendImage(SoftImage(32));
  const std::string icns = (dir / "app.icns").string();
  ASSERT_TRUE(made.SaveIcon(icns));
  // The same bytes under a name of another kind still open as a macOS icon.
  const std::string renamed = (dir / "app.picture").string();
  test::WriteBytes(renamed, ReadWholeFile(icns));
  ASSERT_TRUE(OpenDocument(renamed));
  ASSERT_TRUE(OpenDocument(icns));
  ASSERT_EQ(IconDocuments.Count(), 2);
  IconDocuments.Current = 1;
  EXPECT_EQ(IconDocuments.CurrentDocument().Image(0).Width, 32);
  // Save As .icns writes a macOS icon; .ico an icon file.
  const std::string again = (dir / "again.icns").string();
  ASSERT_TRUE(SaveDocument(again));
  EXPECT_TRUE(IsIcnsData(ReadWholeFile(again)));
  ASSERT_TRUE(SaveDocument((dir / "again.ico").string()));
  EXPECT_FALSE(IsIcnsData(ReadWholeFile((dir / "again.ico").string())));
  CloseDocument(again, "");
  EXPECT_EQ(IconDocuments.Count(), 1);
  IconDocuments.Clear();
}

}  // namespace
}  // namespace brixel
