#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "ErrorReport.h"
#include "QtPictureSurface.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

using Kind = PictureSurface::LineKind;

constexpr std::int32_t kWhite = 16777215;

// Colours whose channels all differ, so a swapped or rounded channel shows.
const std::int32_t kOddColours[] = {0x123456, 0x010203, 16777214, 0xFEFDFC, 0x7F80FF, 1};

std::set<std::int32_t> ColoursOn(const QtPictureSurface& surface) {
  const Bitmap image = surface.Image();
  return {image.Pixels.begin(), image.Pixels.end()};
}

int CountColour(const QtPictureSurface& surface, std::int32_t colour) {
  const Bitmap image = surface.Image();
  return static_cast<int>(std::count(image.Pixels.begin(), image.Pixels.end(), colour));
}

// The error number act raises, or 0.
int ErrorNumber(const std::function<void()>& act) {
  try {
    act();
  } catch (const BackEndError& e) {
    return e.Number();
  }
  return 0;
}

TEST(PictureSurfaceTest, ColoursStayExactThroughEveryKindOfDrawing) {
  for (const std::int32_t colour : kOddColours) {
    SCOPED_TRACE(colour);
    QtPictureSurface surface(64, 64);
    surface.PSet(3, 4, colour);
    EXPECT_EQ(surface.Point(3, 4), colour);

    for (const int width : {1, 5}) {
      surface.Cls();
      surface.DrawWidth(width);
      surface.Line(2, 5, 40, 30, colour);
      surface.Line(2, 40, 30, 60, colour, Kind::Box);
      surface.Line(40, 40, 60, 60, colour, Kind::FilledBox);
      EXPECT_EQ(ColoursOn(surface), (std::set<std::int32_t>{kWhite, colour}));
    }
    surface.DrawWidth(1);

    surface.Cls();
    surface.FillStyle(PictureSurface::kFillSolid);
    surface.FillColor(0x00FF00);
    surface.Circle(32, 32, 20, colour);
    EXPECT_EQ(ColoursOn(surface), (std::set<std::int32_t>{kWhite, colour, 0x00FF00}));
    EXPECT_EQ(surface.Point(32, 32), 0x00FF00);
    EXPECT_EQ(surface.Point(32, 12), colour);

    // Text: only the fore colour on the background, nothing above or left of the position,
    // and the position moves to the start of the next line.
    surface.BackColor(0x00FFFF);
    surface.Cls();
    surface.ForeColor(colour);
    surface.FontSize(14);
    surface.CurrentX(5);
    surface.CurrentY(5);
    surface.Print("Hg");
    EXPECT_EQ(ColoursOn(surface), (std::set<std::int32_t>{0x00FFFF, colour}));
    EXPECT_GT(CountColour(surface, colour), 20);
    EXPECT_FLOAT_EQ(surface.CurrentX(), 0);
    EXPECT_GT(surface.CurrentY(), 5 + 10);
    for (int k = 0; k < 64; ++k) {
      EXPECT_EQ(surface.Point(k, 4), 0x00FFFF);
      EXPECT_EQ(surface.Point(4, k), 0x00FFFF);
    }
  }
}

TEST(PictureSurfaceTest, LinesLeaveOutTheirEndBoxesIncludeBothCornersAndOutsideIsMinusOne) {
  QtPictureSurface surface(12, 12);
  surface.Line(0, 0, 5, 0, 0);
  EXPECT_EQ(surface.Point(4, 0), 0);
  EXPECT_EQ(surface.Point(5, 0), kWhite);
  surface.Line(0, 2, 5, 7, 0);  // diagonal
  EXPECT_EQ(surface.Point(4, 6), 0);
  EXPECT_EQ(surface.Point(5, 7), kWhite);

  surface.Cls();
  surface.Line(4, 3, 1, 1, 0, Kind::Box);  // corners in either order
  EXPECT_EQ(surface.Point(4, 1), 0);
  EXPECT_EQ(surface.Point(2, 2), kWhite);
  EXPECT_EQ(CountColour(surface, 0), 10);
  surface.Cls();
  surface.Line(1, 1, 4, 3, 0, Kind::FilledBox);
  EXPECT_EQ(CountColour(surface, 0), 12);

  EXPECT_EQ(surface.Point(-1, 0), -1);
  EXPECT_EQ(surface.Point(12, 0), -1);
  EXPECT_EQ(surface.Point(0, 12), -1);
  surface.PSet(12, 0, 0);  // ignored
  EXPECT_EQ(CountColour(surface, 0), 12);
  surface.Scale(6, 6);
  EXPECT_EQ(surface.Point(5.9f, 5.9f), -1);  // rounds to pixel (12, 12)
  EXPECT_EQ(surface.Point(5.7f, 5.7f), kWhite);
}

