#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "FileIO.h"

namespace brixel {

// A helper program run once: the input bytes on its standard input, its standard output
// collected, its standard error collected apart as its log. The run is bounded, so that a
// helper that misbehaves on hostile data costs its caller nothing but the answer: it is killed
// when it runs past the time limit or writes more than the output limit, its processor time
// and address space are capped, and it dies with its caller.
struct ProgramRun {
  std::string Program;                 // the file to run
  std::vector<std::string> Arguments;  // after the program's own name
  std::chrono::milliseconds TimeLimit{30000};  // wall-clock
  std::chrono::seconds CpuLimit{0};            // processor time; 0 for none
  std::size_t MemoryLimit = 0;  // bytes of address space; 0 for none
  std::size_t OutputLimit = 0;  // bytes; 0 for none
};

inline constexpr std::size_t kLogLimit = 64 * 1024;

struct ProgramOutcome {
  enum class Ending {
    NotStarted,     // Problem says why
    Exited,         // Code is its exit status
    Signalled,      // Code is the signal that ended it
    TimedOut,       // killed at the time limit
    TooMuchOutput,  // killed at the output limit
    OutOfCpuTime,   // stopped at the processor time limit
  };
  Ending How = Ending::NotStarted;
  int Code = 0;
  Bytes Output;
  std::string Log;  // its standard error, the first kLogLimit bytes
  std::string Problem;

  bool ExitedWith(int status) const { return How == Ending::Exited && Code == status; }
};

// Runs the program to its end (or its limits). Raises std::bad_alloc when the output does not
// fit in memory, the program killed first.
ProgramOutcome RunProgram(const ProgramRun& run, ByteView input);

// Why a run gave no answer, in words after the program's name: "could not be started: ...",
// "stopped on signal 11 (Segmentation fault)", "did not finish within 30 seconds and was
// stopped", "used more than 20 seconds of processor time and was stopped", ...
std::string DescribeFailedRun(const ProgramRun& run, const ProgramOutcome& outcome);

// Whether this program was built with AddressSanitizer, whose shadow memory takes terabytes of
// address space: no memory limit can be set for its helpers then.
bool AddressSpaceIsSanitized();

}  // namespace brixel
