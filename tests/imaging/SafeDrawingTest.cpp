// SVG drawings made safe to render: every way a drawing reaches outside itself is left out
// and told, what it carries itself stays, and compressed drawings inflate within a cap.
#include <gtest/gtest.h>

#include <QByteArray>
#include <string>

#include "PictureFixtures.h"
#include "SafeDrawing.h"

namespace brixel {
namespace {

QByteArray Gzip(const QByteArray& text) {
  const Bytes gzipped = test::Gzip(text.toStdString());
  return QByteArray(reinterpret_cast<const char*>(gzipped.data()), static_cast<qsizetype>(gzipped.size()));
}

const char* const kReaching =
    "<?xml version=\"1.0\"?>\n"
    "<?xml-stylesheet href=\"outside.css\"?>\n"
    "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"8\" height=\"8\">"
    "<style>@import url(theme.css); rect { fill: red }</style>"
    "<defs><linearGradient id=\"g\"><stop offset=\"0\" stop-color=\"blue\"/></linearGradient></defs>"
    "<image xlink:href=\"/usr/share/pixmaps/logo.png\" width=\"8\" height=\"8\"/>"
    "<image href=\"beside.png\" width=\"8\" height=\"8\"/>"
    "<image xlink:href=\" /proc/self/fd/1\" width=\"8\" height=\"8\"/>"
    "<image xlink:href=\"data:image/png;base64,iVBORw0KGgo=\" width=\"8\" height=\"8\"/>"
    "<use xlink:href=\"#g\"/><use xlink:href=\"other.svg#shape\"/>"
    "<rect width=\"4\" height=\"4\" fill=\"url(#g)\" style=\"stroke: url('file:///etc/x.svg#p')\"/>"
    "<rect width=\"4\" height=\"4\" filter=\"url(  http://example.net/f.svg#f)\"/>"
    "<text>url(kept.txt) is only text</text>"
    "<a xlink:href=\"https://example.org/home\"><rect width=\"1\" height=\"1\"/></a>"
    "</svg>\n";

TEST(SafeDrawing, EveryReferenceOutsideIsLeftOutAndTold) {
  SafeDrawing drawing;
  std::string message;
  ASSERT_TRUE(MakeSafeDrawing(kReaching, drawing, message)) << message;
  const std::string svg = drawing.Svg.toStdString();
  for (const char* outside : {"outside.css", "theme.css", "/usr/share/pixmaps/logo.png", "beside.png", "/proc/self/fd/1",
                              "other.svg", "/etc/x.svg", "example.net"}) {
    EXPECT_EQ(svg.find(outside), std::string::npos) << outside << " in " << svg;
    bool told = false;
    for (const std::string& leftOut : drawing.LeftOut) told = told || leftOut.find(outside) != std::string::npos;
    EXPECT_TRUE(told) << outside;
  }
  EXPECT_EQ(drawing.LeftOut.size(), 8u);
  EXPECT_EQ(drawing.LeftOut[2], "a reference to \"/usr/share/pixmaps/logo.png\" in <image> was left out");
  // What the drawing carries or holds itself stays, and so does its text.
  for (const char* inside : {"data:image/png;base64,iVBORw0KGgo=", "xlink:href=\"#g\"", "fill=\"url(#g)\"",
                             "stop-color=\"blue\"", "url(kept.txt) is only text", "xmlns:xlink=",
                             "https://example.org/home"}) {
    EXPECT_NE(svg.find(inside), std::string::npos) << inside << " not in " << svg;
  }
}

TEST(SafeDrawing, CompressedDrawingsInflateWithinTheCap) {
  SafeDrawing drawing;
  std::string message;
  const QByteArray plain = "<svg xmlns=\"http://www.w3.org/2000/svg\"><image href=\"a.png\"/></svg>";
  ASSERT_TRUE(MakeSafeDrawing(Gzip(plain), drawing, message)) << message;
  EXPECT_EQ(drawing.LeftOut.size(), 1u);
  EXPECT_TRUE(drawing.Svg.contains("<image/>")) << drawing.Svg.toStdString();

  // A few kilobytes that would inflate past the cap stop at it.
  QByteArray bomb = "<svg xmlns=\"http://www.w3.org/2000/svg\"><!--";
  bomb.append(QByteArray(static_cast<qsizetype>(kLargestDrawingBytes), ' '));
  bomb.append("--></svg>");
  const QByteArray compressed = Gzip(bomb);
  ASSERT_LT(compressed.size(), 100000);
  EXPECT_FALSE(MakeSafeDrawing(compressed, drawing, message));
  EXPECT_EQ(message, "the compressed drawing inflates to more than 32 MB");
  EXPECT_FALSE(MakeSafeDrawing(bomb, drawing, message));
  EXPECT_EQ(message, "the drawing is larger than 32 MB");

  EXPECT_FALSE(MakeSafeDrawing(Gzip(plain).first(20), drawing, message));
  EXPECT_EQ(message, "the compressed drawing is damaged");
  EXPECT_FALSE(MakeSafeDrawing("<svg><g></svg>", drawing, message));
  EXPECT_EQ(message.rfind("not an SVG drawing that can be read: ", 0), 0u) << message;
}

}  // namespace
}  // namespace brixel
