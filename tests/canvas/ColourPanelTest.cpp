#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QTest>
#include <QWidget>
#include <vector>

#include "ColourPanel.h"
#include "CurrentDocument.h"
#include "Documents.h"
#include "MouseColours.h"
#include "MouseFunctionsPanel.h"
#include "PalettePanel.h"
#include "PictureBox.h"
#include "ScriptedDialogBackend.h"
#include "TestSupport.h"

namespace brixel {
namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kOrange = MakeColour(0xEE, 0x88, 0x11);  // in no default palette
constexpr Colour kTeal = MakeColour(0x12, 0x90, 0x87);    // in no default palette
constexpr Colour kGrey = 0x808080;                        // entries 7 and 247 of the 256 table
constexpr Colour kMagenta = 0xFF00FF;                     // entries 2 and 183 likewise

// The palette panel and the mouse-button swatches of a shown window, wired to the current
// icon document. An edited entry is shown again with the colours resynced, as the main window
// does.
class ColourPanelTest : public ::testing::Test {
 protected:
  ColourPanelTest()
      : palette_(new PalettePanel(&window_)),
        mouse_(new MouseFunctionsPanel(&window_)),
        colours_(*mouse_),
        panel_(
            *palette_, colours_, [] { return CurrentIconDocument(); }, [this] { return image_; },
            [this](std::int16_t image) {
              edited_.push_back(image);
              ShowImage(image, true);
            }) {
    IconDocuments.Clear();
    InstallCommonDialogBackend(&dialogs_);
    auto* layout = new QHBoxLayout(&window_);
    layout->addWidget(palette_);
    layout->addWidget(mouse_);
    window_.show();
  }
  ~ColourPanelTest() override {
    InstallCommonDialogBackend(nullptr);
    IconDocuments.Clear();
  }

  // A new document with one 16 x 16 image of the depth, shown with the colours synced.
  cIco& OpenImage(int bitDepth) {
    NewDocument();
    cIco& document = IconDocuments.CurrentDocument();
    document.AddImage(16, 16, static_cast<std::int16_t>(bitDepth), 0);
    ShowImage(0, true);
    return document;
  }

  void ShowImage(std::int16_t image, bool resync) {
    image_ = image;
    cIco* document = CurrentIconDocument();
    palette_->Show(document, image);
    if (resync) colours_.Sync(*document, image);
  }

  // The middle of the panel cell of a palette entry of the current image.
  QPoint CellOf(int entry) const {
    const int depth = CurrentIconDocument()->BitDepth(image_);
    const int columns = depth == 1 ? 2 : depth == 4 ? 8 : 16;
    const int rows = depth == 1 ? 1 : depth == 4 ? 2 : 16;
    const int width = PalettePanel::kSwatchesWidth / columns;
    const int height = PalettePanel::kSwatchesHeight / rows;
    return {(entry % columns) * width + width / 2, (entry / columns) * height + height / 2};
  }

  PictureBox& Pctpal() { return palette_->Swatches(); }

  void Point(int entry) { QTest::mouseMove(&Pctpal(), CellOf(entry)); }
  void Click(int entry, Qt::MouseButton button) {
    Point(entry);
    QTest::mouseClick(&Pctpal(), button, {}, CellOf(entry));
  }
  // As the platform delivers it: a click, then the double-click.
  void DoubleClick(int entry) {
    Click(entry, Qt::LeftButton);
    QTest::mouseDClick(&Pctpal(), Qt::LeftButton, {}, CellOf(entry));
  }

  std::int32_t Index(int buttonCode) const {
    return colours_.ButtonPaletteIndex()[static_cast<std::size_t>(buttonCode - 1)];
  }

