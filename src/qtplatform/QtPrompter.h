#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

#include "Prompter.h"

namespace brixel {

// Message boxes: the title, text, icon and buttons asked for, and a failure's report behind
// the box's Details button. Closing a Yes/No box answers No, a Yes/No/Cancel box Cancel.
class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  Answer Ask(const std::string& title, const std::string& text, Icon icon,
             Buttons buttons) override;
  Answer AskWithDetails(const std::string& title, const std::string& text,
                        const std::string& details, Icon icon, Buttons buttons) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace brixel
