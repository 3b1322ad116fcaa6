// The add, copy and import dialogs' larger sizes, 32 bits with alpha, several images at once,
// and File > New Icon from Picture, read back with Pillow.
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QToolTip>
#include <fstream>
#include <set>
#include <sstream>

#include "AlphaChannel.h"
#include "FrmImport.h"
#include "IcoFile.h"
#include "ImportDialogs.h"
#include "MainWindowFixture.h"
#include "Palette.h"
#include "ProposedNames.h"
#include "CurrentDocument.h"
#include "PictureBox.h"

namespace brixel {
namespace {

using test::ChooseIn;
using test::ControlIn;
using test::ListTexts;
using test::PressIn;
using test::TickIn;

constexpr Colour kGreen = MakeColour(10, 200, 30);

class ImageSetsTest : public test::MainWindowTest {
 protected:
  ImageSetsTest() { KeepAlpha(true); }
  ~ImageSetsTest() override { KeepAlpha(true); }

  cIco& Document() { return IconDocuments.CurrentDocument(); }
  void Open(const std::vector<IconImage>& images) { HandOverFile(WriteIcon(dir_ / "open.ico", images)); }

  std::filesystem::path WritePicture(const char* name, const QImage& image) {
    const auto path = dir_ / name;
    EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
    return path;
  }

  // A 32-bit image whose alpha rises from left to right and whose colour follows y.
  static IconImage AlphaRamp(int side) {
    IconImage image = MakeNewImage(side, side, 32);
    AddAlphaFromMask(image);
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const int alpha = x * 255 / (side - 1);
        image.Alpha.At(x, y) = alpha;
        image.Pixels.At(x, y) = alpha == 0 ? kBlack : MakeColour(200, y * 255 / side, 40);
        image.Mask.At(x, y) = alpha >= kOpaqueAlpha ? MaskOpaque : MaskTransparent;
      }
    }
    return image;
  }

  // Every entry of an icon file as Pillow reads it: "WxH FORMAT BPP MODE".
  std::vector<std::string> ReadWithPillow(const std::filesystem::path& file) {
    const auto frames = dir_ / "pillow";
    std::filesystem::create_directories(frames);
    const auto listing = frames / "entries.txt";
    const int status = test::RunCommand("/usr/bin/python3 " + test::ShellQuote(BRIXEL_PIL_ICONSET) + " " +
                                        test::ShellQuote(file.string()) + " " + test::ShellQuote(frames.string()) +
                                        " > " + test::ShellQuote(listing.string()));
    EXPECT_EQ(status, 0) << "Pillow could not read " << file;
    std::vector<std::string> entries;
    std::ifstream lines(listing);
    for (std::string line; std::getline(lines, line);) entries.push_back(line);
    return entries;
  }
  static bool PillowPresent() { return test::RunCommand("/usr/bin/python3 -c 'import PIL' >/dev/null 2>&1") == 0; }
};

TEST_F(ImageSetsTest, AddOffersTheLargeSizesAndMakesThirtyTwoBitImagesThatKeepAlpha) {
  Trigger("MnuFileNew");
  test::OnNextDialog([](QDialog& dialog) {
    EXPECT_EQ(ListTexts(dialog, "cboSize"), (QStringList{"16 x 16", "24 x 24", "32 x 32", "48 x 48", "64 x 64",
                                                         "128 x 128", "256 x 256", "Custom"}));
    EXPECT_EQ(ListTexts(dialog, "CboColor"),
              (QStringList{"32 Bit Color", "True Color", "256 Color", "16 Color", "2 Color"}));
    // The note on custom sizes shows with them only.
    auto* note = ControlIn<QLabel>(dialog, "Label4");
    EXPECT_FALSE(note->isVisible());
    ChooseIn(dialog, "cboSize", "Custom");
    EXPECT_TRUE(note->isVisible());
    ChooseIn(dialog, "cboSize", "256 x 256");
    EXPECT_FALSE(note->isVisible());
    ChooseIn(dialog, "CboColor", "32 Bit Color");
    PressIn(dialog, "CmdOK");
  });
  Trigger("MnuIconAdd");
  ASSERT_EQ(Document().IconCount(), 1);
  const IconImage& big = Document().Image(0);
  EXPECT_EQ(big.Width, 256);
  EXPECT_EQ(big.BitDepth, 32);
  ASSERT_TRUE(big.CarriesAlpha());
  EXPECT_TRUE(big.StoredAsPng);
  EXPECT_EQ(big.Alpha.At(100, 100), 0);  // starts transparent

  // Without "Keep alpha channel" the image has no alpha of its own, as before.
  KeepAlpha(false);
  test::OnNextDialog([](QDialog& dialog) {
    ChooseIn(dialog, "cboSize", "128 x 128");
    ChooseIn(dialog, "CboColor", "32 Bit Color");
    PressIn(dialog, "CmdOK");
  });
  Trigger("MnuIconAdd");
  ASSERT_EQ(Document().IconCount(), 2);
  EXPECT_EQ(Document().Width(1), 128);
  EXPECT_FALSE(Document().Image(1).CarriesAlpha());
}

