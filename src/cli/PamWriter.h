#pragma once

#include <string>

#include "FileIO.h"
#include "IconImage.h"

namespace brixel::cli {

// The image as a PAM file (P7, RGB_ALPHA, 8 bits): every pixel's colour, alpha 255 where the
// pixel is opaque and 0 where it is not, or with keptAlpha the alpha the image keeps (where it
// keeps none, the same 255 and 0).
Bytes EncodePam(const IconImage& image, bool keptAlpha = false);

}  // namespace brixel::cli
