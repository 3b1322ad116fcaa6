#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace brixel {

// The about box: the program's name and version, what it is for, and a contact address that
// opens the mail program when clicked. CmdOK closes it.
class FrmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit FrmAbout(QWidget* owner = nullptr);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* version_;
  QLabel* contact_;
  QPushButton* ok_;
};

}  // namespace brixel
