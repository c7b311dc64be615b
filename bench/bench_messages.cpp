// Cost of carrying a result to a window: PostMessage through the handle
// registry and the message store's Put and Take, each against a baseline of
// the same work on a bare mutex-guarded deque.

#include <benchmark/benchmark.h>

#include <deque>
#include <mutex>

#include "platform/message_queue_target.h"
#include "worker/message_store.h"

using namespace corvesta;

namespace {

void BM_BaselineLockedDeque(benchmark::State &state) {
  std::mutex lock;
  std::deque<Message> queue;
  for (auto _ : state) {
    {
      std::lock_guard guard(lock);
      queue.push_back(Message{1, WM_USER, 0, 0});
    }
    std::lock_guard guard(lock);
    benchmark::DoNotOptimize(queue.front());
    queue.pop_front();
  }
}
BENCHMARK(BM_BaselineLockedDeque);

void BM_PostAndTakeMessage(benchmark::State &state) {
  // Other windows registered alongside, as in a running program.
  std::deque<MessageQueueTarget> others(16);
  MessageQueueTarget target;
  for (auto _ : state) {
    PostMessage(target.Handle(), WM_USER, 0, 0);
    benchmark::DoNotOptimize(target.TakeAll());
  }
}
BENCHMARK(BM_PostAndTakeMessage);

void BM_StorePutTake(benchmark::State &state) {
  CMsg &store = CMsg::Instance();
  std::unique_ptr<CThread> payload;
  std::uint32_t value = 0;
  for (auto _ : state) {
    MessageId id = store.Put(nullptr, 0);
    benchmark::DoNotOptimize(store.Take(id, payload, value));
  }
}
BENCHMARK(BM_StorePutTake);

} // namespace
