#include "PictureLoader.h"

#include "PictureDecoders.h"

namespace brixel {

LoadedPicture LoadPictureFile(const std::string& path) { return ReadPicture(path, DecodePicture); }

}  // namespace brixel
