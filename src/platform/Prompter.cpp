#include "Prompter.h"

#include <iostream>

namespace brixel {
namespace {

class StandardErrorPrompter final : public Prompter {
 public:
  Answer Ask(const std::string& title, const std::string& text, Icon,
             Buttons buttons) override {
    std::cerr << title << ": " << text << '\n';
    switch (buttons) {
      case Buttons::YesNo: return Answer::No;
      case Buttons::YesNoCancel: return Answer::Cancel;
      case Buttons::Ok: break;
    }
    return Answer::Ok;
  }
};

StandardErrorPrompter g_defaultPrompter;
Prompter* g_prompter = &g_defaultPrompter;

}  // namespace

void InstallPrompter(Prompter* prompter) { g_prompter = prompter ? prompter : &g_defaultPrompter; }

void ShowMessage(const std::string& title, const std::string& text, Prompter::Icon icon) {
  g_prompter->Ask(title, text, icon, Prompter::Buttons::Ok);
}

bool AskYesNo(const std::string& title, const std::string& text, Prompter::Icon icon) {
  return g_prompter->Ask(title, text, icon, Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
}

Prompter::Answer AskWithDetails(const std::string& title, const std::string& text,
                                const std::string& details, Prompter::Icon icon,
                                Prompter::Buttons buttons) {
  return g_prompter->AskWithDetails(title, text, details, icon, buttons);
}

Prompter::Answer AskYesNoCancel(const std::string& title, const std::string& text,
                                Prompter::Icon icon) {
  return g_prompter->Ask(title, text, icon, Prompter::Buttons::YesNoCancel);
}

}  // namespace brixel
