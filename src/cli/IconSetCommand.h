#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brixel::cli {

// iconset OUT PICTURE [--sizes N,N,...] [--cursor X,Y]: one 32-bit image with alpha per size
// (16, 24, 32, 48, 64 and 256 unless given; each 1 to 256), each made from PICTURE itself:
// a picture resampled by area averaging, an SVG drawing rendered afresh at each size, fitted
// with its aspect kept and centred on transparent. Images of 256 are stored as PNG, smaller
// ones as bitmaps with AND masks from their alpha. OUT (.ico or .cur) is written anew; a
// cursor's hot spot X,Y, in the picture's pixels, is carried into each size. Messages go to
// err; returns the exit status.
int IconSet(const std::vector<std::string>& args, std::ostream& err);

}  // namespace brixel::cli
