// Area-averaged scaling, the image a thumbnail shows, and an animated cursor's first step.

#include <gtest/gtest.h>

#include <array>

#include "AniTestFiles.h"
#include "IcnsFile.h"
#include "IcnsTestFiles.h"
#include "PngCodec.h"
#include "RgbaPicture.h"
#include "TestSupport.h"
#include "Thumbnail.h"

namespace brixel {
namespace {

using Pixel = std::array<int, 4>;

Pixel PixelAt(const RgbaPicture& picture, int x, int y) {
  const std::uint8_t* p = picture.At(x, y);
  return {p[0], p[1], p[2], p[3]};
}

void SetPixel(RgbaPicture& picture, int x, int y, Pixel value) {
  for (int i = 0; i < 4; ++i) picture.At(x, y)[i] = static_cast<std::uint8_t>(value[static_cast<std::size_t>(i)]);
}

TEST(ScaleByAreaTest, EachPixelIsTheMeanOfTheAreaItCoversWeightedByAlpha) {
  RgbaPicture source(4, 2);
  // Left block: four opaque greys whose mean is exact.
  SetPixel(source, 0, 0, {10, 20, 30, 255});
  SetPixel(source, 1, 0, {30, 40, 50, 255});
  SetPixel(source, 0, 1, {50, 60, 70, 255});
  SetPixel(source, 1, 1, {70, 80, 90, 255});
  // Right block: one opaque red pixel; the transparent ones carry a green that must not show.
  SetPixel(source, 2, 0, {255, 0, 0, 255});
  SetPixel(source, 3, 0, {0, 255, 0, 0});
  SetPixel(source, 2, 1, {0, 255, 0, 0});
  SetPixel(source, 3, 1, {0, 255, 0, 0});
  const RgbaPicture scaled = ScaleByArea(source, 2, 1);
  EXPECT_EQ(PixelAt(scaled, 0, 0), (Pixel{40, 50, 60, 255}));
  EXPECT_EQ(PixelAt(scaled, 1, 0), (Pixel{255, 0, 0, 64}));

  // Three columns into two: each target pixel takes one whole column and half of the middle.
  RgbaPicture row(3, 1);
  SetPixel(row, 0, 0, {0, 0, 0, 255});
  SetPixel(row, 1, 0, {90, 90, 90, 255});
  SetPixel(row, 2, 0, {180, 180, 180, 255});
  const RgbaPicture two = ScaleByArea(row, 2, 1);
  EXPECT_EQ(PixelAt(two, 0, 0), (Pixel{30, 30, 30, 255}));
  EXPECT_EQ(PixelAt(two, 1, 0), (Pixel{150, 150, 150, 255}));

  // The same size is the same picture; a fully transparent area is transparent black.
  EXPECT_EQ(ScaleByArea(row, 3, 1), row);
  EXPECT_EQ(PixelAt(ScaleByArea(RgbaPicture(5, 5), 2, 2), 1, 1), (Pixel{0, 0, 0, 0}));
  EXPECT_THROW(ScaleByArea(source, 0, 1), BackEndError);
}

TEST(ThumbnailImageTest, TakesTheSmallestSizeAtLeastTheOneAskedElseTheLargestAtItsHighestDepth) {
  const std::vector<IconImage> images = {test::SolidImage(16, 16, 4, kBlack), test::SolidImage(32, 32, 4, kBlack),
                                         test::SolidImage(32, 32, 32, kBlack), test::SolidImage(32, 32, 8, kBlack),
                                         test::SolidImage(11, 48, 8, kBlack), test::SolidImage(64, 64, 1, kBlack)};
  EXPECT_EQ(ThumbnailImageIndex(images, 8), 0u);
  EXPECT_EQ(ThumbnailImageIndex(images, 17), 2u);
  EXPECT_EQ(ThumbnailImageIndex(images, 32), 2u);
  EXPECT_EQ(ThumbnailImageIndex(images, 40), 4u);  // its longer side counts
  EXPECT_EQ(ThumbnailImageIndex(images, 256), 5u);
}

// A macOS icon's thumbnail decodes only the side it shows; a side whose entries all fail gives
// way to the next one it would take.
TEST(ThumbnailImageTest, AMacIconDecodesOnlyTheSideItShows) {
  Bytes jpeg2000 = {0, 0, 0, 12, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
  jpeg2000.resize(64, 0x33);
  const Bytes file = test::IcnsOf({{"ic10", jpeg2000},
                                   {"icp5", EncodePng(32, 32, std::vector<std::uint8_t>(32 * 32 * 4, 200))},
                                   {"icp4", EncodePng(16, 16, std::vector<std::uint8_t>(16 * 16 * 4, 90))}});
  int decoded = 0;
  const PictureDecoder failing = [&](const Bytes&, const std::string&, LoadedPicture&, std::string& message) {
    ++decoded;
    message = "no decoder here";
    return false;
  };
  std::vector<IconImage> shown = ThumbnailImages(file, 20, failing);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Width, 32);
  EXPECT_EQ(ThumbnailImages(file, 8, failing)[0].Width, 16);
  EXPECT_EQ(decoded, 0);
  // 1024 pixels are asked for: that entry is tried, then the largest below it.
  shown = ThumbnailImages(file, 1024, failing);
  EXPECT_EQ(decoded, 1);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Width, 32);
  EXPECT_EQ(IcnsImageSides(file), (std::vector<int>{16, 32, 1024}));

