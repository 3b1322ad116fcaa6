// The Icon menu's image commands driven through their dialogs: add, delete, copy, import and
// export.

#include <sys/stat.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <functional>
#include <set>

#include "AniTestFiles.h"
#include "FrmImport.h"
#include "IcoFile.h"
#include "ImportDialogs.h"
#include "Clip.h"
#include "XcursorFile.h"
#include "AlphaChannel.h"
#include "MainWindowFixture.h"
#include "PictureBox.h"
#include "PictureDecoderProcess.h"
#include "PictureFixtures.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);

class ImageCommandsTest : public test::MainWindowTest {
 protected:
  // Acts on the next modal dialog once it is open (the commands let events run before they
  // open it), and closes it if the action left it open.
  static void OnDialog(std::function<void(QDialog&)> act) { test::OnNextDialog(std::move(act)); }
  template <class T>
  static T* In(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  static void Choose(QDialog& dialog, const char* list, const QString& text) {
    auto* box = In<QComboBox>(dialog, list);
    const int index = box->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    box->setCurrentIndex(index);
  }
  static void Press(QDialog& dialog, const char* button) { In<QPushButton>(dialog, button)->click(); }
  static void Type(QDialog& dialog, const char* box, const QString& text) { In<QLineEdit>(dialog, box)->setText(text); }
  static void ToolBar(QDialog& dialog, const QString& key) {
    auto* toolbar = In<kzrToolBar>(dialog, "TBImport");
    for (int i = 0; i < toolbar->ButtonCount(); ++i) {
      if (toolbar->ButtonKey(i) == key) {
        QTest::mouseClick(toolbar, Qt::LeftButton, {}, toolbar->ButtonCell(i).center());
        return;
      }
    }
    ADD_FAILURE() << "no button " << key.toStdString();
  }

  cIco& Document() { return IconDocuments.CurrentDocument(); }
  void Open(const std::vector<IconImage>& images, const char* name = "open.ico") {
    HandOverFile(WriteIcon(dir_ / name, images));
  }
  // The import dialog loads path, takes the choices and imports.
  void ImportThroughDialog(const std::filesystem::path& path, const QString& size,
                           const QString& depth = "True Color") {
    AnswerFileDialog(path);
    OnDialog([size, depth](QDialog& dialog) {
      ToolBar(dialog, "Open");
      Choose(dialog, "CboSize", size);
      Choose(dialog, "CboColor", depth);
      ToolBar(dialog, "Import");
    });
    Trigger("MnuToolsImport");
  }
  std::filesystem::path WritePicture(const char* name, const QImage& image) {
    const auto path = dir_ / name;
    EXPECT_TRUE(image.save(QString::fromStdString(path.string())));
    return path;
  }
};

TEST_F(ImageCommandsTest, AddingToANewDocumentReplacesItsUntouchedImage) {
  Trigger("MnuFileNew");
  OnDialog([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Add a new image to the icon");
    EXPECT_EQ(In<QComboBox>(dialog, "cboSize")->currentText(), "32 x 32");
    EXPECT_EQ(In<QComboBox>(dialog, "CboColor")->currentText(), "256 Color");
    Choose(dialog, "cboSize", "16 x 16");
    Choose(dialog, "CboColor", "2 Color");
    Press(dialog, "CmdOK");
  });
  Trigger("MnuIconAdd");
  ASSERT_EQ(Document().IconCount(), 1);
  EXPECT_EQ(Document().Width(0), 16);
  EXPECT_EQ(Document().BitDepth(0), 1);
  EXPECT_EQ(Text("LblIco0"), "16x16 2 color");
  EXPECT_TRUE(Document().Changed());

  // Now that it has changed, a second image joins the first and is shown.
  OnDialog([](QDialog& dialog) { Press(dialog, "CmdOK"); });
  Trigger("MnuIconAdd");
  ASSERT_EQ(Document().IconCount(), 2);
  EXPECT_EQ(Document().Width(1), 32);
  EXPECT_EQ(window_->CurrentImage(), 1);
}

TEST_F(ImageCommandsTest, CustomSizesAreCheckedAndCancelStillMarksTheDocumentChanged) {
  Open({test::SolidImage(16, 16, 8, kRed)});
  OnDialog([](QDialog& dialog) {
    EXPECT_FALSE(In<QLineEdit>(dialog, "TxtWidth")->isVisible());
    Choose(dialog, "cboSize", "Custom");
    EXPECT_TRUE(In<QLineEdit>(dialog, "TxtWidth")->isVisible());
    // Not a number, rounds to 0, too large: each refused, the dialog stays.
    for (const char* width : {"abc", "0.4", "2000"}) {
      Type(dialog, "TxtWidth", width);
      Press(dialog, "CmdOK");
      EXPECT_TRUE(dialog.isVisible()) << width;
    }
    Type(dialog, "TxtWidth", "20");
    Type(dialog, "TxtHeight", "-3");
    Press(dialog, "CmdOK");
    Type(dialog, "TxtHeight", "40 pixels");
    Press(dialog, "CmdOK");
    EXPECT_FALSE(dialog.isVisible());
  });
  Trigger("MnuIconAdd");
  const std::string width = "Icon width must be Greater than 0";
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{width, width, width, "Icon Height must be Greater than 0"}));
  EXPECT_EQ(backEnd_.prompter.shown[3].title, "Invalid Height");
  ASSERT_EQ(Document().IconCount(), 2);  // an opened document keeps its image
  EXPECT_EQ(Document().Width(1), 20);
  EXPECT_EQ(Document().Height(1), 80);
  EXPECT_EQ(Text("LblIco1"), "20x40 256 color");

  Document().Changed(false);
  OnDialog([](QDialog& dialog) { Press(dialog, "CmdCancel"); });
  Trigger("MnuIconAdd");
  EXPECT_EQ(Document().IconCount(), 2);
  EXPECT_TRUE(Document().Changed());
}

