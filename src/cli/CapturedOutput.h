#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "ErrorReport.h"
#include "Prompter.h"

namespace brixel::cli {

// What one piece of work on another thread says: its lines for standard error, the back end's
// reports and messages, kept in the order they came, to be told later in the order of the
// work (Replay). A ThreadCapture makes it take the reports and messages of a thread.
// Questions get the default answers (DefaultAnswer), as from the command line's prompter.
class CapturedOutput final : public ErrorReporter, public Prompter {
 public:
  CapturedOutput() = default;
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  // Where the work writes its lines.
  std::ostream& Err() { return pending_; }

  void Show(const std::string& report) override;
  Answer Ask(const std::string& title, const std::string& text, Icon icon, Buttons buttons) override;

  // Tells everything, in its order, on the calling thread: lines to err, reports to its
  // reporter, messages to its prompter. Call it after the capturing thread is done with it.
  void Replay(std::ostream& err);

 private:
  struct Said {
    enum class Kind { Lines, Report, Message } kind;
    std::string text;
    std::string title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
  };
  void KeepPendingLines();

  std::ostringstream pending_;
  std::vector<Said> said_;
};

// While it lives, the reports and messages of the thread that made it go to output.
class ThreadCapture {
 public:
  explicit ThreadCapture(CapturedOutput& output)
      : previousReporter_(InstallThreadReporter(&output)), previousPrompter_(InstallThreadPrompter(&output)) {}
  ~ThreadCapture() {
    InstallThreadReporter(previousReporter_);
    InstallThreadPrompter(previousPrompter_);
  }
  ThreadCapture(const ThreadCapture&) = delete;
  ThreadCapture& operator=(const ThreadCapture&) = delete;

 private:
  ErrorReporter* previousReporter_;
  Prompter* previousPrompter_;
};

}  // namespace brixel::cli