  test::BackEndFixture backEnd_;
  test::ScriptedDialogBackend dialogs_;
  QWidget window_;
  PalettePanel* palette_;
  MouseFunctionsPanel* mouse_;
  MouseColours colours_;
  ColourPanel panel_;
  std::int16_t image_ = -1;
  std::vector<std::int16_t> edited_;
};

TEST_F(ColourPanelTest, PressGivesTheButtonTheEntryUnderThePointerTheLaterOfEqualColours) {
  cIco& document = OpenImage(4);
  auto& palette = document.Image(0).Palette;
  palette[3] = kOrange;
  palette[9] = kOrange;
  ShowImage(0, false);

  Point(12);
  EXPECT_EQ(palette_->Float().Surface().Point(100, 12), palette[12]);

  Click(3, Qt::LeftButton);
  EXPECT_EQ(Index(1), 9);
  EXPECT_EQ(colours_.Swatch(1), kOrange);
  Click(5, Qt::RightButton);
  EXPECT_EQ(Index(2), 5);
  EXPECT_EQ(colours_.Swatch(2), palette[5]);
  Click(14, Qt::MiddleButton);
  EXPECT_EQ(Index(4), 14);
  EXPECT_EQ(colours_.Swatch(4), palette[14]);
  EXPECT_EQ(Index(1), 9);  // the others keep theirs
  EXPECT_TRUE(backEnd_.prompter.shown.empty());
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ColourPanelTest, SyncKeepsSwatchesThePaletteHasAndResetsOthersToDefaultEntries) {
  OpenImage(4);
  // Swatches outside a 1-bit palette: left black (0), right and middle white (1).
  for (int button : {1, 2, 4}) colours_.Swatch(button, kRed);
  cIco& mono = OpenImage(1);
  EXPECT_EQ(Index(1), 0);
  EXPECT_EQ(Index(2), 1);
  EXPECT_EQ(Index(4), 1);
  EXPECT_EQ(colours_.Swatch(1), kBlack);
  EXPECT_EQ(colours_.Swatch(4), kWhite);
  EXPECT_EQ(colours_.DrawingColour(mono, 0, 4), kWhite);

  // On a 16-colour image the middle button's default is entry 2; a swatch colour found in the
  // palette stays, on the later of equal entries.
  cIco& sixteen = OpenImage(4);
  auto& palette = sixteen.Image(0).Palette;
  palette[5] = kTeal;
  palette[11] = kTeal;
  colours_.Swatch(1, kTeal);
  colours_.Swatch(4, kOrange);
  ShowImage(0, true);
  EXPECT_EQ(Index(1), 11);
  EXPECT_EQ(colours_.Swatch(1), kTeal);
  EXPECT_EQ(Index(2), 0);  // white, found at entry 0
  EXPECT_EQ(Index(4), 2);
  EXPECT_EQ(colours_.Swatch(4), palette[2]);

  // A 24-bit image offers the 256-colour table: swatches in it stay, the others are reset.
  colours_.Swatch(2, kGrey);
  sixteen.AddImage(16, 16, 24, -1);
  ShowImage(1, true);
  EXPECT_EQ(colours_.Swatch(1), kWhite);  // teal gave way to default entry 0
  EXPECT_EQ(Index(1), 0);
  EXPECT_EQ(colours_.Swatch(2), kGrey);
  EXPECT_EQ(Index(2), 247);
  EXPECT_EQ(colours_.Swatch(4), kMagenta);
  EXPECT_EQ(Index(4), 183);
}

TEST_F(ColourPanelTest, DrawingColourIsThePaletteEntryOnPaletteImagesAndTheSwatchOtherwise) {
  cIco& document = OpenImage(8);
  document.AddImage(16, 16, 24, -1);
  document.AddImage(16, 16, 32, -1);
  Click(40, Qt::RightButton);
  ASSERT_EQ(Index(2), 40);
  const Colour entry = document.PaletteColor(0, 40);

  // The eye-dropper's colour: on the palette image the button still draws with its entry, and
  // moves to the new colour's entry only when the palette has it.
  colours_.Swatch(2, kOrange);
  colours_.EyeDropped(document, 0, 2);
  EXPECT_EQ(Index(2), 40);
  EXPECT_EQ(colours_.DrawingColour(document, 0, 2), entry);
  EXPECT_EQ(colours_.DrawingColour(document, 1, 2), kOrange);
  EXPECT_EQ(colours_.DrawingColour(document, 2, 2), kOrange);

  colours_.Swatch(2, document.PaletteColor(0, 77));
  colours_.Swatch(2, kNoColour);  // an inverting pixel gives no colour
  colours_.EyeDropped(document, 0, 2);
  EXPECT_EQ(Index(2), 77);
  EXPECT_EQ(colours_.DrawingColour(document, 0, 2), document.PaletteColor(0, 77));

  // A chord of buttons draws as the left button.
  Click(10, Qt::LeftButton);
  EXPECT_EQ(colours_.DrawingColour(document, 0, 3), document.PaletteColor(0, 10));
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

TEST_F(ColourPanelTest, DoubleClickEditsTheEntryAndKeepsItsButtonsOnIt) {
  constexpr Colour kChosen = MakeColour(0x24, 0x68, 0xAC);
  cIco& document = OpenImage(4);
  const Colour old = document.PaletteColor(0, 6);
  for (int xy : {1, 2}) {
    document.XYColor(0, xy, xy, old);
    document.XYMask(0, xy, xy, MaskOpaque);
  }
  document.XYColor(0, 3, 3, document.PaletteColor(0, 7));
  document.XYMask(0, 3, 3, MaskOpaque);
  Click(6, Qt::RightButton);
  dialogs_.colour = [](const ColourDialogRequest&, CustomColours&, qint32& chosen) {
    chosen = kChosen;
    return DialogResult::Accepted();
  };

  DoubleClick(6);  // the press first gives the left button entry 6 too
  ASSERT_EQ(dialogs_.colourRequests.size(), 1u);
  const ColourDialogRequest& request = dialogs_.colourRequests[0];
  EXPECT_EQ(request.colour, kBlack);
  EXPECT_EQ(request.owner, nullptr);
  EXPECT_EQ(request.flags, colourflag::kRgbInit | colourflag::kAnyColor);

  EXPECT_EQ(document.PaletteColor(0, 6), kChosen);
  EXPECT_EQ(document.XYColor(0, 1, 1), kChosen);
  EXPECT_EQ(document.XYColor(0, 2, 2), kChosen);
  EXPECT_EQ(document.XYColor(0, 3, 3), document.PaletteColor(0, 7));
  EXPECT_EQ(edited_, std::vector<std::int16_t>{0});
  for (int button : {1, 2}) {
    EXPECT_EQ(Index(button), 6);
    EXPECT_EQ(colours_.Swatch(button), kChosen);
    EXPECT_EQ(colours_.DrawingColour(document, 0, button), kChosen);
  }
  EXPECT_EQ(Index(4), 2);  // on another entry: untouched
  EXPECT_EQ(colours_.Swatch(4), document.PaletteColor(0, 2));
  EXPECT_EQ(Pctpal().Surface().Point(CellOf(6).x(), CellOf(6).y()), kChosen);
  EXPECT_FALSE(document.Changed());  // the window marks it
}

TEST_F(ColourPanelTest, CancelledChooserAndColoursMissingFromThePaletteChangeNothing) {
  cIco& document = OpenImage(4);
  const std::vector<Colour> palette = document.Image(0).Palette;
  DoubleClick(9);  // no script: the chooser is cancelled
  EXPECT_EQ(dialogs_.colourRequests.size(), 1u);
  EXPECT_EQ(document.Image(0).Palette, palette);
  EXPECT_TRUE(edited_.empty());
  ASSERT_EQ(Index(1), 9);
  const Colour swatch = colours_.Swatch(1);

  // The bar shows a colour the palette no longer has, as on a display of too few colours.
  Point(12);
  document.Image(0).Palette[12] = kOrange;
  QTest::mouseClick(&Pctpal(), Qt::LeftButton, {}, CellOf(12));
  ASSERT_EQ(backEnd_.prompter.shown.size(), 1u);
  const auto& message = backEnd_.prompter.shown[0];
  EXPECT_EQ(message.title, "Invalid color");
  EXPECT_EQ(message.text,
            "Unable to find color, Please make sure that your display color resolution is true "
            "color (24 or 32 bit)");
  EXPECT_EQ(message.icon, Prompter::Icon::Exclamation);
  EXPECT_EQ(message.buttons, Prompter::Buttons::Ok);
  // The double-click on it opens no chooser.
  panel_.DoubleClicked();
  EXPECT_EQ(dialogs_.colourRequests.size(), 1u);

  // Without a current image nothing reacts.
  const QPoint cell = CellOf(7);
  image_ = -1;
  QTest::mouseMove(&Pctpal(), cell);
  QTest::mouseClick(&Pctpal(), Qt::LeftButton, {}, cell);
  panel_.DoubleClicked();
  EXPECT_EQ(backEnd_.prompter.shown.size(), 1u);
  EXPECT_EQ(dialogs_.colourRequests.size(), 1u);

  EXPECT_EQ(Index(1), 9);
  EXPECT_EQ(colours_.Swatch(1), swatch);
  EXPECT_TRUE(backEnd_.reporter.reports.empty());
}

}  // namespace
}  // namespace brixel
