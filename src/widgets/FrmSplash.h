#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace brixel {

// The splash screen shown while the program starts: logo, name and version. Start-up shows it
// with ShowAndPaint and removes it when the main window is up.
class FrmSplash : public QWidget {
  Q_OBJECT

 public:
  explicit FrmSplash(QWidget* parent = nullptr);

  // Shows the screen and lets pending window events run, so that it is painted before
  // start-up goes on.
  void ShowAndPaint();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap logo_;
  QLabel* version_;
  QPoint logoAt_;
  QPointF titleAt_;     // the title's baseline, in the window
  QPointF subtitleAt_;  // the subtitle's baseline
};

}  // namespace brixel
