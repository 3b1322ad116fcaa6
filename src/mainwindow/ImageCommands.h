#pragma once

#include <cstdint>
#include <string>

namespace brixel {

class FrmMain;
class cIco;
struct RgbaPicture;

// The Icon menu's commands on the current document's images: add, delete, copy to a new size
// or depth, import a picture and export the current image. Questions and messages go through
// the installed prompter, file dialogs through cCommonDialog.
class ImageCommands {
 public:
  explicit ImageCommands(FrmMain& window) : window_(window) {}

  // FrmAdd; the document is marked changed whenever the dialog closes. On an animated cursor
  // a frame like its first whole one (an empty image of each of its sizes, depths and hot
  // spots) is added at once, as a frame of its own at the default rate.
  void AddImage();
  // FrmAnimation on the current animated cursor; a change marks the document changed.
  void EditAnimation();
  // Deletes the current image after asking, never the last one that can be shown. On an
  // animated cursor the current image's frame goes, every image it holds, with its steps.
  void DeleteImage();
  // A kept entry (which cannot be made current) was clicked in the strip: a question says why
  // it cannot be edited and offers to delete it; Yes deletes it.
  void KeptImagePressed(std::int16_t index);
  // FrmCopy on the current image; the document is marked changed whenever the dialog closes.
  // On an animated cursor the copy is a frame of its own (CompleteFrame).
  void CopyImage();
  // FrmImport, with the picture at path loaded first when one is given. A document that
  // received an image is marked changed and shows it; on an animated cursor it is a frame of
  // its own (CompleteFrame). True when an image came in.
  bool ImportImage(const std::string& path = {});
  // Writes the current image to a file of its own: a bitmap or a PNG of a square of its
  // larger side, or a one-image cursor or icon, by the chosen name's extension; or the whole
  // cursor as an Xcursor file (.xcursor) for Linux desktops, kept entries left out with a
  // message. A name with any other ending is refused with a message.
  void ExportImage();

 private:
  // After Copy or Import appended the image firstNew to a linked animated cursor: the image
  // takes the hot spot of the first whole frame's image of its size (scaled from its first
  // image otherwise), and when that frame holds several images, an image of each of its other
  // sizes is made from source at the image's depth; together they become a frame of their own.
  void CompleteFrame(cIco& document, std::int16_t firstNew, const RgbaPicture& source);

  // Shows the document's last image when the document is still the one shown.
  void ShowAppended(const cIco* document);
  // Shows the document's image index when the document is still the one shown.
  void ShowImage(const cIco* document, std::int16_t index);

  FrmMain& window_;
};

}  // namespace brixel
