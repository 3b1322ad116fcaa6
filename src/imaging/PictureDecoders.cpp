#include "PictureDecoders.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "Jpeg2000Data.h"
#include "Jpeg2000Decoder.h"
#include "ByteOrder.h"
#include "PictureTransfer.h"
#include "SafeDrawing.h"
#include "SvgDrawing.h"

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace brixel {
namespace {

constexpr double kPixelsPerInch = 96;
constexpr double kHundredthsOfMmPerInch = 2540;
// An image of the largest allowed size, as Qt's readers allocate it, in megabytes.
constexpr int kLargestPictureMegabytes =
    static_cast<int>((4LL * kMaxPictureSide * kMaxPictureSide) >> 20) + 1;

std::uint16_t Read16(const Bytes& data, std::size_t at) {
  return static_cast<std::uint16_t>(data[at] | data[at + 1] << 8);
}
std::int32_t ReadSigned32(const Bytes& data, std::size_t at) {
  return static_cast<std::int32_t>(GetLength(data, at));
}

bool IsWmf(const Bytes& data) {
  if (data.size() >= 22 && GetLength(data, 0) == 0x9AC6CDD7u) return true;  // placeable header
  return data.size() >= 18 && (Read16(data, 0) == 1 || Read16(data, 0) == 2) &&
         Read16(data, 2) == 9 && (Read16(data, 4) == 0x0300 || Read16(data, 4) == 0x0100);
}

constexpr std::size_t kEmfHeaderSize = 88;
bool IsEmf(const Bytes& data) {
  return data.size() >= kEmfHeaderSize && GetLength(data, 0) == 1 && GetLength(data, 40) == 0x464D4520u;
}

std::string SizeTooLarge(long long width, long long height) {
  return std::to_string(width) + " x " + std::to_string(height) + " pixels is larger than " +
         std::to_string(kMaxPictureSide) + " on a side";
}

bool FitsSide(long long width, long long height) {
  return width <= kMaxPictureSide && height <= kMaxPictureSide;
}

// A picture from a decoded image; alpha only when the image has transparency at all.
LoadedPicture PictureFromImage(const QImage& decoded) {
  LoadedPicture picture;
  const bool alpha = decoded.hasAlphaChannel();
  const QImage image = decoded.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  // Qt answers a failed allocation with a null image.
  if (image.isNull() && !decoded.isNull()) throw std::bad_alloc();
  picture.Colours = Bitmap(image.width(), image.height(), kWhite);
  if (alpha) picture.Alpha.assign(picture.Colours.Pixels.size(), 255);
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb rgb = line[x];
      picture.Colours.At(x, y) = MakeColour(qRed(rgb), qGreen(rgb), qBlue(rgb));
      if (alpha) {
        picture.Alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width()) +
                      static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(qAlpha(rgb));
      }
    }
  }
  return picture;
}

// The drawing made safe to render, the references it left out told in the log.
bool SafeSvg(const QByteArray& data, QByteArray& svg, std::string& message) {
  SafeDrawing drawing;
  if (!MakeSafeDrawing(data, drawing, message)) return false;
  for (const std::string& leftOut : drawing.LeftOut) {
    std::fprintf(stderr, "%.*s%s\n", static_cast<int>(kDecoderWarning.size()), kDecoderWarning.data(),
                 leftOut.c_str());
  }
  svg = std::move(drawing.Svg);
  return true;
}

// Metafiles hold no transparency of their own: their drawing is rendered onto white.
bool RenderSvg(const QByteArray& converted, int width, int height, LoadedPicture& picture,
               std::string& message) {
  QByteArray svg;
  if (!SafeSvg(converted, svg, message)) return false;
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) {
    message = "its drawing could not be rendered";
    return false;
  }
  QImage image(width, height, QImage::Format_RGB32);
  if (image.isNull()) throw std::bad_alloc();
  image.fill(Qt::white);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, width, height));
  painter.end();
  picture = PictureFromImage(image);
  return true;
}

