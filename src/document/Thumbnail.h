#pragma once

#include <cstddef>
#include <vector>

#include "FileIO.h"
#include "IconImage.h"
#include "PictureDecoderProcess.h"
#include "PictureImport.h"
#include "RgbaPicture.h"

namespace brixel {

// Thumbnails are asked for at most this many pixels on a side.
inline constexpr int kLargestThumbnail = 4096;

// The images a file shows: every image of an icon or cursor file that can be shown (kept
// entries are not), or for an animated cursor those of the frame of its first step as the
// editor plays it (AniSteps), the first step whose frame has one; for a Windows program or
// library, those of its first icon group. Raises BackEndError
// ("Invalid picture" for bytes that are neither); a file whose entries all fail fails as they
// do (ReplayKeptFailures). Empty when the file holds no image that can be read.
std::vector<IconImage> ShownImages(ByteView file);

// ShownImages, or for a macOS icon only those of the side ThumbnailImageIndex picks for size:
// its other entries are not decoded (large PNG and JPEG 2000 pictures cost far more than the
// one shown). When no entry of that side gives an image, the next side it would pick is read.
std::vector<IconImage> ThumbnailImages(ByteView file, int size,
                                       const PictureDecoder& jpeg2000 = DecodeInDecoderProgram);

// The image a file manager shows at size: of the images whose longer side is the smallest
// that is at least size (else the largest), the first of the highest depth; kept entries are
// passed over. Needs at least one image that is not kept.
std::size_t ThumbnailImageIndex(const std::vector<IconImage>& images, int size);

// The image as a thumbnail of at most size x size, its aspect kept: a larger image scaled down
// by area averaging, a smaller one enlarged by the largest whole factor that fits (its pixels
// repeated, so they stay sharp), one that fits exactly unchanged.
RgbaPicture MakeThumbnail(const IconImage& image, int size);

}  // namespace brixel
