#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

#include "IconImage.h"
#include "PictureImport.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QScrollArea;
class QWidget;

namespace brixel {

class ImageDocument;
class PictureBox;

// "Copy Icon to a new size or color depth": the image and its mask, and a live preview of
// the copy at one of seven square sizes and five depths, resampled bilinearly or smoothly,
// reduced to the nearest colours or dithered. OK appends the previewed copy to the document,
// or with "Several sizes" a copy at each ticked size; the source image never changes. An
// image that keeps alpha, a 32-bit copy and a smooth one are made from the image itself
// (MakeCopyPreview), colours weighed by alpha; every other copy as drawn on the pictures.
class FrmCopy : public QDialog {
  Q_OBJECT

 public:
  FrmCopy(ImageDocument& document, std::int16_t imageIndex, QWidget* owner = nullptr);

  // Whether OK appended the copy.
  bool Appended() const { return appended_; }

 private:
  void SizeChanged();
  // Draws the preview and its mask for the chosen size and depth.
  void RenderPreview();
  void ReducePreviewColours();
  void AddTargetImage();
  // The distinct colours of the preview, column by column; with set, they become the palette
  // of the document's last image, as many as it holds. Returns how many there are.
  std::int16_t TakePreviewPalette(bool set);
  void StoreNewImage();
  void Confirm();
  // Appends the image the preview shows.
  void StorePreview();
  ImportOptions Options() const;
  // Whether the preview is made on the pictures of the image and its mask.
  bool DrawsOnPictureBoxes() const;

  int TargetSize() const;
  int TargetDepth() const;

  ImageDocument& document_;
  const IconImage image_;
  ImportPreview made_;  // the preview when not made on the pictures
  PictureBox* pctIcon_;
  PictureBox* pctMask_;
  PictureBox* pctNewIcon_;
  PictureBox* pctNewMask_;
  QWidget* source_;
  QWidget* preview_;
  QComboBox* cboSize_;
  QComboBox* cboColor_;
  QComboBox* cboResample_;
  QCheckBox* chkDither_;
  QCheckBox* chkOwnPalette_;
  QGroupBox* several_;
  std::vector<QCheckBox*> sizeChecks_;
  bool appended_ = false;
};

}  // namespace brixel
