// The two sound effects, synthesised: a short wooden click for a join and a bright chime for a
// save. Depends on assetgen.h.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/assetgen.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr int rate = 44100;

std::vector<int16_t> ToPCM(const std::vector<double>& signal, double peak) {
  double top = 1e-9;
  for (double v : signal) top = std::max(top, std::abs(v));
  std::vector<int16_t> out;
  out.reserve(signal.size());
  for (double v : signal) out.push_back(int16_t(std::lround(v / top * peak * 32767)));
  return out;
}

// Two damped wood resonances struck by a short filtered noise burst.
std::vector<double> Click() {
  seeded_random random(7);
  int n = rate * 70 / 1000;
  std::vector<double> out(size_t(n), 0.0);
  double low = 0;
  for (int i = 0; i < n; ++i) {
    double t = double(i) / rate;
    double burst = i < rate / 1000 * 3 ? random.Range(-1, 1) * (1 - i / (rate * 0.003)) : 0;
    low += (burst - low) * 0.35;  // soften the noise
    double body = 0.9 * std::sin(2 * pi * 1250 * t) * std::exp(-t * 95) +
                  0.5 * std::sin(2 * pi * 2730 * t) * std::exp(-t * 160) +
                  0.25 * std::sin(2 * pi * 520 * t) * std::exp(-t * 60);
    double attack = std::min(1.0, t / 0.0008);
    out[size_t(i)] = low * 0.8 + body * attack;
  }
  return out;
}

// A rising arpeggio of bell tones with inharmonic partials and a long soft tail.
std::vector<double> Chime() {
  int n = int(rate * 1.6);
  std::vector<double> out(size_t(n), 0.0);
  const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};  // C6 E6 G6 C7
  const double partials[][2] = {{1.0, 1.0}, {2.76, 0.45}, {5.40, 0.25}, {8.93, 0.12}};
  for (int k = 0; k < 4; ++k) {
    int start = int(rate * 0.085 * k);
    for (int i = start; i < n; ++i) {
      double t = double(i - start) / rate;
      double attack = std::min(1.0, t / 0.002);
      double v = 0;
      for (const auto& [ratio, level] : partials)
        v += level * std::sin(2 * pi * notes[k] * ratio * t) * std::exp(-t * (2.2 + ratio * 1.4));
      out[size_t(i)] += v * attack * (k == 3 ? 1.0 : 0.8);
    }
  }
  for (int i = 0; i < n; ++i) out[size_t(i)] *= std::min(1.0, double(n - i) / (rate * 0.05));
  return out;
}

}  // namespace

void WriteSoundEffects(const std::string& sounds) {
  SaveWAV(ToPCM(Click(), 0.8), rate, sounds + "/click.wav");
  SaveWAV(ToPCM(Chime(), 0.6), rate, sounds + "/magic.wav");
}
