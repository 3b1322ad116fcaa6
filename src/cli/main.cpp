#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "ErrorReport.h"
#include "Version.h"

int main(int argc, char** argv) {
  brixel::SetProgramIdentity({"brixel-cli", brixel::kVersionMajor, brixel::kVersionMinor,
                              brixel::kVersionRevision});
  const std::vector<std::string> args(argv + 1, argv + argc);
  return brixel::cli::Run(args, std::cout, std::cerr);
}
