#include "effects.h"

#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <cmath>
#include <vector>

namespace quilo {

namespace {

struct Vec3 {
  float x, y, z;
};
inline float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 normalized(Vec3 v) {
  const float l = std::sqrt(dot(v, v));
  return {v.x / l, v.y / l, v.z / l};
}

// Per-pixel sphere: calls surf(normal, lat) for the base colour, then lights it.
template <class Surface>
void sphere(QImage& img, QPointF c, float radius, Rgbf atmosphere, float atmoWidth, Surface surf) {
  const Vec3 light = normalized({-0.62f, -0.48f, 0.62f});
  const float ratio = float(img.devicePixelRatio());
  const float cx = float(c.x()) * ratio, cy = float(c.y()) * ratio;
  radius *= ratio;
  const int x0 = std::max(0, int(cx - radius * (1 + atmoWidth)) - 2);
  const int x1 = std::min(img.width() - 1, int(cx + radius * (1 + atmoWidth)) + 2);
  const int y0 = std::max(0, int(cy - radius * (1 + atmoWidth)) - 2);
  const int y1 = std::min(img.height() - 1, int(cy + radius * (1 + atmoWidth)) + 2);
  for (int y = y0; y <= y1; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = x0; x <= x1; ++x) {
      const float dx = (x + 0.5f - cx) / radius, dy = (y + 0.5f - cy) / radius;
      const float d2 = dx * dx + dy * dy;
      const float d = std::sqrt(d2);
      const QRgb p = line[x];
      Rgbf col{qRed(p) / 255.0f, qGreen(p) / 255.0f, qBlue(p) / 255.0f};
      // light direction seen on the limb, for the atmosphere glow
      const float limbLight = clamp01(0.35f + 0.65f * (-(dx * 0.62f + dy * 0.48f) / std::max(d, 1e-3f)));
      if (d < 1.0f + 1.5f / radius) {
        const float z = std::sqrt(std::max(0.0f, 1.0f - d2));
        const Vec3 n{dx, dy, z};
        const float diffuse = std::max(0.0f, dot(n, light));
        Rgbf base = surf(n, dy);
        float lit = 0.05f + 0.95f * std::pow(diffuse, 0.8f);
        Rgbf s = base * lit;
        // rim scattering
        const float rim = std::pow(1.0f - z, 2.5f);
        s += atmosphere * (rim * 0.9f * (0.25f + diffuse));
        const float edge = clamp01((1.0f - d) * radius + 0.5f);
        col = mix(col, s, edge);
      }
      if (d > 0.97f && atmoWidth > 0) {
        const float t = (d - 1.0f) / atmoWidth;
        const float g =
            std::exp(-std::max(t, 0.0f) * 4.0f) * limbLight * (d >= 1.0f ? 1.0f : clamp01((d - 0.97f) * 33));
        col = screen(col, atmosphere * (g * 0.85f));
      }
      line[x] = qRgb(int(clamp01(col.r) * 255 + 0.5f), int(clamp01(col.g) * 255 + 0.5f),
                     int(clamp01(col.b) * 255 + 0.5f));
    }
  }
}

}  // namespace

void planetEarth(QImage& img, QPointF c, float radius, uint32_t seed) {
  const Ramp ocean{{0.0f, 0x031a4a}, {0.7f, 0x0b4f9c}, {1.0f, 0x2a9ad0}};
  const Ramp land{{0.0f, 0x3f8a2a}, {0.45f, 0x6c9a38}, {0.7f, 0xa8874a}, {1.0f, 0xd8c090}};
  const float spin = 0.6f;
  sphere(img, c, radius, rgb(0x5aa8ff), 0.16f, [&](Vec3 n, float lat) {
    // rotate a little so continents are not centred
    const float X = n.x * std::cos(spin) + n.z * std::sin(spin);
    const float Z = -n.x * std::sin(spin) + n.z * std::cos(spin);
    const float h = fbm3(X * 1.7f + 4.0f, n.y * 1.7f, Z * 1.7f, seed, 6);
    Rgbf base;
    if (h > 0.53f) {
      base = land.at(clamp01((h - 0.53f) * 5.0f + std::fabs(lat) * 0.4f));
    } else {
      base = ocean.at(clamp01((h - 0.25f) / 0.28f));
    }
    if (std::fabs(lat) > 0.86f) base = mix(base, rgb(0xf4f8ff), smoothstep(0.86f, 0.93f, std::fabs(lat)));
    const float cl = fbm3(X * 3.0f, n.y * 5.0f, Z * 3.0f, seed + 99, 5);
    const float cloud = smoothstep(0.52f, 0.72f, cl);
    return mix(base, rgb(0xffffff), cloud * 0.9f);
  });
}

