// The picture loaders of the import dialog and the pixel operations over picture surfaces.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageWriter>
#include <cstdlib>
#include <filesystem>

#include "IcoFile.h"
#include "PictureFixtures.h"
#include "PictureDecoderProcess.h"
#include "QtColour.h"
#include "SurfacePixels.h"
#include "TestSupport.h"
#include "TrapErrors.h"

namespace brixel {
namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);

bool Near(Colour a, Colour b, int tolerance) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

class PictureLoadingTest : public ::testing::Test {
 protected:
  // A 40 x 20 picture, red on the left and blue on the right, in a format Qt writes.
  std::string WriteHalves(const char* name, const char* format, bool transparentRight = false) {
    QImage image(40, 20, transparentRight ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int y = 0; y < 20; ++y) {
      for (int x = 20; x < 40; ++x) image.setPixel(x, y, transparentRight ? qRgba(0, 0, 255, x < 30 ? 0 : 127) : qRgb(0, 0, 255));
    }
    const std::string path = (dir_ / name).string();
    QImageWriter writer(QString::fromStdString(path), format);
    writer.setQuality(100);
    EXPECT_TRUE(writer.write(image)) << name;
    return path;
  }
  std::string Write(const char* name, const Bytes& bytes) {
    test::WriteBytes(dir_ / name, bytes);
    return (dir_ / name).string();
  }
  static void ExpectHalves(const LoadedPicture& picture, int tolerance, const std::string& what) {
    ASSERT_EQ(picture.Width(), 40) << what;
    ASSERT_EQ(picture.Height(), 20) << what;
    EXPECT_TRUE(Near(picture.Colours.At(8, 10), kRed, tolerance)) << what << " " << picture.Colours.At(8, 10);
    EXPECT_TRUE(Near(picture.Colours.At(32, 10), kBlue, tolerance)) << what << " " << picture.Colours.At(32, 10);
    EXPECT_FALSE(picture.HasAlpha()) << what;
  }
  // The reason a picture is refused, "loaded" when it is not.
  std::string Refusal(const std::string& path) {
    try {
      LoadPictureFile(path);
    } catch (const BackEndError& e) {
      return e.Description();
    } catch (const ReportedFailure&) {
      return "reported";
    }
    return "loaded";
  }

  test::TempDir dir_;
};

TEST_F(PictureLoadingTest, ReadsBitmapsJpegsPngsAndBothKindsOfMetafile) {
  ExpectHalves(LoadPictureFile(WriteHalves("a.bmp", "bmp")), 0, "bmp");
  ExpectHalves(LoadPictureFile(WriteHalves("a.png", "png")), 0, "png");
  ExpectHalves(LoadPictureFile(WriteHalves("a.jpg", "jpeg")), 8, "jpeg");
  // Known by content, whatever the name says.
  ExpectHalves(LoadPictureFile(WriteHalves("a-png.jpg", "png")), 0, "png named jpg");
  ExpectHalves(LoadPictureFile(Write("a.wmf", test::TwoColourWmf(40, 20, kRed, kBlue))), 0, "wmf");
  ExpectHalves(LoadPictureFile(Write("a.emf", test::TwoColourEmf(40, 20, kRed, kBlue))), 0, "emf");
}

TEST_F(PictureLoadingTest, TransparencyComesInAsAlpha) {
  const LoadedPicture png = LoadPictureFile(WriteHalves("t.png", "png", true));
  ASSERT_TRUE(png.HasAlpha());
  EXPECT_EQ(png.AlphaAt(5, 5), 255);
  EXPECT_EQ(png.AlphaAt(25, 5), 0);
  EXPECT_EQ(png.AlphaAt(35, 5), 127);

  if (test::RunCommand("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick for the GIF";
  const auto gif = dir_ / "t.gif";
  ASSERT_EQ(test::RunCommand("convert -size 40x20 xc:red -fill blue -draw 'rectangle 20,0 39,19' "
                             "-transparent blue " + test::ShellQuote(gif.string())), 0);
  const LoadedPicture picture = LoadPictureFile(gif.string());
  ASSERT_TRUE(picture.HasAlpha());
  EXPECT_EQ(picture.Colours.At(5, 5), kRed);
  EXPECT_EQ(picture.AlphaAt(5, 5), 255);
  EXPECT_EQ(picture.AlphaAt(30, 5), 0);
}

TEST_F(PictureLoadingTest, IconsGoThroughOurReaderWithTheirMask) {
  // A 24-bit icon whose masked pixels carry a colour in the file: readers that ignore the
  // AND mask of such icons would show them.
  IconImage image = MakeNewImage(16, 16, 24);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      image.Pixels.At(x, y) = kRed;
      image.Mask.At(x, y) = x < 8 ? MaskOpaque : MaskTransparent;
    }
  }
  const LoadedPicture picture = LoadPictureFile(Write("masked.ico", BuildIconFile({image}, 1)));
  ASSERT_TRUE(picture.HasAlpha());
  EXPECT_EQ(picture.Colours.At(3, 3), kRed);
  EXPECT_EQ(picture.AlphaAt(3, 3), 255);
  EXPECT_EQ(picture.AlphaAt(12, 3), 0);
}

