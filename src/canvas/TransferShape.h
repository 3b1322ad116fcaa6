#pragma once

#include <cstdint>

#include "Colour.h"
#include "PaintColour.h"

namespace brixel {

class ImageDocument;
class PictureSurface;

// Shapes and text are rasterised on the scratch surface and taken over into the image by
// exact colour comparison, so that the surface's own pixel rules decide what is drawn.

// Clears the scratch surface and covers all of it with the complement of colour, so that no
// background pixel can be taken for drawn; the fill colour becomes colour, the fill style
// transparent.
void PrepareScratch(PictureSurface& scratch, Colour colour);

// Every scratch pixel (x, y) of exactly the paint's colour, for x from 0 to the scratch width
// and y from 0 to its height, becomes pixel (x, y) of the image in the paint (PaintPixel,
// blended over it with blend), so shapes and text take the button's opacity. Pixels outside
// the scratch never match and pixels outside the picture (InPicture) are left alone; the rest
// of the image keeps its colours and mask. A negative colour (no colour) takes nothing over.
void TransferShape(const PictureSurface& scratch, ImageDocument& document, std::int16_t image,
                   PaintColour paint, bool blend = false);

}  // namespace brixel
