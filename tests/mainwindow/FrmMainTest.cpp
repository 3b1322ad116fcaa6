#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include "EditGrid.h"
#include "GridView.h"
#include "ImageStrip.h"
#include "IsolatedHome.h"
#include "MainWindowFixture.h"
#include "PictureBox.h"
#include "QtColour.h"
#include "Settings.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

using test::FrameImage;

const QColor kSelected(255, 100, 100);

// Pixels in the colour where the strip draws the caption.
int CaptionPixels(const QLabel* caption, const QColor& colour) {
  const QImage shot = caption->parentWidget()->grab(caption->geometry()).toImage().convertToFormat(
      QImage::Format_RGB32);
  int count = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) count += shot.pixel(x, y) == colour.rgb();
  return count;
}
bool ShownRed(const QLabel* caption) { return CaptionPixels(caption, kSelected) > 0; }

class UrlRecorder : public QObject {
  Q_OBJECT

 public slots:
  void Open(const QUrl& url) { urls.push_back(url); }

 public:
  std::vector<QUrl> urls;
};

using FrmMainTest = test::MainWindowTest;

TEST_F(FrmMainTest, CountsAndStepsBetweenDocuments) {
  EXPECT_EQ(Text("LblCount"), "0 of 0");
  EXPECT_EQ(Text("LblFileName"), "No Icon");
  EXPECT_FALSE(Enabled("CmdPrev"));
  EXPECT_FALSE(Find<QMenu>("MnuIcon")->isEnabled());
  EXPECT_FALSE(Find<QWidget>("PctIco0")->isVisible());

  Trigger("MnuFileNew");
  Trigger("MnuFileNew");
  EXPECT_EQ(Text("LblCount"), "2 of 2");
  EXPECT_TRUE(Enabled("CmdPrev"));
  EXPECT_FALSE(Enabled("CmdNext"));
  EXPECT_EQ(Text("LblFileName"), "NewIcon");
  EXPECT_EQ(Text("LblIco0"), "32x32 256 color");
  EXPECT_TRUE(Find<QMenu>("MnuIcon")->isEnabled());

  QTest::mouseClick(Find<QPushButton>("CmdPrev"), Qt::LeftButton);
  EXPECT_EQ(Text("LblCount"), "1 of 2");
  EXPECT_FALSE(Enabled("CmdPrev"));
  EXPECT_TRUE(Enabled("CmdNext"));
  EXPECT_EQ(IconDocuments.Current, 0);
}

