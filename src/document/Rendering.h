#pragma once

#include <string_view>
#include <vector>

#include "Colour.h"
#include "IconImage.h"
#include "PictureSurface.h"

namespace brixel {

// Labels under which the drawing procedures report their failures.
inline constexpr std::string_view kDrawIconExLabel = "PrjBackEnd.mDrawIcon.DrawIconEx";
inline constexpr std::string_view kSaveIconFromPictureExLabel =
    "PrjBackEnd.mDrawIcon.SaveIconFromPictureEx";
inline constexpr std::string_view kDrawZoomedIconLabel = "PrjBackEnd.mDrawIcon.DrawZoomedIcon";
inline constexpr std::string_view kDrawPaletteLabel = "PrjBackEnd.cCommonFunct.DrawPalette";

// The colours of the marks in the enlarged view.
inline constexpr Colour kTransparentMark = 16711680;  // blue
inline constexpr Colour kNotOpaqueMark = 255;         // red

// Each procedure visits pixels column by column (x outer, y inner), one unit per pixel, and
// reports a failure under its label; what was drawn or read until then stays.

// Clears picture and draws the placeholder of a kept entry (IconImage::IsKept), width x height
// pixels: a grey hatched box with a darker edge.
void DrawKeptPlaceholder(PictureSurface& picture, int width, int height);

// Clears picture and draws the image at its true size: opaque pixels in their colour, the
// others in the picture's background colour; an image that keeps alpha shows every pixel
// blended by its alpha over the background instead. The mask surface, when given (it is not
// cleared), shows InvertColor of each mask value: opaque white, transparent black. A kept
// entry shows its placeholder at the size its entry gives (DrawKeptPlaceholder).
void DrawIconEx(PictureSurface& picture, const IconImage& image, PictureSurface* maskPicture);

// Reads the image back: first the mask from maskPicture (when given) as InvertColor of each
// colour, then every opaque pixel's colour from picture; pixels that are not opaque become
// black. In an image that keeps alpha, a pixel that still shows what DrawIconEx drew keeps its
// colour and alpha; the others take 255 or 0 by their mask. Surfaces smaller than the image
// are refused before anything is read.
void SaveIconFromPictureEx(PictureSurface& picture, IconImage& image,
                           PictureSurface* maskPicture);

// Clears picture and draws the image ten units per pixel: opaque pixels as filled boxes,
// transparent ones (colour 0) with a blue falling diagonal, every other pixel that is not
// opaque with a red rising diagonal.
void DrawZoomedIcon(PictureSurface& picture, const IconImage& image);

// Clears picture and draws the palette as swatches filling it: 2 x 1 for 1 bit, 8 x 2 for
// 4 bits, 16 x 16 otherwise; cell sizes are rounded halves to even. Nothing more for a
// depth the files do not support.
void DrawPalette(PictureSurface& picture, int bitDepth, const std::vector<Colour>& palette);

}  // namespace brixel
