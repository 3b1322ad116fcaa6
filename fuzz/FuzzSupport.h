#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ErrorReport.h"
#include "Prompter.h"

namespace brixel::fuzz {

// Reports are expected for bad input; printing them would only slow the fuzzer down.
class SilentReporter final : public ErrorReporter {
 public:
  void Show(const std::string&) override {}
};

// Messages are acknowledged and every question is answered No.
class DecliningPrompter final : public Prompter {
 public:
  Answer Ask(const std::string&, const std::string&, Icon, Buttons buttons) override {
    return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
  }
};

// Installs the silent reporter and the declining prompter once for the whole run.
inline void InstallQuietBackEnd() {
  static SilentReporter reporter;
  static DecliningPrompter prompter;
  InstallErrorReporter(&reporter);
  InstallPrompter(&prompter);
}

// Stops the run with a message when an invariant does not hold; libFuzzer keeps the input.
inline void Require(bool holds, const char* invariant) {
  if (holds) return;
  std::fprintf(stderr, "invariant violated: %s\n", invariant);
  std::abort();
}

}  // namespace brixel::fuzz
