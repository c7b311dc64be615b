#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <thread>
#include <vector>

#include "worker/guarded_value.h"

using corvesta::GuardedValue;

namespace {

// A record whose fields all carry the same number: a reader that sees two
// different numbers has seen half of one write and half of another.
struct Stamp {
  std::array<std::uint64_t, 32> fields{};

  bool Whole() const {
    for (std::uint64_t field : fields) {
      if (field != fields[0]) {
        return false;
      }
    }
    return true;
  }
};

Stamp StampOf(std::uint64_t number) {
  Stamp stamp;
  stamp.fields.fill(number);
  return stamp;
}

} // namespace

TEST(GuardedValue, AReaderNeverSeesHalfOfAWrite) {
  GuardedValue<Stamp> value;
  constexpr std::uint64_t kWrites = 20000;
  std::thread writer([&] {
    for (std::uint64_t i = 1; i <= kWrites; ++i) {
      value.Set(StampOf(i));
    }
  });
  std::uint64_t torn = 0;
  std::uint64_t last = 0;
  while (last != kWrites) {
    const Stamp seen = value.Get();
    if (!seen.Whole()) {
      ++torn;
    }
    EXPECT_GE(seen.fields[0], last) << "a later read went back to an older write";
    last = seen.fields[0];
  }
  writer.join();
  EXPECT_EQ(torn, 0u);
}

TEST(GuardedValue, UpdateReadsAndChangesInOneStep) {
  GuardedValue<std::uint64_t> counter;
  constexpr int kThreads = 4;
  constexpr int kIncrements = 5000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kIncrements; ++i) {
        counter.Update([](std::uint64_t &current) { ++current; });
      }
    });
  }
  for (std::thread &thread : threads) {
    thread.join();
  }
  EXPECT_EQ(counter.Get(), static_cast<std::uint64_t>(kThreads) * kIncrements);
  // The value `change` returns is handed back; a refused change leaves it.
  const bool cleared = counter.Update([](std::uint64_t &current) {
    if (current != 7) {
      return false;
    }
    current = 0;
    return true;
  });
  EXPECT_FALSE(cleared);
  EXPECT_EQ(counter.Get(), static_cast<std::uint64_t>(kThreads) * kIncrements);
}
