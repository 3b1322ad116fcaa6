// brixel-cli import: pictures made into icon images as the import dialog makes them.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "FileIO.h"
#include "KeptEntryFiles.h"
#include "PictureFixtures.h"
#include "PictureDecoderProcess.h"
#include "TestSupport.h"
#include "cIco.h"

namespace brixel {
namespace {

namespace fs = std::filesystem;

constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);

class ImportCliTest : public ::testing::Test {
 protected:
  test::ProcessResult Run(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"import"};
    all.insert(all.end(), args.begin(), args.end());
    return test::RunProgram(BRIXEL_CLI_PATH, all, dir_.Path());
  }
  std::string Picture(const char* name, const QImage& image) {
    const std::string path = (dir_ / name).string();
    EXPECT_TRUE(image.save(QString::fromStdString(path)));
    return path;
  }
  std::string File(const char* name, const Bytes& bytes) {
    test::WriteBytes(dir_ / name, bytes);
    return (dir_ / name).string();
  }
  static cIco Read(const fs::path& path) {
    cIco icon;
    EXPECT_TRUE(icon.OpenIcon(path.string())) << path;
    return icon;
  }
  // What the import dialog makes of the picture with these choices, as saved and read back.
  IconImage AsTheDialogImports(const std::string& picture, ImportOptions options) {
    cIco document;
    AppendImportedImage(document, MakeImportPreview(LoadPictureFile(picture), options), options.BitDepth);
    const fs::path saved = dir_ / "dialog.ico";
    EXPECT_TRUE(document.SaveIcon(saved.string()));
    return Read(saved).Image(0);
  }

  test::TempDir dir_;
};

QImage Halves(int width, int height, bool transparentRight) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(qRgba(255, 0, 0, 255));
  for (int y = 0; y < height; ++y) {
    for (int x = width / 2; x < width; ++x) image.setPixel(x, y, transparentRight ? 0 : qRgba(0, 0, 255, 255));
  }
  return image;
}

TEST_F(ImportCliTest, MakesANewIconOrCursorAndAppendsToAnExistingOne) {
  const std::string png = Picture("wide.png", Halves(100, 50, false));
  const fs::path icon = dir_ / "made.ico";
  ASSERT_EQ(Run({png, icon.string(), "--size", "32", "--depth", "4"}).status, 0);
  cIco made = Read(icon);
  ASSERT_EQ(made.IconCount(), 1);
  const IconImage first = made.Image(0);
  EXPECT_EQ(first.Width, 32);
  EXPECT_EQ(first.BitDepth, 4);
  EXPECT_EQ(first.Pixels.At(4, 8), kRed);
  EXPECT_EQ(first.Pixels.At(28, 8), kBlue);
  EXPECT_EQ(first.Pixels.At(4, 20), kWhite);  // the band
  EXPECT_EQ(first.Mask.At(4, 20), MaskOpaque);
  // The same image the import dialog would have made.
  EXPECT_EQ(first, AsTheDialogImports(png, {32, 4, false}));

  // Appended, clipped: the top-left 16 x 16 of the picture at 1:1.
  ASSERT_EQ(Run({png, icon.string(), "--size", "16", "--clip"}).status, 0);
  made = Read(icon);
  ASSERT_EQ(made.IconCount(), 2);
  EXPECT_EQ(made.Image(0), first);
  EXPECT_EQ(made.Image(1).BitDepth, 24);
  EXPECT_EQ(made.Image(1), AsTheDialogImports(png, {16, 24, true}));

  const fs::path cursor = dir_ / "made.cur";
  ASSERT_EQ(Run({png, cursor.string(), "--size", "24"}).status, 0);
  EXPECT_EQ(ReadWholeFile(cursor.string()).at(2), 2);
}

TEST_F(ImportCliTest, TheDialogsLaterChoicesAreOptions) {
  const std::string png = (dir_ / "halves.png").string();
  ASSERT_TRUE(Halves(60, 40, true).save(QString::fromStdString(png)));
  ImportOptions options{32, 4, false};
  options.KeepProportions = true;
  options.Smooth = true;
  options.Reduction.Dither = true;
  const fs::path dithered = dir_ / "dithered.ico";
  ASSERT_EQ(Run({png, dithered.string(), "--size", "32", "--depth", "4", "--fit", "--smooth", "--dither"}).status, 0);
  EXPECT_EQ(Read(dithered).Image(0), AsTheDialogImports(png, options));

  ImportOptions full{48, 32, false};
  const fs::path alpha = dir_ / "alpha.ico";
  ASSERT_EQ(Run({png, alpha.string(), "--size", "48", "--depth", "32"}).status, 0);
  const IconImage made = Read(alpha).Image(0);
  EXPECT_EQ(made.BitDepth, 32);
  EXPECT_TRUE(made.CarriesAlpha());
  EXPECT_EQ(made, AsTheDialogImports(png, full));
}

