#pragma once

#include <string>

namespace brixel {

class FrmMain;
class cIco;

// The Icon menu's commands on the current document's images: add, delete, copy to a new size
// or depth, import a picture and export the current image. Questions and messages go through
// the installed prompter, file dialogs through cCommonDialog.
class ImageCommands {
 public:
  explicit ImageCommands(FrmMain& window) : window_(window) {}

  // FrmAdd; the document is marked changed whenever the dialog closes. On an animated cursor
  // a frame of the cursor's size, depth and hot spot is added at once.
  void AddImage();
  // FrmAnimation on the current animated cursor; a change marks the document changed.
  void EditAnimation();
  // Deletes the current image after asking, never the last one.
  void DeleteImage();
  // FrmCopy on the current image; the document is marked changed whenever the dialog closes.
  void CopyImage();
  // FrmImport, with the picture at path loaded first when one is given. A document that
  // received an image is marked changed and shows it; true when an image came in.
  bool ImportImage(const std::string& path = {});
  // Writes the current image to a file of its own: a bitmap or a PNG of a square of its
  // larger side, or a one-image cursor or icon, by the chosen name's extension; or the whole
  // cursor as an Xcursor file (.xcursor) for Linux desktops.
  void ExportImage();

 private:
  // Shows the document's last image when the document is still the one shown.
  void ShowAppended(const cIco* document);

  FrmMain& window_;
};

}  // namespace brixel
