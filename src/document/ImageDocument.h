#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Colour.h"
#include "FileIO.h"
#include "IconImage.h"
#include "EditHistory.h"

namespace brixel {

class PictureSurface;

// What icon and animated-cursor documents have in common: the image list, the flags, the
// path, the undo store and every member that reads or changes images. The file formats live
// in the derived classes.
class ImageDocument {
 public:
  virtual ~ImageDocument() = default;

  // --- Undo and redo (EditHistory) ---
  // Opens a step on the image before an edit; the step left open before is closed first.
  void ResetUndo(std::int16_t imageIndex);
  // Closes the open step after its edit; a step that changed nothing leaves no trace.
  void CloseUndoStep();
  // Takes back the latest step, or does again the latest step taken back, in the image it
  // came from, and returns that image's index; -1 when there is nothing to do.
  std::int16_t GetUndo();
  std::int16_t GetRedo();
  std::size_t UndoCount() const { return history_.UndoCount(); }
  std::size_t RedoCount() const { return history_.RedoCount(); }
  const EditHistory& History() const { return history_; }

  // --- The image list ---
  // Position -1 appends; any other n starts the list afresh with the new image at index n,
  // emptying the undo store.
  void AddImage(std::int16_t width, std::int16_t height, std::int16_t bitDepth,
                std::int16_t position);
  // Appends an image as it is (an animated cursor's frame, an image exported on its own).
  // Raises "Overflow" past 32767 images.
  void AppendImage(IconImage image);
  // The history steps of the deleted image go; those of the images behind it follow them down.
  void DeleteImage(std::int16_t imageIndex);
  std::int16_t IconCount() const { return static_cast<std::int16_t>(images_.size()); }

  // --- Transforms ---
  void PicShift(std::int16_t imageIndex, std::int16_t direction);
  void RotatePicture(std::int16_t imageIndex, std::int16_t direction);

  // --- Flags ---
  void NewIcon(bool value) { newIcon_ = value; }
  bool NewIcon() const { return newIcon_; }
  // Setting Changed sets NewIcon to the same value. Every edit sets it, so each time it is set
  // counts as an edit (Edits), whether or not the document was changed already.
  void Changed(bool value) {
    changed_ = value;
    newIcon_ = value;
    if (value) ++edits_;
  }
  bool Changed() const { return changed_; }
  std::uint64_t Edits() const { return edits_; }

  // --- Hot spot, bounded to 0 .. width and 0 .. height ---
  std::int16_t yHotSpot(std::int16_t imageIndex) const;
  void yHotSpot(std::int16_t imageIndex, std::int16_t value);
  std::int16_t xHotSpot(std::int16_t imageIndex) const;
  void xHotSpot(std::int16_t imageIndex, std::int16_t value);

  // --- Pixels. Coordinates round half to even. Colour reads outside return -1 and writes
  // outside are ignored; mask reads outside raise "Subscript out of range" for the caller. ---
  void XYMask(std::int16_t imageIndex, float x, float y, std::int32_t value);
  std::int32_t XYMask(std::int16_t imageIndex, float x, float y) const;
  void XYColor(std::int16_t imageIndex, float x, float y, Colour colour);
  Colour XYColor(std::int16_t imageIndex, float x, float y) const;

  // --- Palette ---
  // Setting an entry of a paletted (or 32-bit) image recolours every pixel of its old colour
  // that is not transparent.
  void PaletteColor(std::int16_t imageIndex, std::int32_t entry, Colour colour);
  Colour PaletteColor(std::int16_t imageIndex, std::int32_t entry) const;
  std::int32_t GetPaletteClick(std::int16_t imageIndex, Colour colour) const;

  // --- Size and depth ---
  std::int16_t BitDepth(std::int16_t imageIndex) const;
  std::int16_t Height(std::int16_t imageIndex) const;  // twice the height
  std::int16_t Width(std::int16_t imageIndex) const;

  // --- Rendering onto picture surfaces, one unit per pixel. A failure, an image index
  // outside the list among them, is reported under the drawing procedure's label. ---
  // The image at its true size, and its mask on the second surface when one is given.
  void DrawIcon(std::int16_t imageIndex, PictureSurface& picture,
                PictureSurface* maskPicture = nullptr) const;
  // Reads the image back from the surfaces DrawIcon draws on.
  void SaveIconFromPic(std::int16_t imageIndex, PictureSurface& picture,
                       PictureSurface* maskPicture = nullptr);
  // The enlarged view, ten units per pixel, marking the pixels that are not opaque.
  void DrawMainIcon(std::int16_t imageIndex, PictureSurface& picture) const;
  // The image's palette as swatches filling the surface.
  void ShowPalette(std::int16_t imageIndex, PictureSurface& picture) const;

  // --- Path and name ---
  void IconPath(const std::string& path) { path_ = path; }
  const std::string& IconPath() const { return path_; }
  // The file name part of the path, or the class's own name for a document never saved.
  std::string IconName() const;

  // Direct access for the file formats, rendering and tests. Raises "Subscript out of
  // range" for an index outside the list.
  const IconImage& Image(std::int16_t imageIndex) const;
  IconImage& Image(std::int16_t imageIndex);
  const std::vector<IconImage>& Images() const { return images_; }

 protected:
  ImageDocument() = default;
  virtual const char* UnnamedName() const = 0;

  // Saves the bytes build() makes as the file at path and takes path as the document's own.
  // A read-only file is replaced only when the user agrees. Failures are reported under label;
  // false when nothing was written.
  bool WriteDocumentFile(const char* label, const std::string& path,
                         const std::function<Bytes()>& build);

  // Before an image leaves the list: its history goes with it.
  void ForgetHistoryOf(std::int16_t imageIndex);

  std::vector<IconImage> images_;

 private:
  std::string path_;
  bool changed_ = false;
  bool newIcon_ = true;
  std::uint64_t edits_ = 0;
  EditHistory history_;
};

}  // namespace brixel
