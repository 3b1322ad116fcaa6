#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <initializer_list>
#include <utility>

#include "DrawingTool.h"
#include "EditGrid.h"
#include "GridView.h"
#include "MainWindowFixture.h"
#include "MouseColours.h"
#include "ToolChoice.h"
#include "cIco.h"

namespace brixel::test {

inline constexpr Colour kRed = MakeColour(255, 0, 0);
inline constexpr Colour kBlue = MakeColour(0, 0, 255);
inline constexpr Colour kGreen = MakeColour(0, 255, 0);
inline constexpr int kLeft = 1;
inline constexpr int kRight = 2;
inline constexpr int kMiddle = 4;

inline Qt::MouseButton QtButton(int code) {
  return code == kRight ? Qt::RightButton : code == kMiddle ? Qt::MiddleButton : Qt::LeftButton;
}

// The main window with one open document; pointer events go to PctGrid at pixel centres.
class EditingTest : public MainWindowTest {
 protected:
  cIco& Open(int width, int height, int depth) {
    NewDocument();
    cIco& document = IconDocuments.CurrentDocument();
    document.AddImage(static_cast<std::int16_t>(width), static_cast<std::int16_t>(height),
                      static_cast<std::int16_t>(depth), 0);
    document.Changed(false);
    window_->ShowCount();
    return document;
  }
  cIco& Document() { return IconDocuments.CurrentDocument(); }
  GridView& View() { return window_->Grid().View(); }

  QPointF At(int x, int y) {
    const double cell = window_->Grid().CellPixels();
    return {(x + 0.5) * cell, (y + 0.5) * cell};
  }
  void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x, int y) {
    const QPointF local = At(x, y);
    QMouseEvent event(type, local, View().mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(&View(), &event);
  }
  void Press(int code, int x, int y) {
    Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, x, y);
    Send(QEvent::MouseButtonPress, QtButton(code), QtButton(code), x, y);
  }
  void Hover(int x, int y) { Send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, x, y); }
  void Drag(int code, int x, int y) { Send(QEvent::MouseMove, Qt::NoButton, QtButton(code), x, y); }
  void Release(int code, int x, int y) {
    Send(QEvent::MouseButtonRelease, QtButton(code), Qt::NoButton, x, y);
  }
  void Click(int code, int x, int y) {
    Press(code, x, y);
    Release(code, x, y);
  }
  void Stroke(int code, std::initializer_list<std::pair<int, int>> points) {
    auto it = points.begin();
    Press(code, it->first, it->second);
    for (++it; it != points.end(); ++it) Drag(code, it->first, it->second);
    Release(code, (points.end() - 1)->first, (points.end() - 1)->second);
  }

  void Give(int code, int tool, Colour colour) {
    window_->Tools().Choose(code, tool);
    window_->Colours().Swatch(code, colour);
  }

  Colour ColourAt(int x, int y) { return Document().XYColor(0, float(x), float(y)); }
  std::int32_t MaskAt(int x, int y) { return Document().XYMask(0, float(x), float(y)); }
  bool Opaque(int x, int y, Colour colour) {
    return ColourAt(x, y) == colour && MaskAt(x, y) == MaskOpaque;
  }
  bool Transparent(int x, int y) { return ColourAt(x, y) == 0 && MaskAt(x, y) == MaskTransparent; }
  // How many pixels of the image hold exactly this colour.
  int Count(Colour colour) {
    int count = 0;
    const IconImage& image = Document().Image(0);
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width; ++x) count += image.Pixels.At(x, y) == colour;
    }
    return count;
  }
  void Fill(Colour colour) {
    IconImage& image = Document().Image(0);
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width; ++x) {
        image.Pixels.At(x, y) = colour;
        image.Mask.At(x, y) = MaskOpaque;
      }
    }
  }
};

}  // namespace brixel::test
