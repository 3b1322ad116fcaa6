#include "Prompter.h"

#include <iostream>

namespace brixel {
namespace {

class StandardErrorPrompter final : public Prompter {
 public:
  Answer Ask(const std::string& title, const std::string& text, Icon,
             Buttons buttons) override {
    std::cerr << title << ": " << text << '\n';
    return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
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

}  // namespace brixel