void planet(QImage& img, QPointF c, float radius, const Ramp& surface, Rgbf atmosphere, uint32_t seed,
            float bands) {
  sphere(img, c, radius, atmosphere, 0.12f, [&](Vec3 n, float lat) {
    float t = fbm3(n.x * 2.2f, n.y * 2.2f, n.z * 2.2f, seed, 5);
    if (bands > 0)
      t = clamp01(0.5f + 0.5f * std::sin(lat * bands + (t - 0.5f) * 5.0f) * 0.8f + (t - 0.5f) * 0.4f);
    return surface.at(t);
  });
}

void blackHole(QImage& img, QPointF c, float rs, const BlackHoleLook& look, uint32_t seed) {
  const float ratio = float(img.devicePixelRatio());
  const float cx = float(c.x()) * ratio, cy = float(c.y()) * ratio;
  rs *= ratio;
  const float inner = 1.55f, outer = look.diskOuter;
  const float reach = outer * 1.15f;
  const int x0 = std::max(0, int(cx - rs * reach)), x1 = std::min(img.width() - 1, int(cx + rs * reach));
  const int y0 = std::max(0, int(cy - rs * reach)), y1 = std::min(img.height() - 1, int(cy + rs * reach));
  for (int y = y0; y <= y1; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = x0; x <= x1; ++x) {
      const float X = (x + 0.5f - cx) / rs, Y = (y + 0.5f - cy) / rs;
      const float d = std::sqrt(X * X + Y * Y);
      const QRgb p = line[x];
      Rgbf col{qRed(p) / 255.0f, qGreen(p) / 255.0f, qBlue(p) / 255.0f};
      // background dims towards the hole (light is swallowed)
      col = col * smoothstep(0.98f, 1.6f, d);
      // lensed image of the far side of the disk: a halo hugging the shadow
      const float phi = std::atan2(Y, X);
      if (d > 0.98f && d < 2.6f) {
        const float upper = smoothstep(0.4f, -0.4f, Y / d);  // 1 above the hole, 0 below
        const float strength = 0.35f + 0.65f * upper;
        const float streak = fbm(std::cos(phi) * 3 + 7, std::sin(phi) * 3 + d * 6, seed + 5, 4);
        const float width = 0.08f + 0.2f * upper;
        const float h = std::exp(-std::max(0.0f, d - 1.04f) / width) * smoothstep(0.98f, 1.03f, d);
        const float e = h * (0.6f + 0.8f * streak) * strength * 1.25f * look.brightness;
        col = screen(col, look.disk.at(clamp01(0.5f + 0.55f * h)) * e);
      }
      // photon ring
      const float ring = std::exp(-std::pow((d - 1.03f) / 0.035f, 2.0f));
      col = screen(col, look.ring * (ring * 0.9f * look.brightness));
      // the disk itself
      const float u = X, v = Y / look.tilt;
      const float r = std::sqrt(u * u + v * v);
      if (r > inner * 0.9f && r < outer) {
        const bool front = v > 0;
        if (front || d > 1.0f) {
          const float theta = std::atan2(v, u);
          const float radial = clamp01((r - inner) / (outer - inner));
          const float streak =
              fbm(std::cos(theta) * 1.5f + r * 3.5f, std::sin(theta) * 1.5f + r * 3.5f, seed, 5);
          const float fine = vnoise(r * 28.0f, 0.5f, seed + 3);
          const float doppler = 1.0f + 0.55f * (-u / std::max(r, 1e-3f));
          float e = std::pow(1.0f - radial, 1.6f) * (0.5f + 0.8f * streak) * (0.75f + 0.5f * fine) * doppler;
          e *= smoothstep(inner * 0.9f, inner * 1.05f, r) * (1.0f - smoothstep(outer * 0.85f, outer, r));
          e *= look.brightness;
          const Rgbf dc = look.disk.at(clamp01(e * 0.9f));
          col = screen(col, dc * clamp01(e * 1.4f));
        }
      }
      line[x] = qRgb(int(clamp01(col.r) * 255 + 0.5f), int(clamp01(col.g) * 255 + 0.5f),
                     int(clamp01(col.b) * 255 + 0.5f));
    }
  }
}

