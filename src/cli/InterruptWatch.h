#pragma once

#include <signal.h>

#include <atomic>
#include <thread>

#include "FileDescriptor.h"

namespace brixel::cli {

// Ctrl+C (SIGINT), SIGTERM and SIGHUP, taken by a thread of its own while this lives instead of
// ending the process at once: a batch asks Signal() between files, stops, and lets its
// half-written files go. Make it before any other thread of the work: only threads started
// after it have the signals blocked.
class InterruptWatch {
 public:
  InterruptWatch();
  // Stops watching. A signal that came meanwhile has been taken: it does not end the process.
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // The signal that came, 0 while none has.
  int Signal() const { return signal_.load(std::memory_order_acquire); }

 private:
  sigset_t watched_{};
  sigset_t previous_{};
  FileDescriptor signals_;  // the watched signals, read as a file
  FileDescriptor stop_;     // written to end the watch at once
  std::atomic<int> signal_{0};
  std::thread watcher_;
};

}  // namespace brixel::cli