bool DecodeWmf(const Bytes& data, LoadedPicture& picture, std::string& message) {
  wmfAPI_Options options{};
  options.function = wmf_svg_function;
  wmfAPI* api = nullptr;
  const unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
    if (api) wmf_api_destroy(api);
    message = "the metafile reader could not start";
    return false;
  }
  std::vector<unsigned char> copy(data.begin(), data.end());
  QByteArray svg;
  unsigned int width = 0;
  unsigned int height = 0;
  wmfD_Rect bounds{};
  bool read = wmf_mem_open(api, copy.data(), static_cast<long>(copy.size())) == wmf_E_None &&
              wmf_scan(api, 0, &bounds) == wmf_E_None &&
              wmf_display_size(api, &width, &height, kPixelsPerInch, kPixelsPerInch) == wmf_E_None;
  if (!read) {
    message = "not a Windows metafile that can be read";
  } else if (width == 0 || height == 0) {
    message = "the metafile draws nothing";
    read = false;
  } else if (!FitsSide(width, height)) {
    message = SizeTooLarge(width, height);
    read = false;
  } else {
    wmf_svg_t* device = WMF_SVG_GetData(api);
    device->out = wmf_stream_create(api, nullptr);
    device->Description = const_cast<char*>("Brixel");
    device->bbox = bounds;
    device->width = width;
    device->height = height;
    device->flags |= WMF_SVG_INLINE_IMAGES;
    read = wmf_play(api, 0, &bounds) == wmf_E_None;
    char* text = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api, device->out, &text, &length);
    if (read && text) svg = QByteArray(text, static_cast<qsizetype>(length));
    if (!read) message = "the metafile's drawing could not be played";
  }
  wmf_api_destroy(api);
  return read && RenderSvg(svg, static_cast<int>(width), static_cast<int>(height), picture, message);
}

bool DecodeEmf(const Bytes& data, LoadedPicture& picture, std::string& message) {
  // The frame (in 0.01 mm) gives the picture's size; without one, the device bounds.
  const long long frameWidth = static_cast<long long>(ReadSigned32(data, 32)) - ReadSigned32(data, 24);
  const long long frameHeight = static_cast<long long>(ReadSigned32(data, 36)) - ReadSigned32(data, 28);
  long long width = std::llround(static_cast<double>(frameWidth) * kPixelsPerInch / kHundredthsOfMmPerInch);
  long long height = std::llround(static_cast<double>(frameHeight) * kPixelsPerInch / kHundredthsOfMmPerInch);
  if (width <= 0 || height <= 0) {
    width = static_cast<long long>(ReadSigned32(data, 16)) - ReadSigned32(data, 8) + 1;
    height = static_cast<long long>(ReadSigned32(data, 20)) - ReadSigned32(data, 12) + 1;
  }
  if (width <= 0 || height <= 0) {
    message = "the metafile's frame is empty";
    return false;
  }
  if (!FitsSide(width, height)) {
    message = SizeTooLarge(width, height);
    return false;
  }
  std::vector<char> copy(data.begin(), data.end());
  generatorOptions options{};
  options.nameSpace = const_cast<char*>("");
  options.verbose = false;
  options.emfplus = true;
  options.svgDelimiter = true;
  options.imgWidth = static_cast<double>(width);
  options.imgHeight = static_cast<double>(height);
  char* text = nullptr;
  std::size_t length = 0;
  const int converted = emf2svg(copy.data(), copy.size(), &text, &length, &options);
  const QByteArray svg = text ? QByteArray(text, static_cast<qsizetype>(length)) : QByteArray();
  std::free(text);
  if (!converted || svg.isEmpty()) {
    message = "not an enhanced metafile that can be read";
    return false;
  }
  return RenderSvg(svg, static_cast<int>(width), static_cast<int>(height), picture, message);
}

