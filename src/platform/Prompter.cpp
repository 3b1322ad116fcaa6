#include "Prompter.h"

#include <iostream>
#include <utility>

namespace brixel {
namespace {

class StandardErrorPrompter final : public Prompter {
 public:
  Answer Ask(const std::string& title, const std::string& text, Icon,
             Buttons buttons) override {
    std::cerr << title << ": " << text << '\n';
    return DefaultAnswer(buttons);
  }
};

StandardErrorPrompter g_defaultPrompter;
Prompter* g_prompter = &g_defaultPrompter;
thread_local Prompter* g_threadPrompter = nullptr;

Prompter& Current() { return g_threadPrompter ? *g_threadPrompter : *g_prompter; }

}  // namespace

Prompter::Answer DefaultAnswer(Prompter::Buttons buttons) {
  switch (buttons) {
    case Prompter::Buttons::YesNo: return Prompter::Answer::No;
    case Prompter::Buttons::YesNoCancel: return Prompter::Answer::Cancel;
    case Prompter::Buttons::Ok: break;
  }
  return Prompter::Answer::Ok;
}

void InstallPrompter(Prompter* prompter) { g_prompter = prompter ? prompter : &g_defaultPrompter; }

Prompter* InstallThreadPrompter(Prompter* prompter) { return std::exchange(g_threadPrompter, prompter); }

Prompter& InstalledPrompter() { return Current(); }

void ShowMessage(const std::string& title, const std::string& text, Prompter::Icon icon) {
  Current().Ask(title, text, icon, Prompter::Buttons::Ok);
}

bool AskYesNo(const std::string& title, const std::string& text, Prompter::Icon icon) {
  return Current().Ask(title, text, icon, Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
}

Prompter::Answer AskWithDetails(const std::string& title, const std::string& text,
                                const std::string& details, Prompter::Icon icon,
                                Prompter::Buttons buttons) {
  return Current().AskWithDetails(title, text, details, icon, buttons);
}

Prompter::Answer AskYesNoCancel(const std::string& title, const std::string& text,
                                Prompter::Icon icon) {
  return Current().Ask(title, text, icon, Prompter::Buttons::YesNoCancel);
}

}  // namespace brixel
