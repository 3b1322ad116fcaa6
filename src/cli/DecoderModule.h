#pragma once

#include <string>

#include "FileIO.h"
#include "PictureImport.h"

namespace brixel::cli {

// The picture decoder module (Qt's readers, metafiles, SVG) beside this program, or in
// ../lib/brixel when installed, loaded the first time a picture needs it and never unloaded.
// An entry point of the module by name; nullptr with the reason in failure when it cannot be
// had.
void* DecoderModuleEntry(const char* name, std::string& failure);

template <class Entry>
Entry DecoderModuleFunction(const char* name, std::string& failure) {
  return reinterpret_cast<Entry>(DecoderModuleEntry(name, failure));
}

// Reads a picture that is not an icon through the module; false with a message when the
// module is missing or cannot read it.
bool DecodeThroughModule(const Bytes& data, const std::string& path, LoadedPicture& picture,
                         std::string& message);

}  // namespace brixel::cli
