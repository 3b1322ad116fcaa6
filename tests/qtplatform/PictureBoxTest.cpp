#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QTest>
#include <vector>

#include "PictureBox.h"

namespace brixel {
namespace {

struct PointerEvent {
  char kind;
  int button;
  int shift;
  float x;
  float y;
};

class PictureBoxTest : public ::testing::Test {
 protected:
  PictureBoxTest() : box_(480, 480) {
    box_.Surface().Scale(16, 16);
    QObject::connect(&box_, &PictureBox::MouseDown, [this](int b, int s, float x, float y) {
      events_.push_back({'d', b, s, x, y});
    });
    QObject::connect(&box_, &PictureBox::MouseMove, [this](int b, int s, float x, float y) {
      events_.push_back({'m', b, s, x, y});
    });
    QObject::connect(&box_, &PictureBox::MouseUp, [this](int b, int s, float x, float y) {
      events_.push_back({'u', b, s, x, y});
    });
    box_.show();
  }

  PictureBox box_;
  std::vector<PointerEvent> events_;
};

TEST_F(PictureBoxTest, ReportsButtonsAndPositionsInLogicalUnits) {
  QTest::mousePress(&box_, Qt::LeftButton, Qt::NoModifier, QPoint(45, 75));
  QTest::mouseRelease(&box_, Qt::LeftButton, Qt::ShiftModifier, QPoint(45, 75));
  QTest::mousePress(&box_, Qt::RightButton, Qt::ControlModifier, QPoint(0, 0));
  QTest::mouseRelease(&box_, Qt::RightButton, Qt::ControlModifier, QPoint(0, 0));
  QTest::mousePress(&box_, Qt::MiddleButton, Qt::NoModifier, QPoint(479, 240));
  QTest::mouseRelease(&box_, Qt::MiddleButton, Qt::NoModifier, QPoint(479, 240));
  ASSERT_EQ(events_.size(), 6u);
  EXPECT_EQ(events_[0].kind, 'd');
  EXPECT_EQ(events_[0].button, 1);
  EXPECT_FLOAT_EQ(events_[0].x, 1.5f);
  EXPECT_FLOAT_EQ(events_[0].y, 2.5f);
  EXPECT_EQ(events_[1].kind, 'u');
  EXPECT_EQ(events_[1].shift, 1);
  EXPECT_EQ(events_[2].button, 2);
  EXPECT_EQ(events_[2].shift, 2);
  EXPECT_EQ(events_[4].button, 4);
  EXPECT_FLOAT_EQ(events_[4].x, 479.0f / 30.0f);
  EXPECT_FLOAT_EQ(events_[4].y, 8.0f);
}

TEST_F(PictureBoxTest, MovesReportTheHeldButtons) {
  QTest::mousePress(&box_, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QTest::mouseMove(&box_, QPoint(60, 90));
  ASSERT_GE(events_.size(), 2u);
  const PointerEvent move = events_.back();
  QTest::mouseRelease(&box_, Qt::LeftButton, Qt::NoModifier, QPoint(60, 90));
  EXPECT_EQ(move.kind, 'm');
  EXPECT_EQ(move.button, 1);
  EXPECT_FLOAT_EQ(move.x, 2.0f);
  EXPECT_FLOAT_EQ(move.y, 3.0f);
}

TEST_F(PictureBoxTest, ShowsWhatIsDrawnAndFollowsTheSurfaceSize) {
  box_.Surface().Line(0, 0, 1, 1, 0x0000FF, PictureSurface::LineKind::FilledBox);
  const QImage shown = box_.grab().toImage();
  EXPECT_EQ(shown.pixel(15, 15), qRgb(255, 0, 0));
  EXPECT_EQ(shown.pixel(100, 100), qRgb(255, 255, 255));

  box_.Surface().Resize(32, 20);
  EXPECT_EQ(box_.size(), QSize(32, 20));
}

}  // namespace
}  // namespace brixel
