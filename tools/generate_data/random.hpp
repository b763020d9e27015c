#pragma once

// A fixed pseudo-random generator (xoshiro256** seeded through splitmix64), so
// that a seed gives the same data set on every platform and with every standard
// library. Only integer arithmetic and exact floating-point steps are used.

#include <cmath>
#include <cstdint>

namespace tamvek::generate {

inline std::uint64_t splitmix64(std::uint64_t& state) {
  state += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

class Random {
 public:
  // `stream` keeps the files apart: each file draws from its own stream, so
  // changing how many records one file gets leaves the others as they were.
  Random(std::uint64_t seed, std::uint64_t stream) {
    std::uint64_t state = seed ^ (stream * 0xD1B54A32D192ED03ULL);
    for (auto& word : s_) word = splitmix64(state);
  }

  std::uint64_t next() {
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
  }

  // Uniform in [0, n), without modulo bias; n > 0.
  std::uint64_t below(std::uint64_t n) {
    const std::uint64_t threshold = (0 - n) % n;
    for (;;) {
      const std::uint64_t r = next();
      if (r >= threshold) return r % n;
    }
  }

  // Uniform integer in [low, high].
  long long between(long long low, long long high) {
    return low + static_cast<long long>(below(static_cast<std::uint64_t>(high - low) + 1));
  }

  // Uniform in [0, 1), exactly a multiple of 2^-53.
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

  bool chance(double probability) { return unit() < probability; }

 private:
  static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t s_[4];
};

// sin(2π·turns) from additions and multiplications only (a Taylor polynomial
// after exact range reduction), so it rounds alike everywhere, unlike a
// library sine.
inline double wave(double turns) {
  constexpr double pi = 3.14159265358979323846;
  double t = turns - std::floor(turns);
  if (t >= 0.5) t -= 1.0;
  double x = 2.0 * pi * t;
  if (x > pi / 2) {
    x = pi - x;
  } else if (x < -pi / 2) {
    x = -pi - x;
  }
  const double x2 = x * x;
  return x * (1 - x2 / 6 * (1 - x2 / 20 * (1 - x2 / 42 * (1 - x2 / 72 * (1 - x2 / 110)))));
}

}  // namespace tamvek::generate
