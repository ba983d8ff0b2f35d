// Runs hostile-input tests in a child process whose address space is capped, so that a decoder
// that starts to allocate without bound fails the test instead of exhausting the machine.
// Depends on POSIX (fork, setrlimit, getrusage).
#pragma once

#include <cstdint>
#include <functional>

struct capped_run {
  bool finished = false;    // the child ran body to its end (no crash, no abort)
  int64_t value = 0;        // what body returned
  int64_t peak_growth = 0;  // how far the child's peak resident memory rose during body, in bytes
};

// Runs body in a forked child allowed headroom bytes of address space beyond what it holds at
// the start. Only body's result and the memory figure come back; test assertions inside body
// are not reported.
capped_run RunWithMemoryCap(int64_t headroom, const std::function<int64_t()>& body);

constexpr int64_t kMiB = int64_t{1} << 20;