  // A type's entry may hold a picture of another size: the whole read then chooses, as it
  // would have. Here the 256 type holds 64 pixels and the 128 type 128.
  const Bytes mislabelled = test::IcnsOf({{"ic08", EncodePng(64, 64, std::vector<std::uint8_t>(64 * 64 * 4, 90))},
                                          {"ic07", EncodePng(128, 128, std::vector<std::uint8_t>(128 * 128 * 4, 90))}});
  EXPECT_FALSE(IcnsImageSides(mislabelled));
  shown = ThumbnailImages(mislabelled, 200, failing);
  EXPECT_EQ(shown[ThumbnailImageIndex(shown, 200)].Width, 128);
}

TEST(ThumbnailImageTest, ShowsTransparencyAlphaAndInvertingPixelsAndFitsLargerImages) {
  IconImage image = test::SolidImage(4, 2, 24, MakeColour(1, 2, 3));
  image.Mask.At(0, 0) = MaskTransparent;
  image.Pixels.At(0, 0) = kWhite;  // behind its mask: not shown
  image.Mask.At(1, 0) = MaskTransparent;
  image.Pixels.At(1, 0) = kNoColour;  // inverting
  const RgbaPicture shown = MakeThumbnail(image, 4);
  EXPECT_EQ(PixelAt(shown, 0, 0), (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(PixelAt(shown, 1, 0), (Pixel{0, 0, 0, 255}));
  EXPECT_EQ(PixelAt(shown, 2, 1), (Pixel{1, 2, 3, 255}));

  // Larger: fitted with its aspect kept.
  image.Alpha = Grid(4, 2, 128);
  const RgbaPicture reduced = MakeThumbnail(image, 2);
  ASSERT_EQ(reduced.Width, 2);
  ASSERT_EQ(reduced.Height, 1);
  EXPECT_EQ(PixelAt(reduced, 1, 0), (Pixel{1, 2, 3, 128}));
}

class FirstStepTest : public ::testing::Test, public test::BackEndFixture {
 protected:
  const std::vector<IconImage> frames_ = {test::FrameImage(16, 24, MakeColour(200, 0, 0)),
                                          test::FrameImage(16, 24, MakeColour(0, 200, 0)),
                                          test::FrameImage(32, 24, MakeColour(0, 0, 200))};
  Bytes FramList() const {
    return test::List("fram", {test::Icon({frames_[0]}), test::Icon({frames_[1]}),
                               test::Icon({frames_[2], test::FrameImage(16, 24, kWhite)})});
  }
};

TEST_F(FirstStepTest, AnAnimatedCursorShowsTheFrameItsSequenceStartsWith) {
  using namespace test;
  // The INFO list before the header, as files written on Windows have it.
  const Bytes sequenced = Riff("ACON", {List("INFO", {Chunk("INAM", Text("Spin"))}),
                                        Anih(3, 3, 5, kIconFlag | kSequenceFlag),
                                        Steps("seq ", {2, 0, 1}), FramList()});
  const std::vector<IconImage> shown = ShownImages(sequenced);
  ASSERT_EQ(shown.size(), 2u);  // the frame's two images
  EXPECT_EQ(shown[0].Pixels.At(3, 3), MakeColour(0, 0, 200));
  EXPECT_EQ(shown[1].Pixels.At(3, 3), kWhite);

  // A sequence that names no frame shows the first.
  const Bytes astray = Riff("ACON", {Anih(3, 1, 5, kIconFlag | kSequenceFlag), Steps("seq ", {9}), FramList()});
  EXPECT_EQ(ShownImages(astray).at(0).Pixels.At(3, 3), MakeColour(200, 0, 0));
}

}  // namespace
}  // namespace brixel
