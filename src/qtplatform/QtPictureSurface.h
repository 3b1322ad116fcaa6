#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <functional>
#include <string>

#include "PictureSurface.h"

namespace brixel {

// A picture surface over a QImage in Format_RGB32. Figures are rasterised by Qt without
// smoothing into a coverage mask and then coloured (or inverted) pixel by pixel, so every
// colour stays exact and an inverted figure drawn twice leaves no trace.
class QtPictureSurface final : public PictureSurface {
 public:
  explicit QtPictureSurface(int width = 1, int height = 1);

  int PixelWidth() const override { return image_.width(); }
  int PixelHeight() const override { return image_.height(); }
  void Resize(int width, int height) override;
  float ScaleWidth() const override;
  float ScaleHeight() const override;
  void Scale(float width, float height) override;
  void ScalePixels() override { userScale_ = false; }

  std::int32_t ForeColor() const override { return foreColor_; }
  void ForeColor(std::int32_t colour) override { foreColor_ = colour; }
  std::int32_t BackColor() const override { return backColor_; }
  void BackColor(std::int32_t colour) override { backColor_ = colour; }
  std::int32_t FillColor() const override { return fillColor_; }
  void FillColor(std::int32_t colour) override { fillColor_ = colour; }
  int FillStyle() const override { return fillStyle_; }
  void FillStyle(int style) override;
  int DrawMode() const override { return drawMode_; }
  void DrawMode(int mode) override;
  int DrawWidth() const override { return drawWidth_; }
  void DrawWidth(int width) override;

  void Cls() override;
  void PSet(float x, float y, std::int32_t colour) override;
  std::int32_t Point(float x, float y) const override;
  void Line(float x1, float y1, float x2, float y2, std::int32_t colour,
            LineKind kind = LineKind::Line) override;
  void Circle(float x, float y, float radius, std::int32_t colour) override;

  std::string FontName() const override;
  void FontName(const std::string& name) override;
  float FontSize() const override { return fontSize_; }
  void FontSize(float points) override;
  float CurrentX() const override { return currentX_; }
  void CurrentX(float x) override { currentX_ = x; }
  float CurrentY() const override { return currentY_; }
  void CurrentY(float y) override { currentY_ = y; }
  void Print(const std::string& text) override;

  void PaintPicture(const Bitmap& picture, float x, float y, float width,
                    float height) override;
  Bitmap Image() const override;
  const Bitmap& Picture() const override { return picture_; }
  void SetPicture(const Bitmap& picture) override;
  void LoadPicture(const std::string& path) override;
  void SavePicture(const std::string& path) const override;
  void Refresh() override { Notify(true); }

  // The pixels as drawn, for showing the surface and for Qt code above the back end.
  const QImage& Canvas() const { return image_; }
  // Takes the size and the pixels of a picture made with Qt (any alpha dropped).
  void Assign(const QImage& picture);

  // Pixel position of a logical point, and logical position of a pixel position.
  QPoint ToPixel(float x, float y) const;
  float ToLogicalX(double pixelX) const;
  float ToLogicalY(double pixelY) const;

  // Told after every change; immediate is true when the change should be shown at once.
  void SetChangeListener(std::function<void(bool immediate)> listener);

 private:
  class Coverage;

  double PixelsPerUnitX() const;
  double PixelsPerUnitY() const;
  QFont CurrentFont() const;
  void Plot(int px, int py, std::int32_t colour);
  void Fill(const QRect& area, std::int32_t colour);
  void Apply(const Coverage& coverage, std::int32_t colour);
  void BresenhamLine(QPoint from, QPoint to, std::int32_t colour);
  void BoxOutline(const QRect& box, std::int32_t colour);
  void Notify(bool immediate);

  QImage image_;
  Bitmap picture_;
  float scaleWidth_ = 1;
  float scaleHeight_ = 1;
  bool userScale_ = false;
  std::int32_t foreColor_ = 0;
  std::int32_t backColor_ = 16777215;
  std::int32_t fillColor_ = 0;
  int fillStyle_ = kFillTransparent;
  int drawMode_ = kDrawModeCopy;
  int drawWidth_ = 1;
  std::string fontName_;  // empty: the application's font
  float fontSize_ = 8;
  float currentX_ = 0;
  float currentY_ = 0;
  // The listener belongs to this object alone: a copy starts without one.
  struct Listener {
    std::function<void(bool)> notify;
    Listener() = default;
    Listener(const Listener&) {}
    Listener& operator=(const Listener&) { return *this; }
  };
  Listener listener_;
};

}  // namespace brixel