TEST_F(FrmMainTest, ShowsTheImagesOfAFileWrittenByAnotherProgram) {
  const std::string folder = test::ShellQuote(dir_.Path().string());
  if (test::RunCommand("cd " + folder + " && convert -size 32x32 gradient:red-blue -colors 200 a.png"
                       " && convert -size 16x16 xc:yellow -fill black -draw 'point 3,3' b.png"
                       " && convert -size 32x16 gradient:green-white -colors 12 c.png"
                       " && icotool -c -o other.ico a.png b.png c.png") != 0) {
    GTEST_SKIP() << "ImageMagick or icoutils is missing";
  }
  AnswerFileDialog(dir_ / "other.ico");
  Trigger("MnuFileOpen");

  EXPECT_EQ(Text("LblCount"), "1 of 1");
  EXPECT_EQ(Text("LblFileName"), "other.ico");
  EXPECT_EQ(Text("LblIco0"), "32x32 256 color");
  EXPECT_EQ(Text("LblIco1"), "16x16 2 color");
  EXPECT_EQ(Text("LblIco2"), "32x16 16 color");
  EXPECT_EQ(Find<QWidget>("PctIco2")->size(), QSize(32, 16));
  EXPECT_TRUE(ShownRed(Find<QLabel>("LblIco0")));
  EXPECT_TRUE(backEnd_.reporter.reports.empty());

  // The strip pictures show the images at their real size.
  const cIco& document = IconDocuments.CurrentDocument();
  auto* yellow = Find<PictureBox>("PctIco1");
  EXPECT_EQ(yellow->Surface().Point(0, 0), document.XYColor(1, 0, 0));
  EXPECT_EQ(yellow->Surface().Point(3, 3), document.XYColor(1, 3, 3));
  EXPECT_NE(document.XYColor(1, 0, 0), document.XYColor(1, 3, 3));

  // Choosing the 32 x 16 image: its caption turns red, the grid shows 32 x 32 cells of 15 pixels.
  QTest::mouseClick(Find<QWidget>("PctIco2"), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(window_->CurrentImage(), 2);
  EXPECT_TRUE(ShownRed(Find<QLabel>("LblIco2")));
  EXPECT_FALSE(ShownRed(Find<QLabel>("LblIco0")));
  const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
  EXPECT_GT(CaptionPixels(Find<QLabel>("LblIco0"), buttonText), 0);
  auto* grid = Find<GridView>("PctGrid");
  EXPECT_EQ(window_->Grid().Cells(), 32);
  for (int y : {0, 7, 15}) {
    for (int x : {0, 20, 31}) {
      EXPECT_EQ(ColourFromRgb(grid->Rendered().pixel(x * 15 + 7, y * 15 + 5)),
                document.XYColor(2, static_cast<float>(x), static_cast<float>(y)))
          << x << "," << y;
    }
  }
  // The palette panel shows the image's sixteen colours, eight a row.
  auto* palette = Find<PictureBox>("Pctpal");
  EXPECT_EQ(palette->Surface().Point(12, 48), document.PaletteColor(2, 0));
  EXPECT_EQ(palette->Surface().Point(7 * 25 + 12, 96 + 48), document.PaletteColor(2, 15));
}

TEST_F(FrmMainTest, ClickingACaptionSelectsAndTheRightButtonOpensTheIconMenu) {
  HandOverFile(WriteIcon(dir_ / "two.ico", {FrameImage(16, 24, kWhite), FrameImage(24, 24, kBlack)}));
  QTest::mouseClick(Find<QLabel>("LblIco1"), Qt::RightButton);
  EXPECT_EQ(window_->CurrentImage(), 1);
  EXPECT_TRUE(ShownRed(Find<QLabel>("LblIco1")));
  EXPECT_FALSE(ShownRed(Find<QLabel>("LblIco0")));
  EXPECT_EQ(window_->Grid().Cells(), 24);
  auto* menu = Find<QMenu>("MnuIcon");
  EXPECT_TRUE(menu->isVisible());
  menu->close();

  QTest::mouseClick(Find<QLabel>("LblIco0"), Qt::LeftButton);
  EXPECT_EQ(window_->CurrentImage(), 0);
  EXPECT_FALSE(menu->isVisible());
}

// A picture wider than the strip is scaled into it, keeping its shape; smaller ones keep their
// size. The selected picture is framed.
TEST_F(FrmMainTest, TheStripScalesLargeImagesAndFramesTheSelectedOne) {
  Trigger("MnuFileNew");
  cIco& document = IconDocuments.CurrentDocument();
  document.AddImage(256, 256, 24, -1);
  window_->ShowCount();
  auto* large = Find<QWidget>("PctIco1");
  const int room = Find<QWidget>("PctContainer")->width();
  EXPECT_LT(large->width(), 256);
  EXPECT_LE(large->x() + large->width(), room);
  EXPECT_EQ(large->height(), large->width());
  EXPECT_EQ(Text("LblIco1"), "256x256 true color");
  EXPECT_EQ(Find<QWidget>("PctIco0")->size(), QSize(32, 32));
  EXPECT_FALSE(Find<QScrollBar>("scrIconAcross")->isVisible());

  auto* frame = Find<QWidget>("FrmSelected");
  EXPECT_TRUE(frame->isVisible());
  EXPECT_TRUE(frame->geometry().contains(Find<QWidget>("PctIco0")->geometry()));
  window_->SelectImage(1, true);
  EXPECT_TRUE(frame->geometry().contains(large->geometry()));
  EXPECT_FALSE(frame->geometry().intersects(Find<QWidget>("PctIco0")->geometry()));
}

// The window at 800 x 600: nothing overlaps and the grid scrolls; at 1600 x 1000 the fit view
// takes the room beside the panels.
TEST_F(FrmMainTest, TheGridTakesTheRoomTheWindowGives) {
  Trigger("MnuFileNew");
  IconDocuments.CurrentDocument().AddImage(64, 64, 24, 0);
  window_->ShowCount();
  window_->resize(800, 600);
  QApplication::processEvents();
  EXPECT_LE(window_->width(), 800);
  EXPECT_LE(window_->height(), 600);
  std::vector<QWidget*> parts;
  for (const char* name : {"TBFile", "TBClipboard", "TBDrawing", "TBTransForm", "Frame2", "PctContainer",
                           "GridScroll", "Frame1", "FmeActualSize"}) {
    parts.push_back(Find<QWidget>(name));
  }
  for (QWidget* part : parts) {
    const QRect placed(part->mapTo(window_.get(), QPoint(0, 0)), part->size());
    EXPECT_TRUE(window_->rect().contains(placed)) << part->objectName().toStdString();
    for (QWidget* other : parts) {
      if (other == part) continue;
      const QRect otherPlaced(other->mapTo(window_.get(), QPoint(0, 0)), other->size());
      EXPECT_FALSE(placed.intersects(otherPlaced))
          << part->objectName().toStdString() << " and " << other->objectName().toStdString();
    }
  }
  auto* scroller = Find<QScrollArea>("GridScroll");
  EXPECT_EQ(window_->Grid().View().width(), EditGrid::kViewSize);
  EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);

  window_->resize(1600, 1000);
  QApplication::processEvents();
  const QSize room = scroller->maximumViewportSize();
  EXPECT_EQ(window_->Grid().View().width(), std::min(room.width(), room.height()));
  EXPECT_GT(window_->Grid().View().width(), 700);
  EXPECT_EQ(scroller->horizontalScrollBar()->maximum(), 0);
}