TEST_F(ImageCommandsTest, DeletingAsksAndNeverRemovesTheLastImage) {
  Open({test::SolidImage(16, 16, 8, kRed)}, "one.ico");
  Trigger("MnuIconDelete");
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{"This is the last image in the icon, you cannot delete it."}));
  EXPECT_EQ(Document().IconCount(), 1);

  Open({test::SolidImage(16, 16, 8, kRed), test::SolidImage(24, 24, 8, kRed),
        test::SolidImage(32, 32, 8, kRed)},
       "three.ico");
  window_->SelectImage(1, true);
  backEnd_.prompter.answers = {Prompter::Answer::No};
  Trigger("MnuIconDelete");
  EXPECT_EQ(backEnd_.prompter.shown.back().text, "Are you sure you want to delete the current image from the icon?");
  EXPECT_EQ(Document().IconCount(), 3);
  EXPECT_EQ(window_->CurrentImage(), 0);
  EXPECT_TRUE(Document().Changed());

  window_->SelectImage(1, true);
  backEnd_.prompter.answers = {Prompter::Answer::Yes};
  Trigger("MnuIconDelete");
  ASSERT_EQ(Document().IconCount(), 2);
  EXPECT_EQ(Document().Width(1), 32);
  EXPECT_EQ(window_->CurrentImage(), 0);
}

TEST_F(ImageCommandsTest, CopyingToTwoColoursGivesAPaletteOfTwoWithBlackForTheTransparentPixels) {
  IconImage colourful = test::SolidImage(32, 32, 24, 0);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) colourful.Pixels.At(x, y) = MakeColour(8 * x, 255 - 8 * y, 200);
  }
  for (int x = 0; x < 32; ++x) {
    colourful.Pixels.At(x, 0) = kBlack;
    colourful.Mask.At(x, 0) = MaskTransparent;
  }
  Open({colourful});
  const IconImage source = Document().Image(0);
  OnDialog([](QDialog& dialog) {
    EXPECT_EQ(In<QComboBox>(dialog, "cboSize")->currentText(), "16 x 16");
    EXPECT_EQ(In<QComboBox>(dialog, "CboColor")->currentText(), "True Color");
    Choose(dialog, "cboSize", "32 x 32");
    Choose(dialog, "CboColor", "2 Color");
    Press(dialog, "CmdOK");
  });
  Trigger("MnuIconCopy");
  ASSERT_EQ(Document().IconCount(), 2);
  EXPECT_EQ(window_->CurrentImage(), 1);
  EXPECT_TRUE(Document().Changed());
  const IconImage& copy = Document().Image(1);
  EXPECT_EQ(copy.BitDepth, 1);
  ASSERT_EQ(copy.Palette.size(), 2u);
  std::set<Colour> used;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      EXPECT_EQ(copy.Mask.At(x, y), y == 0 ? MaskTransparent : MaskOpaque) << x << "," << y;
      used.insert(copy.Pixels.At(x, y));
    }
  }
  for (const Colour colour : used) EXPECT_NE(std::find(copy.Palette.begin(), copy.Palette.end(), colour), copy.Palette.end());
  EXPECT_EQ(used, (std::set<Colour>{kBlack, kWhite}));
  EXPECT_EQ(Document().Image(0), source);  // the source never changes
}

