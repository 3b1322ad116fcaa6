#pragma once

#include "Colour.h"

namespace brixel {

// The "Keep alpha channel" option, application-wide: on unless turned off. While it is on,
// images whose files carry alpha keep it per pixel and are written with it (PNG entries as
// PNG); while it is off they are read and written without it, as 32-bit bitmaps with a fourth
// byte of 0.
bool KeepAlpha();
void KeepAlpha(bool keep);

// colour shown with alpha (0 .. 255) over background, each part rounded to the nearest. A
// pixel without a colour of its own (-1) shows the background.
Colour BlendOver(Colour colour, int alpha, Colour background);

}  // namespace brixel
