#pragma once

#include <thread>

namespace brixel {

// Loads the desktop's font configuration on a thread of its own while the program starts.
// Reading that configuration is the largest single cost of a start, and nothing needs it until
// the first text is measured; meanwhile the application and the windows can be made on the
// other core. Wait() before anything measures text: two threads that load it at once would
// both do all the work.
class FontConfigWarmUp {
 public:
  FontConfigWarmUp();
  ~FontConfigWarmUp();
  FontConfigWarmUp(const FontConfigWarmUp&) = delete;
  FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

  void Wait();

 private:
  std::thread loader_;
};

}  // namespace brixel