TEST_F(ImageCommandsTest, CopiesOfOddShapesKeepTheirAspectAndNeverDivideByZero) {
  Open({test::SolidImage(32, 16, 24, kRed), test::SolidImage(64, 2, 24, kBlue)});
  OnDialog([](QDialog& dialog) {
    Choose(dialog, "cboSize", "32 x 32");
    Press(dialog, "CmdOK");
  });
  Trigger("MnuIconCopy");
  ASSERT_EQ(Document().IconCount(), 3);
  const IconImage& wide = Document().Image(2);
  for (int y = 0; y < 32; ++y) {
    EXPECT_EQ(wide.Pixels.At(31, y), y < 16 ? kRed : kWhite) << y;
    EXPECT_EQ(wide.Mask.At(31, y), MaskOpaque) << y;
  }

  window_->SelectImage(1, true);
  OnDialog([](QDialog& dialog) { Press(dialog, "CmdOK"); });
  Trigger("MnuIconCopy");
  ASSERT_EQ(Document().IconCount(), 4);
  const IconImage& thin = Document().Image(3);
  EXPECT_EQ(thin.Pixels.At(8, 0), kBlue);  // 2 rows scale to 0.5: one row
  EXPECT_EQ(thin.Pixels.At(8, 1), kWhite);
}

TEST_F(ImageCommandsTest, ImportingAWidePictureLeavesAnOpaqueWhiteBandAndKeepsEachImport) {
  QImage wide(100, 50, QImage::Format_RGB32);
  wide.fill(Qt::red);
  const auto bmp = WritePicture("wide.bmp", wide);
  Trigger("MnuFileNew");
  ImportThroughDialog(bmp, "32 x 32");
  ASSERT_EQ(dialogs_.fileRequests.size(), 1u);
  const auto& filters = dialogs_.fileRequests[0].filters;
  EXPECT_TRUE(std::any_of(filters.begin(), filters.end(),
                          [](const FileFilter& f) { return f.description == "PNG Files (png)"; }));

  // The new document's untouched image is replaced, and the document counts as changed.
  ASSERT_EQ(Document().IconCount(), 1);
  EXPECT_TRUE(Document().Changed());
  EXPECT_EQ(Text("LblIco0"), "32x32 true color");
  const IconImage& image = Document().Image(0);
  for (int y = 0; y < 32; ++y) {
    EXPECT_EQ(image.Pixels.At(10, y), y < 16 ? kRed : kWhite) << y;
    EXPECT_EQ(image.Mask.At(10, y), MaskOpaque) << y;
  }

  // A second import keeps the first.
  ImportThroughDialog(bmp, "16 x 16");
  ASSERT_EQ(Document().IconCount(), 2);
  EXPECT_EQ(Document().Width(0), 32);
  EXPECT_EQ(Document().Width(1), 16);
  EXPECT_EQ(window_->CurrentImage(), 1);
}

