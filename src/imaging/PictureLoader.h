#pragma once

#include <string>

#include "PictureImport.h"

namespace brixel {

// Reads a picture file for import as the import dialog does: icons and cursors through our
// own reader, every other kind through the picture decoders. Raises BackEndError (Invalid
// picture with the reason, or the file's own error).
LoadedPicture LoadPictureFile(const std::string& path);

}  // namespace brixel
