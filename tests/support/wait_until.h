// Waiting for a condition in a test without an event loop to wait in (the
// Qt tests use QTRY_*): always against a deadline, never for a fixed time,
// so a slow machine only waits longer and a fault fails the test instead of
// hanging it.
#pragma once

#include <chrono>
#include <thread>

namespace testutil {

// Ample on a loaded machine: a condition not met by then is a fault.
inline constexpr std::chrono::seconds kWaitLimit{20};

class Deadline {
 public:
  explicit Deadline(std::chrono::steady_clock::duration limit = kWaitLimit)
      : end_(std::chrono::steady_clock::now() + limit) {}
  bool Passed() const { return std::chrono::steady_clock::now() >= end_; }

 private:
  std::chrono::steady_clock::time_point end_;
};

// Checks `done` every millisecond until it holds; false when it still does
// not at the deadline. Use as ASSERT_TRUE(WaitUntil(...)) << "what did not happen".
template <class Condition>
bool WaitUntil(Condition done, std::chrono::steady_clock::duration limit = kWaitLimit) {
  const Deadline deadline(limit);
  while (!done()) {
    if (deadline.Passed()) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace testutil
