#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "PictureImport.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QScrollBar;
class QWidget;

namespace brixel {

class ImageDocument;
class PictureBox;
class kzrToolBar;

// "Please select the image to import": a picture file (BMP, JPEG, GIF, PNG, metafile, icon or
// cursor) shown at 1:1 in a viewport with scroll bars, a target size, depth and clipping mode,
// and a preview of the new image at its real size. Import appends the previewed image to the
// document, replacing the untouched image of a document just made by New (showCount then
// refreshes the window), and closes the dialog. Beside the toolbar, buttons with words do the
// same. The choices of the last dialog are those of the next while the program runs.
class FrmImport : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kFrameWidth = 360;
  static constexpr int kFrameHeight = 270;

  FrmImport(ImageDocument& document, std::function<void()> showCount, QWidget* owner = nullptr);

  // Loads the picture file, shows it from its top-left corner and previews it. A picture that
  // cannot be loaded is reported and leaves the dialog as it was.
  void LoadImport(const QString& fileName);
  bool HasPicture() const { return !picture_.Empty(); }
  // Whether Import appended an image.
  bool Appended() const { return appended_; }

  // The open dialog's filters: the supported kinds together, then each kind.
  static const char* const kFilter;

  // What a toolbar button does, in words (its tool tip).
  static QString ToolTipOf(const QString& key);
  // The next dialog opens with the Part's defaults again instead of the last choices.
  static void ForgetChoices();

 protected:
  // Keeps the choices for the next dialog.
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ToolBarClick(const QString& key);
  void OpenCommand();
  void ImportCommand();
  void ResetViewport();
  void Scrolled(QScrollBar* bar, int& previous, int value);
  void SizeChanged();
  void RenderPreview();
  ImportOptions Options() const;

  ImageDocument& document_;
  std::function<void()> showCount_;
  kzrToolBar* tbImport_;
  QWidget* pctFrame_;
  PictureBox* pctImport_;
  QScrollBar* hScroll_;
  QScrollBar* vScroll_;
  PictureBox* pctIcon_;
  PictureBox* pctMask_;
  QComboBox* cboSize_;
  QComboBox* cboColor_;
  QComboBox* cboClip_;
  QCheckBox* chkProportions_;
  QCheckBox* chkDither_;
  QCheckBox* chkOwnPalette_;
  QWidget* iconRoom_;
  QWidget* maskRoom_;
  QLabel* lblInfo_;
  int lastH_ = 0;
  int lastV_ = 0;
  LoadedPicture picture_;
  ImportPreview preview_;
  ImportOptions previewed_;
  bool appended_ = false;
};

}  // namespace brixel