TEST_F(PictureLoadingTest, HugeAndBrokenPicturesAreRefusedBeforeDecoding) {
  test::BackEndFixture backEnd;
  EXPECT_NE(Refusal(Write("huge.wmf", test::TwoColourWmf(40, 20, kRed, kBlue, 30000))).find("30000 x 30000"), std::string::npos);
  EXPECT_NE(Refusal(Write("huge.emf", test::TwoColourEmf(40, 20, kRed, kBlue, 100000))).find("larger than 8192"), std::string::npos);
  // A PNG that declares 30000 x 30000 in a header of a few bytes, before an empty IDAT.
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
               0, 0, 0x75, 0x30, 0, 0, 0x75, 0x30, 8, 2, 0, 0, 0, 0xE9, 0x45, 0x6F, 0xED,
               0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
  EXPECT_NE(Refusal(Write("huge.png", png)).find("30000 x 30000"), std::string::npos);
  EXPECT_NE(Refusal(Write("noise.gif", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 2, 3})), "loaded");
  EXPECT_NE(Refusal(Write("broken.ico", Bytes{0, 0, 1, 0, 1, 0, 16, 16})), "loaded");
}

// Hostile drawings, as pictures downloaded from anywhere may be.
class HostileDrawingTest : public PictureLoadingTest {
 protected:
  ~HostileDrawingTest() override {
    for (const char* name : {"BRIXEL_DECODER_SECONDS", "BRIXEL_DECODER_CPU_SECONDS", "BRIXEL_DECODER_MEGABYTES"}) {
      unsetenv(name);
    }
  }
  std::string WriteText(const char* name, const std::string& text) { return Write(name, Bytes(text.begin(), text.end())); }
  static bool ShowsRed(const LoadedPicture& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) {
        if (picture.AlphaAt(x, y) > 0 && Near(picture.Colours.At(x, y), kRed, 40)) return true;
      }
    }
    return false;
  }
};

TEST_F(HostileDrawingTest, APictureBesideTheDrawingIsNotDrawnWhateverItsName) {
  // All red, beside the drawings, by its name, its path and as a file URL.
  const std::string beside = WriteHalves("beside.png", "png");
  QImage red(40, 20, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(QString::fromStdString(beside)));
  const std::string drawing = test::DrawingOfImage("beside.png");
  // Its first element far past where a name-blind look for "<svg" stops.
  const std::string disguised = "<?xml version=\"1.0\"?><!--" + std::string(6000, ' ') + "-->" +
                                test::DrawingOfImage(beside);
  const std::vector<std::string> files = {
      WriteText("local.svg", drawing), WriteText("absolute.svg", test::DrawingOfImage(beside)),
      WriteText("url.svg", test::DrawingOfImage("file://" + beside)), WriteText("disguised.png", disguised),
      Write("disguised.jpg", test::Gzip(test::DrawingOfImage(beside)))};
  // Rendering happens in the decoder's own folder; a relative name is looked for there too.
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(dir_.Path());
  for (const std::string& file : files) {
    LoadedPicture picture;
    EXPECT_NO_THROW(picture = LoadPictureFile(file)) << file;
    EXPECT_EQ(picture.Width(), 16) << file;
    EXPECT_FALSE(ShowsRed(picture)) << file;
    ASSERT_EQ(picture.Warnings.size(), 1u) << file;
    EXPECT_NE(picture.Warnings[0].find("beside.png\" in <image> was left out"), std::string::npos) << picture.Warnings[0];
  }
  std::filesystem::current_path(here);
}