// A strip narrower than a caption scrolls across; its pictures fit between its margins.
TEST(ImageStrip, ANarrowStripScrollsAcrossAndFitsItsPictures) {
  IconDocuments.Clear();
  NewDocument();
  cIco& document = IconDocuments.CurrentDocument();
  document.AddImage(64, 64, 32, -1);
  ImageStrip strip;
  strip.resize(110, 300);
  strip.show();
  ASSERT_TRUE(strip.Build(&document));
  auto* container = strip.findChild<QWidget*>("PctContainer");
  auto* across = strip.findChild<QScrollBar*>("scrIconAcross");
  auto* caption = strip.findChild<QLabel*>("LblIco0");
  auto* picture = strip.findChild<QWidget*>("PctIco0");
  ASSERT_GT(caption->width(), container->width());
  EXPECT_TRUE(across->isVisible());
  across->setValue(across->maximum());
  EXPECT_EQ(caption->mapTo(container, QPoint(caption->width(), 0)).x(), container->width() - 8);
  EXPECT_LE(picture->width(), container->width() - 16);
  EXPECT_EQ(picture->height(), picture->width());
  IconDocuments.Clear();
}

// Built before it first shows (a file opened at the start), the strip draws a picture it
// must narrow once it has its width, and draws it then as a strip shown first would.
TEST(ImageStrip, APictureNarrowedBeforeTheFirstShowIsDrawnAtTheWidthShown) {
  IconDocuments.Clear();
  NewDocument();
  cIco& document = IconDocuments.CurrentDocument();
  document.AddImage(256, 512, 32, -1);
  IconImage& image = document.Image(0);
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width; ++x) {
      image.Pixels.At(x, y) = x < 128 ? 0x0000FF : 0xFF0000;
      SetMask(image, x, y, MaskOpaque);
    }
  const auto shownPicture = [&document](bool builtBeforeShow) {
    ImageStrip strip;
    strip.resize(builtBeforeShow ? 60 : 180, 300);
    if (builtBeforeShow) {
      EXPECT_TRUE(strip.Build(&document));
    }
    strip.resize(180, 300);
    strip.show();
    QApplication::processEvents();
    if (!builtBeforeShow) {
      EXPECT_TRUE(strip.Build(&document));
    }
    auto* container = strip.findChild<QWidget*>("PctContainer");
    auto* picture = strip.findChild<QWidget*>("PctIco0");
    EXPECT_EQ(picture->width(), container->width() - 16);
    return picture->grab().toImage();
  };
  const QImage deferred = shownPicture(true);
  EXPECT_EQ(deferred, shownPicture(false));
  // Red on the left, blue on the right, as the image has them.
  EXPECT_EQ(deferred.pixelColor(4, deferred.height() / 2), QColor(255, 0, 0));
  EXPECT_EQ(deferred.pixelColor(deferred.width() - 5, deferred.height() / 2), QColor(0, 0, 255));
  IconDocuments.Clear();
}

TEST_F(FrmMainTest, TheStripScrollsWhenItsImagesDoNotFit) {
  Trigger("MnuFileNew");
  for (int i = 0; i < 8; ++i) IconDocuments.CurrentDocument().AddImage(64, 64, 24, -1);
  window_->ShowCount();

  auto* scroll = Find<QWidget>("PctScroll");
  auto* bar = Find<QScrollBar>("scrIcon");
  auto* last = Find<QWidget>("PctIco8");
  EXPECT_EQ(scroll->height(), last->y() + last->height() + 4);
  ASSERT_TRUE(bar->isEnabled());
  EXPECT_EQ(bar->maximum(), scroll->height() - Find<QWidget>("PctContainer")->height() + 4);
  bar->setValue(bar->maximum());
  EXPECT_EQ(scroll->y(), -bar->maximum());

  // Back to one image: the bar is disabled and the strip back at the top.
  Trigger("MnuFileNew");
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_EQ(scroll->y(), 0);
  EXPECT_EQ(window_->findChild<QWidget*>("PctIco1"), nullptr);
}

