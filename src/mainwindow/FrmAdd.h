#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace brixel {

class ImageDocument;
class SizeDepthChecks;

// "Add a new image to the icon": a size (seven squares or "Custom" with a width and a height)
// and a colour depth; OK appends an empty image of them to the document. "Several at once"
// appends an image of every ticked size and depth instead. A 32-bit image keeps alpha while
// "Keep alpha channel" is on. In a document still
// holding only the untouched image made by New, the new image replaces that one, after which
// showCount refreshes the window.
class FrmAdd : public QDialog {
  Q_OBJECT

 public:
  // Custom sides run from 1 to this; larger ones are refused like those below 1.
  static constexpr int kLargestCustomSide = 1024;

  FrmAdd(ImageDocument& document, std::function<void()> showCount, QWidget* owner = nullptr);

  // Whether OK appended an image.
  bool Appended() const { return appended_; }

  // The leading number of a text as the custom boxes read it: optional blanks, a sign, digits
  // with a decimal part and an exponent; 0 when the text does not start with a number.
  static double LeadingNumber(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SizeChanged();
  void Confirm();
  // The custom side of a text box, or 0 after telling the user it is invalid.
  int CustomSide(const QLineEdit& box, const char* title, const char* text) const;

  ImageDocument& document_;
  std::function<void()> showCount_;
  QComboBox* cboSize_;
  QComboBox* cboColor_;
  QLineEdit* txtWidth_;
  QLabel* lblX_;
  QLineEdit* txtHeight_;
  QLabel* note_;
  QGroupBox* several_;
  SizeDepthChecks* checks_;
  bool appended_ = false;
};

}  // namespace brixel
