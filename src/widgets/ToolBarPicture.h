#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

namespace brixel {

// A toolbar button's picture and the reference it was loaded from, so that storing the
// toolbar can refer to it again. An empty picture has no pixels.
struct ToolBarPicture {
  QPixmap pixmap;
  QString source;  // ":/..." resource path, or empty when only the pixels are known

  bool IsEmpty() const { return pixmap.isNull(); }
};

// Registers the compiled-in toolbar resources (pictures and stored form descriptions); the
// functions below do it themselves, others reading ":/toolbars/" call it first.
void RegisterToolBarResources();

// Where the shipped button pictures live: one SVG per toolbar key, plus "PctSquare" and
// "PctDiag" for the fill-connection button.
QString ShippedPicturePath(const QString& name);
QStringList ShippedPictureNames();

// A shipped picture by name (an empty picture for an unknown name).
ToolBarPicture ShippedPicture(const QString& name);

// Loads a stored reference: a resource or file path of an SVG or bitmap picture, or a
// "data:image/png;base64," text. An empty reference gives an empty picture; anything that
// does not load raises Invalid picture (481). SVG pictures are rendered once, at their own
// size, sharp on the screen's pixel ratio.
ToolBarPicture LoadToolBarPicture(const QString& reference);

// The text that LoadToolBarPicture reads back: the source when known, else the pixels as PNG
// data; empty for an empty picture.
QString ToolBarPictureReference(const ToolBarPicture& picture);

}  // namespace brixel
