#pragma once

#include <QSize>
#include <QSvgRenderer>
#include <memory>
#include <string>

#include "FileIO.h"
#include "PictureImport.h"

namespace brixel {

// Reads a picture that is not an icon file: BMP, JPEG, GIF, PNG and the other kinds Qt's
// image readers know (by content, the name's extension as a hint), SVG drawings at their own
// size (DrawingRenderer), Windows metafiles through libwmf and enhanced metafiles through
// libemf2svg, both rendered at 96 pixels per inch with Qt SVG onto white. Pictures whose readers report transparency keep it as alpha. A picture
// whose header or metafile frame declares more than kMaxPictureSide pixels on a side is
// refused before it is decoded. False, with the reason in message, when the data cannot be
// read.
bool DecodePicture(const Bytes& data, const std::string& path, LoadedPicture& picture,
                   std::string& message);

// An SVG drawing (compressed or not), read once and rendered at any size. Every drawing is
// made safe first (MakeSafeDrawing): the references it leaves out are told as warnings on
// standard error, the program's log.
class DrawingRenderer {
 public:
  // False, with the reason in message, when it cannot be read or has no size of its own.
  bool Load(const Bytes& data, std::string& message);

  // Its own size in pixels; false, with the reason in message, when it is larger than
  // kMaxPictureSide on a side.
  bool OwnSize(QSize& size, std::string& message) const;

  // Rendered with its transparency as alpha: fitted into side x side with its aspect kept, or
  // at its own size when side is 0.
  bool Render(int side, LoadedPicture& picture, std::string& message) const;

  // Its top-left side x side (less where it is smaller) at its own size, without rendering the
  // rest.
  bool RenderCorner(int side, LoadedPicture& picture, std::string& message) const;

 private:
  // The drawing at size (its own scaled) onto an image of extent, its top-left corner.
  LoadedPicture Rendered(QSize size, QSize extent) const;

  std::unique_ptr<QSvgRenderer> renderer_;
  QSizeF natural_;
};

// Whether the data is a Windows or an enhanced metafile, whose rendering may draw text (and
// so needs a GUI application object for its fonts).
bool IsMetafileData(const Bytes& data);

}  // namespace brixel
