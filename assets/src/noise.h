// Deterministic randomness, value noise and small colour helpers shared by
// all the picture and sound generators. Nothing here touches global state, so
// every run produces the same bytes.
#pragma once

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace quilo {

class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  uint64_t next() {
    // splitmix64: tiny, fast and the same everywhere
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
  double range(double a, double b) { return a + (b - a) * uniform(); }
  int below(int n) { return n <= 0 ? 0 : int(next() % uint64_t(n)); }
  bool chance(double p) { return uniform() < p; }

 private:
  uint64_t s_;
};

inline uint32_t hash3(int x, int y, int z, uint32_t seed) {
  uint32_t h =
      uint32_t(x) * 0x8da6b343u ^ uint32_t(y) * 0xd8163841u ^ uint32_t(z) * 0xcb1ab31fu ^ seed * 0x27d4eb2du;
  h ^= h >> 15;
  h *= 0x2c1b3c6du;
  h ^= h >> 13;
  return h;
}

inline float lattice(int x, int y, int z, uint32_t seed) {
  return float(hash3(x, y, z, seed) & 0xffffffu) * (1.0f / 16777215.0f);
}

inline float smooth(float t) { return t * t * (3.0f - 2.0f * t); }

// Value noise in [0,1].
inline float vnoise(float x, float y, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = int(fx), iy = int(fy);
  const float tx = smooth(x - fx), ty = smooth(y - fy);
  const float a = lattice(ix, iy, 0, seed), b = lattice(ix + 1, iy, 0, seed);
  const float c = lattice(ix, iy + 1, 0, seed), d = lattice(ix + 1, iy + 1, 0, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

inline float vnoise3(float x, float y, float z, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
  const int ix = int(fx), iy = int(fy), iz = int(fz);
  const float tx = smooth(x - fx), ty = smooth(y - fy), tz = smooth(z - fz);
  auto plane = [&](int zz) {
    const float a = lattice(ix, iy, zz, seed), b = lattice(ix + 1, iy, zz, seed);
    const float c = lattice(ix, iy + 1, zz, seed), d = lattice(ix + 1, iy + 1, zz, seed);
    const float ab = a + (b - a) * tx, cd = c + (d - c) * tx;
    return ab + (cd - ab) * ty;
  };
  const float p0 = plane(iz), p1 = plane(iz + 1);
  return p0 + (p1 - p0) * tz;
}

// Fractal sum of value noise, normalised to [0,1].
inline float fbm(float x, float y, uint32_t seed, int octaves = 5, float gain = 0.5f) {
  float sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * vnoise(x, y, seed + uint32_t(i) * 101u);
    norm += amp;
    amp *= gain;
    x = x * 2.03f + 17.1f;
    y = y * 2.03f - 9.7f;
  }
  return sum / norm;
}

inline float fbm3(float x, float y, float z, uint32_t seed, int octaves = 5) {
  float sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * vnoise3(x, y, z, seed + uint32_t(i) * 131u);
    norm += amp;
    amp *= 0.5f;
    x *= 2.01f;
    y *= 2.01f;
    z *= 2.01f;
  }
  return sum / norm;
}

// Ridged variant: bright thin filaments, good for nebula wisps and lightning glow.
inline float ridged(float x, float y, uint32_t seed, int octaves = 5) {
  float sum = 0, amp = 1, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    float n = 1.0f - std::fabs(vnoise(x, y, seed + uint32_t(i) * 71u) * 2.0f - 1.0f);
    sum += amp * n * n;
    norm += amp;
    amp *= 0.5f;
    x = x * 2.07f + 3.3f;
    y = y * 2.07f + 1.1f;
  }
  return sum / norm;
}

struct Rgbf {
  float r = 0, g = 0, b = 0;
  Rgbf operator+(const Rgbf& o) const { return {r + o.r, g + o.g, b + o.b}; }
  Rgbf operator-(const Rgbf& o) const { return {r - o.r, g - o.g, b - o.b}; }
  Rgbf operator*(float k) const { return {r * k, g * k, b * k}; }
  Rgbf operator*(const Rgbf& o) const { return {r * o.r, g * o.g, b * o.b}; }
  Rgbf& operator+=(const Rgbf& o) {
    r += o.r;
    g += o.g;
    b += o.b;
    return *this;
  }
};

inline Rgbf rgb(int hex) {
  return {((hex >> 16) & 255) / 255.0f, ((hex >> 8) & 255) / 255.0f, (hex & 255) / 255.0f};
}
inline Rgbf mix(const Rgbf& a, const Rgbf& b, float t) { return a + (b - a) * t; }
inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float smoothstep(float e0, float e1, float x) { return smooth(clamp01((x - e0) / (e1 - e0))); }

// A colour ramp: evenly or explicitly placed stops.
class Ramp {
 public:
  Ramp(std::initializer_list<std::pair<float, int>> stops) {
    for (auto& [t, hex] : stops) stops_.push_back({t, rgb(hex)});
  }
  Rgbf at(float t) const {
    if (t <= stops_.front().first) return stops_.front().second;
    for (size_t i = 1; i < stops_.size(); ++i) {
      if (t <= stops_[i].first) {
        const auto &a = stops_[i - 1], &b = stops_[i];
        return mix(a.second, b.second, (t - a.first) / (b.first - a.first));
      }
    }
    return stops_.back().second;
  }

 private:
  std::vector<std::pair<float, Rgbf>> stops_;
};

// Runs f(x, y, colour&) over every pixel of an RGB32 image, colours as floats
// 0..1, x and y counting the image's own pixels.
template <class F>
void shadePixels(QImage& img, F f) {
  const int w = img.width(), h = img.height();
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < w; ++x) {
      const QRgb p = line[x];
      Rgbf c{qRed(p) / 255.0f, qGreen(p) / 255.0f, qBlue(p) / 255.0f};
      f(x, y, c);
      line[x] = qRgb(int(clamp01(c.r) * 255.0f + 0.5f), int(clamp01(c.g) * 255.0f + 0.5f),
                     int(clamp01(c.b) * 255.0f + 0.5f));
    }
  }
}

// The same with x and y in window pixels, for pictures drawn with more than one
// pixel per window pixel: each pixel is shaded at its centre.
template <class F>
void shade(QImage& img, F f) {
  const float k = 1.0f / float(img.devicePixelRatio());
  const float offset = 0.5f * k - 0.5f;
  shadePixels(img, [&](int x, int y, Rgbf& c) { f(x * k + offset, y * k + offset, c); });
}

// Screen blend: lights add up without clipping harshly.
inline Rgbf screen(const Rgbf& a, const Rgbf& b) {
  return {1 - (1 - a.r) * (1 - clamp01(b.r)), 1 - (1 - a.g) * (1 - clamp01(b.g)),
          1 - (1 - a.b) * (1 - clamp01(b.b))};
}

}  // namespace quilo
