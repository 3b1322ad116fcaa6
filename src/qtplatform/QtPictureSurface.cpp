#include "QtPictureSurface.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "ErrorReport.h"
#include "FileIO.h"
#include "QtColour.h"

namespace brixel {
namespace {

// Positions this far outside the surface are as good as any further out; keeping them
// bounded keeps the pixel arithmetic in range.
constexpr double kFarOutside = 1 << 22;

int ToPixelCoordinate(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded > -kFarOutside)) return static_cast<int>(-kFarOutside);
  if (!(rounded < kFarOutside)) return static_cast<int>(kFarOutside);
  return static_cast<int>(rounded);
}

// Points to pixels on a screen of 96 dots per inch, halves to even.
int PixelSizeForPoints(float points) {
  return static_cast<int>(std::nearbyint(static_cast<double>(points) * 96.0 / 72.0));
}

constexpr float kLargestFontPoints = 2160;

}  // namespace

// The pixels a figure covers: Qt draws the figure without smoothing, in white, into a mask
// the size of the figure's bounds (clipped to the surface), and the surface then colours or
// inverts each covered pixel exactly once.
class QtPictureSurface::Coverage {
 public:
  explicit Coverage(const QRect& bounds)
      : origin_(bounds.topLeft()), mask_(bounds.size(), QImage::Format_ARGB32_Premultiplied) {
    mask_.fill(Qt::transparent);
  }

  bool Empty() const { return mask_.isNull(); }

  template <class Draw>
  void Paint(Draw&& draw) {
    if (Empty()) return;
    QPainter painter(&mask_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.translate(-origin_);
    draw(painter);
  }

  template <class Visit>
  void ForEach(Visit&& visit) const {
    for (int y = 0; y < mask_.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(mask_.constScanLine(y));
      for (int x = 0; x < mask_.width(); ++x) {
        if (qAlpha(line[x]) >= 128) visit(origin_.x() + x, origin_.y() + y);
      }
    }
  }

 private:
  QPoint origin_;
  QImage mask_;
};

QtPictureSurface::QtPictureSurface(int width, int height) { Resize(width, height); }

// --- Size and scale ---

void QtPictureSurface::Resize(int width, int height) {
  if (width < 0 || height < 0) Raise(ErrorCode::InvalidArgument);
  if (width == image_.width() && height == image_.height() && !image_.isNull()) return;
  QImage resized(width, height, QImage::Format_RGB32);
  if (width > 0 && height > 0 && resized.isNull()) Raise(ErrorCode::OutOfMemory);
  resized.fill(RgbFromColour(backColor_));
  const int rows = std::min(height, image_.height());
  const int bytes = std::min(width, image_.width()) * static_cast<int>(sizeof(QRgb));
  for (int y = 0; y < rows; ++y) {
    std::memcpy(resized.scanLine(y), image_.constScanLine(y), static_cast<std::size_t>(bytes));
  }
  image_ = std::move(resized);
  Notify(false);
}

float QtPictureSurface::ScaleWidth() const {
  return userScale_ ? scaleWidth_ : static_cast<float>(image_.width());
}

float QtPictureSurface::ScaleHeight() const {
  return userScale_ ? scaleHeight_ : static_cast<float>(image_.height());
}

void QtPictureSurface::Scale(float width, float height) {
  if (!(width > 0) || !(height > 0) || !std::isfinite(width) || !std::isfinite(height)) {
    Raise(ErrorCode::InvalidArgument);
  }
  scaleWidth_ = width;
  scaleHeight_ = height;
  userScale_ = true;
}

double QtPictureSurface::PixelsPerUnitX() const {
  return userScale_ ? image_.width() / static_cast<double>(scaleWidth_) : 1.0;
}

double QtPictureSurface::PixelsPerUnitY() const {
  return userScale_ ? image_.height() / static_cast<double>(scaleHeight_) : 1.0;
}

QPoint QtPictureSurface::ToPixel(float x, float y) const {
  return QPoint(ToPixelCoordinate(x * PixelsPerUnitX()), ToPixelCoordinate(y * PixelsPerUnitY()));
}

float QtPictureSurface::ToLogicalX(double pixelX) const {
  const double perUnit = PixelsPerUnitX();
  return static_cast<float>(perUnit > 0 ? pixelX / perUnit : 0);
}

float QtPictureSurface::ToLogicalY(double pixelY) const {
  const double perUnit = PixelsPerUnitY();
  return static_cast<float>(perUnit > 0 ? pixelY / perUnit : 0);
}

// --- Pens ---

void QtPictureSurface::FillStyle(int style) {
  if (style != kFillSolid && style != kFillTransparent) Raise(ErrorCode::InvalidArgument);
  fillStyle_ = style;
}

void QtPictureSurface::DrawMode(int mode) {
  if (mode != kDrawModeCopy && mode != kDrawModeInvert) Raise(ErrorCode::InvalidArgument);
  drawMode_ = mode;
}

void QtPictureSurface::DrawWidth(int width) {
  if (width < 1 || width > 32767) Raise(ErrorCode::InvalidArgument);
  drawWidth_ = width;
}

// --- Pixels ---

void QtPictureSurface::Plot(int px, int py, std::int32_t colour) {
  if (px < 0 || py < 0 || px >= image_.width() || py >= image_.height()) return;
  QRgb& pixel = reinterpret_cast<QRgb*>(image_.scanLine(py))[px];
  pixel = drawMode_ == kDrawModeInvert ? (pixel ^ 0x00FFFFFFu) | 0xFF000000u
                                       : RgbFromColour(colour);
}

void QtPictureSurface::Fill(const QRect& area, std::int32_t colour) {
  const QRect clipped = area.intersected(image_.rect());
  const bool invert = drawMode_ == kDrawModeInvert;
  const QRgb rgb = RgbFromColour(colour);
  // Row by row: a box of a palette swatch or a cell is thousands of pixels.
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    QRgb* first = reinterpret_cast<QRgb*>(image_.scanLine(y)) + clipped.left();
    QRgb* last = first + clipped.width();
    if (invert) {
      for (QRgb* pixel = first; pixel != last; ++pixel) *pixel = (*pixel ^ 0x00FFFFFFu) | 0xFF000000u;
    } else {
      std::fill(first, last, rgb);
    }
  }
}