void explosion(QImage& img, QPointF c, float radius, const ExplosionLook& look, uint32_t seed) {
  const float ratio = float(img.devicePixelRatio());
  const float cx = float(c.x()) * ratio, cy = float(c.y()) * ratio;
  radius *= ratio;
  const float reach = 1.9f;
  const int x0 = std::max(0, int(cx - radius * reach)),
            x1 = std::min(img.width() - 1, int(cx + radius * reach));
  const int y0 = std::max(0, int(cy - radius * reach)),
            y1 = std::min(img.height() - 1, int(cy + radius * reach));
  for (int y = y0; y <= y1; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = x0; x <= x1; ++x) {
      const float X = (x + 0.5f - cx) / radius, Y = (y + 0.5f - cy) / radius;
      const float d = std::sqrt(X * X + Y * Y);
      const QRgb p = line[x];
      Rgbf col{qRed(p) / 255.0f, qGreen(p) / 255.0f, qBlue(p) / 255.0f};
      // far from the ball only its halo matters, which needs no detail
      const bool far = d > 1.5f * (1.0f + look.roughness);
      const float ang = std::atan2(Y, X);
      const float edgeNoise = far ? 0.5f : fbm(std::cos(ang) * 2.2f + 11, std::sin(ang) * 2.2f + 11, seed, 5);
      const float R = 1.0f + look.roughness * (edgeNoise - 0.5f) * 2.0f;
      const float turb = far ? 0.5f : fbm(X * 3.2f + 40, Y * 3.2f + 40, seed + 17, 6);
      const float t = d / R;
      const float heat = far ? -1.0f : 1.0f - t + (turb - 0.5f) * 0.9f * smoothstep(0.1f, 0.7f, t);
      // halo of light around the ball
      const float halo = std::exp(-std::max(0.0f, t - 0.8f) * 2.6f) * 0.55f * look.brightness;
      col = screen(col, look.fire.at(0.5f) * halo);
      if (heat > 0.0f) {
        const float a = smoothstep(0.0f, 0.22f, heat);
        Rgbf fc = look.fire.at(clamp01(1.0f - heat * 1.35f));
        // billowing smoke darkens the rim
        const float smoke = smoothstep(0.15f, 0.0f, heat) * (turb > 0.5f ? 0.6f : 0.2f);
        fc = fc * (1.0f - smoke) * look.brightness;
        col = mix(col, fc, a);
      }
      line[x] = qRgb(int(clamp01(col.r) * 255 + 0.5f), int(clamp01(col.g) * 255 + 0.5f),
                     int(clamp01(col.b) * 255 + 0.5f));
    }
  }
}

