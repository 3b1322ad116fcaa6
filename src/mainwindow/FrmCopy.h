#pragma once

#include <QDialog>
#include <cstdint>

class QComboBox;
class QScrollArea;
class QWidget;

namespace brixel {

class ImageDocument;
class PictureBox;

// "Copy Icon to a new size or color depth": the image and its mask, and a live preview of
// the copy at one of four square sizes and four depths. OK appends the previewed copy to the
// document; the source image never changes.
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

  int TargetSize() const;
  int TargetDepth() const;

  ImageDocument& document_;
  PictureBox* pctIcon_;
  PictureBox* pctMask_;
  PictureBox* pctNewIcon_;
  PictureBox* pctNewMask_;
  QWidget* source_;
  QWidget* preview_;
  QComboBox* cboSize_;
  QComboBox* cboColor_;
  bool appended_ = false;
};

}  // namespace brixel