void QtPictureSurface::Apply(const Coverage& coverage, std::int32_t colour) {
  coverage.ForEach([&](int x, int y) { Plot(x, y, colour); });
}

void QtPictureSurface::Notify(bool immediate) {
  if (listener_.notify) listener_.notify(immediate);
}

void QtPictureSurface::SetChangeListener(std::function<void(bool)> listener) {
  listener_.notify = std::move(listener);
}

// --- Drawing ---

void QtPictureSurface::Cls() {
  image_.fill(RgbFromColour(backColor_));
  const int rows = std::min(picture_.Height, image_.height());
  const int columns = std::min(picture_.Width, image_.width());
  for (int y = 0; y < rows; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    for (int x = 0; x < columns; ++x) line[x] = RgbFromColour(picture_.At(x, y));
  }
  currentX_ = 0;
  currentY_ = 0;
  Notify(false);
}

void QtPictureSurface::PSet(float x, float y, std::int32_t colour) {
  const QPoint p = ToPixel(x, y);
  Plot(p.x(), p.y(), colour);
  Notify(false);
}

std::int32_t QtPictureSurface::Point(float x, float y) const {
  const QPoint p = ToPixel(x, y);
  if (!image_.rect().contains(p)) return -1;
  return ColourFromRgb(reinterpret_cast<const QRgb*>(image_.constScanLine(p.y()))[p.x()]);
}

