// Park-Miller minimal standard generator (multiplier 48271) computed with Schrage's method so
// that 32-bit arithmetic never overflows.
#include "platform/platform.h"
#include "platform/state.h"

namespace {

constexpr int32_t kModulus = 0x7FFFFFFF;
constexpr int32_t kMultiplier = 48271;
constexpr int32_t kQ = 44488;  // kModulus / kMultiplier
constexpr int32_t kR = 3399;   // kModulus % kMultiplier
constexpr int32_t kStartSeed = 0x1234;

int32_t Step() {
  int32_t& seed = platform.random.seed;
  seed = kMultiplier * (seed % kQ) - kR * (seed / kQ);
  if (seed < 0) seed += kModulus;
  return seed;
}

}  // namespace

void SeedRnd(int value) {
  int32_t seed = value & kModulus;
  platform.random.seed = (seed == 0 || seed == kModulus) ? kStartSeed : seed;
}

int RndSeed() { return platform.random.seed; }

double Rnd() {
  const int32_t a = Step() & 0x1FFFFFFC;
  const int32_t b = Step() & 0x1FFFFFF8;
  return (a + b / 134217728.0) / 536870912.0;  // (a + b / 2^27) / 2^29
}

int Rand(int low, int high) {
  // 64-bit range: high - low overflows int for bounds far apart.
  const int64_t range = static_cast<int64_t>(high) - low;
  if (range > 0) return static_cast<int>(low + static_cast<int64_t>(Rnd() * (range + 1)));
  return static_cast<int>(high + static_cast<int64_t>(Rnd() * (1 - range)));
}
