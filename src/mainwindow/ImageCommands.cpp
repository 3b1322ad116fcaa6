#include "ImageCommands.h"

#include <algorithm>
#include <filesystem>

#include "AnimatedCursors.h"
#include "CurrentDocument.h"
#include "Documents.h"
#include "EditGrid.h"
#include "FrmAdd.h"
#include "FrmAnimation.h"
#include "FrmCopy.h"
#include "FrmImport.h"
#include "FrmMain.h"
#include "IcoFile.h"
#include "PathText.h"
#include "PictureBox.h"
#include "PngCodec.h"
#include "Prompter.h"
#include "RgbaPicture.h"
#include "TrapErrors.h"
#include "XcursorFile.h"
#include "cCommonDialog.h"

namespace brixel {
namespace {

constexpr const char* kExportLabel = "PrjBrixel.FrmMain.MnuIconExport_Click";
constexpr const char* kExportFilter =
    "Bitmap File (bmp)|*.bmp|Cursor (cur)|*.cur|Single Icon (ico)|*.ico|PNG Image (png)|*.png|"
    "Linux Cursor, every image (xcursor)|*.xcursor";

bool SameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  const fs::path left = fs::weakly_canonical(a, error);
  const fs::path right = error ? fs::path() : fs::weakly_canonical(b, error);
  return !error && left == right;
}

// Whether an open document was read from or saved to path: exporting onto it would replace
// its file with one image while the document still counts as saved.
template <class List>
bool HoldsPath(const List& list, const std::string& path) {
  return std::any_of(list.Items.begin(), list.Items.end(), [&path](const auto& document) {
    return !document->IconPath().empty() && SameFile(document->IconPath(), path);
  });
}

// The image on a square of its larger side; the rest of the square as a new image has it.
IconImage SquareCopy(const IconImage& image) {
  const int side = std::max(image.Width, static_cast<std::int16_t>(image.Height()));
  if (image.Width == side && image.Height() == side) return image;
  IconImage square = MakeNewImage(side, side, image.BitDepth);
  square.Palette = image.Palette;
  square.xHotSpot = image.xHotSpot;
  square.yHotSpot = image.yHotSpot;
  square.StoredAsPng = image.StoredAsPng;
  // The padding of a square copy is transparent; its alpha follows that mask.
  if (image.CarriesAlpha()) AddAlphaFromMask(square);
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width; ++x) {
      square.Pixels.At(x, y) = image.Pixels.At(x, y);
      square.Mask.At(x, y) = image.Mask.At(x, y);
      if (image.CarriesAlpha()) square.Alpha.At(x, y) = image.Alpha.At(x, y);
    }
  }
  return square;
}

// A one-image cursor or icon through a document of its own, which is gone again afterwards
// whatever happens.
bool ExportThroughDocument(const IconImage& image, const std::string& path) {
  NewDocument();
  const cIco* temporary = IconDocuments.Items.back().get();
  struct Remove {
    const cIco* document;
    ~Remove() {
      auto& items = IconDocuments.Items;
      const auto found = std::find_if(items.begin(), items.end(),
                                      [this](const auto& item) { return item.get() == document; });
      if (found == items.end()) return;
      const auto index = static_cast<std::int16_t>(found - items.begin());
      items.erase(found);
      // A document handed over while a question was open may have come after it.
      if (IconDocuments.Current > index) --IconDocuments.Current;
    }
  } remove{temporary};
  cIco& document = *IconDocuments.Items.back();
  document.IconPath(path);
  // The whole image, hot spot and palette entries as they are, without recolouring.
  document.AppendImage(SquareCopy(image));
  return document.SaveIcon(path);
}

// The image as it shows, on a transparent square of its larger side, as a PNG.
Bytes PngOfImage(const IconImage& image) {
  const int side = std::max<int>(image.Width, image.Height());
  const RgbaPicture square = PlacedOnSquare(RgbaFromImage(image), side, 0, 0);
  return EncodePng(square.Width, square.Height, square.Rgba);
}

}  // namespace

void ImageCommands::ShowAppended(const cIco* document) {
  cIco* current = CurrentIconDocument();
  if (current && current == document) {
    window_.BuildImageList(static_cast<std::int16_t>(current->IconCount() - 1));
  }
}