TEST_F(ImageSetsTest, AddMakesTheWindowsSetInOneGo) {
  Trigger("MnuFileNew");
  test::OnNextDialog([](QDialog& dialog) {
    auto* several = ControlIn<QGroupBox>(dialog, "FraSeveral");
    EXPECT_FALSE(several->isChecked());
    several->setChecked(true);
    EXPECT_FALSE(ControlIn<QComboBox>(dialog, "cboSize")->isEnabled());
    PressIn(dialog, "CmdOK");
  });
  Trigger("MnuIconAdd");
  // The untouched image of New goes; the set takes its place.
  std::vector<std::pair<int, int>> made;
  for (std::int16_t i = 0; i < Document().IconCount(); ++i) made.emplace_back(Document().Width(i), Document().BitDepth(i));
  EXPECT_EQ(made, (std::vector<std::pair<int, int>>{
                      {16, 32}, {16, 8}, {24, 32}, {32, 32}, {32, 8}, {48, 32}, {48, 8}, {256, 32}}));
  EXPECT_TRUE(Document().Image(7).StoredAsPng);

  // Nothing ticked: a message, and the dialog stays.
  test::OnNextDialog([](QDialog& dialog) {
    ControlIn<QGroupBox>(dialog, "FraSeveral")->setChecked(true);
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) box->setChecked(false);
    PressIn(dialog, "CmdOK");
    EXPECT_TRUE(dialog.isVisible());
  });
  Trigger("MnuIconAdd");
  EXPECT_EQ(Document().IconCount(), 8);
  EXPECT_EQ(PromptTexts().back(), "Please tick at least one size and color depth.");
}

