#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include "kzrToolBar.h"

namespace brixel {
namespace {

// Distinct colours for the four shades of an edge and the button face.
const QRgb kFace = qRgb(192, 192, 192);
const QRgb kHighlight = qRgb(255, 255, 255);
const QRgb kLight = qRgb(224, 224, 224);
const QRgb kShadow = qRgb(128, 128, 128);
const QRgb kDarkShadow = qRgb(32, 32, 32);

// The colours of one edge, read halfway along the top and bottom sides of a cell.
struct Edge {
  QRgb outerTop, innerTop, innerBottom, outerBottom;
  friend bool operator==(const Edge&, const Edge&) = default;
};
const Edge kRaised{kHighlight, kLight, kShadow, kDarkShadow};
const Edge kSunken{kDarkShadow, kShadow, kLight, kHighlight};
const Edge kEtched{kDarkShadow, kLight, kShadow, kHighlight};
const Edge kBump{kHighlight, kShadow, kLight, kDarkShadow};

std::ostream& operator<<(std::ostream& out, const Edge& e) {
  return out << std::hex << e.outerTop << ' ' << e.innerTop << ' ' << e.innerBottom << ' '
             << e.outerBottom << std::dec;
}

Edge EdgeOf(const QImage& shot, const QRect& cell) {
  const int x = cell.left() + cell.width() / 2;
  const int bottom = cell.top() + cell.height();
  return {shot.pixel(x, cell.top()), shot.pixel(x, cell.top() + 1), shot.pixel(x, bottom - 2),
          shot.pixel(x, bottom - 1)};
}

ToolBarPicture SolidPicture(QColor colour) {
  QPixmap pixmap(32, 32);
  pixmap.fill(colour);
  return {pixmap, {}};
}

class ToolBarTest : public ::testing::Test {
 protected:
  ToolBarTest() {
    host_.resize(300, 400);
    toolbar_ = new kzrToolBar(&host_);
    QPalette p = toolbar_->palette();
    p.setColor(QPalette::Button, kFace);
    p.setColor(QPalette::Light, kHighlight);
    p.setColor(QPalette::Midlight, kLight);
    p.setColor(QPalette::Dark, kShadow);
    p.setColor(QPalette::Shadow, kDarkShadow);
    toolbar_->setPalette(p);
    toolbar_->setGeometry(10, 10, 77, 320);
    toolbar_->SetStyle(0);
    toolbar_->SetButtonStyle(2);
    host_.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&host_));
  }

  void AddButtons(int count) {
    for (int i = 0; i < count; ++i)
      toolbar_->AddButton("Key" + QString::number(i), "", SolidPicture(Qt::red), "");
  }

