#pragma once

#include <QString>
#include <optional>

#include "Colour.h"

namespace brixel {

class PictureSurface;

// The last confirmed choice of the text dialog: font name, size in points as typed, and the
// text to print. Empty until the dialog is first confirmed; lives as long as the main window.
struct TextSettings {
  QString m_strFont;
  QString m_strSize;
  QString m_strText;

  void SetFont(const QString& strFont, const QString& strSize, const QString& strText);
};

// The largest size accepted from the size box: larger ones would only make the surface
// rasterise glyphs far bigger than any icon.
inline constexpr float kLargestTextPoints = 500;

// The size box's text as points: a finite number from 1 to kLargestTextPoints, surrounding
// blanks allowed; nothing for anything else.
std::optional<float> TextPointsFrom(const QString& text);

// Gives the surface the font and size as typed. A font the system lacks or a size that is not
// acceptable leaves the surface's previous setting in force.
void ApplyTextFont(PictureSurface& surface, const QString& font, const QString& size);

// Prints the confirmed text on the prepared scratch surface in colour, the top-left of its
// first character cell at (x, y), without smoothing, so TransferShape takes over whole strokes.
// An empty text prints nothing.
void DrawTextAt(PictureSurface& scratch, const TextSettings& settings, Colour colour, float x,
                float y);

}  // namespace brixel
