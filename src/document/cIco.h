#pragma once

#include <string>

#include "FileIO.h"
#include "ImageDocument.h"

namespace brixel {

// An icon (.ico) or cursor (.cur) document.
class cIco : public ImageDocument {
 public:
  // Reads the file; on success the document holds its images, IconPath is the path and
  // NewIcon is false. Failures are reported and give false.
  bool OpenIcon(const std::string& path);

  // Reads an icon or cursor file, or a macOS icon (.icns, by its content; its JPEG 2000
  // entries through the picture decoder program), held in memory, as OpenIcon does, without touching
  // IconPath or NewIcon.
  bool ReadIconData(const Bytes& file);

  // Writes every image to path (type by the path's extension) without destroying the old
  // file first. A read-only target is overwritten only when the user agrees. An image whose
  // transparent pixels could only be written in another colour is refused with a report and
  // the old file stays. Does not change Changed.
  // A path ending in ".icns" is written as a macOS icon (BuildIcnsFile); the images it cannot
  // hold are named in a message after the save.
  bool SaveIcon(const std::string& path);

 protected:
  bool SaveIcns(const std::string& path);
  const char* UnnamedName() const override { return "NewIcon"; }
};

}  // namespace brixel
