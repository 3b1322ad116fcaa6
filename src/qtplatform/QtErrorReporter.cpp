#include "QtErrorReporter.h"

#include "FrmError.h"

namespace brixel {

void QtErrorReporter::Show(const std::string& report) {
  FrmError form(owner_.data());
  form.ShowReport(report);
}

}  // namespace brixel