TEST_F(ImageSetsTest, CopyKeepsAlphaAtThirtyTwoBitsAndMakesEverySizeAtOnce) {
  Open({AlphaRamp(256)});
  const IconImage source = Document().Image(0);
  test::OnNextDialog([](QDialog& dialog) {
    EXPECT_EQ(ListTexts(dialog, "cboSize"), (QStringList{"16 x 16", "24 x 24", "32 x 32", "48 x 48", "64 x 64",
                                                         "128 x 128", "256 x 256"}));
    EXPECT_EQ(ListTexts(dialog, "CboColor"),
              (QStringList{"True Color", "256 Color", "16 Color", "2 Color", "32 Bit Color"}));
    EXPECT_EQ(ListTexts(dialog, "CboResample"), (QStringList{"Bilinear", "Smooth"}));
    ChooseIn(dialog, "cboSize", "256 x 256");
    ChooseIn(dialog, "CboColor", "32 Bit Color");
    PressIn(dialog, "CmdOK");
  });
  Trigger("MnuIconCopy");
  ASSERT_EQ(Document().IconCount(), 2);
  // A copy at its own size: every alpha exactly as it was.
  EXPECT_EQ(Document().Image(1).Alpha, source.Alpha);
  EXPECT_EQ(Document().Image(1).Pixels, source.Pixels);

  window_->SelectImage(0, true);
  test::OnNextDialog([](QDialog& dialog) {
    auto* several = ControlIn<QGroupBox>(dialog, "FraSizes");
    several->setChecked(true);
    // The Windows sizes but the image's own are ticked.
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
      const QString name = QString("ChkSize%1").arg(size);
      EXPECT_EQ(ControlIn<QCheckBox>(dialog, name.toLatin1().constData())->isChecked(),
                size == 16 || size == 24 || size == 32 || size == 48)
          << size;
    }
    ChooseIn(dialog, "CboColor", "32 Bit Color");
    ChooseIn(dialog, "CboResample", "Smooth");
    PressIn(dialog, "CmdOK");
  });
  Trigger("MnuIconCopy");
  ASSERT_EQ(Document().IconCount(), 6);
  for (std::int16_t i = 2; i < 6; ++i) {
    const IconImage& copy = Document().Image(i);
    const int side = std::vector<int>{16, 24, 32, 48}[static_cast<std::size_t>(i - 2)];
    EXPECT_EQ(copy.Width, side);
    EXPECT_EQ(copy.BitDepth, 32);
    ASSERT_TRUE(copy.CarriesAlpha());
    // Alpha still rises from left to right: half-transparent pixels in between.
    EXPECT_LT(copy.Alpha.At(0, side / 2), 20) << side;
    EXPECT_GT(copy.Alpha.At(side - 1, side / 2), 235) << side;
    const int middle = copy.Alpha.At(side / 2, side / 2);
    EXPECT_GT(middle, 100) << side;
    EXPECT_LT(middle, 160) << side;
    // Colours weighed by alpha: a nearly clear pixel keeps the colour, not black.
    EXPECT_EQ(RedOf(copy.Pixels.At(1, side / 2)), 200) << side;
  }
  if (!PillowPresent()) GTEST_SKIP() << "Pillow (python3-pil) is not installed";
  // Another reader finds every size with its alpha, the 256 copy as PNG.
  const auto saved = dir_ / "copies.ico";
  ASSERT_TRUE(Document().SaveIcon(saved.string()));
  std::multiset<std::string> found;
  for (const std::string& entry : ReadWithPillow(saved)) {
    std::istringstream fields(entry);
    std::string size, format, bpp, mode;
    fields >> size >> format >> bpp >> mode;
    found.insert(size + " " + format + " " + mode);
  }
  EXPECT_EQ(found, (std::multiset<std::string>{"256x256 DIB RGBA", "256x256 PNG RGBA", "16x16 DIB RGBA",
                                               "24x24 DIB RGBA", "32x32 DIB RGBA", "48x48 DIB RGBA"}));
}

TEST_F(ImageSetsTest, CopyingACursorScalesItsHotSpotIntoTheCopy) {
  IconImage arrow = test::SolidImage(32, 32, 24, kGreen);
  arrow.xHotSpot = 31;
  arrow.yHotSpot = 10;
  const auto path = dir_ / "arrow.cur";
  test::WriteBytes(path, BuildIconFile({arrow}, 2));
  HandOverFile(path);
  ASSERT_EQ(Document().Image(0).xHotSpot, 31);
  test::OnNextDialog([](QDialog& dialog) {
    ChooseIn(dialog, "cboSize", "16 x 16");
    PressIn(dialog, "CmdOK");
  });
  Trigger("MnuIconCopy");
  ASSERT_EQ(Document().IconCount(), 2);
  EXPECT_EQ(Document().Image(1).xHotSpot, 15);
  EXPECT_EQ(Document().Image(1).yHotSpot, 5);
}

TEST_F(ImageSetsTest, CopyDithersOnlyWhenAskedAndTheDefaultGivesTheNearestColours) {
  IconImage ramp = test::SolidImage(48, 48, 24, 0);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) ramp.Pixels.At(x, y) = MakeColour(x * 5, x * 5, 128);
  }
  Open({ramp});
  const auto copyAt16Colours = [this](bool dither) {
    test::OnNextDialog([dither](QDialog& dialog) {
      ChooseIn(dialog, "cboSize", "48 x 48");
      ChooseIn(dialog, "CboColor", "16 Color");
      TickIn(dialog, "ChkDither", dither);
      PressIn(dialog, "CmdOK");
    });
    window_->SelectImage(0, true);
    Trigger("MnuIconCopy");
    return Document().Image(static_cast<std::int16_t>(Document().IconCount() - 1));
  };
  const IconImage nearest = copyAt16Colours(false);
  const IconImage dithered = copyAt16Colours(true);
  const std::vector<Colour>& table = ReductionTable(4);
  int differing = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      const Colour want = table[static_cast<std::size_t>(NearestPaletteEntry(table, ramp.Pixels.At(x, y)))];
      EXPECT_EQ(nearest.Pixels.At(x, y), want) << x << "," << y;
      if (dithered.Pixels.At(x, y) != want) ++differing;
    }
  }
  EXPECT_GT(differing, 48 * 48 / 10);
}