  QPoint Centre(int index) const { return toolbar_->ButtonCell(index).center(); }
  QImage Shot() const { return toolbar_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QWidget host_;
  kzrToolBar* toolbar_;
};

TEST_F(ToolBarTest, SeventySevenPixelsHoldTwoColumnsAndFifteenButtonsTakeEightRows) {
  AddButtons(15);
  for (int i = 0; i < 15; ++i)
    EXPECT_EQ(toolbar_->ButtonCell(i), QRect(2 + (i % 2) * 37, 2 + (i / 2) * 37, 36, 36)) << i;
  const QRect last = toolbar_->ButtonCell(14);
  EXPECT_EQ(last.top() + last.height(), 2 + 8 * 37 - 1);

  // Cells hold their left and top pixels but not their right and bottom ones.
  EXPECT_EQ(toolbar_->HitTest({37, 2}), 0);
  EXPECT_EQ(toolbar_->HitTest({38, 2}), -1);
  EXPECT_EQ(toolbar_->HitTest({39, 2}), 1);
  EXPECT_EQ(toolbar_->HitTest({2, 38}), -1);

  // Exactly wide enough for two cells: still two columns; one pixel less: one column.
  toolbar_->resize(75, 600);
  EXPECT_EQ(toolbar_->ButtonCell(1), QRect(39, 2, 36, 36));
  toolbar_->resize(74, 600);
  EXPECT_EQ(toolbar_->ButtonCell(1), QRect(2, 39, 36, 36));
  toolbar_->SetButtonSize(16);
  EXPECT_EQ(toolbar_->ButtonCell(3), QRect(2, 23, 20, 20));
}

TEST_F(ToolBarTest, ClickNeedsPressAndReleaseOnTheSameButton) {
  AddButtons(4);
  QSignalSpy clicks(toolbar_, &kzrToolBar::Click);
  QTest::mousePress(toolbar_, Qt::LeftButton, {}, Centre(0));
  QTest::mouseRelease(toolbar_, Qt::LeftButton, {}, Centre(1));
  QTest::mousePress(toolbar_, Qt::LeftButton, {}, Centre(2));
  QTest::mouseRelease(toolbar_, Qt::LeftButton, {}, QPoint(38, 50));  // in the gap between cells
  EXPECT_EQ(clicks.count(), 0);

  QTest::mousePress(toolbar_, Qt::LeftButton, {}, Centre(1));
  QTest::mouseRelease(toolbar_, Qt::LeftButton, {}, Centre(1) + QPoint(5, 5));
  QTest::mousePress(toolbar_, Qt::RightButton, {}, Centre(3));
  QTest::mouseRelease(toolbar_, Qt::RightButton, {}, Centre(3));
  ASSERT_EQ(clicks.count(), 2);
  EXPECT_EQ(clicks[0], (QVariantList{qint16(1), qint16(1), QString("Key1")}));
  EXPECT_EQ(clicks[1], (QVariantList{qint16(2), qint16(3), QString("Key3")}));
}

TEST_F(ToolBarTest, ADoubleClickIsOneClick) {
  AddButtons(4);
  QSignalSpy clicks(toolbar_, &kzrToolBar::Click);
  // Through the window, so that Qt itself turns the second press into a double-click.
  QWindow* window = host_.windowHandle();
  const auto inWindow = [&](int index) { return toolbar_->mapTo(&host_, Centre(index)); };
  QTest::mouseDClick(window, Qt::LeftButton, {}, inWindow(1));
  ASSERT_EQ(clicks.count(), 1);
  EXPECT_EQ(clicks[0], (QVariantList{qint16(1), qint16(1), QString("Key1")}));
  QTest::mouseDClick(window, Qt::RightButton, {}, inWindow(3));
  EXPECT_EQ(clicks.count(), 2);

  // A single click right after still clicks.
  QTest::mouseClick(window, Qt::LeftButton, {}, inWindow(0));
  ASSERT_EQ(clicks.count(), 3);
  EXPECT_EQ(clicks[2].at(2).toString(), "Key0");
  QTest::mouseMove(window, QPoint(250, 380));  // the pointer away, for the next test
}

TEST_F(ToolBarTest, EdgesShowNormalHotAndPressedButtonsAndLeavingEndsTheHotState) {
  struct Case {
    int buttonStyle;
    Edge normal, hot;
  };
  for (const Case& c : {Case{2, kRaised, kEtched}, Case{3, kBump, kRaised}}) {
    SCOPED_TRACE(c.buttonStyle);
    toolbar_->SetButtonStyle(c.buttonStyle);
    AddButtons(2);
    const QRect cell0 = toolbar_->ButtonCell(0), cell1 = toolbar_->ButtonCell(1);
    const QPoint corner = cell1.topLeft() + QPoint(2, 2);
    EXPECT_EQ(EdgeOf(Shot(), cell0), c.normal);
    EXPECT_EQ(Shot().pixel(corner), qRgb(255, 0, 0));
    QTest::mouseMove(toolbar_, Centre(0));
    EXPECT_EQ(EdgeOf(Shot(), cell0), c.hot);

    // Pressed: the button sinks and its picture moves one pixel.
    QTest::mouseMove(toolbar_, Centre(1));
    QTest::mousePress(toolbar_, Qt::LeftButton, {}, Centre(1));
    const QImage pressed = Shot();
    EXPECT_EQ(EdgeOf(pressed, cell1), kSunken);
    EXPECT_EQ(pressed.pixel(corner), kFace);
    EXPECT_EQ(pressed.pixel(corner + QPoint(1, 1)), qRgb(255, 0, 0));
    QTest::mouseRelease(toolbar_, Qt::LeftButton, {}, Centre(1));

    QTest::mouseMove(toolbar_, Centre(0));
    QTest::mouseMove(&host_, QPoint(250, 380));
    EXPECT_EQ(EdgeOf(Shot(), cell0), c.normal);
    EXPECT_EQ(EdgeOf(Shot(), cell1), c.normal);
    toolbar_->DeleteButton();
    toolbar_->DeleteButton();
  }
}

TEST_F(ToolBarTest, PointerSignalsNameTheButtonAndTheLastMoveLiesOutside) {
  AddButtons(6);
  QSignalSpy enters(toolbar_, &kzrToolBar::MouseEnter);
  QSignalSpy moves(toolbar_, &kzrToolBar::MouseMove);
  QTest::mouseMove(toolbar_, Centre(3));
  ASSERT_FALSE(enters.isEmpty());
  EXPECT_EQ(enters.last().at(0).value<qint16>(), 3);
  ASSERT_FALSE(moves.isEmpty());
  EXPECT_EQ(moves.last().at(2).toFloat(), float(Centre(3).x()));

  QTest::mouseMove(&host_, QPoint(250, 380));
  const float x = moves.last().at(2).toFloat(), y = moves.last().at(3).toFloat();
  EXPECT_TRUE(x < 0 || y < 0 || x > toolbar_->width() || y > toolbar_->height()) << x << ',' << y;
}

TEST_F(ToolBarTest, BordersAndButtonsWithoutPictures) {
  toolbar_->SetStyle(2);
  EXPECT_EQ(Shot().pixel(20, 0), kFace);  // an empty toolbar shows no border
  AddButtons(1);
  EXPECT_EQ(Shot().pixel(20, 0), kHighlight);
  QSignalSpy changes(toolbar_, &kzrToolBar::PropertyChanged);
  toolbar_->DeleteButton();
  toolbar_->DeleteButton();
  EXPECT_EQ(toolbar_->ButtonCount(), 0);
  EXPECT_EQ(changes.count(), 1);

  toolbar_->SetStyle(4);
  toolbar_->AddButton("Blank", "caption", ToolBarPicture{}, "tip");
  const QImage shot = Shot();
  const QRect cell = toolbar_->ButtonCell(0);
  int other = 0;
  for (int y = cell.top() + 2; y < cell.top() + cell.height() - 2; ++y)
    for (int x = cell.left() + 2; x < cell.left() + cell.width() - 2; ++x) other += shot.pixel(x, y) != kFace;
  EXPECT_EQ(other, 0);
  EXPECT_EQ(EdgeOf(shot, cell), kRaised);
  EXPECT_EQ(EdgeOf(shot, toolbar_->rect()), kEtched);  // the control's own border, style 4
}

}  // namespace
}  // namespace brixel
