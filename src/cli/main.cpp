#include <malloc.h>

#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "ErrorReport.h"
#include "InterruptWatch.h"
#include "Version.h"

int main(int argc, char** argv) {
  // A short-lived program: memory it frees is kept for its next file rather than given back
  // to the system and faulted in again (grids of large images would otherwise be mapped and
  // unmapped once each).
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  brixel::SetProgramIdentity({"brixel-cli", brixel::kVersionMajor, brixel::kVersionMinor,
                              brixel::kVersionRevision});
  const std::vector<std::string> args(argv + 1, argv + argc);
  const int status = brixel::cli::Run(args, std::cout, std::cerr);
  if (status > brixel::cli::kExitSignalBase) {
    std::cout.flush();
    brixel::cli::EndBySignal(status - brixel::cli::kExitSignalBase);
  }
  return status;
}