TEST_F(ImageCommandsTest, ImportKeepsTheTransparencyOfIconsAndPngs) {
  IconImage masked = test::SolidImage(16, 16, 24, kRed);
  for (int y = 0; y < 16; ++y) {
    for (int x = 8; x < 16; ++x) masked.Mask.At(x, y) = MaskTransparent;  // red in the file
  }
  const auto ico = WriteIcon(dir_ / "masked.ico", {masked});
  QImage png(16, 16, QImage::Format_ARGB32);
  png.fill(qRgba(0, 0, 255, 255));
  for (int y = 12; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) png.setPixel(x, y, qRgba(0, 0, 0, 0));
  }
  const auto pngPath = WritePicture("clear.png", png);

  Open({test::SolidImage(16, 16, 4, kBlue)});
  ImportThroughDialog(ico, "16 x 16", "16 Color");
  ImportThroughDialog(pngPath, "16 x 16");
  ASSERT_EQ(Document().IconCount(), 3);
  const IconImage& fromIcon = Document().Image(1);
  EXPECT_EQ(fromIcon.Mask.At(3, 3), MaskOpaque);
  EXPECT_EQ(fromIcon.Pixels.At(3, 3), kRed);
  EXPECT_EQ(fromIcon.Mask.At(12, 3), MaskTransparent);
  EXPECT_NE(std::find(fromIcon.Palette.begin(), fromIcon.Palette.end(), kBlack), fromIcon.Palette.end());
  const IconImage& fromPng = Document().Image(2);
  // Resized, row 15 blends source rows 14 and 15, both transparent.
  EXPECT_EQ(fromPng.Mask.At(4, 5), MaskOpaque);
  EXPECT_EQ(fromPng.Pixels.At(4, 5), kBlue);
  EXPECT_EQ(fromPng.Mask.At(4, 15), MaskTransparent);
  // Both save: their transparent pixels find a black entry.
  AnswerFileDialog(dir_ / "saved.ico");
  Trigger("MnuFileSaveAs");
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ImageCommandsTest, ImportRefusesMissingAndUnreadablePicturesAndStaysOpen) {
  Trigger("MnuFileNew");
  const auto broken = dir_ / "broken.png";
  test::WriteBytes(broken, Bytes{0x89, 'P', 'N', 'G', 1, 2, 3});
  AnswerFileDialog(broken);
  OnDialog([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Please select the image to import");
    ToolBar(dialog, "Import");
    EXPECT_TRUE(dialog.isVisible());
    ToolBar(dialog, "Open");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(In<PictureBox>(dialog, "PctImport")->isVisible());
    ToolBar(dialog, "Exit");
    EXPECT_FALSE(dialog.isVisible());
  });
  Trigger("MnuToolsImport");
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{"Please open a picture to import first."}));
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("PrjBrixel.FrmImport.LoadImport"), std::string::npos);
  EXPECT_EQ(Document().IconCount(), 1);
  EXPECT_FALSE(Document().Changed());
}

TEST_F(ImageCommandsTest, ADrawingIsImportedWithoutThePictureItReferencesAndSaysSo) {
  Trigger("MnuFileNew");
  QImage red(8, 8, QImage::Format_RGB32);
  red.fill(Qt::red);
  const auto beside = WritePicture("beside.png", red);
  const std::string text = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                           "width=\"16\" height=\"16\"><image xlink:href=\"" + beside.string() +
                           "\" width=\"16\" height=\"16\"/></svg>";
  const auto svg = dir_ / "drawing.svg";
  test::WriteBytes(svg, Bytes(text.begin(), text.end()));
  AnswerFileDialog(svg);
  OnDialog([](QDialog& dialog) {
    ToolBar(dialog, "Open");
    EXPECT_TRUE(In<PictureBox>(dialog, "PctImport")->isVisible());
    ToolBar(dialog, "Exit");
  });
  Trigger("MnuToolsImport");
  EXPECT_EQ(PromptTexts(), (std::vector<std::string>{"a reference to \"" + beside.string() + "\" in <image> was left out"}));
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ImageCommandsTest, ADecoderThatCrashesFailsTheLoadAndTheOpenDocumentsStay) {
  Open({test::SolidImage(16, 16, 8, kRed)}, "first.ico");
  Open({test::SolidImage(32, 32, 24, kBlue), test::SolidImage(16, 16, 4, kRed)}, "second.ico");
  Document().Image(1).Pixels.At(2, 2) = kBlue;  // an unsaved edit
  Document().Changed(true);
  const std::vector<IconImage> before = Document().Images();
  QImage picture(40, 20, QImage::Format_RGB32);
  picture.fill(Qt::green);
  const auto png = WritePicture("green.png", picture);

  UsePictureDecoderProgram(test::WriteShellScript(dir_ / "decoder", "kill -SEGV $$"));
  AnswerFileDialog(png);
  OnDialog([](QDialog& dialog) {
    ToolBar(dialog, "Open");
    EXPECT_FALSE(In<PictureBox>(dialog, "PctImport")->isVisible());
    ToolBar(dialog, "Exit");
  });
  Trigger("MnuToolsImport");
  UsePictureDecoderProgram({});
  ASSERT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_NE(backEnd_.reporter.reports[0].find("the picture decoder stopped on signal 11 (Segmentation fault)"),
            std::string::npos) << backEnd_.reporter.reports[0];
  EXPECT_NE(backEnd_.reporter.reports[0].find("PrjBrixel.FrmImport.LoadImport"), std::string::npos);
  EXPECT_EQ(IconDocuments.Count(), 2);
  EXPECT_EQ(Document().Images(), before);
  EXPECT_TRUE(Document().Changed());

  // The real decoder, beside the program as when installed, reads the same picture.
  ImportThroughDialog(png, "16 x 16");
  ASSERT_EQ(Document().IconCount(), 3);
  EXPECT_EQ(Document().Image(2).Pixels.At(4, 2), MakeColour(0, 255, 0));
  EXPECT_EQ(backEnd_.reporter.reports.size(), 1u);
}