TEST_F(FrmMainTest, AFileHandedOverWhileTheStripIsPaintedTakesOver) {
  const auto later = WriteIcon(dir_ / "later.ico", {FrameImage(16, 24, kWhite)});
  // Arrives while the first file's strip lets the window paint.
  QTimer::singleShot(0, window_.get(), [&] { HandOverFile(later); });
  HandOverFile(WriteIcon(dir_ / "first.ico", {FrameImage(24, 24, kBlack), FrameImage(32, 24, kBlack),
                                              FrameImage(48, 24, kBlack)}));

  EXPECT_EQ(Text("LblCount"), "2 of 2");
  EXPECT_EQ(Text("LblFileName"), "later.ico");
  EXPECT_EQ(Text("LblIco0"), "16x16 true color");
  EXPECT_EQ(window_->findChild<QWidget*>("PctIco1"), nullptr);
  EXPECT_EQ(window_->Grid().Cells(), 16);
}

TEST_F(FrmMainTest, AnAnimatedCursorOpensAsTheDocumentOfItsFramesWithTheirRates) {
  using namespace test;
  const auto path = dir_ / "walk.ani";
  WriteBytes(path, Riff("ACON", {Anih(2, 2, 6), List("fram", {Icon({FrameImage(32, 8, PaletteColour(8, 2))}),
                                                              Icon({FrameImage(32, 24, kWhite)})})}));
  HandOverFile(path);

  EXPECT_EQ(AniDocuments.Count(), 1);
  ASSERT_EQ(IconDocuments.Count(), 1);
  EXPECT_FALSE(IconDocuments.CurrentDocument().Changed());
  EXPECT_EQ(IconDocuments.CurrentDocument().IconPath(), path.string());
  EXPECT_EQ(Text("LblIco0"), "32x32 256 color\n6 jiffies, 100 ms");
  EXPECT_EQ(Text("LblIco1"), "32x32 true color\n6 jiffies, 100 ms");
}

TEST_F(FrmMainTest, AHandOverThatFailsSaysSoAndAnEmptyOneDoesNothing) {
  const QString missing = QString::fromStdString((dir_ / "missing.ico").string());
  window_->HandOver(missing);
  window_->HandOver(QString());
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(backEnd_.prompter.shown[0].title, "Unable to open file");
  EXPECT_EQ(backEnd_.prompter.shown[0].text,
            missing.toStdString() + " could not be opened: File not found.");
  EXPECT_TRUE(backEnd_.reporter.reports.empty());  // the report is the message's details
  EXPECT_NE(backEnd_.prompter.shown[0].details.find("Error Number: 53"), std::string::npos);
  EXPECT_EQ(window_->Command1().text(), "PrevInstancePassOverButton");
  EXPECT_EQ(IconDocuments.Count(), 0);
}

TEST_F(FrmMainTest, FileToolbarRunsTheCommandsAndTheInfoLabelNamesTheButton) {
  auto* file = Find<kzrToolBar>("TBFile");
  QTest::mouseClick(file, Qt::LeftButton, {}, file->ButtonCell(0).center());
  EXPECT_EQ(Text("LblCount"), "1 of 1");
  QTest::mouseMove(file, file->ButtonCell(3).center());
  EXPECT_EQ(Text("lblInfo"), "Save");
  QTest::mouseClick(file, Qt::LeftButton, {}, file->ButtonCell(2).center());  // Close
  EXPECT_EQ(Text("LblCount"), "0 of 0");
}

TEST_F(FrmMainTest, ADoubleClickOnAFileToolbarButtonRunsItsCommandOnce) {
  auto* file = Find<kzrToolBar>("TBFile");
  // Through the window, so that Qt itself makes the second press a double-click.
  const auto at = [&](int index) {
    return file->mapTo(window_.get(), file->ButtonCell(index).center());
  };
  QTest::mouseDClick(window_->windowHandle(), Qt::LeftButton, {}, at(0));  // New
  EXPECT_EQ(Text("LblCount"), "1 of 1");
  Trigger("MnuFileNew");
  QTest::mouseDClick(window_->windowHandle(), Qt::LeftButton, {}, at(2));  // Close
  EXPECT_EQ(Text("LblCount"), "1 of 1");
}

