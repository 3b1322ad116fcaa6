#include "CapturedOutput.h"

namespace brixel::cli {

void CapturedOutput::KeepPendingLines() {
  std::string lines = pending_.str();
  if (lines.empty()) return;
  said_.push_back({Said::Kind::Lines, std::move(lines), {}, Icon::None, Buttons::Ok});
  pending_.str({});
}

void CapturedOutput::Show(const std::string& report) {
  KeepPendingLines();
  said_.push_back({Said::Kind::Report, report, {}, Icon::None, Buttons::Ok});
}

Prompter::Answer CapturedOutput::Ask(const std::string& title, const std::string& text, Icon icon,
                                     Buttons buttons) {
  KeepPendingLines();
  said_.push_back({Said::Kind::Message, text, title, icon, buttons});
  return DefaultAnswer(buttons);
}

void CapturedOutput::Replay(std::ostream& err) {
  KeepPendingLines();
  for (const Said& said : said_) {
    switch (said.kind) {
      case Said::Kind::Lines: err << said.text; break;
      case Said::Kind::Report: ShowFinishedReport(said.text); break;
      case Said::Kind::Message: InstalledPrompter().Ask(said.title, said.text, said.icon, said.buttons); break;
    }
  }
  said_.clear();
}

}  // namespace brixel::cli