TEST_F(ImageCommandsTest, TheViewportScrollsLargePicturesOnly) {
  QImage tall(100, FrmImport::kFrameHeight + 30, QImage::Format_RGB32);
  tall.fill(Qt::green);
  const auto path = WritePicture("tall.png", tall);
  Trigger("MnuFileNew");
  AnswerFileDialog(path);
  OnDialog([](QDialog& dialog) {
    ToolBar(dialog, "Open");
    auto* vertical = In<QScrollBar>(dialog, "VScroll1");
    EXPECT_FALSE(In<QScrollBar>(dialog, "HScroll1")->isEnabled());
    ASSERT_TRUE(vertical->isEnabled());
    EXPECT_EQ(vertical->maximum(), 30);
    EXPECT_EQ(vertical->singleStep(), 10);
    EXPECT_EQ(vertical->pageStep(), 27);
    vertical->setValue(20);
    EXPECT_EQ(In<PictureBox>(dialog, "PctImport")->y(), -20);
  });
  Trigger("MnuToolsImport");
}

TEST_F(ImageCommandsTest, ExportWritesASquareOfTheLargerSideAsCursorBitmapOrPng) {
  IconImage image = test::SolidImage(32, 16, 4, kRed);
  image.Pixels.At(1, 1) = kBlack;
  image.Mask.At(1, 1) = MaskTransparent;
  image.xHotSpot = 3;
  image.yHotSpot = 5;
  Open({image}, "pointer.cur");
  const std::vector<Colour> palette = Document().Image(0).Palette;
  const auto exportAs = [&](const std::string& name) {
    AnswerFileDialog(dir_ / name);
    Trigger("MnuIconExport");
    return dir_ / name;
  };

  const auto cursor = exportAs("a.cur");
  EXPECT_EQ(dialogs_.fileRequests.back().title, "Save icon as");
  EXPECT_EQ(dialogs_.fileRequests.back().defaultExt, "bmp");
  EXPECT_EQ(backEnd_.prompter.shown.back().title, "Export Completed");
  EXPECT_EQ(backEnd_.prompter.shown.back().text, "Image exported as " + cursor.string());
  EXPECT_EQ(ReadWholeFile(cursor.string()).at(2), 2);
  cIco reread;
  ASSERT_TRUE(reread.OpenIcon(cursor.string()));
  ASSERT_EQ(reread.IconCount(), 1);
  const IconImage& exported = reread.Image(0);
  EXPECT_EQ(exported.Width, 32);
  EXPECT_EQ(exported.Height(), 32);
  EXPECT_EQ(exported.BitDepth, 4);
  EXPECT_EQ(exported.xHotSpot, 3);
  EXPECT_EQ(exported.yHotSpot, 5);
  EXPECT_EQ(exported.Palette, palette);
  EXPECT_EQ(exported.Pixels.At(20, 10), kRed);
  EXPECT_EQ(exported.Mask.At(1, 1), MaskTransparent);
  EXPECT_EQ(exported.Mask.At(20, 20), MaskTransparent);  // the square's new rows
  EXPECT_EQ(IconDocuments.Count(), 1);
  EXPECT_FALSE(Document().Changed());

  const QImage bmp(QString::fromStdString(exportAs("a.bmp").string()));
  ASSERT_EQ(bmp.size(), QSize(32, 32));
  EXPECT_EQ(bmp.pixel(20, 10), qRgb(255, 0, 0));
  EXPECT_EQ(bmp.pixel(20, 20), qRgb(255, 255, 255));

  const QImage png(QString::fromStdString(exportAs("a.png").string()));
  ASSERT_EQ(png.size(), QSize(32, 32));
  EXPECT_EQ(png.pixel(20, 10), qRgba(255, 0, 0, 255));
  EXPECT_EQ(qAlpha(png.pixel(1, 1)), 0);
  EXPECT_EQ(qAlpha(png.pixel(20, 20)), 0);
  EXPECT_EQ(backEnd_.prompter.shown.size(), 3u);

  // Onto the open document's own file: refused, the file as it was.
  const Bytes before = ReadWholeFile((dir_ / "pointer.cur").string());
  exportAs("pointer.cur");
  EXPECT_EQ(backEnd_.prompter.shown.back().title, "Unable to export");
  EXPECT_EQ(ReadWholeFile((dir_ / "pointer.cur").string()), before);
  EXPECT_EQ(IconDocuments.Count(), 1);
}

