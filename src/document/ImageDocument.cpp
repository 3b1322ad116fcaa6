#include "ImageDocument.h"

#include <optional>
#include <utility>

#include "Numeric.h"
#include "Palette.h"
#include "Rendering.h"
#include "Transforms.h"
#include "TrapErrors.h"
#include "cFileInfo.h"

namespace brixel {

const IconImage& ImageDocument::Image(std::int16_t imageIndex) const {
  if (imageIndex < 0 || static_cast<std::size_t>(imageIndex) >= images_.size()) {
    Raise(ErrorCode::SubscriptOutOfRange);
  }
  return images_[static_cast<std::size_t>(imageIndex)];
}

IconImage& ImageDocument::Image(std::int16_t imageIndex) {
  return const_cast<IconImage&>(std::as_const(*this).Image(imageIndex));
}

bool ImageDocument::WriteDocumentFile(const char* label, const std::string& path,
                                      const std::function<Bytes()>& build) {
  bool result = false;
  Trap(label, [&] {
    const Bytes file = build();
    if (!AgreeToReplace(path)) return;
    WriteFileReplacing(path, file);
    IconPath(path);
    result = true;
  });
  return result;
}

void ImageDocument::ResetUndo(std::int16_t imageIndex) {
  Image(imageIndex);
  history_.Begin(images_, imageIndex);
}

void ImageDocument::CloseUndoStep() { history_.Close(images_); }

std::int16_t ImageDocument::GetUndo() { return history_.Undo(images_); }

std::int16_t ImageDocument::GetRedo() { return history_.Redo(images_); }

void ImageDocument::ForgetHistoryOf(std::int16_t imageIndex) {
  history_.Close(images_);
  history_.DropImage(imageIndex);
}

void ImageDocument::AddImage(std::int16_t width, std::int16_t height, std::int16_t bitDepth,
                             std::int16_t position) {
  IconImage image = MakeNewImage(width, height, bitDepth);
  if (position != -1) {
    if (position < 0) Raise(ErrorCode::SubscriptOutOfRange);
    // The list starts afresh with position empty places; the callers pass 0.
    images_.assign(static_cast<std::size_t>(position), IconImage{});
    history_.Clear();
  }
  images_.push_back(std::move(image));
}

void ImageDocument::AppendImage(IconImage image) {
  if (images_.size() >= static_cast<std::size_t>(INT16_MAX)) Raise(ErrorCode::Overflow);
  images_.push_back(std::move(image));
}

void ImageDocument::DeleteImage(std::int16_t imageIndex) {
  Image(imageIndex);
  ForgetHistoryOf(imageIndex);
  images_.erase(images_.begin() + imageIndex);
}

void ImageDocument::PicShift(std::int16_t imageIndex, std::int16_t direction) {
  ShiftImage(Image(imageIndex), direction);
}

void ImageDocument::RotatePicture(std::int16_t imageIndex, std::int16_t direction) {
  RotateImage(Image(imageIndex), direction);
}

std::int16_t ImageDocument::yHotSpot(std::int16_t imageIndex) const {
  return Image(imageIndex).yHotSpot;
}

void ImageDocument::yHotSpot(std::int16_t imageIndex, std::int16_t value) {
  IconImage& image = Image(imageIndex);
  const int height = image.Height();
  image.yHotSpot = static_cast<std::int16_t>(value < 1 ? 0 : value >= height ? height : value);
}

std::int16_t ImageDocument::xHotSpot(std::int16_t imageIndex) const {
  return Image(imageIndex).xHotSpot;
}

void ImageDocument::xHotSpot(std::int16_t imageIndex, std::int16_t value) {
  IconImage& image = Image(imageIndex);
  const int width = image.Width;
  image.xHotSpot = static_cast<std::int16_t>(value < 1 ? 0 : value >= width ? width : value);
}

void ImageDocument::XYMask(std::int16_t imageIndex, float x, float y, std::int32_t value) {
  Trap("PrjBackEnd.cIco.LetXYMask", [&] {
    if (imageIndex < 0 || static_cast<std::size_t>(imageIndex) >= images_.size()) return;
    IconImage& image = images_[static_cast<std::size_t>(imageIndex)];
    const long long px = RoundCoordinate(x);
    const long long py = RoundCoordinate(y);
    if (image.Mask.Contains(px, py)) SetMask(image, static_cast<int>(px), static_cast<int>(py), value);
  });
}

std::int32_t ImageDocument::XYMask(std::int16_t imageIndex, float x, float y) const {
  const Grid& mask = Image(imageIndex).Mask;
  const long long px = RoundCoordinate(x);
  const long long py = RoundCoordinate(y);
  if (!mask.Contains(px, py)) Raise(ErrorCode::SubscriptOutOfRange);
  return mask.At(static_cast<int>(px), static_cast<int>(py));
}

void ImageDocument::XYColor(std::int16_t imageIndex, float x, float y, Colour colour) {
  Trap("PrjBackEnd.cIco.LetXYColor", [&] {
    if (imageIndex < 0 || static_cast<std::size_t>(imageIndex) >= images_.size()) return;
    Grid& pixels = images_[static_cast<std::size_t>(imageIndex)].Pixels;
    const long long px = RoundCoordinate(x);
    const long long py = RoundCoordinate(y);
    if (pixels.Contains(px, py)) pixels.At(static_cast<int>(px), static_cast<int>(py)) = colour;
  });
}

Colour ImageDocument::XYColor(std::int16_t imageIndex, float x, float y) const {
  Colour result = kNoColour;
  Trap("PrjBackEnd.cIco.GetXYColor", [&] {
    if (imageIndex < 0 || static_cast<std::size_t>(imageIndex) >= images_.size()) return;
    const Grid& pixels = images_[static_cast<std::size_t>(imageIndex)].Pixels;
    const long long px = RoundCoordinate(x);
    const long long py = RoundCoordinate(y);
    if (pixels.Contains(px, py)) result = pixels.At(static_cast<int>(px), static_cast<int>(py));
  });
  return result;
}

void ImageDocument::PaletteColor(std::int16_t imageIndex, std::int32_t entry, Colour colour) {
  IconImage& image = Image(imageIndex);
  if (entry < 0 || static_cast<std::size_t>(entry) >= image.Palette.size()) {
    Raise(ErrorCode::SubscriptOutOfRange);
  }
  Colour& slot = image.Palette[static_cast<std::size_t>(entry)];
  if (image.BitDepth != 24) {
    const Colour old = slot;
    for (int y = 0; y < image.Height(); ++y) {
      for (int x = 0; x < image.Width; ++x) {
        // Transparent pixels keep their colour: a new image's background is black as well.
        if (image.Pixels.At(x, y) == old && image.Mask.At(x, y) != MaskTransparent) {
          image.Pixels.At(x, y) = colour;
        }
      }
    }
  }
  slot = colour;
}

Colour ImageDocument::PaletteColor(std::int16_t imageIndex, std::int32_t entry) const {
  const IconImage& image = Image(imageIndex);
  if (entry < 0 || static_cast<std::size_t>(entry) >= image.Palette.size()) {
    Raise(ErrorCode::SubscriptOutOfRange);
  }
  return image.Palette[static_cast<std::size_t>(entry)];
}

std::int32_t ImageDocument::GetPaletteClick(std::int16_t imageIndex, Colour colour) const {
  std::int32_t entry = -1;
  Trap("PrjBrixel.mPalette.HitTestPalette", [&] { entry = HitTestPalette(Image(imageIndex), colour); });
  return entry;
}

std::int16_t ImageDocument::BitDepth(std::int16_t imageIndex) const {
  return Image(imageIndex).BitDepth;
}

std::int16_t ImageDocument::Height(std::int16_t imageIndex) const {
  return Image(imageIndex).DibHeight;
}

std::int16_t ImageDocument::Width(std::int16_t imageIndex) const { return Image(imageIndex).Width; }

void ImageDocument::DrawIcon(std::int16_t imageIndex, PictureSurface& picture,
                             PictureSurface* maskPicture) const {
  Trap(kDrawIconExLabel, [&] { DrawIconEx(picture, Image(imageIndex), maskPicture); });
}

void ImageDocument::SaveIconFromPic(std::int16_t imageIndex, PictureSurface& picture,
                                    PictureSurface* maskPicture) {
  Trap(kSaveIconFromPictureExLabel,
       [&] { SaveIconFromPictureEx(picture, Image(imageIndex), maskPicture); });
}

void ImageDocument::DrawMainIcon(std::int16_t imageIndex, PictureSurface& picture) const {
  Trap(kDrawZoomedIconLabel, [&] { DrawZoomedIcon(picture, Image(imageIndex)); });
}

void ImageDocument::ShowPalette(std::int16_t imageIndex, PictureSurface& picture) const {
  Trap(kDrawPaletteLabel, [&] {
    const IconImage& image = Image(imageIndex);
    DrawPalette(picture, image.BitDepth, image.Palette);
  });
}

std::string ImageDocument::IconName() const {
  const std::size_t slash = path_.find_last_of('/');
  std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  return name.empty() ? UnnamedName() : name;
}

}  // namespace brixel
