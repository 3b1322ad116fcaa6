#pragma once

#include <string>

namespace brixel {

// Every message box of the back end goes through this interface: the GUI shows a real box,
// the command line prints, tests record and script the answers.
class Prompter {
 public:
  enum class Icon { None, Information, Exclamation };
  enum class Buttons { Ok, YesNo };
  enum class Answer { Ok, Yes, No };

  virtual ~Prompter() = default;
  virtual Answer Ask(const std::string& title, const std::string& text, Icon icon,
                     Buttons buttons) = 0;
};

// Installs the prompter the back end uses; nullptr restores the default, which prints to
// standard error and answers every question with No. The caller keeps ownership.
void InstallPrompter(Prompter* prompter);

// The application's name, the title of the back end's plain messages.
inline constexpr const char* kApplicationTitle = "Brixel";

// An OK message box.
void ShowMessage(const std::string& title, const std::string& text,
                 Prompter::Icon icon = Prompter::Icon::None);

// A Yes/No question; true when the answer is Yes.
bool AskYesNo(const std::string& title, const std::string& text,
              Prompter::Icon icon = Prompter::Icon::None);

}  // namespace brixel