TEST_F(ImageCommandsTest, ExportKeepsTheAlphaAnImageCarries) {
  IconImage image = test::SolidImage(16, 32, 32, kRed);
  AddAlphaFromMask(image);
  image.Alpha.At(2, 3) = 128;
  Open({image});
  const auto exportAs = [&](const std::string& name) {
    AnswerFileDialog(dir_ / name);
    Trigger("MnuIconExport");
    return dir_ / name;
  };
  const QImage png(QString::fromStdString(exportAs("soft.png").string()));
  ASSERT_EQ(png.size(), QSize(32, 32));
  EXPECT_EQ(qAlpha(png.pixel(2, 3)), 128);
  EXPECT_EQ(qAlpha(png.pixel(5, 5)), 255);
  EXPECT_EQ(qAlpha(png.pixel(20, 5)), 0);  // the square's new columns

  cIco reread;
  ASSERT_TRUE(reread.OpenIcon(exportAs("soft.ico").string()));
  ASSERT_TRUE(reread.Image(0).CarriesAlpha());
  EXPECT_EQ(reread.Image(0).Alpha.At(2, 3), 128);
  EXPECT_EQ(reread.Image(0).Alpha.At(20, 5), 0);

  // With the option turned off since, every writer drops the alpha the image still carries.
  KeepAlpha(false);
  const QImage flat(QString::fromStdString(exportAs("flat.png").string()));
  EXPECT_EQ(qAlpha(flat.pixel(2, 3)), 255);
  EXPECT_EQ(qAlpha(flat.pixel(20, 5)), 0);
  EXPECT_EQ(XcursorArgb(IconDocuments.CurrentDocument().Image(0), 2, 3) >> 24, 255u);
  ClipRegion clip(1, 1);
  clip.Set(0, 0, kRed, MaskOpaque, 128);
  EXPECT_EQ(qAlpha(ClipImage(clip).pixel(0, 0)), 255);
  KeepAlpha(true);
  EXPECT_EQ(qAlpha(ClipImage(clip).pixel(0, 0)), 128);
}

// Every kind of export asks before it replaces a read-only file, and a No keeps the file.
TEST_F(ImageCommandsTest, EveryExportAsksBeforeReplacingAReadOnlyFile) {
  Open({test::SolidImage(16, 16, 24, kRed)});
  for (const char* name : {"old.bmp", "old.png", "old.xcursor", "old.ico"}) {
    const auto path = dir_ / name;
    test::WriteBytes(path, {1, 2, 3});
    ::chmod(path.c_str(), 0444);
    backEnd_.prompter.shown.clear();
    backEnd_.prompter.answers = {Prompter::Answer::No};
    AnswerFileDialog(path);
    Trigger("MnuIconExport");
    ASSERT_EQ(backEnd_.prompter.shown.size(), 1u) << name;
    EXPECT_EQ(backEnd_.prompter.shown[0].text, "The file is read only, Overwrite anyway?");
    EXPECT_EQ(ReadWholeFile(path.string()), (Bytes{1, 2, 3})) << name;

    backEnd_.prompter.answers = {Prompter::Answer::Yes};
    AnswerFileDialog(path);
    Trigger("MnuIconExport");
    EXPECT_NE(ReadWholeFile(path.string()), (Bytes{1, 2, 3})) << name;
  }
}

TEST_F(ImageCommandsTest, AFailedExportShowsItsReportInsteadOfCompleted) {
  Open({test::SolidImage(16, 16, 8, kRed)});
  AnswerFileDialog(dir_ / "missing-folder" / "a.ico");
  Trigger("MnuIconExport");
  EXPECT_EQ(backEnd_.reporter.reports.size(), 1u);
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  EXPECT_EQ(IconDocuments.Count(), 1);
  AnswerFileDialog(dir_ / "missing-folder" / "a.png");
  Trigger("MnuIconExport");
  EXPECT_EQ(backEnd_.reporter.reports.size(), 2u);
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
}

}  // namespace
}  // namespace brixel
