#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "Prompter.h"

namespace brixel {

// Message boxes: the title, text, icon and buttons asked for. Questions offer Yes and No
// only; closing the box answers No.
class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  Answer Ask(const std::string& title, const std::string& text, Icon icon,
             Buttons buttons) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace brixel
