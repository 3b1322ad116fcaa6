#include "InterruptWatch.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace brixel::cli {

InterruptWatch::InterruptWatch() {
  sigemptyset(&watched_);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    sigaddset(&watched_, signal);
  }
  signals_ = FileDescriptor(::signalfd(-1, &watched_, SFD_CLOEXEC));
  stop_ = FileDescriptor(::eventfd(0, EFD_CLOEXEC));
  // Without them the signals keep their usual effect.
  if (!signals_.IsOpen() || !stop_.IsOpen()) return;
  pthread_sigmask(SIG_BLOCK, &watched_, &previous_);
  try {
    watcher_ = std::thread([this] { Watch(); });
  } catch (...) {
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    throw;
  }
}

int InterruptWatch::Signal() const {
  if (const int taken = signal_.load(std::memory_order_acquire)) return taken;
  sigset_t pending;
  if (sigpending(&pending) != 0) return 0;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    if (sigismember(&watched_, signal) == 1 && sigismember(&pending, signal) == 1) return signal;
  }
  return 0;
}

void InterruptWatch::Watch() {
  pollfd watched[2] = {{signals_.Get(), POLLIN, 0}, {stop_.Get(), POLLIN, 0}};
  for (;;) {
    if (::poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (watched[1].revents != 0) return;
    signalfd_siginfo info{};
    if (::read(signals_.Get(), &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    const int signal = static_cast<int>(info.ssi_signo);
    int none = 0;
    // The second one will not wait for the work to stop: a read that hangs (a pipe, a lost
    // network drive) would otherwise keep the program from ending at all.
    if (!signal_.compare_exchange_strong(none, signal, std::memory_order_acq_rel)) EndBySignal(signal);
  }
}

InterruptWatch::~InterruptWatch() {
  if (!watcher_.joinable()) return;
  const std::uint64_t one = 1;
  // Cannot fail: an eventfd takes writes until its count would overflow.
  [[maybe_unused]] const ssize_t woken = ::write(stop_.Get(), &one, sizeof one);
  watcher_.join();
  // One that came after the watcher stopped counts too; taken here, it does not end the
  // process when the signals are let through.
  const timespec none{0, 0};
  for (int signal; (signal = sigtimedwait(&watched_, nullptr, &none)) > 0;) {
    int first = 0;
    signal_.compare_exchange_strong(first, signal, std::memory_order_acq_rel);
  }
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

void EndBySignal(int signal) {
  ::signal(signal, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  ::raise(signal);
  // Not reached for the signals watched, whose usual effect is to end the process.
  std::_Exit(128 + signal);
}

}  // namespace brixel::cli
