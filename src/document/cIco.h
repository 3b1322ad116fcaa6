#pragma once

#include <string>

#include <utility>
#include <vector>

#include "FileIO.h"
#include "IcnsFile.h"
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

  // The entries of the .icns file last read that hold no image (its information list, version,
  // the icons for dark mode, ...): written back when the document is saved as an .icns file,
  // which is the only kind that holds them. None for other files.
  const std::vector<IcnsEntry>& IcnsOthers() const { return icnsOthers_; }
  void IcnsOthers(std::vector<IcnsEntry> others) { icnsOthers_ = std::move(others); }

  // After a save to path, a file that cannot hold them, says which entries only a macOS icon
  // holds (MacIconOnlyEntriesText); the document keeps them for a later save as one. Said once
  // for each path, not at every save of the same file.
  void TellMacIconOnlyLeftOut(const std::string& path);

 protected:
  bool SaveIcns(const std::string& path);
  const char* UnnamedName() const override { return "NewIcon"; }

 private:
  std::vector<IcnsEntry> icnsOthers_;
  std::string macIconOnlyToldFor_;  // the path TellMacIconOnlyLeftOut last spoke of
};

}  // namespace brixel
