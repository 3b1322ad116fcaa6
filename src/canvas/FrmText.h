#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace brixel {

class PictureBox;
struct TextSettings;

// The text dialog: font, size and text for the Text tool, with a preview as the text would
// look on a 64 x 64 icon. Opens with the last confirmed choice; OK (cmdOK) stores the choice
// in settings and accepts; Cancel (cmdCancel), like any other way of closing, stores nothing
// and rejects, so the button keeps the tool it had.
class FrmText : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPreviewSize = 64;

  explicit FrmText(TextSettings& settings, QWidget* owner = nullptr);

  // Draws the text in the chosen font and size on the preview.
  void PreviewText();

 private:
  void Confirm();

  TextSettings& settings_;
  QComboBox* cboFont_;
  QComboBox* cboSize_;
  QLineEdit* txtInsert_;
  PictureBox* pctPrev_;
  QPushButton* cmdOK_;
  QPushButton* cmdCancel_;
};

}  // namespace brixel