// Every pixel from one end to the other, the far end left out, each visited once.
void QtPictureSurface::BresenhamLine(QPoint from, QPoint to, std::int32_t colour) {
  const long long dx = std::llabs(static_cast<long long>(to.x()) - from.x());
  const long long dy = -std::llabs(static_cast<long long>(to.y()) - from.y());
  const int sx = from.x() < to.x() ? 1 : -1;
  const int sy = from.y() < to.y() ? 1 : -1;
  long long error = dx + dy;
  int x = from.x();
  int y = from.y();
  while (x != to.x() || y != to.y()) {
    Plot(x, y, colour);
    const long long twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

// The outline of a box one pixel wide, each pixel once.
void QtPictureSurface::BoxOutline(const QRect& box, std::int32_t colour) {
  const QRect bounds = image_.rect();
  auto row = [&](int y) {
    if (y < bounds.top() || y > bounds.bottom()) return;
    for (int x = std::max(box.left(), bounds.left()); x <= std::min(box.right(), bounds.right()); ++x) {
      Plot(x, y, colour);
    }
  };
  auto column = [&](int x) {
    if (x < bounds.left() || x > bounds.right()) return;
    const int top = std::max(box.top() + 1, bounds.top());
    const int bottom = std::min(box.bottom() - 1, bounds.bottom());
    for (int y = top; y <= bottom; ++y) Plot(x, y, colour);
  };
  row(box.top());
  if (box.bottom() != box.top()) row(box.bottom());
  column(box.left());
  if (box.right() != box.left()) column(box.right());
}

void QtPictureSurface::Line(float x1, float y1, float x2, float y2, std::int32_t colour,
                            LineKind kind) {
  const QPoint from = ToPixel(x1, y1);
  const QPoint to = ToPixel(x2, y2);
  // Both corners included, in either order (QRect::normalized would drop one).
  const QRect box(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                  QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
  const int margin = drawWidth_ + 2;
  if (kind == LineKind::Line) {
    if (drawWidth_ == 1) {
      BresenhamLine(from, to, colour);
    } else {
      Coverage coverage(box.adjusted(-margin, -margin, margin, margin).intersected(image_.rect()));
      coverage.Paint([&](QPainter& painter) {
        painter.setPen(QPen(Qt::white, drawWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(QPointF(from) + QPointF(0.5, 0.5), QPointF(to) + QPointF(0.5, 0.5));
      });
      Apply(coverage, colour);
    }
  } else if (drawWidth_ == 1) {
    if (kind == LineKind::FilledBox) {
      Fill(box, colour);
    } else {
      BoxOutline(box, colour);
    }
  } else {
    Coverage coverage(box.adjusted(-margin, -margin, margin, margin).intersected(image_.rect()));
    coverage.Paint([&](QPainter& painter) {
      if (kind == LineKind::FilledBox) painter.fillRect(box, Qt::white);
      painter.setPen(QPen(Qt::white, drawWidth_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(QRectF(QPointF(box.topLeft()) + QPointF(0.5, 0.5),
                              QSizeF(box.width() - 1, box.height() - 1)));
    });
    Apply(coverage, colour);
  }
  Notify(false);
}

void QtPictureSurface::Circle(float x, float y, float radius, std::int32_t colour) {
  const QPoint centre = ToPixel(x, y);
  const double r = std::min(std::fabs(static_cast<double>(radius)) * PixelsPerUnitX(), kFarOutside);
  const QPointF middle = QPointF(centre) + QPointF(0.5, 0.5);
  const int reach = static_cast<int>(std::ceil(r)) + drawWidth_ + 2;
  const QRect bounds =
      QRect(centre - QPoint(reach, reach), centre + QPoint(reach, reach)).intersected(image_.rect());
  const bool filled = fillStyle_ == kFillSolid;
  if (r < 0.5) {
    // Too small for Qt to draw anything: the circle is its centre pixel.
    Plot(centre.x(), centre.y(), colour);
    Notify(false);
    return;
  }
  auto fill = [&](QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(middle, r, r);
  };
  auto outline = [&](QPainter& painter) {
    painter.setPen(QPen(Qt::white, drawWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(middle, r, r);
  };
  if (drawMode_ == kDrawModeInvert) {
    // Fill and outline together, so no pixel is inverted twice.
    Coverage coverage(bounds);
    coverage.Paint([&](QPainter& painter) {
      if (filled) fill(painter);
      outline(painter);
    });
    Apply(coverage, colour);
  } else {
    if (filled) {
      Coverage inside(bounds);
      inside.Paint(fill);
      Apply(inside, fillColor_);
    }
    Coverage ring(bounds);
    ring.Paint(outline);
    Apply(ring, colour);
  }
  Notify(false);
}

// --- Text ---

std::string QtPictureSurface::FontName() const {
  if (!fontName_.empty()) return fontName_;
  return QGuiApplication::font().family().toStdString();
}

void QtPictureSurface::FontName(const std::string& name) {
  if (!QFontDatabase::hasFamily(QString::fromStdString(name))) Raise(ErrorCode::InvalidArgument);
  fontName_ = name;
}

void QtPictureSurface::FontSize(float points) {
  if (!(points > 0) || points > kLargestFontPoints || PixelSizeForPoints(points) < 1) {
    Raise(ErrorCode::InvalidArgument);
  }
  fontSize_ = points;
}

QFont QtPictureSurface::CurrentFont() const {
  QFont font = fontName_.empty() ? QGuiApplication::font() : QFont(QString::fromStdString(fontName_));
  font.setPixelSize(PixelSizeForPoints(fontSize_));
  font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  return font;
}

void QtPictureSurface::Print(const std::string& text) {
  const QFont font = CurrentFont();
  const QFontMetrics metrics(font);
  for (const QString& line : QString::fromStdString(text).split(QLatin1Char('\n'))) {
    const QPoint origin = ToPixel(currentX_, currentY_);
    if (!line.isEmpty()) {
      const QPoint baseline(origin.x(), origin.y() + metrics.ascent());
      const QRect inked = metrics.boundingRect(line).translated(baseline);
      const QRect cell(origin, QSize(metrics.horizontalAdvance(line), metrics.height()));
      Coverage coverage(inked.united(cell).adjusted(-2, -2, 2, 2).intersected(image_.rect()));
      coverage.Paint([&](QPainter& painter) {
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(baseline, line);
      });
      Apply(coverage, foreColor_);
    }
    currentX_ = 0;
    currentY_ += ToLogicalY(metrics.height());
  }
  Notify(false);
}

// --- Pictures ---

void QtPictureSurface::PaintPicture(const Bitmap& picture, float x, float y, float width,
                                    float height) {
  if (picture.Empty()) return;
  const QPoint from = ToPixel(x, y);
  const QPoint to = ToPixel(x + width, y + height);
  const QRect target(from, QSize(to.x() - from.x(), to.y() - from.y()));
  if (target.width() <= 0 || target.height() <= 0) return;
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(target, ImageFromBitmap(picture));
  painter.end();
  Notify(false);
}

void QtPictureSurface::Assign(const QImage& picture) {
  QImage converted = picture.convertToFormat(QImage::Format_RGB32);
  if (converted.isNull() && !picture.isNull()) Raise(ErrorCode::OutOfMemory);
  image_ = std::move(converted);
  Notify(false);
}

Bitmap QtPictureSurface::Image() const { return BitmapFromImage(image_); }

void QtPictureSurface::SetPicture(const Bitmap& picture) {
  picture_ = picture;
  Cls();
}

void QtPictureSurface::LoadPicture(const std::string& path) {
  const Bytes bytes = ReadWholeFile(path);
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  // Qt's SVG reader would load what a drawing references; drawings are the picture decoder's.
  if (QImageReader::imageFormat(&buffer).startsWith("svg")) Raise(ErrorCode::InvalidPicture);
  buffer.seek(0);
  QImageReader reader(&buffer, QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1());
  reader.setAutoDetectImageFormat(true);
  const QImage loaded = reader.read();
  if (loaded.isNull()) Raise(ErrorCode::InvalidPicture);
  // Transparent parts of the picture show the background, as on screen.
  QImage flat(loaded.size(), QImage::Format_RGB32);
  if (flat.isNull()) Raise(ErrorCode::OutOfMemory);
  flat.fill(RgbFromColour(backColor_));
  QPainter painter(&flat);
  painter.drawImage(0, 0, loaded);
  painter.end();
  Resize(flat.width(), flat.height());
  SetPicture(BitmapFromImage(flat));
}

void QtPictureSurface::SavePicture(const std::string& path) const {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  if (!writer.write(image_)) Raise(ErrorCode::DeviceIO);
  WriteFileReplacing(path, Bytes(data.begin(), data.end()));
}

}  // namespace brixel
