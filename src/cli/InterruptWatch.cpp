#include "InterruptWatch.h"

#include <pthread.h>

#include <ctime>

namespace brixel::cli {
namespace {

// How long the watcher waits at a time before it looks whether it should stop.
constexpr long kPollNanoseconds = 50'000'000;

}  // namespace

InterruptWatch::InterruptWatch() {
  sigemptyset(&watched_);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&watched_, signal);
  pthread_sigmask(SIG_BLOCK, &watched_, &previous_);
  watcher_ = std::thread([this] {
    const timespec pause{0, kPollNanoseconds};
    while (!stopping_.load(std::memory_order_acquire)) {
      const int signal = sigtimedwait(&watched_, nullptr, &pause);
      if (signal > 0) {
        signal_.store(signal, std::memory_order_release);
        return;
      }
    }
  });
}

InterruptWatch::~InterruptWatch() {
  stopping_.store(true, std::memory_order_release);
  watcher_.join();
  // One that came after the watcher stopped is taken here, before the signals are let through.
  const timespec none{0, 0};
  while (sigtimedwait(&watched_, nullptr, &none) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace brixel::cli