bool DecodeWithQt(const Bytes& data, const std::string& path, LoadedPicture& picture,
                  std::string& message) {
  // The largest picture allowed must not fail on Qt's own allocation limit.
  if (QImageReader::allocationLimit() != 0 && QImageReader::allocationLimit() < kLargestPictureMegabytes) {
    QImageReader::setAllocationLimit(kLargestPictureMegabytes);
  }
  QByteArray bytes(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  const QByteArray hint = QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1();
  // Qt's own SVG reader would load what the drawing references: drawings, whatever their
  // name, are read as drawings (the format a name hints at is not the one content decides).
  if (QImageReader::imageFormat(&buffer).startsWith("svg")) {
    DrawingRenderer drawing;
    return drawing.Load(data, message) && drawing.Render(0, picture, message);
  }
  buffer.seek(0);
  QImageReader reader(&buffer, hint);
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
  const QSize declared = reader.size();
  if (declared.isValid() && !FitsSide(declared.width(), declared.height())) {
    message = SizeTooLarge(declared.width(), declared.height());
    return false;
  }
  const QImage image = reader.read();
  if (image.isNull()) {
    message = reader.error() == QImageReader::UnsupportedFormatError
                  ? "not a picture of a kind that can be read"
                  : reader.errorString().toStdString();
    return false;
  }
  if (!FitsSide(image.width(), image.height())) {
    message = SizeTooLarge(image.width(), image.height());
    return false;
  }
  picture = PictureFromImage(image);
  return true;
}

QSize DrawingSize(QSizeF natural, int side) {
  if (side <= 0) {
    return {std::max(1, static_cast<int>(std::lround(natural.width()))),
            std::max(1, static_cast<int>(std::lround(natural.height())))};
  }
  const double ratio = natural.height() / natural.width();
  if (ratio <= 1) return {side, std::max(1, static_cast<int>(std::lround(side * ratio)))};
  return {std::max(1, static_cast<int>(std::lround(side / ratio))), side};
}

}  // namespace

bool DrawingRenderer::Load(const Bytes& data, std::string& message) {
  QByteArray svg;
  if (!SafeSvg(QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())),
               svg, message)) {
    return false;
  }
  renderer_ = std::make_unique<QSvgRenderer>(svg);
  if (!renderer_->isValid()) {
    message = "not an SVG drawing that can be rendered";
    return false;
  }
  // A drawing without a width and height of its own takes the size of its view box.
  natural_ = renderer_->defaultSize();
  if (natural_.isEmpty()) natural_ = renderer_->viewBoxF().size();
  if (natural_.isEmpty() || !std::isfinite(natural_.width()) || !std::isfinite(natural_.height())) {
    message = "the drawing has no size";
    return false;
  }
  return true;
}

bool DrawingRenderer::OwnSize(QSize& size, std::string& message) const {
  const long long width = std::llround(std::min(natural_.width(), 1e9));
  const long long height = std::llround(std::min(natural_.height(), 1e9));
  if (!FitsSide(width, height)) {
    message = SizeTooLarge(width, height);
    return false;
  }
  size = DrawingSize(natural_, 0);
  return true;
}

bool DrawingRenderer::Render(int side, LoadedPicture& picture, std::string& message) const {
  picture = LoadedPicture();
  QSize size;
  if (side <= 0 && !OwnSize(size, message)) return false;
  if (side > kMaxPictureSide) {
    message = SizeTooLarge(side, side);
    return false;
  }
  size = DrawingSize(natural_, side);
  picture = Rendered(size, size);
  return true;
}

bool DrawingRenderer::RenderCorner(int side, LoadedPicture& picture, std::string& message) const {
  picture = LoadedPicture();
  QSize own;
  if (!OwnSize(own, message)) return false;
  picture = Rendered(own, own.boundedTo(QSize(std::max(side, 1), std::max(side, 1))));
  return true;
}

LoadedPicture DrawingRenderer::Rendered(QSize size, QSize extent) const {
  QImage image(extent, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) throw std::bad_alloc();  // Qt's answer to a failed allocation
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  renderer_->render(&painter, QRectF(0, 0, size.width(), size.height()));
  painter.end();
  return PictureFromImage(image);
}

bool IsMetafileData(const Bytes& data) { return IsWmf(data) || IsEmf(data); }

bool DecodePicture(const Bytes& data, const std::string& path, LoadedPicture& picture,
                   std::string& message) {
  picture = LoadedPicture();
  if (IsEmf(data)) return DecodeEmf(data, picture, message);
  if (IsJpeg2000Data(data)) return DecodeJpeg2000(data, picture, message);
  if (IsWmf(data)) return DecodeWmf(data, picture, message);
  if (IsSvgDrawing(data, path)) {
    DrawingRenderer drawing;
    return drawing.Load(data, message) && drawing.Render(0, picture, message);
  }
  return DecodeWithQt(data, path, picture, message);
}

}  // namespace brixel
