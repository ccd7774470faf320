// The lock every file change takes, as one run of RED takes it on the redirection file: the mutex named after
// the file's canonical path made, acquired and let go (target: under 2 ms of a run). Prints the first round,
// which a run pays, the median over many, and how much of it is naming the file. Run from bench/red.sh with the
// redirection file's path.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "platform/locks_win32.h"

namespace {

constexpr int kRounds = 301;

// Microseconds of each of kRounds calls of work, in call order.
std::vector<double> Time(const std::function<bool()>& work) {
  LARGE_INTEGER frequency, from, to;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> micros;
  for (int round = 0; round < kRounds; ++round) {
    QueryPerformanceCounter(&from);
    if (!work()) return {};
    QueryPerformanceCounter(&to);
    micros.push_back(static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart));
  }
  return micros;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lock_bench <file>\n");
    return 2;
  }
  const std::string file = argv[1];
  qz::Win32Locks locks;
  const std::vector<double> lock = Time([&] {
    std::unique_ptr<qz::Locks::Held> held;
    return locks.Acquire(qz::LockKind::File, file, qz::kLockWaitMs, held) == qz::LockWait::Held;
  });
  const std::vector<double> naming = Time([&] { return !qz::LockName(qz::LockKind::File, file).empty(); });
  if (lock.empty() || naming.empty()) {
    std::fprintf(stderr, "the lock of %s was not acquired\n", file.c_str());
    return 1;
  }
  std::printf(
      "lock per RED: %.0f \xC2\xB5s (first %.0f \xC2\xB5s, median of %d; naming the file %.0f \xC2\xB5s of it) "
      "(target: under 2 ms)\n",
      Median(lock), lock.front(), kRounds, Median(naming));
  return 0;
}
