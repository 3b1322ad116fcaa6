#pragma once

#include <cstddef>
#include <functional>

namespace brixel::cli {

// Runs produce(i) for every i below count on up to `workers` threads, and consume(i) on the
// calling thread in the order of i, each once its produce has finished; producers run at most
// a bounded number of items ahead of the consumer, so that results waiting for their turn
// stay few. With one worker, each produce runs on the calling thread right before its consume.
void RunInOrder(std::size_t count, unsigned workers, const std::function<void(std::size_t)>& produce,
                const std::function<void(std::size_t)>& consume);

// The workers a batch uses by default: one per core.
unsigned DefaultWorkers();

}  // namespace brixel::cli
