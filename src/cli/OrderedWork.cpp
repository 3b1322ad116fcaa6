#include "OrderedWork.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace brixel::cli {
namespace {

constexpr std::size_t kAheadPerWorker = 64;

}  // namespace

unsigned DefaultWorkers() { return std::max(1u, std::thread::hardware_concurrency()); }

void RunInOrder(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& produce,
                const std::function<void(std::size_t)>& consume) {
  workers = static_cast<unsigned>(std::min<std::size_t>(std::max(1u, workers), count));
  if (workers <= 1) {
    for (std::size_t i = 0; i < count; ++i) {
      produce(i);
      consume(i);
    }
    return;
  }
  const std::size_t ahead = kAheadPerWorker * workers;
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<char> done(count, 0);
  std::size_t next = 0;      // the next item a worker takes
  std::size_t consumed = 0;  // items the caller has consumed
  bool stopping = false;
  std::exception_ptr failure;

  const auto work = [&] {
    for (;;) {
      std::size_t item = 0;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return stopping || next >= count || next < consumed + ahead; });
        if (stopping || next >= count) return;
        item = next++;
      }
      try {
        produce(item);
      } catch (...) {
        std::lock_guard lock(mutex);
        if (!failure) failure = std::current_exception();
        stopping = true;
      }
      {
        std::lock_guard lock(mutex);
        done[item] = 1;
      }
      changed.notify_all();
    }
  };
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w) threads.emplace_back(work);

  try {
    for (std::size_t i = 0; i < count; ++i) {
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return done[i] || stopping; });
        if (!done[i]) break;
      }
      consume(i);
      {
        std::lock_guard lock(mutex);
        consumed = i + 1;
      }
      changed.notify_all();
    }
  } catch (...) {
    std::lock_guard lock(mutex);
    if (!failure) failure = std::current_exception();
  }
  {
    std::lock_guard lock(mutex);
    stopping = true;
  }
  changed.notify_all();
  for (std::thread& thread : threads) thread.join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace brixel::cli