TEST_F(ImageSetsTest, ImportKeepsHalfTransparencyAtThirtyTwoBitsAndProportionsWhenAsked) {
  // 100 x 80: green at half alpha.
  QImage picture(100, 80, QImage::Format_ARGB32);
  picture.fill(qRgba(10, 200, 30, 128));
  const auto png = WritePicture("half.png", picture);
  Trigger("MnuFileNew");
  AnswerFileDialog(png);
  test::OnNextDialog([](QDialog& dialog) {
    EXPECT_EQ(ListTexts(dialog, "CboSize"), (QStringList{"16 x 16", "24 x 24", "32 x 32", "48 x 48", "64 x 64",
                                                         "128 x 128", "256 x 256"}));
    EXPECT_EQ(ListTexts(dialog, "CboColor"),
              (QStringList{"True Color", "256 Color", "16 Color", "2 Color", "32 Bit Color"}));
    PressIn(dialog, "CmdOpen");
    ChooseIn(dialog, "CboSize", "32 x 32");
    ChooseIn(dialog, "CboColor", "32 Bit Color");
    TickIn(dialog, "ChkProportions");
    PressIn(dialog, "CmdImport");
  });
  Trigger("MnuToolsImport");
  ASSERT_EQ(Document().IconCount(), 1);
  const IconImage& image = Document().Image(0);
  EXPECT_EQ(image.BitDepth, 32);
  ASSERT_TRUE(image.CarriesAlpha());
  // Fitted 32 x 26 and centred: three clear rows above and below.
  for (int y = 0; y < 32; ++y) {
    const bool inside = y >= 3 && y < 29;
    EXPECT_EQ(image.Alpha.At(16, y), inside ? 128 : 0) << y;
    // Weighing by alpha in bytes may cost a colour part one step.
    const Colour colour = image.Pixels.At(16, y);
    EXPECT_NEAR(GreenOf(colour), inside ? 200 : 0, 1) << y;
    EXPECT_NEAR(RedOf(colour), inside ? 10 : 0, 1) << y;
  }
}

TEST_F(ImageSetsTest, ImportRemembersItsChoicesAndNamesItsCommands) {
  Trigger("MnuFileNew");
  test::OnNextDialog([](QDialog& dialog) {
    // Words for the toolbar's pictures, and buttons that carry them.
    EXPECT_EQ(ControlIn<QPushButton>(dialog, "CmdOpen")->text(), "Open...");
    EXPECT_EQ(ControlIn<QPushButton>(dialog, "CmdImport")->text(), "Import");
    EXPECT_EQ(ControlIn<QPushButton>(dialog, "CmdExit")->text(), "Cancel");
    EXPECT_FALSE(FrmImport::ToolTipOf("Exit").isEmpty());
    EXPECT_NE(FrmImport::ToolTipOf("Import"), FrmImport::ToolTipOf("Open"));
    EXPECT_EQ(ControlIn<QComboBox>(dialog, "CboSize")->currentText(), "16 x 16");
    ChooseIn(dialog, "CboSize", "128 x 128");
    ChooseIn(dialog, "CboColor", "256 Color");
    ChooseIn(dialog, "CboClip", "Clip Image");
    TickIn(dialog, "ChkDither");
    TickIn(dialog, "ChkPalette");
    PressIn(dialog, "CmdExit");
  });
  Trigger("MnuToolsImport");
  test::OnNextDialog([](QDialog& dialog) {
    EXPECT_EQ(ControlIn<QComboBox>(dialog, "CboSize")->currentText(), "128 x 128");
    EXPECT_EQ(ControlIn<QComboBox>(dialog, "CboColor")->currentText(), "256 Color");
    EXPECT_EQ(ControlIn<QComboBox>(dialog, "CboClip")->currentText(), "Clip Image");
    EXPECT_TRUE(ControlIn<QCheckBox>(dialog, "ChkDither")->isChecked());
    EXPECT_TRUE(ControlIn<QCheckBox>(dialog, "ChkPalette")->isChecked());
    EXPECT_EQ(ControlIn<PictureBox>(dialog, "PctIcon")->Surface().PixelWidth(), 128);
  });
  Trigger("MnuToolsImport");
}