TEST(PictureSurfaceTest, InvertModeInvertsEachPixelOnceAndUndoesItself) {
  QtPictureSurface surface(80, 80);
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 80; ++x) surface.PSet(x, y, (x * 3251 + y * 977) & 0xFFFFFF);
  }
  const Bitmap before = surface.Image();
  surface.DrawMode(PictureSurface::kDrawModeInvert);
  surface.FillStyle(PictureSurface::kFillSolid);
  auto drawFigures = [&] {
    for (const int width : {1, 5}) {
      surface.DrawWidth(width);
      surface.Line(5, 5, 70, 30, 0);
      surface.Line(10, 10, 50, 60, 0, Kind::Box);
      surface.Line(20, 20, 30, 40, 0, Kind::FilledBox);
      surface.Circle(40, 40, 25, 0);
    }
    surface.PSet(79, 79, 0);
  };
  drawFigures();
  const Bitmap once = surface.Image();
  EXPECT_NE(once, before);
  // Every changed pixel is the exact inverse of what was there.
  for (std::size_t i = 0; i < once.Pixels.size(); ++i) {
    if (once.Pixels[i] != before.Pixels[i]) {
      ASSERT_EQ(once.Pixels[i], before.Pixels[i] ^ 0xFFFFFF) << "pixel " << i;
    }
  }
  EXPECT_EQ(once.At(79, 79), before.At(79, 79) ^ 0xFFFFFF);
  drawFigures();
  EXPECT_EQ(surface.Image(), before);
}

TEST(PictureSurfaceTest, UserScaleMapsLogicalUnitsAndPenWidthStaysInPixels) {
  QtPictureSurface surface(480, 480);
  surface.Scale(16, 16);
  surface.Line(1, 1, 2, 2, 0, Kind::FilledBox);
  EXPECT_EQ(CountColour(surface, 0), 31 * 31);  // pixels 30 to 60, both included
  EXPECT_EQ(surface.ToPixel(1, 2), QPoint(30, 60));
  EXPECT_FLOAT_EQ(surface.ToLogicalX(45), 1.5f);

  surface.Cls();
  surface.DrawWidth(5);
  surface.Line(0, 8, 16, 8, 0);
  int rows = 0;
  for (int y = 230; y < 250; ++y) rows += surface.Canvas().pixel(200, y) == qRgb(0, 0, 0);
  EXPECT_EQ(rows, 5);
}