void ImageCommands::AddImage() {
  cIco* document = CurrentIconDocument();
  if (!document) return;
  if (AnimationOf(document) && document->IconCount() > 0) {
    const IconImage& first = document->Image(0);
    const std::int16_t xHot = first.xHotSpot, yHot = first.yHotSpot;
    document->AddImage(first.Width, first.Height(), first.BitDepth, -1);
    const auto added = static_cast<std::int16_t>(document->IconCount() - 1);
    document->xHotSpot(added, xHot);
    document->yHotSpot(added, yHot);
    document->Changed(true);
    ShowAppended(document);
    return;
  }
  FrmAdd dialog(*document, [this] { window_.ShowCount(); }, &window_);
  dialog.exec();
  if (dialog.Appended()) ShowAppended(document);
  document->Changed(true);
}

void ImageCommands::EditAnimation() {
  cIco* document = CurrentIconDocument();
  if (!document) return;
  cAni* cursor = AnimationOf(document);
  if (!cursor) {
    ShowMessage("Animation", "Only an animated cursor has an animation: save the icon as an animated cursor (ani) first");
    return;
  }
  // The frames as they are edited now.
  cursor->ReplaceFrames(document->Images());
  FrmAnimation dialog(*cursor, &window_);
  dialog.exec();
  if (dialog.Applied()) {
    document->Changed(true);
    window_.BuildImageList(window_.CurrentImage());
  }
}

void ImageCommands::DeleteImage() {
  cIco* document = CurrentIconDocument();
  if (!document) return;
  if (document->IconCount() == 1) {
    ShowMessage("Unable to delete", "This is the last image in the icon, you cannot delete it.",
                Prompter::Icon::Exclamation);
    return;
  }
  if (AskYesNo("Delete image", "Are you sure you want to delete the current image from the icon?")) {
    const std::int16_t current = window_.CurrentImage();
    if (HasImage(document, current)) document->DeleteImage(current);
  }
  window_.BuildImageList(0);
  document->Changed(true);
}

void ImageCommands::CopyImage() {
  cIco* document = CurrentIconDocument();
  const std::int16_t current = window_.CurrentImage();
  if (!HasImage(document, current)) return;
  FrmCopy dialog(*document, current, &window_);
  dialog.exec();
  if (dialog.Appended()) ShowAppended(document);
  document->Changed(true);
}

bool ImageCommands::ImportImage(const std::string& path) {
  cIco* document = CurrentIconDocument();
  if (!document) return false;
  FrmImport dialog(*document, [this] { window_.ShowCount(); }, &window_);
  if (!path.empty()) dialog.LoadImport(ShownPath(path));
  dialog.exec();
  // Import may have replaced an untouched image, leaving the count as it was: what counts is
  // that an image came in.
  if (!dialog.Appended()) return false;
  document->Changed(true);
  ShowAppended(document);
  return true;
}

void ImageCommands::ExportImage() {
  cIco* document = CurrentIconDocument();
  const std::int16_t current = window_.CurrentImage();
  if (!HasImage(document, current)) return;
  cCommonDialog dialog;
  QString fileName;
  QString fileTitle;
  QString filter = kExportFilter;
  qint32 filterIndex = 1;
  qint32 flags = 0;
  if (!dialog.VBGetSaveFileName(fileName, fileTitle, true, filter, filterIndex, QString(),
                                "Save icon as", "bmp", &window_, flags)) {
    return;
  }
  const std::string path = LocalPath(fileName);
  if (HoldsPath(IconDocuments, path) || HoldsPath(AniDocuments, path)) {
    ShowMessage("Unable to export",
                fileName.toStdString() +
                    " is open in Brixel. Please choose another name, or close that file first.",
                Prompter::Icon::Exclamation);
    return;
  }
  const IconImage& image = document->Image(current);
  const std::string type = DocumentType(path);
  bool written = false;
  if (IsXcursorPath(path)) {
    // The whole cursor for Linux desktops: every image, and an animated cursor's steps.
    const cAni* cursor = AnimationOf(document);
    written = Trap(kExportLabel, [&] {
      WriteFileReplacing(path, BuildXcursorFile(document->Images(), cursor ? &cursor->Info() : nullptr));
    });
  } else if (type == "BMP") {
    // Drawn over the background of the scratch surface, a square of the larger side.
    QtPictureSurface& surface = window_.Grid().Scratch().Surface();
    const int side = std::max(image.Width, static_cast<std::int16_t>(image.Height()));
    written = Trap(kExportLabel, [&] {
      surface.Resize(side, side);
      document->DrawIcon(current, surface);
      surface.SavePicture(path);
    });
  } else if (type == "PNG") {
    written = Trap(kExportLabel, [&] { WriteFileReplacing(path, PngOfImage(image)); });
  } else {
    written = ExportThroughDocument(image, path);
  }
  if (written) {
    ShowMessage("Export Completed", "Image exported as " + fileName.toStdString(),
                Prompter::Icon::Information);
  }
}

}  // namespace brixel
