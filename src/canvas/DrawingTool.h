#pragma once

#include <cstdint>

#include "Colour.h"
#include "PaintColour.h"

namespace brixel {

class ImageDocument;

// The fifteen tools of the drawing toolbar, by their button index.
enum ToolNumber : int {
  kToolFreehand = 0,
  kToolErase = 1,
  kToolFloodFill = 2,
  kToolFloodErase = 3,
  kToolCircle = 4,
  kToolFilledCircle = 5,
  kToolRect = 6,
  kToolFilledRect = 7,
  kToolLine = 8,
  kToolEyeDrop = 9,
  kToolSelect = 10,
  kToolFlood = 11,  // not a tool: switches between four and eight neighbours for fills
  kToolHotSpot = 12,
  kToolText = 13,
  kToolInvert = 14,
  kToolCount = 15,
};

// How the pointer drives a tool.
enum class ToolDriver {
  None,        // no action (the fill switch)
  EachPoint,   // acts on the pixel under every reported position
  RubberBand,  // a figure from the anchor to the pointer, made at the release
  FillAtRelease,
  Pick,        // takes the colour under the pointer
  HotSpot,     // moves the image's hot spot
  TextAtRelease,
};

// The figure a rubber-band tool makes.
enum class ToolShape { None, Circle, FilledCircle, Box, FilledBox, Line, Selection };

// What a point or fill tool does to a pixel.
enum class PixelAction { None, Paint, MakeTransparent, MakeInverting };

struct ToolTraits {
  ToolDriver driver = ToolDriver::None;
  ToolShape shape = ToolShape::None;
  PixelAction action = PixelAction::None;
};

// The parts of a tool number; numbers outside 0-14 have no action.
ToolTraits TraitsOf(int tool);

// Button codes of the pointer events: 1 left, 2 right, 4 middle. A chord of several buttons,
// or any other code, counts as the left button.
inline int ButtonOrLeft(int code) { return code == 2 || code == 4 ? code : 1; }

// ButtonOrLeft for pointer events, where 0 (a button we do not handle, such as a side button)
// stays 0.
inline int NormalisedButton(int code) { return code == 0 ? 0 : ButtonOrLeft(code); }

// Whether (x, y) is a pixel of the image's picture. Columns at or past the width (the padding
// columns of 1-bit images) are outside for every tool, though the document accepts them.
bool InPicture(const ImageDocument& document, std::int16_t image, int x, int y);

// Writes one pixel as the action says: in the paint colour (PaintPixel: with its opacity, or
// blended over the pixel, in images that take opacity; else opaque), transparent, or
// inverting. Pixels outside the picture are left alone.
void WritePixel(ImageDocument& document, std::int16_t image, int x, int y, PixelAction action,
                PaintColour paint, bool blend = false);

}  // namespace brixel