TEST_F(FrmMainTest, AFileHandedToAMinimisedMaximisedWindowBringsItBackMaximised) {
  window_->showMaximized();
  window_->setWindowState(window_->windowState() | Qt::WindowMinimized);
  ASSERT_TRUE(window_->isMinimized());
  HandOverFile(WriteIcon(dir_ / "handed.ico", {FrameImage(16, 24, kWhite)}));
  EXPECT_EQ(Text("LblCount"), "1 of 1");
  EXPECT_FALSE(window_->isMinimized());
  EXPECT_TRUE(window_->isMaximized());
}

TEST_F(FrmMainTest, HelpOpensTheShippedGuideAtThePointersTopic) {
  Trigger("MnuFileNew");
  QTest::mouseMove(Find<QWidget>("PctIco0"), QPoint(3, 3));
  EXPECT_EQ(window_->HelpContextID(), 1400);

  UrlRecorder recorder;
  QDesktopServices::setUrlHandler("file", &recorder, "Open");
  QTest::mouseMove(Find<QWidget>("Frame2"), QPoint(2, 2));
  setenv("BROWSER", "a-browser", 1);  // a desktop with a browser
  Trigger("MnuHelpHelp");
  unsetenv("BROWSER");
  QDesktopServices::unsetUrlHandler("file");
  ASSERT_EQ(recorder.urls.size(), 1u);
  EXPECT_EQ(recorder.urls[0].fragment(), "1500");
  EXPECT_EQ(recorder.urls[0].toLocalFile(), QCoreApplication::applicationDirPath() + "/Tessarine.html");

  // The shipped guide has an anchor for every topic.
  QFile help(recorder.urls[0].toLocalFile());
  ASSERT_TRUE(help.open(QIODevice::ReadOnly));
  const QByteArray text = help.readAll();
  for (int topic : {1000, 1100, 1200, 1300, 1400, 1500, 1700, 1800, 1900, 2000}) {
    EXPECT_TRUE(text.contains(QString("id=\"%1\"").arg(topic).toLatin1())) << topic;
  }
}

// With no browser to open it, the guide shows in a window of the program's own.
TEST_F(FrmMainTest, WithoutABrowserHelpOpensTheGuideInItsOwnWindow) {
  test::IsolatedHome noBrowser;  // no default application for web pages anywhere
  unsetenv("BROWSER");
  QTest::mouseMove(Find<QWidget>("Frame2"), QPoint(2, 2));
  Trigger("MnuHelpHelp");
  QTextBrowser* help = nullptr;
  for (QWidget* form : QApplication::topLevelWidgets()) {
    if (form->objectName() == "FrmHelp" && form->isVisible()) help = qobject_cast<QTextBrowser*>(form);
  }
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->source().fragment(), "1500");
  EXPECT_TRUE(help->toPlainText().contains("File commands"));
  help->close();
}

TEST_F(FrmMainTest, TheTitleNamesTheDocumentAndMarksUnsavedChanges) {
  EXPECT_EQ(window_->windowTitle(), "Brixel");
  HandOverFile(WriteIcon(dir_ / "title.ico", {FrameImage(16, 24, kWhite)}));
  EXPECT_EQ(window_->windowTitle(), "title.ico[*] \u2014 Brixel");
  EXPECT_FALSE(window_->isWindowModified());
  IconDocuments.CurrentDocument().Changed(true);
  window_->UpdateTitle();
  EXPECT_TRUE(window_->isWindowModified());
}

TEST_F(FrmMainTest, StoredSettingsGiveTheOptionsAndTheToolPictures) {
  Settings stored;
  stored.Grid = false;
  stored.FloodFill = true;
  stored.ButtonTool[kLeftButtonTool] = 5;
  stored.ButtonTool[kMiddleButtonTool] = 9;
  SaveSettings(stored);
  OpenWindow();

  EXPECT_FALSE(window_->Options().Grid);
  auto* drawing = Find<kzrToolBar>("TBDrawing");
  EXPECT_EQ(drawing->ButtonPicture(11).source, ShippedPicturePath("PctDiag"));
  const auto shows = [&](const char* name, int tool) {
    return Find<QLabel>(name)->pixmap().toImage() == drawing->ButtonPicture(tool).pixmap.toImage();
  };
  EXPECT_TRUE(shows("PctTool1", 5));
  EXPECT_TRUE(shows("PctTool4", 9));
  EXPECT_TRUE(shows("PctTool2", 0));
  EXPECT_FALSE(shows("PctTool1", 0));
}

}  // namespace
}  // namespace brixel

#include "FrmMainTest.moc"
