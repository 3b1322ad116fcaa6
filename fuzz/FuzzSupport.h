#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ErrorReport.h"
#include "IcoFile.h"
#include "Prompter.h"
#include "cIco.h"

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

// Images that were read must save, and read back as the same images: entries kept as the file
// held them come back kept, with the same bytes and directory values.
inline void RequireSavesAndReadsBack(const std::vector<IconImage>& images, int fileType) {
  Bytes saved;
  try {
    saved = BuildIconFile(images, fileType);
  } catch (const BackEndError& e) {
    std::fprintf(stderr, "saving what was read failed: %s\n", e.what());
    Require(false, "images that were read can be saved");
  }
  cIco reread;
  Require(reread.ReadIconData(saved), "a saved file reads back");
  Require(reread.Images() == images, "a saved file reads back as the same images");
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (!images[i].IsKept()) continue;
    const KeptEntry& before = *images[i].Kept.entry;
    const IconImage& after = reread.Images()[i];
    Require(after.IsKept() && after.Kept.entry->block == before.block &&
                after.Kept.entry->directory == before.directory && after.Kept.entry->reason == before.reason,
            "a kept entry reads back kept, with the same bytes, directory values and reason");
  }
}

}  // namespace brixel::fuzz