TEST_F(HostileDrawingTest, EndlessWorkStopsAtTheLimits) {
  test::BackEndFixture backEnd;
  setenv("BRIXEL_DECODER_CPU_SECONDS", "1", 1);
  setenv("BRIXEL_DECODER_SECONDS", "10", 1);
  EXPECT_EQ(Refusal(WriteText("stops.svg", test::GradientOfManyStops(200000))),
            "Invalid picture: the picture took too long to decode");
  EXPECT_EQ(Refusal(WriteText("circles.svg", test::TranslucentCircles(8192, 200))),
            "Invalid picture: the picture took too long to decode");
  unsetenv("BRIXEL_DECODER_CPU_SECONDS");
  setenv("BRIXEL_DECODER_MEGABYTES", "300", 1);
  EXPECT_EQ(Refusal(WriteText("large.svg", test::TranslucentCircles(8192, 1))),
            "Invalid picture: the picture needs more memory than allowed");
}

TEST_F(HostileDrawingTest, ACompressedDrawingInflatesNoFurtherThanItsCap) {
  test::BackEndFixture backEnd;
  // 64 MB of a comment in a few tens of kilobytes.
  const Bytes bomb = test::Gzip(test::SvgStart(16, 16) + "<!--" + std::string(std::size_t{64} << 20, ' ') + "--></svg>");
  EXPECT_EQ(Refusal(Write("bomb.svgz", bomb)), "Invalid picture: the compressed drawing inflates to more than 32 MB");
}

TEST(SurfacePixelsTest, PixelOperationsReadAndWriteTheSurfaceOnce) {
  QtPictureSurface surface(3, 2);
  surface.PSet(2, 1, kRed);
  PixelArray pixels;
  std::int16_t bits = 0;
  GetBitmapPixels(surface, pixels, bits);
  EXPECT_EQ(bits, 32);
  EXPECT_EQ(pixels.At(2, 1), PixelFromColour(kRed));
  EXPECT_EQ(pixels.At(0, 0), PixelFromColour(kWhite));

  pixels.At(0, 0) = PixelFromColour(kBlue);
  SetBitmapPixels(surface, bits, pixels);
  EXPECT_EQ(surface.Point(0, 0), kBlue);
  surface.Cls();  // the written pixels are the surface's picture now
  EXPECT_EQ(surface.Point(0, 0), kBlue);

  // A 2 x 2 picture resampled onto a 4 x 4 surface: the 2 x 2 area stretched, the rest white.
  QtPictureSurface source(2, 2);
  source.PSet(0, 0, kBlack);
  QtPictureSurface target(4, 4);
  ResamplePicture(source, target, 0, 0, 2, 2, 0, 0, 2, 2);
  EXPECT_EQ(target.Point(0, 0), kBlack);
  EXPECT_EQ(target.Point(1, 0), MakeColour(128, 128, 128));  // halfway, 127.5 to even
  EXPECT_EQ(target.Point(3, 3), kWhite);
}

TEST(SurfacePixelsTest, ColourDepthsReduceIntoTheDestinationOrInPlace) {
  QtPictureSurface source(2, 1);
  source.PSet(0, 0, MakeColour(200, 30, 20));
  source.PSet(1, 0, MakeColour(10, 10, 10));
  const Bitmap before = source.Image();
  for (const int depth : {2, 32}) {
    ChangeColorDepth(source, depth);
    EXPECT_EQ(source.Image(), before) << depth;
  }
  ChangeColorDepth(source, 24);
  EXPECT_EQ(source.Image(), before);

  QtPictureSurface destination(2, 1);
  ChangeColorDepth(source, 4, &destination);
  EXPECT_EQ(destination.Point(0, 0), kRed);
  EXPECT_EQ(destination.Point(1, 0), kBlack);
  EXPECT_EQ(source.Image(), before);
  ChangeColorDepth(source, 1);
  EXPECT_EQ(source.Point(0, 0), kBlack);
}

}  // namespace
}  // namespace brixel
