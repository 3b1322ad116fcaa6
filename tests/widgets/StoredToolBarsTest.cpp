#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <map>

#include "PropertyBag.h"
#include "StoredToolBars.h"
#include "TestSupport.h"
#include "ToolBarPicture.h"
#include "kzrToolBar.h"

namespace brixel {
namespace {

using test::BackEndFixture;

// A form with the named toolbars on it.
struct Form {
  explicit Form(const QString& name, const QStringList& toolbars) {
    widget.setObjectName(name);
    for (const QString& t : toolbars) {
      auto* toolbar = new kzrToolBar(&widget);
      toolbar->setObjectName(t);
    }
  }
  kzrToolBar& operator[](const QString& name) { return *widget.findChild<kzrToolBar*>(name); }
  QWidget widget;
};

bool SamePixels(const QPixmap& a, const QPixmap& b) {
  return a.toImage().convertToFormat(QImage::Format_ARGB32) ==
         b.toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(StoredToolBars, RoundTripKeepsEveryButtonAndLeavesDefaultsOut) {
  BackEndFixture fixture;
  Form form("FrmTest", {"TBOne"});
  kzrToolBar& source = form["TBOne"];
  source.resize(120, 80);
  source.SetStyle(3);
  source.SetButtonSize(24);
  QPixmap dots(24, 24);
  dots.fill(Qt::transparent);
  QPainter(&dots).fillRect(3, 4, 5, 6, QColor(10, 200, 30));
  source.AddButton("New", "", ShippedPicture("New"), "");
  source.AddButton("Dots", "Caption", ToolBarPicture{dots, {}}, "Tip");
  source.AddButton("Bare", "", ToolBarPicture{}, "");
  // Drawn for a screen of twice the pixels: stored at its own size.
  QPixmap sharp(64, 64);
  sharp.fill(QColor(200, 0, 100));
  sharp.setDevicePixelRatio(2.0);
  source.AddButton("Sharp", "", ToolBarPicture{sharp, {}}, "");

  const FormToolBars saved = SaveFormToolBars(form.widget);
  const PropertyBag& bag = saved.at("TBOne");
  for (const char* absent : {"ButtonStyle", "Caption0", "ToolTip0", "Picture2", "Key4"})
    EXPECT_FALSE(bag.Contains(absent)) << absent;
  EXPECT_EQ(bag.ReadProperty("Picture0", QString()).toString(), ShippedPicturePath("New"));

  // Through the stored text and into a toolbar that had other buttons.
  const FormToolBars parsed = ParseFormToolBars(FormToolBarsToJson(saved));
  EXPECT_EQ(parsed, saved);
  Form copy("FrmTest", {"TBOne"});
  copy["TBOne"].AddButton("Old", "", ToolBarPicture{}, "");
  ASSERT_TRUE(LoadFormToolBars(copy.widget, parsed));
  kzrToolBar& loaded = copy["TBOne"];
  EXPECT_EQ(loaded.Style(), 3);
  EXPECT_EQ(loaded.ButtonSize(), 24);
  EXPECT_EQ(loaded.size(), QSize(120, 80));
  ASSERT_EQ(loaded.ButtonCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(loaded.ButtonKey(i), source.ButtonKey(i));
    EXPECT_EQ(loaded.ButtonCaption(i), source.ButtonCaption(i));
    EXPECT_EQ(loaded.ButtonToolTip(i), source.ButtonToolTip(i));
    EXPECT_EQ(loaded.ButtonPicture(i).IsEmpty(), source.ButtonPicture(i).IsEmpty());
  }
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(SamePixels(loaded.ButtonPicture(i).pixmap, source.ButtonPicture(i).pixmap));
  const QPixmap sharpLoaded = loaded.ButtonPicture(3).pixmap;
  EXPECT_EQ(sharpLoaded.deviceIndependentSize().toSize(), QSize(32, 32));
  EXPECT_EQ(sharpLoaded.toImage().pixelColor(5, 5), QColor(200, 0, 100));
  EXPECT_TRUE(fixture.reporter.reports.empty());
}

TEST(StoredToolBars, NamesMatchWithoutRegardToCaseAndCountZeroReadsNoButtons) {
  BackEndFixture fixture;
  Form form("FrmTest", {"TBOne", "TBTwo"});
  // A picture entry that cannot load shows whether a button entry was read.
  const FormToolBars toolbars = ParseFormToolBars(R"({
    "TBOne": {"buttoncount": 0, "STYLE": 4, "Key0": "New", "Picture0": ":/no/such.svg"},
    "TBTwo": {"BUTTONCOUNT": 1, "key0": "Open", "TOOLTIP0": "Open a file"}
  })");
  EXPECT_TRUE(LoadFormToolBars(form.widget, toolbars));
  EXPECT_TRUE(fixture.reporter.reports.empty());
  EXPECT_EQ(form["TBOne"].ButtonCount(), 0);
  EXPECT_EQ(form["TBOne"].Style(), 4);
  ASSERT_EQ(form["TBTwo"].ButtonCount(), 1);
  EXPECT_EQ(form["TBTwo"].ButtonKey(0), "Open");
  EXPECT_EQ(form["TBTwo"].ButtonToolTip(0), "Open a file");
  EXPECT_EQ(form["TBTwo"].Style(), 0);  // absent from the store
}

TEST(StoredToolBars, BadEntriesAreReportedAndLeaveTheToolbarAsItWas) {
  BackEndFixture fixture;
  Form form("FrmTest", {"TBOne"});
  form["TBOne"].AddButton("Kept", "", ToolBarPicture{}, "");
  const char* cases[][2] = {
      {R"({"TBOne": {"ButtonCount": 40000}})", "Error Number: 6"},
      {R"({"TBOne": {"ButtonCount": 1, "Picture0": ":/no/such.svg"}})", "Error Number: 481"},
      {R"({"TBOne": {"ButtonSize": "large"}})", "Error Number: 13"},
      {R"({"TBMissing": {}})", "Error Number: 9"},
  };
  for (const auto& [json, error] : cases) {
    fixture.reporter.reports.clear();
    EXPECT_FALSE(LoadFormToolBars(form.widget, ParseFormToolBars(json))) << json;
    ASSERT_EQ(fixture.reporter.reports.size(), 1u) << json;
    EXPECT_NE(fixture.reporter.reports[0].find(error), std::string::npos) << json;
    ASSERT_EQ(form["TBOne"].ButtonCount(), 1) << json;
    EXPECT_EQ(form["TBOne"].ButtonKey(0), "Kept");
  }
  for (const char* text : {"", "[1, 2]", R"({"TBOne": 3})", R"({"TBOne": {"Key0": null}})",
                           R"({"TBOne": {"ButtonCount": 1.5}})"}) {
    try {
      ParseFormToolBars(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const BackEndError& e) {
      EXPECT_TRUE(e.Number() == 380 || e.Number() == 13) << text << ": " << e.Number();
    }
  }
}

TEST(StoredToolBars, ShippedFormsCarryTheirToolbars) {
  BackEndFixture fixture;
  Form main("FrmMain", {"TBFile", "TBClipboard", "TBTransForm", "TBDrawing"});
  ASSERT_TRUE(LoadFormToolBars(main.widget));
  Form import("FrmImport", {"TBImport"});
  ASSERT_TRUE(LoadFormToolBars(import.widget));
  EXPECT_TRUE(fixture.reporter.reports.empty());

  const std::vector<std::pair<kzrToolBar*, QStringList>> expected = {
      {&main["TBFile"], {"New", "Open", "Close", "Save", "Exit"}},
      {&main["TBClipboard"], {"Cut", "Copy", "Paste", "Undo"}},
      {&main["TBTransForm"],
       {"RotateLeft", "RotateRight", "FlipHorizontal", "FlipVertical", "ShiftLeft", "ShiftRight", "ShiftUp",
        "ShiftDown"}},
      {&main["TBDrawing"],
       {"Freehand", "Erase", "FloodFill", "FloodErase", "Circle", "FilledCircle", "Rect", "FilledRect", "Line",
        "EyeDrop", "Select", "Flood", "HotSpot", "Text", "Invert"}},
      {&import["TBImport"], {"Open", "Import", "Exit"}},
  };
  for (const auto& [toolbar, keys] : expected) {
    const kzrToolBar& t = *toolbar;
    SCOPED_TRACE(t.objectName().toStdString());
    ASSERT_EQ(t.ButtonCount(), keys.size());
    for (int i = 0; i < t.ButtonCount(); ++i) {
      EXPECT_EQ(t.ButtonKey(i), keys[i]);
      EXPECT_FALSE(t.ButtonPicture(i).IsEmpty()) << i;
      EXPECT_TRUE(t.rect().contains(t.ButtonCell(i))) << i;
    }
    // Two columns on the tall toolbars, one row on the others.
    EXPECT_EQ(t.ButtonCell(2).topLeft(), keys.size() > 5 ? QPoint(2, 39) : QPoint(76, 2));
  }
  EXPECT_EQ(main["TBDrawing"].width(), 77);
  EXPECT_TRUE(SamePixels(main["TBDrawing"].ButtonPicture(11).pixmap, ShippedPicture("PctSquare").pixmap));
}

// Every shipped picture is a clean 32 x 32 drawing: something on a transparent ground, no
// two alike.
TEST(ShippedPictures, EveryKeyHasItsOwnPicture) {
  const QStringList names = ShippedPictureNames();
  EXPECT_TRUE(names.contains("PctSquare"));
  EXPECT_TRUE(names.contains("PctDiag"));
  std::map<QByteArray, QString> seen;
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const ToolBarPicture picture = ShippedPicture(name);
    EXPECT_EQ(picture.pixmap.deviceIndependentSize().toSize(), QSize(32, 32));
    const QImage image = picture.pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0, clear = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        opaque += qAlpha(image.pixel(x, y)) == 255;
        clear += qAlpha(image.pixel(x, y)) == 0;
      }
    }
    EXPECT_GT(opaque, 40);
    EXPECT_GT(clear, 100);
    const QByteArray bits(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    const auto [it, fresh] = seen.emplace(bits, name);
    EXPECT_TRUE(fresh) << "same as " << it->second.toStdString();
  }
}

}  // namespace
}  // namespace brixel
