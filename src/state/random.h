// The program's one random-number generator: a 24-bit linear congruential
// generator, seeded from the time of day at start-up, giving values in [0, 1).
#pragma once

#include <cmath>
#include <cstdint>

namespace quilo {

class Lcg24Random {
 public:
  // Seeds from a time of day in seconds; the same time gives the same series.
  void seed(double seconds_since_midnight) {
    const auto ms = static_cast<std::uint32_t>(std::llround(seconds_since_midnight * 1000.0));
    state_ = (ms ^ 0x50000u) & 0xFFFFFFu;
  }

  double next() {
    state_ = (state_ * 1140671485u + 12820163u) & 0xFFFFFFu;
    return static_cast<double>(state_) / 16777216.0;
  }

 private:
  std::uint32_t state_ = 0x50000u;
};

}  // namespace quilo
