#include "InterruptWatch.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

namespace brixel::cli {

InterruptWatch::InterruptWatch() {
  sigemptyset(&watched_);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&watched_, signal);
  signals_ = FileDescriptor(::signalfd(-1, &watched_, SFD_CLOEXEC));
  stop_ = FileDescriptor(::eventfd(0, EFD_CLOEXEC));
  // Without them the signals keep their usual effect.
  if (!signals_.IsOpen() || !stop_.IsOpen()) return;
  pthread_sigmask(SIG_BLOCK, &watched_, &previous_);
  watcher_ = std::thread([this] {
    pollfd watched[2] = {{signals_.Get(), POLLIN, 0}, {stop_.Get(), POLLIN, 0}};
    for (;;) {
      if (::poll(watched, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (watched[1].revents != 0) return;
      signalfd_siginfo info{};
      if (::read(signals_.Get(), &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        signal_.store(static_cast<int>(info.ssi_signo), std::memory_order_release);
        return;
      }
    }
  });
}

InterruptWatch::~InterruptWatch() {
  if (!watcher_.joinable()) return;
  const std::uint64_t one = 1;
  // Cannot fail: an eventfd takes writes until its count would overflow.
  [[maybe_unused]] const ssize_t woken = ::write(stop_.Get(), &one, sizeof one);
  watcher_.join();
  // One that came after the watcher stopped is taken here, before the signals are let through.
  const timespec none{0, 0};
  while (sigtimedwait(&watched_, nullptr, &none) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

}  // namespace brixel::cli
