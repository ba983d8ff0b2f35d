// Capped child runs for hostile-input tests (see memory_cap.h). Depends on POSIX.
#include "tests/support/memory_cap.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace {

// The process's current address-space size in bytes, from /proc/self/status.
int64_t AddressSpace() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmSize:", 0) == 0) return std::stoll(line.substr(7)) * 1024;
  }
  return 0;
}

int64_t PeakResident() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return int64_t{usage.ru_maxrss} * 1024;
}

}  // namespace

capped_run RunWithMemoryCap(int64_t headroom, const std::function<int64_t()>& body) {
  int channel[2];
  if (pipe(channel) != 0) return {};
  const pid_t child = fork();
  if (child < 0) {
    close(channel[0]);
    close(channel[1]);
    return {};
  }
  if (child == 0) {
    close(channel[0]);
    const rlim_t limit = static_cast<rlim_t>(AddressSpace() + headroom);
    const rlimit cap{limit, limit};
    setrlimit(RLIMIT_AS, &cap);
    const int64_t before = PeakResident();
    const int64_t result[2] = {body(), PeakResident() - before};
    const bool sent = write(channel[1], result, sizeof result) == sizeof result;
    _exit(sent ? 0 : 1);
  }
  close(channel[1]);
  int64_t result[2] = {0, 0};
  const bool received = read(channel[0], result, sizeof result) == sizeof result;
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  capped_run run;
  run.finished = received && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.value = result[0];
  run.peak_growth = result[1];
  return run;
}
