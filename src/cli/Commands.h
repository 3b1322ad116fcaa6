#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace brixel::cli {

// Exit statuses of brixel-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file could not be read or written
inline constexpr int kExitUsage = 2;
// A batch stopped by a signal ends with this plus the signal's number; the program then ends by
// the signal itself (EndBySignal), as a shell expects.
inline constexpr int kExitSignalBase = 128;

// Runs brixel-cli with its arguments (without the program name). Results go to out, usage
// errors and messages to err; the back end's reports and messages go to standard error.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace brixel::cli
