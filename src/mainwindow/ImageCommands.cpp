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
#include "PictureImport.h"
#include "PngCodec.h"
#include "Prompter.h"
#include "RgbaPicture.h"
#include "TrapErrors.h"
#include "XcursorFile.h"
#include "cCommonDialog.h"
#include "cFileInfo.h"

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

// The message for a command that does not work on kept entries.
void ShowKeptSkipped(const char* command, const KeptEntry& kept) {
  ShowMessage(command, "This image is kept as the file holds it (" + kept.reason +
                           "): it cannot be shown, so it is left out.");
}

// The image as it shows, on a transparent square of its larger side, as a PNG.
Bytes PngOfImage(const IconImage& image) {
  const int side = std::max<int>(image.Width, image.Height());
  const RgbaPicture square = PlacedOnSquare(RgbaForWriting(image), side, 0, 0);
  return EncodePng(square.Width, square.Height, square.Rgba);
}

}  // namespace

void ImageCommands::ShowAppended(const cIco* document) {
  if (document) ShowImage(document, static_cast<std::int16_t>(document->IconCount() - 1));
}

void ImageCommands::ShowImage(const cIco* document, std::int16_t index) {
  cIco* current = CurrentIconDocument();
  if (current && current == document) window_.BuildImageList(index);
}

void ImageCommands::AddImage() {
  cIco* document = CurrentIconDocument();
  if (!document) return;
  if (AnimationOf(document) && document->IconCount() > 0) {
    // A new frame like the first whole one: an empty image of each of its sizes, depths and
    // hot spots.
    auto [first, last] = ModelFrame(*document);
    if (first == last) {
      // No whole frame: the first image that can be shown is the model.
      while (first < document->IconCount() && document->Image(first).IsKept()) ++first;
      last = static_cast<std::int16_t>(first + 1);
    }
    const std::int16_t before = document->IconCount();
    for (std::int16_t i = first; i < last; ++i) {
      const IconImage& model = document->Image(i);
      const std::int16_t xHot = model.xHotSpot, yHot = model.yHotSpot;
      document->AddImage(model.Width, static_cast<std::int16_t>(model.Height()), model.BitDepth, -1);
      const auto added = static_cast<std::int16_t>(document->IconCount() - 1);
      document->xHotSpot(added, xHot);
      document->yHotSpot(added, yHot);
    }
    FrameAppended(*document, static_cast<std::size_t>(document->IconCount() - before));
    document->Changed(true);
    ShowImage(document, before);
    return;
  }
  FrmAdd dialog(*document, [this] { window_.ShowCount(); }, &window_);
  dialog.exec();
  if (dialog.Appended()) ShowAppended(document);
  document->Changed(true);
}

void ImageCommands::CompleteFrame(cIco& document, std::int16_t firstNew, const RgbaPicture& source) {
  if (!AnimationOf(&document) || document.IconCount() <= firstNew) return;
  const auto [first, last] = ModelFrame(document);
  std::vector<IconImage> models;
  for (std::int16_t i = first; i < last; ++i) models.push_back(document.Image(i));
  const IconImage made = document.Image(firstNew);
  const int side = std::max<int>(made.Width, made.Height());
  const auto giveHotSpot = [&](std::int16_t index, const IconImage& model) {
    const int modelSide = std::max<int>(model.Width, model.Height());
    const int imageSide = std::max<int>(document.Image(index).Width, document.Image(index).Height());
    document.xHotSpot(index, ScaledHotSpot(model.xHotSpot, modelSide, imageSide));
    document.yHotSpot(index, ScaledHotSpot(model.yHotSpot, modelSide, imageSide));
  };
  // The image made takes the place of the model of its size, or else of the first model.
  const auto same = std::find_if(models.begin(), models.end(), [&](const IconImage& model) {
    return model.Width == made.Width && model.Height() == made.Height();
  });
  if (!models.empty()) giveHotSpot(firstNew, same != models.end() ? *same : models.front());
  if (models.size() > 1) {
    // A frame holds an image of each size the cursor's frames hold: the others are made from
    // the source as import makes an image, at the depth chosen.
    const LoadedPicture picture = PictureFromRgba(source);
    Trap("PrjBrixel.FrmMain.CompleteFrame", [&] {
      for (auto model = models.begin(); model != models.end(); ++model) {
        if (model == same) continue;
        const int size = std::max<int>(model->Width, model->Height());
        if (size == side && same == models.end()) continue;
        const ImportOptions options{size, made.BitDepth > 24 ? 24 : made.BitDepth, false};
        const std::int16_t added = AppendImportedImage(document, MakeImportPreview(picture, options), options.BitDepth);
        giveHotSpot(added, *model);
      }
    });
  }
  FrameAppended(document, static_cast<std::size_t>(document.IconCount() - firstNew));
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
  const std::int16_t current = window_.CurrentImage();
  // On an animated cursor the frame of the current image goes, with every image it holds.
  const auto [first, last] = HasImage(document, current) ? FrameOfImage(*document, current)
                                                         : std::pair<std::int16_t, std::int16_t>{current, current};
  const bool cursor = AnimationOf(document) != nullptr;
  std::vector<IconImage> left;
  for (std::int16_t i = 0; i < document->IconCount(); ++i) {
    if (i < first || i >= last) left.push_back(document->Image(i));
  }
  if (!HasShownImage(left)) {
    ShowMessage("Unable to delete",
                cursor ? "This is the last frame in the animated cursor, you cannot delete it."
                       : "This is the last image in the icon, you cannot delete it.",
                Prompter::Icon::Exclamation);
    return;
  }
  const std::string question =
      !cursor ? "Are you sure you want to delete the current image from the icon?"
      : last - first > 1
          ? "Are you sure you want to delete the current frame (its " + std::to_string(last - first) +
                " images) from the animated cursor?"
          : "Are you sure you want to delete the current frame from the animated cursor?";
  if (AskYesNo("Delete image", question) && HasImage(document, current)) {
    for (std::int16_t i = static_cast<std::int16_t>(last - 1); i >= first; --i) {
      ImageDeleting(*document, i);
      document->DeleteImage(i);
    }
  }
  window_.BuildImageList(0);
  document->Changed(true);
}

