#pragma once

#include "Colour.h"

namespace brixel {

// The "Keep alpha channel" option, application-wide: on unless turned off. While it is on,
// images whose files carry alpha keep it per pixel and are written with it (PNG entries as
// PNG); while it is off they are read and written without it, as 32-bit bitmaps with a fourth
// byte of 0.
bool KeepAlpha();
void KeepAlpha(bool keep);

struct IconImage;

// The alpha a writer gives a pixel (PNG export, Xcursor files, the desktop clipboard), by the
// option at the time of writing: the image's own while KeepAlpha is on (AlphaAt), else 255
// for an opaque pixel and 0 for the others, as an icon file written then holds it.
int WrittenAlphaAt(const IconImage& image, int x, int y);
// The same for a pixel whose alpha and mask are known.
int WrittenAlpha(int alpha, bool opaque);

// colour shown with alpha (0 .. 255) over background, each part rounded to the nearest. A
// pixel without a colour of its own (-1) shows the background.
Colour BlendOver(Colour colour, int alpha, Colour background);

}  // namespace brixel