TEST_F(ImportCliTest, ReadsMetafilesIconsAndTransparency) {
  const fs::path out = dir_ / "all.ico";
  const std::string clear = Picture("clear.png", Halves(16, 16, true));
  ASSERT_EQ(Run({clear, out.string(), "--size", "16", "--clip", "--depth", "1"}).status, 0);
  ASSERT_EQ(Run({File("a.wmf", test::TwoColourWmf(40, 20, kRed, kBlue)), out.string(), "--size", "40"}).status, 0);
  ASSERT_EQ(Run({File("a.emf", test::TwoColourEmf(40, 20, kRed, kBlue)), out.string(), "--size", "40"}).status, 0);
  ASSERT_EQ(Run({out.string(), (dir_ / "again.ico").string(), "--size", "16", "--depth", "1"}).status, 0);

  const cIco made = Read(out);
  ASSERT_EQ(made.IconCount(), 3);
  const IconImage& transparent = made.Image(0);
  EXPECT_EQ(transparent.Mask.At(3, 3), MaskOpaque);
  EXPECT_EQ(transparent.Mask.At(12, 3), MaskTransparent);
  EXPECT_NE(std::find(transparent.Palette.begin(), transparent.Palette.end(), kBlack), transparent.Palette.end());
  for (const int index : {1, 2}) {
    EXPECT_EQ(made.Image(index).Pixels.At(8, 8), kRed) << index;
    EXPECT_EQ(made.Image(index).Pixels.At(32, 8), kBlue) << index;
  }
  // An icon imported again keeps its transparent pixels.
  const cIco reread = Read(dir_ / "again.ico");
  const IconImage& again = reread.Image(0);
  EXPECT_EQ(again.Mask.At(12, 3), MaskTransparent);
  EXPECT_EQ(again.Mask.At(3, 3), MaskOpaque);
}

TEST_F(ImportCliTest, RefusesBadArgumentsAndPicturesWithoutTouchingTheOutput) {
  const std::string png = Picture("p.png", Halves(8, 8, false));
  const fs::path out = dir_ / "out.ico";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{png, out.string()}, {png, out.string(), "--size", "0"},
        {png, out.string(), "--size", "16", "--depth", "3"}, {png, "--size", "16"},
        {png, out.string(), "--size", "16", "--sharp"}}) {
    EXPECT_EQ(Run(args).status, 2) << args.size();
  }
  EXPECT_FALSE(fs::exists(out));

  const test::ProcessResult unreadable = Run({File("noise.jpg", {1, 2, 3, 4}), out.string(), "--size", "16"});
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_NE(unreadable.err.find("Invalid picture"), std::string::npos) << unreadable.err;
  const test::ProcessResult huge =
      Run({File("huge.wmf", test::TwoColourWmf(40, 20, kRed, kBlue, 30000)), out.string(), "--size", "16"});
  EXPECT_EQ(huge.status, 1);
  EXPECT_NE(huge.err.find("larger than 8192"), std::string::npos) << huge.err;
  EXPECT_FALSE(fs::exists(out));

  const std::string notAnIcon = File("text.ico", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(Run({png, notAnIcon, "--size", "16"}).status, 1);
  EXPECT_EQ(ReadWholeFile(notAnIcon), (Bytes{'h', 'e', 'l', 'l', 'o'}));

  // Only icons and cursors are written: another ending is a usage error, as for convert.
  for (const char* name : {"out.ani", "out.png", "out"}) {
    const test::ProcessResult refused = Run({png, (dir_ / name).string(), "--size", "16"});
    EXPECT_EQ(refused.status, 2) << name;
    EXPECT_NE(refused.err.find("import writes .ico or .cur files"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(dir_ / name)) << name;
  }
}

// Importing into an existing file keeps every entry it holds, those that cannot be shown too.
TEST_F(ImportCliTest, ADrawingIsRenderedAtTheImportedSizeAndLeavesOutWhatItReferences) {
  // Rendered at its own size it would need 256 MB for the pixels alone; the picture beside it
  // (red) is not drawn, and the one line that says so names it.
  setenv("BRIXEL_DECODER_MEGABYTES", "150", 1);
  const std::string beside = Picture("beside.png", Halves(8, 8, false));
  const std::string text = test::SvgStart(8192, 4096) +
                           "<rect width=\"8192\" height=\"4096\" fill=\"#00ff00\"/><image xlink:href=\"" + beside +
                           "\" width=\"8192\" height=\"4096\"/></svg>";
  const std::string svg = File("wide.svg", Bytes(text.begin(), text.end()));
  const fs::path icon = dir_ / "wide.ico";
  const test::ProcessResult result = Run({svg, icon.string(), "--size", "64"});
  // Its top-left corner alone, at its own size.
  const fs::path corner = dir_ / "corner.ico";
  const test::ProcessResult clipped = Run({svg, corner.string(), "--size", "64", "--clip"});
  unsetenv("BRIXEL_DECODER_MEGABYTES");
  ASSERT_EQ(clipped.status, 0) << clipped.err;
  EXPECT_EQ(Read(corner).Image(0).Pixels.At(63, 63), MakeColour(0, 255, 0));
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "brixel-cli: " + svg + ": a reference to \"" + beside + "\" in <image> was left out\n");
  const IconImage image = Read(icon).Image(0);
  EXPECT_EQ(image.Pixels.At(10, 10), MakeColour(0, 255, 0));
  // The white band below the drawing, as a picture fitted into the square has.
  EXPECT_EQ(image.Pixels.At(10, 50), MakeColour(255, 255, 255));
}