void ImageCommands::KeptImagePressed(std::int16_t index) {
  cIco* document = CurrentIconDocument();
  if (!document || index < 0 || index >= document->IconCount() || !document->Image(index).IsKept()) return;
  const KeptEntry& kept = *document->Image(index).Kept.entry;
  const std::string question =
      "Image " + std::to_string(index + 1) + " (" + std::to_string(kept.width) + "x" +
      std::to_string(kept.height) + ") cannot be shown or edited: " + kept.reason +
      ". Brixel keeps it as the file holds it and writes it back unchanged when the file is "
      "saved.\n\nDo you want to delete it?";
  if (!AskYesNo("Image kept as it is", question)) return;
  // The image may have gone while the question was open.
  if (CurrentIconDocument() != document || index >= document->IconCount() || !document->Image(index).IsKept()) return;
  ImageDeleting(*document, index);
  document->DeleteImage(index);
  const std::int16_t current = window_.CurrentImage();
  window_.BuildImageList(current > index ? static_cast<std::int16_t>(current - 1) : current);
  document->Changed(true);
}

void ImageCommands::CopyImage() {
  cIco* document = CurrentIconDocument();
  const std::int16_t current = window_.CurrentImage();
  if (document && current >= 0 && current < document->IconCount() && document->Image(current).IsKept()) {
    ShowKeptSkipped("Copy", *document->Image(current).Kept.entry);
    return;
  }
  if (!HasImage(document, current)) return;
  const std::int16_t before = document->IconCount();
  FrmCopy dialog(*document, current, &window_);
  dialog.exec();
  if (dialog.Appended() && DocumentType(document->IconPath()) == "CUR") {
    // A cursor's hot spot goes with the image, scaled and kept inside it.
    const IconImage& source = document->Image(current);
    const int side = std::max<int>(source.Width, source.Height());
    for (std::int16_t i = before; i < document->IconCount(); ++i) {
      const int made = std::max<int>(document->Image(i).Width, document->Image(i).Height());
      document->xHotSpot(i, ScaledHotSpot(source.xHotSpot, side, made));
      document->yHotSpot(i, ScaledHotSpot(source.yHotSpot, side, made));
    }
  }
  if (dialog.Appended()) {
    CompleteFrame(*document, before, RgbaFromImage(document->Image(current)));
    ShowImage(document, before);
  }
  document->Changed(true);
}

bool ImageCommands::ImportImage(const std::string& path) {
  cIco* document = CurrentIconDocument();
  if (!document) return false;
  const std::int16_t before = document->IconCount();
  FrmImport dialog(*document, [this] { window_.ShowCount(); }, &window_);
  if (!path.empty()) dialog.LoadImport(ShownPath(path));
  dialog.exec();
  // Import may have replaced an untouched image, leaving the count as it was: what counts is
  // that an image came in.
  if (!dialog.Appended()) return false;
  document->Changed(true);
  if (document->IconCount() > before) {
    const std::int16_t made = before;
    CompleteFrame(*document, made, RgbaFromImage(document->Image(made)));
    ShowImage(document, made);
    return true;
  }
  ShowAppended(document);
  return true;
}

void ImageCommands::ExportImage() {
  cIco* document = CurrentIconDocument();
  const std::int16_t current = window_.CurrentImage();
  if (document && current >= 0 && current < document->IconCount() && document->Image(current).IsKept()) {
    ShowKeptSkipped("Export", *document->Image(current).Kept.entry);
    return;
  }
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
  const std::string type = DocumentType(path);
  if (!IsXcursorPath(path) && type != "BMP" && type != "PNG" && type != "ICO" && type != "CUR") {
    // Only the kinds the dialog offers: any other name would get a file of another kind.
    ShowMessage("Unable to export",
                fileName.toStdString() +
                    " has an ending Export does not write. Please end the name in .bmp, .ico, .cur, "
                    ".png or .xcursor.",
                Prompter::Icon::Exclamation);
    return;
  }
  if (HoldsPath(IconDocuments, path) || HoldsPath(AniDocuments, path)) {
    ShowMessage("Unable to export",
                fileName.toStdString() +
                    " is open in Brixel. Please choose another name, or close that file first.",
                Prompter::Icon::Exclamation);
    return;
  }
  const IconImage& image = document->Image(current);
  bool written = false;
  // Every kind asks before a read-only file goes; icons and cursors ask as they are written.
  const bool writtenByDocument = !IsXcursorPath(path) && (type == "ICO" || type == "CUR");
  bool agreed = true;
  if (!writtenByDocument && !Trap(kExportLabel, [&] { agreed = AgreeToReplace(path); })) return;
  if (!agreed) return;
  if (IsXcursorPath(path)) {
    // The whole cursor for Linux desktops: every image, and an animated cursor's steps.
    const cAni* cursor = AnimationOf(document);
    const auto kept = std::count_if(document->Images().begin(), document->Images().end(),
                                    [](const IconImage& i) { return i.IsKept(); });
    if (kept > 0) {
      ShowMessage("Export", std::to_string(kept) + (kept == 1 ? " image is" : " images are") +
                                " kept as the file holds them and cannot be shown: the Xcursor file leaves "
                                "them out.");
    }
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