TEST_F(ImageSetsTest, NewIconFromPictureMakesTheWholeSetInOneDocument) {
  if (!PillowPresent()) GTEST_SKIP() << "Pillow (python3-pil) is not installed";
  // 100 x 80: opaque red left, half transparent blue right.
  QImage picture(100, 80, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.fillRect(0, 0, 50, 80, QColor(255, 0, 0));
  painter.fillRect(50, 0, 50, 80, QColor(0, 0, 255, 128));
  painter.end();
  const auto png = WritePicture("wide.png", picture);
  AnswerFileDialog(png);
  test::OnNextDialog([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "New Icon from Picture");
    EXPECT_TRUE(ControlIn<QLabel>(dialog, "LblPicture")->text().contains("100 x 80"));
    EXPECT_FALSE(ControlIn<QSpinBox>(dialog, "SpnHotX")->isEnabled());
    PressIn(dialog, "CmdOK");
  });
  Trigger("MnuFileNewFromPicture");
  ASSERT_EQ(IconDocuments.Count(), 1);
  ASSERT_EQ(Document().IconCount(), 8);
  EXPECT_TRUE(Document().Changed());
  const IconImage& at32 = Document().Image(3);
  EXPECT_EQ(at32.Width, 32);
  EXPECT_EQ(at32.Alpha.At(24, 16), 128);  // half transparent blue stays half
  EXPECT_EQ(at32.Alpha.At(16, 1), 0);     // the clear margin of the centred picture

  const auto saved = dir_ / "set.ico";
  ASSERT_TRUE(Document().SaveIcon(saved.string()));
  // Pillow lists the entries in an order of its own.
  const std::vector<std::string> entries = ReadWithPillow(saved);
  EXPECT_EQ(std::multiset<std::string>(entries.begin(), entries.end()),
            (std::multiset<std::string>{"16x16 DIB 32 RGBA", "16x16 DIB 8 RGBA", "24x24 DIB 32 RGBA",
                                      "32x32 DIB 32 RGBA", "32x32 DIB 8 RGBA", "48x48 DIB 32 RGBA",
                                      "48x48 DIB 8 RGBA", "256x256 PNG 32 RGBA"}));
}

TEST_F(ImageSetsTest, NewCursorFromPictureAsksTheHotSpotOnceAndScalesIt) {
  QImage picture(64, 64, QImage::Format_RGB32);
  picture.fill(Qt::white);
  const auto png = WritePicture("square.png", picture);
  AnswerFileDialog(png);
  test::OnNextDialog([](QDialog& dialog) {
    ChooseIn(dialog, "CboType", "Cursor");
    auto* x = ControlIn<QSpinBox>(dialog, "SpnHotX");
    EXPECT_TRUE(x->isEnabled());
    EXPECT_EQ(x->maximum(), 63);
    x->setValue(63);
    ControlIn<QSpinBox>(dialog, "SpnHotY")->setValue(32);
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) box->setChecked(false);
    TickIn(dialog, "Chk16x32");
    TickIn(dialog, "Chk128x4");
    PressIn(dialog, "CmdOK");
  });
  Trigger("MnuFileNewFromPicture");
  ASSERT_EQ(Document().IconCount(), 2);
  EXPECT_EQ(Document().Width(0), 16);
  EXPECT_EQ(Document().Image(0).xHotSpot, 15);
  EXPECT_EQ(Document().Image(0).yHotSpot, 8);
  EXPECT_EQ(Document().Width(1), 128);
  EXPECT_EQ(Document().BitDepth(1), 4);
  EXPECT_EQ(Document().Image(1).xHotSpot, 127);
  EXPECT_EQ(Document().Image(1).yHotSpot, 65);
  // Edited as a cursor, under the picture's name as a cursor, which Save still asks for.
  EXPECT_TRUE(IsCursorDocument(&Document()));
  EXPECT_EQ(std::filesystem::path(Document().IconPath()).filename(), "square.cur");
  EXPECT_TRUE(HasProposedName(Document()));
}

}  // namespace
}  // namespace brixel
