#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "DrawnAhead.h"
#include "DrawnPicturesStyle.h"
#include "ProgramLogo.h"
#include "SvgRendering.h"
#include "ToolBarPicture.h"

namespace brixel {
namespace {

QImage RenderedNow(const QString& svg, QSize size) {
  QSvgRenderer renderer(svg);
  QImage image(size, QImage::Format_RGBA8888_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

// The pictures drawn by the build must be what drawing the shipped SVGs gives now: a picture
// changed without the build drawing it again, or drawn at another size, would show stale.
TEST(DrawnAheadTest, EveryShippedPictureMatchesItsSvg) {
  const QStringList names = ShippedPictureNames();
  ASSERT_GE(names.size(), 30);
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const QImage drawn = DrawnAheadPicture(name);
    ASSERT_FALSE(drawn.isNull());
    const QImage now = RenderedNow(ShippedPicturePath(name), QSvgRenderer(ShippedPicturePath(name)).defaultSize());
    EXPECT_EQ(drawn.size(), now.size());
    EXPECT_EQ(drawn, now);
  }
  for (const int size : {64, 96}) {
    const QImage drawn = DrawnAheadPicture("Logo-" + QString::number(size));
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn, RenderedNow(":/about/Logo.svg", QSize(size, size)));
    EXPECT_EQ(ProgramLogo(size).toImage().convertToFormat(QImage::Format_RGBA8888_Premultiplied), drawn);
  }
  // A size the build did not draw comes from the SVG.
  EXPECT_TRUE(DrawnAheadPicture("Logo-48").isNull());
  EXPECT_EQ(ProgramLogo(48).toImage().convertToFormat(QImage::Format_RGBA8888_Premultiplied),
            RenderedNow(":/about/Logo.svg", QSize(48, 48)));
}

// Pictures for other pixel ratios are drawn at run time through the SVG image reader: the
// same picture as the renderer draws, at the ratio's size, or nothing for a file that is not
// an SVG.
TEST(DrawnAheadTest, OtherRatiosDrawTheSvgAtTheirSize) {
  const QString path = ShippedPicturePath(ShippedPictureNames().front());
  const QSize own = QSvgRenderer(path).defaultSize();
  const QImage twice = DrawSvg(path, QSize(), 2.0);
  ASSERT_EQ(twice.size(), own * 2);
  EXPECT_EQ(twice.devicePixelRatio(), 2.0);
  EXPECT_EQ(twice.convertToFormat(QImage::Format_RGBA8888_Premultiplied), RenderedNow(path, own * 2));
  EXPECT_TRUE(DrawSvg(":/about/no-such-picture.svg", QSize(), 2.0).isNull());
}

TEST(DrawnPicturesStyleTest, DrawsExtensionArrowsAndGroupFramesWithoutPictureFiles) {
  DrawnPicturesStyle style;
  for (const auto which : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton}) {
    const QImage arrow = style.standardIcon(which).pixmap(16, 16).toImage();
    ASSERT_EQ(arrow.size(), QSize(16, 16));
    int inked = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) inked += qAlpha(arrow.pixel(x, y)) > 128;
    EXPECT_GT(inked, 10);
  }
  // The horizontal arrow points right: its ink lies in rows 4-12, the vertical one's in columns.
  const QImage right = style.standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16, 16).toImage();
  EXPECT_EQ(qAlpha(right.pixel(8, 1)), 0);
  EXPECT_EQ(qAlpha(right.pixel(8, 14)), 0);

  QGroupBox box("Palette");
  box.setStyle(&style);
  box.resize(120, 80);
  const QImage shown = box.grab().toImage();
  const QRgb inside = shown.pixel(60, 60);
  const QRgb outside = box.palette().color(QPalette::Window).rgb();
  // A faint panel, darker than the window around it, and an edge darker still.
  EXPECT_LT(qGray(inside), qGray(outside));
  EXPECT_LT(qGray(shown.pixel(0, 60)), qGray(inside));
}

}  // namespace
}  // namespace brixel
