#pragma once

#include <signal.h>

#include <atomic>
#include <thread>

#include "FileDescriptor.h"

namespace brixel::cli {

// Ctrl+C (SIGINT), SIGTERM and SIGHUP, taken by a thread of its own while this lives instead of
// ending the process at once: a batch asks Signal() between files, stops, lets its
// half-written files go, and then ends by the signal (EndBySignal). A second signal ends the
// process at once, as it would have without the watch. A signal the process was started to
// ignore (nohup, a background job of a script) is left ignored. Make this before any other
// thread of the work: only threads started after it have the signals blocked.
class InterruptWatch {
 public:
  InterruptWatch();
  // Stops watching; a signal that came meanwhile counts (Signal()) but does not end the process.
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // The first signal that came, 0 while none has; one sent but not yet taken by the watcher
  // counts as come.
  int Signal() const;

 private:
  void Watch();

  sigset_t watched_{};
  sigset_t previous_{};
  FileDescriptor signals_;  // the watched signals, read as a file
  FileDescriptor stop_;     // written to end the watch at once
  std::atomic<int> signal_{0};
  std::thread watcher_;
};

// Ends the process by signal with its usual effect, once the work it interrupted is cleaned up:
// a shell stops the script that ran the program only when the program died by the signal.
[[noreturn]] void EndBySignal(int signal);

}  // namespace brixel::cli