void explosionDebris(QPainter& p, QPointF c, float radius, QColor colour, uint64_t seed, int count) {
  Rng rng(seed);
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Plus);
  for (int i = 0; i < count; ++i) {
    const double a = rng.uniform() * 2 * M_PI;
    const double r0 = radius * rng.range(0.7, 1.2);
    const double len = radius * rng.range(0.1, 0.5);
    const QPointF a0 = c + QPointF(std::cos(a) * r0, std::sin(a) * r0);
    const QPointF a1 = c + QPointF(std::cos(a) * (r0 + len), std::sin(a) * (r0 + len));
    QLinearGradient g(a0, a1);
    QColor head = colour;
    head.setAlpha(int(rng.range(120, 255)));
    g.setColorAt(0, QColor(colour.red(), colour.green(), colour.blue(), 0));
    g.setColorAt(1, head);
    p.setPen(QPen(QBrush(g), std::max(1.0, radius * rng.range(0.008, 0.025)), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(a0, a1);
  }
  // shock ring
  QRadialGradient ring(c, radius * 1.55);
  QColor rc = colour;
  ring.setColorAt(0.0, QColor(0, 0, 0, 0));
  ring.setColorAt(0.84, QColor(0, 0, 0, 0));
  rc.setAlpha(90);
  ring.setColorAt(0.92, rc);
  ring.setColorAt(1.0, QColor(0, 0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(ring);
  p.drawEllipse(c, radius * 1.55, radius * 1.55);
  p.restore();
}

void flash(QImage& img, QPointF c, float radius, Rgbf tint) {
  const float cx = float(c.x()), cy = float(c.y());
  shade(img, [&](float x, float y, Rgbf& col) {
    const float X = (x + 0.5f - cx) / radius, Y = (y + 0.5f - cy) / radius;
    const float d2 = X * X + Y * Y;
    const float core = 1.0f / (1.0f + d2 * 30.0f);
    const float bloom = std::exp(-std::sqrt(d2) * 2.2f) * 0.7f;
    const float streak = std::exp(-std::fabs(Y) * 40.0f) * std::exp(-std::fabs(X) * 0.9f) * 0.8f;
    const Rgbf light = mix(tint, rgb(0xffffff), clamp01(core * 1.5f)) * (core * 1.6f + bloom + streak);
    col = screen(col, light);
  });
}

void flashRays(QPainter& p, QPointF c, float radius, QColor colour, uint64_t seed, int count) {
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Plus);
  rays(p, c, radius, count, colour, seed, 2.2);
  p.restore();
}

void vortex(QImage& img, QPointF c, float radius, const VortexLook& look, uint32_t seed) {
  // The swirl is soft, so its brightness is evaluated every second window
  // pixel and interpolated.
  const float ratio = float(img.devicePixelRatio());
  const float cx = float(c.x()) * ratio, cy = float(c.y()) * ratio;
  radius *= ratio;
  const int x0 = std::max(0, int(cx - radius * 1.6f)),
            x1 = std::min(img.width() - 1, int(cx + radius * 1.6f) + 1);
  const int y0 = std::max(0, int(cy - radius * 1.6f)),
            y1 = std::min(img.height() - 1, int(cy + radius * 1.6f) + 1);
  if (x1 <= x0 || y1 <= y0) return;
  const int step = int(std::lround(2 * ratio));
  const int gw = (x1 - x0) / step + 2, gh = (y1 - y0) / step + 2;
  std::vector<float> grid(size_t(gw) * size_t(gh));
  for (int gy = 0; gy < gh; ++gy)
    for (int gx = 0; gx < gw; ++gx) {
      const float X = (x0 + gx * step + 0.5f - cx) / radius, Y = (y0 + gy * step + 0.5f - cy) / radius;
      const float d = std::sqrt(X * X + Y * Y);
      float e = 0;
      if (d < 1.6f) {
        const float theta = std::atan2(Y, X) + look.twist * std::log(d + 0.08f);
        const float arms = 0.5f + 0.5f * std::cos(look.arms * theta);
        const float n = fbm(std::cos(theta) * 2.0f + d * 3.0f, std::sin(theta) * 2.0f + d * 3.0f, seed, 5);
        const float fall = smoothstep(1.5f, 0.35f, d) * smoothstep(0.05f, 0.3f, d);
        e = clamp01((arms * 0.65f + n * 0.7f - 0.25f) * fall) * look.brightness;
      }
      grid[size_t(gy) * gw + gx] = e;
    }
  for (int y = y0; y <= y1; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    const int gy = (y - y0) / step;
    const float ty = float((y - y0) % step) / step;
    for (int x = x0; x <= x1; ++x) {
      const int gx = (x - x0) / step;
      const float tx = float((x - x0) % step) / step;
      const size_t i = size_t(gy) * gw + gx;
      const float top = grid[i] + (grid[i + 1] - grid[i]) * tx;
      const float bottom = grid[i + gw] + (grid[i + gw + 1] - grid[i + gw]) * tx;
      const float e = top + (bottom - top) * ty;
      const QRgb p = line[x];
      Rgbf col{qRed(p) / 255.0f, qGreen(p) / 255.0f, qBlue(p) / 255.0f};
      if (e > 0) col = screen(col, look.ramp.at(e) * std::min(1.0f, e * 1.6f));
      // the eye of the vortex swallows light
      const float X = (x + 0.5f - cx) / radius, Y = (y + 0.5f - cy) / radius;
      col = col * smoothstep(0.04f, 0.22f, std::sqrt(X * X + Y * Y));
      line[x] = qRgb(int(clamp01(col.r) * 255 + 0.5f), int(clamp01(col.g) * 255 + 0.5f),
                     int(clamp01(col.b) * 255 + 0.5f));
    }
  }
}

void flames(QImage& img, QRectF area, uint32_t seed, float intensity, const Ramp& ramp) {
  const double ratio = img.devicePixelRatio();
  area = QRectF(area.topLeft() * ratio, area.size() * ratio);
  const int x0 = std::max(0, int(area.left())), x1 = std::min(img.width() - 1, int(area.right()));
  const int y0 = std::max(0, int(area.top())), y1 = std::min(img.height() - 1, int(area.bottom()));
  const float h = float(area.height());
  for (int y = y0; y <= y1; ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = x0; x <= x1; ++x) {
      const float hy = float(area.bottom() - y) / h;  // 0 at the bottom
      const float n = fbm(x / h * 5.0f, y / h * 2.2f, seed, 6);
      const float tongues = vnoise(x / h * 9.0f, 3.0f, seed + 9);
      const float heat = clamp01((n * 1.25f + tongues * 0.35f - hy * 1.25f) * intensity);
      if (heat <= 0.0f) continue;
      const QRgb p = line[x];
      Rgbf col{qRed(p) / 255.0f, qGreen(p) / 255.0f, qBlue(p) / 255.0f};
      col = screen(col, ramp.at(heat) * smoothstep(0.0f, 0.3f, heat));
      line[x] = qRgb(int(clamp01(col.r) * 255 + 0.5f), int(clamp01(col.g) * 255 + 0.5f),
                     int(clamp01(col.b) * 255 + 0.5f));
    }
  }
}

namespace {

void boltPoints(std::vector<QPointF>& pts, QPointF a, QPointF b, double jitter, Rng& rng, int level) {
  if (level == 0) {
    pts.push_back(b);
    return;
  }
  const QPointF d = b - a;
  const QPointF normal(-d.y(), d.x());
  const QPointF mid = (a + b) / 2 + normal * rng.range(-jitter, jitter);
  boltPoints(pts, a, mid, jitter * 0.55, rng, level - 1);
  boltPoints(pts, mid, b, jitter * 0.55, rng, level - 1);
}

}  // namespace

void lightning(QPainter& p, QPointF from, QPointF to, QColor glow, uint64_t seed, double width, int depth) {
  Rng rng(seed);
  std::vector<QPointF> pts{from};
  boltPoints(pts, from, to, 0.22, rng, 7);
  QPainterPath path(from);
  for (size_t i = 1; i < pts.size(); ++i) path.lineTo(pts[i]);
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Plus);
  QPainterPathStroker stroker;
  stroker.setWidth(width * 2.5);
  stroker.setJoinStyle(Qt::RoundJoin);
  glowPath(p, stroker.createStroke(path), glow, int(width * 6));
  p.setBrush(Qt::NoBrush);
  QColor mid = glow;
  mid.setAlpha(200);
  p.setPen(QPen(mid, width * 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.setPen(QPen(QColor(255, 255, 255), width * 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.restore();
  if (depth > 0) {
    for (int i = 0; i < 2; ++i) {
      const QPointF start = pts[size_t(rng.below(int(pts.size() / 2)) + int(pts.size() / 4))];
      const QPointF dir = (to - from);
      const double ang = rng.range(-0.7, 0.7);
      const QPointF rot(dir.x() * std::cos(ang) - dir.y() * std::sin(ang),
                        dir.x() * std::sin(ang) + dir.y() * std::cos(ang));
      lightning(p, start, start + rot * rng.range(0.25, 0.45), glow, rng.next(), width * 0.55, depth - 1);
    }
  }
}

QImage sceneImage(Scene s, int size) {
  const QPointF mid(size / 2.0, size / 2.0);
  const double k = size / 89.0;
  QImage img;
  switch (s) {
    case Scene::Earth: {
      img = canvas(size, size, QColor(2, 4, 14));
      {
        QPainter p;
        beginPainter(p, img);
        drawStars(p, bounds(img), 11, int(60 * k * k), 1.0, 1);
      }
      planetEarth(img, mid + QPointF(2 * k, 3 * k), float(size * 0.36), 7);
      break;
    }
    case Scene::Nebula: {
      img = canvas(size, size, QColor(4, 2, 12));
      {
        QPainter p;
        beginPainter(p, img);
        drawStars(p, bounds(img), 12, int(50 * k * k), 0.9, 0);
      }
      // a glowing cloud round a cluster of young stars
      NebulaLook look{
          Ramp{{0.0f, 0x1a0840}, {0.35f, 0x8a1f8a}, {0.6f, 0xff5aa0}, {0.8f, 0x50b0ff}, {1.0f, 0xe8f4ff}}};
      look.scale = 2.0f;
      look.density = 2.2f;
      look.contrast = 2.0f;
      nebula(img, look, 23, QRectF(-size * 0.1, size * 0.05, size * 1.2, size * 0.9));
      flash(img, mid + QPointF(-2 * k, 2 * k), float(size * 0.22), rgb(0xff80c0));
      QPainter p;
      beginPainter(p, img);
      Rng rng(24);
      for (int i = 0; i < 5; ++i)
        drawSparkle(p, mid + QPointF(rng.range(-0.25, 0.25) * size, rng.range(-0.2, 0.25) * size),
                    rng.range(2.0, 4.0) * k, QColor(220, 235, 255));
      break;
    }
    case Scene::BlackHole: {
      img = canvas(size, size, QColor(3, 3, 10));
      {
        QPainter p;
        beginPainter(p, img);
        drawStars(p, bounds(img), 13, int(90 * k * k), 1.0, 1);
      }
      BlackHoleLook look;
      look.diskOuter = 2.9f;
      blackHole(img, mid, float(size * 0.15), look, 31);
      break;
    }
    case Scene::Flash: {
      img = canvas(size, size, QColor(6, 10, 40));
      {
        QPainter p;
        beginPainter(p, img);
        drawStars(p, bounds(img), 14, int(40 * k * k), 0.8, 0);
        flashRays(p, mid, float(size * 0.7), QColor(170, 220, 255, 200), 41, 26);
      }
      flash(img, mid, float(size * 0.55), rgb(0x70b8ff));
      break;
    }
    case Scene::Explosion: {
      img = canvas(size, size, QColor(20, 4, 2));
      ExplosionLook look;
      look.roughness = 0.3f;
      explosion(img, mid, float(size * 0.34), look, 53);
      QPainter p;
      beginPainter(p, img);
      explosionDebris(p, mid, float(size * 0.34), QColor(255, 190, 90), 54, int(40 * std::sqrt(k)));
      break;
    }
  }
  return img;
}

}  // namespace quilo
