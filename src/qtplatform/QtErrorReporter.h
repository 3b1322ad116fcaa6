#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "ErrorReport.h"

namespace brixel {

// Shows every failure report in the error form, modal over the owner window.
class QtErrorReporter final : public ErrorReporter {
 public:
  explicit QtErrorReporter(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  void Show(const std::string& report) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace brixel
