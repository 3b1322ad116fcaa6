#pragma once

#include <string>

namespace brixel {

// Every message box of the back end goes through this interface: the GUI shows a real box,
// the command line prints, tests record and script the answers.
class Prompter {
 public:
  enum class Icon { None, Information, Exclamation };
  enum class Buttons { Ok, YesNo, YesNoCancel };
  enum class Answer { Ok, Yes, No, Cancel };

  virtual ~Prompter() = default;
  virtual Answer Ask(const std::string& title, const std::string& text, Icon icon,
                     Buttons buttons) = 0;
  // The same with a failure's report kept behind a Details button; a prompter without one
  // shows the details after the text.
  virtual Answer AskWithDetails(const std::string& title, const std::string& text,
                                const std::string& details, Icon icon, Buttons buttons) {
    return Ask(title, details.empty() ? text : text + "\n\n" + details, icon, buttons);
  }
};

// What a prompter that cannot ask answers: OK, No to a question, Cancel where it is offered
// (losing nothing).
Prompter::Answer DefaultAnswer(Prompter::Buttons buttons);

// Installs the prompter the back end uses; nullptr restores the default, which prints to
// standard error and gives the default answer. The caller keeps ownership.
void InstallPrompter(Prompter* prompter);

// Installs a prompter for the calling thread only, in front of the installed one (nullptr
// removes it); returns the one it replaces.
Prompter* InstallThreadPrompter(Prompter* prompter);
// The prompter the calling thread's messages go to.
Prompter& InstalledPrompter();

// Answers as a prompter that cannot ask (DefaultAnswer), and remembers that it was asked.
class SilentPrompter final : public Prompter {
 public:
  Answer Ask(const std::string&, const std::string&, Icon, Buttons buttons) override {
    asked = true;
    return DefaultAnswer(buttons);
  }
  bool asked = false;
};

// Puts a prompter in front of the calling thread's for as long as it lives, however the
// scope is left.
class ScopedThreadPrompter {
 public:
  explicit ScopedThreadPrompter(Prompter& prompter) : outer_(InstallThreadPrompter(&prompter)) {}
  ~ScopedThreadPrompter() { InstallThreadPrompter(outer_); }
  ScopedThreadPrompter(const ScopedThreadPrompter&) = delete;
  ScopedThreadPrompter& operator=(const ScopedThreadPrompter&) = delete;

 private:
  Prompter* outer_;
};

// The application's name, the title of the back end's plain messages.
inline constexpr const char* kApplicationTitle = "Brixel";

// An OK message box.
void ShowMessage(const std::string& title, const std::string& text,
                 Prompter::Icon icon = Prompter::Icon::None);

// A Yes/No question; true when the answer is Yes.
bool AskYesNo(const std::string& title, const std::string& text,
              Prompter::Icon icon = Prompter::Icon::None);

// A message or question about an ordinary failure in plain words, with its report as the
// details.
Prompter::Answer AskWithDetails(const std::string& title, const std::string& text,
                                const std::string& details, Prompter::Icon icon,
                                Prompter::Buttons buttons);

// A Yes/No/Cancel question; closing the box (Esc) answers Cancel.
Prompter::Answer AskYesNoCancel(const std::string& title, const std::string& text,
                                Prompter::Icon icon = Prompter::Icon::None);

}  // namespace brixel