TEST_F(ImportCliTest, ADrawingImportsAsTheDialogImportsItAtItsOwnScale) {
  // Four quarters, the lower right half transparent, and a circle over the middle.
  const std::string text = test::SvgStart(100, 60) +
                           "<rect width=\"50\" height=\"30\" fill=\"#ff0000\"/><rect x=\"50\" width=\"50\" height=\"30\" "
                           "fill=\"#0000ff\"/><rect y=\"30\" width=\"50\" height=\"30\" fill=\"#00ff00\"/><rect x=\"50\" "
                           "y=\"30\" width=\"50\" height=\"30\" fill=\"#000000\" fill-opacity=\"0.2\"/>"
                           "<circle cx=\"50\" cy=\"30\" r=\"20\" fill=\"#ffff00\"/></svg>";
  const std::string svg = File("quarters.svg", Bytes(text.begin(), text.end()));
  // At its own scale: its corner, all of it with a band, and all of it fitting exactly.
  for (const ImportOptions options :
       {ImportOptions{40, 24, true}, ImportOptions{120, 24, true}, ImportOptions{100, 24, false}}) {
    const fs::path icon = dir_ / "quarters.ico";
    fs::remove(icon);
    std::vector<std::string> args = {svg, icon.string(), "--size", std::to_string(options.Size), "--depth",
                                     std::to_string(options.BitDepth)};
    if (options.Clip) args.push_back("--clip");
    ASSERT_EQ(Run(args).status, 0);
    EXPECT_EQ(Read(icon).Image(0), AsTheDialogImports(svg, options)) << options.Size << " " << options.Clip;
  }
  // Smaller, it is drawn at that size (32 x 19), not resampled from its own.
  const fs::path small = dir_ / "small.ico";
  ASSERT_EQ(Run({svg, small.string(), "--size", "32"}).status, 0);
  const IconImage image = Read(small).Image(0);
  EXPECT_EQ(image.Pixels.At(2, 2), kRed);
  EXPECT_EQ(image.Pixels.At(29, 2), kBlue);
  EXPECT_EQ(image.Pixels.At(2, 17), MakeColour(0, 255, 0));
  EXPECT_EQ(image.Pixels.At(16, 9), MakeColour(255, 255, 0));
  EXPECT_EQ(image.Mask.At(16, 18), MaskOpaque);
  EXPECT_EQ(image.Mask.At(16, 19), MaskTransparent);  // the band of a picture with transparency
}

TEST_F(ImportCliTest, AnExistingFileKeepsEveryEntryItsEntriesThatCannotBeShownIncluded) {
  const fs::path out = dir_ / "eighteen.ico";
  test::WriteBytes(out, test::IconWithDamagedPng());
  const test::ProcessResult r = Run({Picture("p.png", Halves(8, 8, false)), out.string(), "--size", "16"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("cannot be shown (damaged PNG): written back unchanged"), std::string::npos) << r.err;
  const cIco icon = Read(out);
  ASSERT_EQ(icon.IconCount(), 19);
  ASSERT_TRUE(icon.Image(static_cast<std::int16_t>(test::kDamagedEntry)).IsKept());
  EXPECT_EQ(icon.Image(static_cast<std::int16_t>(test::kDamagedEntry)).Kept.entry->block, test::DamagedPng());
  EXPECT_EQ(icon.Image(18).Width, 16);
}

}  // namespace
}  // namespace brixel