TEST(PictureSurfaceTest, BadSettingsAndPicturesAreRefusedAndChangeNothing) {
  test::BackEndFixture backEnd;
  test::TempDir dir;
  QtPictureSurface surface(10, 10);
  surface.PSet(1, 1, 0x123456);
  surface.FontName("DejaVu Sans");
  surface.FontSize(12);
  EXPECT_THROW(surface.FontName("No Such Font Brixel"), BackEndError);
  EXPECT_THROW(surface.FontSize(0), BackEndError);
  EXPECT_THROW(surface.DrawMode(7), BackEndError);
  EXPECT_THROW(surface.DrawWidth(0), BackEndError);
  EXPECT_THROW(surface.FillStyle(2), BackEndError);
  EXPECT_THROW(surface.Scale(0, 10), BackEndError);
  EXPECT_EQ(surface.FontName(), "DejaVu Sans");
  EXPECT_FLOAT_EQ(surface.FontSize(), 12);
  EXPECT_EQ(surface.DrawMode(), PictureSurface::kDrawModeCopy);

  test::WriteBytes(dir / "bad.bmp", Bytes{'B', 'M', 1, 2, 3});
  EXPECT_EQ(ErrorNumber([&] { surface.LoadPicture((dir / "bad.bmp").string()); }), 481);
  EXPECT_EQ(ErrorNumber([&] { surface.LoadPicture((dir / "missing.bmp").string()); }), 53);
  // Drawings, which may reference files, are not read here, whatever their name.
  const std::string drawing = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" height=\"4\"/>";
  test::WriteBytes(dir / "drawing.bmp", Bytes(drawing.begin(), drawing.end()));
  EXPECT_EQ(ErrorNumber([&] { surface.LoadPicture((dir / "drawing.bmp").string()); }), 481);
  EXPECT_EQ(surface.PixelWidth(), 10);
  EXPECT_EQ(surface.Point(1, 1), 0x123456);
}

TEST(PictureSurfaceTest, PicturesAreAssignedRestoredByClsAndStretchedExactly) {
  Bitmap picture(2, 2, 0);
  picture.Pixels = {0x112233, 0x445566, 0x778899, 0xAABBCC};

  QtPictureSurface surface(6, 6);
  surface.SetPicture(picture);
  EXPECT_EQ(surface.Point(1, 1), 0xAABBCC);
  EXPECT_EQ(surface.Point(2, 2), kWhite);
  surface.PSet(0, 0, 0);
  surface.Cls();
  EXPECT_EQ(surface.Point(0, 0), 0x112233);

  surface.PaintPicture(picture, 2, 2, 4, 4);
  EXPECT_EQ(surface.Point(3, 3), 0x112233);
  EXPECT_EQ(surface.Point(4, 2), 0x445566);
  EXPECT_EQ(surface.Point(5, 5), 0xAABBCC);
  EXPECT_EQ(ColoursOn(surface), (std::set<std::int32_t>{kWhite, 0x112233, 0x445566, 0x778899, 0xAABBCC}));

  // A larger size keeps the drawing and fills the new area with the background.
  surface.BackColor(0x00FF00);
  surface.Resize(8, 7);
  EXPECT_EQ(surface.Point(5, 5), 0xAABBCC);
  EXPECT_EQ(surface.Point(7, 6), 0x00FF00);
}

TEST(PictureSurfaceTest, SavesAsBmpAndLoadsItBack) {
  test::TempDir dir;
  QtPictureSurface surface(7, 5);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) surface.PSet(x, y, kOddColours[(x + y) % 6]);
  }
  const std::string path = (dir / "saved.bmp").string();
  surface.SavePicture(path);
  EXPECT_EQ(ReadWholeFile(path).at(0), 'B');

  QtPictureSurface loaded(1, 1);
  loaded.LoadPicture(path);
  EXPECT_EQ(loaded.Image(), surface.Image());
  EXPECT_EQ(loaded.Picture(), surface.Image());
}

TEST(PictureSurfaceTest, IconsAndCursorsLoadWithTheBackgroundWhereTheyAreTransparent) {
  test::BackEndFixture backEnd;
  test::TempDir dir;
  cIco document;
  document.AddImage(16, 16, 8, -1);  // all transparent
  const Colour colour = document.PaletteColor(0, 37);
  document.XYColor(0, 3, 4, colour);
  document.XYMask(0, 3, 4, MaskOpaque);
  for (const char* name : {"a.ico", "a.cur"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(document.SaveIcon((dir / name).string()));
    QtPictureSurface surface(2, 2);
    surface.BackColor(0x00FF00);
    surface.LoadPicture((dir / name).string());
    EXPECT_EQ(surface.PixelWidth(), 16);
    EXPECT_EQ(surface.Point(3, 4), colour);
    EXPECT_EQ(surface.Point(0, 0), 0x00FF00);
  }
  EXPECT_TRUE(backEnd.reporter.reports.empty());
}

}  // namespace
}  // namespace brixel
