#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QPlainTextEdit;

namespace brixel {

// The form that shows an unexpected failure: a heading naming the program, the finished
// report in TxtErr and a contact address that opens the mail program.
class FrmError : public QDialog {
  Q_OBJECT

 public:
  explicit FrmError(QWidget* owner = nullptr);

  // Places the report in TxtErr (line breaks as the platform shows them).
  void SetReport(const std::string& report);

  // Shows the report modally; returns when the user closes the form.
  void ShowReport(const std::string& report);

 private:
  QLabel* heading_;
  QPlainTextEdit* report_;
  QLabel* contact_;
};

}  // namespace brixel
