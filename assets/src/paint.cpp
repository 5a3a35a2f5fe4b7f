#include "paint.h"

#include <QFontMetricsF>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QStringList>

#include <cmath>
#include <vector>

namespace quilo {

QFont jpFont(const char* family, double pixelSize, bool bold, double letterSpacing) {
  QFont f(QString::fromLatin1(family));
  f.setPixelSize(std::max(1, int(std::lround(pixelSize))));
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoFontMerging));
  if (letterSpacing != 0) f.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
  return f;
}

namespace {
thread_local double tlRatio = 1.0;

QImage image(int w, int h, QImage::Format format) {
  QImage img(int(std::lround(w * tlRatio)), int(std::lround(h * tlRatio)), format);
  img.setDevicePixelRatio(tlRatio);
  return img;
}
}  // namespace

PixelRatio::PixelRatio(double ratio) : previous_(tlRatio) { tlRatio = ratio; }
PixelRatio::~PixelRatio() { tlRatio = previous_; }

QImage canvas(int w, int h, QColor fill) {
  QImage img = image(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

QImage layer(int w, int h) {
  QImage img = image(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

QRectF bounds(const QImage& img) { return QRectF(QPointF(0, 0), img.deviceIndependentSize()); }

void beginPainter(QPainter& p, QImage& img) {
  p.begin(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

namespace {

void blurLine(const uint8_t* src, uint8_t* dst, int n, int stride, int radius) {
  // running box sum over 4 interleaved channels with clamped edges
  const int window = radius * 2 + 1;
  for (int ch = 0; ch < 4; ++ch) {
    int sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += src[std::clamp(i, 0, n - 1) * stride + ch];
    for (int i = 0; i < n; ++i) {
      dst[i * stride + ch] = uint8_t((sum + window / 2) / window);
      const int add = std::min(i + radius + 1, n - 1);
      const int sub = std::max(i - radius, 0);
      sum += src[add * stride + ch] - src[sub * stride + ch];
    }
  }
}

}  // namespace

void blur(QImage& img, int radius) {
  radius = int(std::lround(radius * img.devicePixelRatio()));
  if (radius <= 0) return;
  const int w = img.width(), h = img.height();
  const int r = std::max(1, int(std::lround(radius / 1.7)));
  const int window = r * 2 + 1;
  std::vector<uint8_t> tmp(size_t(w) * 4);
  std::vector<uint8_t> src(size_t(w) * size_t(h) * 4);
  std::vector<int> sums(size_t(w) * 4);
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y) {
      uint8_t* line = img.scanLine(y);
      std::copy(line, line + w * 4, tmp.begin());
      blurLine(tmp.data(), line, w, 4, r);
    }
    // vertical pass with one running sum per column, row by row (cache friendly)
    for (int y = 0; y < h; ++y) std::copy_n(img.constScanLine(y), w * 4, src.begin() + size_t(y) * w * 4);
    auto row = [&](int y) { return src.data() + size_t(std::clamp(y, 0, h - 1)) * w * 4; };
    std::fill(sums.begin(), sums.end(), 0);
    for (int i = -r; i <= r; ++i) {
      const uint8_t* s = row(i);
      for (int k = 0; k < w * 4; ++k) sums[k] += s[k];
    }
    for (int y = 0; y < h; ++y) {
      uint8_t* line = img.scanLine(y);
      const uint8_t *add = row(y + r + 1), *sub = row(y - r);
      for (int k = 0; k < w * 4; ++k) {
        line[k] = uint8_t((sums[k] + window / 2) / window);
        sums[k] += add[k] - sub[k];
      }
    }
  }
}

QPainterPath textPath(const QString& text, const QFont& font, QPointF centre, Qt::Alignment align,
                      double lineGap) {
  const QFontMetricsF fm(font);
  const QStringList lines = text.split(QLatin1Char('\n'));
  QPainterPath path;
  double y = 0;
  for (const QString& line : lines) {
    const double w = fm.horizontalAdvance(line);
    double x = -w / 2;
    if (align & Qt::AlignLeft) x = 0;
    if (align & Qt::AlignRight) x = -w;
    path.addText(x, y, font, line);
    y += fm.height() * lineGap;
  }
  const QRectF br = path.boundingRect();
  double dx = centre.x() - br.center().x();
  if (align & Qt::AlignLeft) dx = centre.x() - br.left();
  if (align & Qt::AlignRight) dx = centre.x() - br.right();
  double dy = centre.y() - br.center().y();
  if (align & Qt::AlignTop) dy = centre.y() - br.top();
  if (align & Qt::AlignBottom) dy = centre.y() - br.bottom();
  path.translate(dx, dy);
  return path;
}

void glowPath(QPainter& p, const QPainterPath& path, QColor colour, int radius, double strokeWidth) {
  const QPainterPath dev = p.transform().map(path);
  const QRect box = dev.boundingRect()
                        .adjusted(-radius * 2 - strokeWidth, -radius * 2 - strokeWidth,
                                  radius * 2 + strokeWidth, radius * 2 + strokeWidth)
                        .toAlignedRect();
  if (box.isEmpty()) return;
  QImage glow = layer(box.width(), box.height());
  {
    QPainter g;
    beginPainter(g, glow);
    g.translate(-box.topLeft());
    g.setPen(strokeWidth > 0 ? QPen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                             : QPen(Qt::NoPen));
    g.setBrush(colour);
    g.drawPath(dev);
  }
  blur(glow, radius);
  p.save();
  p.resetTransform();
  p.drawImage(box.topLeft(), glow);
  p.restore();
}

void drawStyled(QPainter& p, const QPainterPath& path, const TextLook& look) {
  if (look.glow.alpha() > 0 && look.glowRadius > 0)
    glowPath(p, path, look.glow, look.glowRadius, std::max(look.outline2Width, look.outlineWidth) + 2);
  if (look.shadow.alpha() > 0) {
    p.save();
    p.translate(look.shadowOffset);
    p.setPen(look.outline2Width > 0
                 ? QPen(look.shadow, look.outline2Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                 : QPen(look.shadow, look.outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (look.outline2Width <= 0 && look.outlineWidth <= 0) p.setPen(Qt::NoPen);
    p.setBrush(look.shadow);
    p.drawPath(path);
    p.restore();
  }
  p.save();
  if (look.outline2Width > 0 && look.outline2.alpha() > 0) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(look.outline2, look.outline2Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
  }
  if (look.outlineWidth > 0 && look.outline.alpha() > 0) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(look.outline, look.outlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(look.fill);
  p.drawPath(path);
  p.restore();
}

void drawText(QPainter& p, const QString& text, const QFont& font, QPointF centre, const TextLook& look,
              Qt::Alignment align) {
  drawStyled(p, textPath(text, font, centre, align), look);
}

QLinearGradient goldGradient(QPointF from, QPointF to) {
  QLinearGradient g(from, to);
  g.setColorAt(0.0, QColor(0xff, 0xf8, 0xd0));
  g.setColorAt(0.22, QColor(0xf5, 0xcf, 0x5a));
  g.setColorAt(0.48, QColor(0xa8, 0x72, 0x18));
  g.setColorAt(0.55, QColor(0xc9, 0x93, 0x2a));
  g.setColorAt(0.8, QColor(0xff, 0xea, 0x8c));
  g.setColorAt(1.0, QColor(0x9a, 0x66, 0x12));
  return g;
}

QLinearGradient silverGradient(QPointF from, QPointF to) {
  QLinearGradient g(from, to);
  g.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
  g.setColorAt(0.45, QColor(0xb8, 0xc4, 0xd4));
  g.setColorAt(0.52, QColor(0x6c, 0x78, 0x8c));
  g.setColorAt(0.8, QColor(0xe8, 0xf0, 0xff));
  g.setColorAt(1.0, QColor(0x90, 0x9c, 0xb0));
  return g;
}

QLinearGradient chromeGradient(QPointF from, QPointF to, QColor tint) {
  QLinearGradient g(from, to);
  g.setColorAt(0.0, tint.lighter(190));
  g.setColorAt(0.45, tint.lighter(130));
  g.setColorAt(0.5, tint.darker(160));
  g.setColorAt(0.85, tint);
  g.setColorAt(1.0, tint.lighter(150));
  return g;
}

void drawSparkle(QPainter& p, QPointF c, double size, QColor colour) {
  p.save();
  p.setPen(Qt::NoPen);
  QRadialGradient halo(c, size);
  QColor a = colour;
  a.setAlpha(110);
  halo.setColorAt(0, a);
  halo.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
  p.setBrush(halo);
  p.drawEllipse(c, size, size);
  // four-point spikes
  QPainterPath spike;
  const double t = std::max(0.6, size * 0.08);
  spike.moveTo(c.x() - size * 1.6, c.y());
  spike.lineTo(c.x(), c.y() - t);
  spike.lineTo(c.x() + size * 1.6, c.y());
  spike.lineTo(c.x(), c.y() + t);
  spike.closeSubpath();
  spike.moveTo(c.x(), c.y() - size * 1.6);
  spike.lineTo(c.x() + t, c.y());
  spike.lineTo(c.x(), c.y() + size * 1.6);
  spike.lineTo(c.x() - t, c.y());
  spike.closeSubpath();
  p.setBrush(QColor(255, 255, 255, 220));
  p.drawPath(spike);
  p.setBrush(Qt::white);
  p.drawEllipse(c, t * 1.4, t * 1.4);
  p.restore();
}

void drawStars(QPainter& p, const QRectF& area, uint64_t seed, int count, double brightness, int sparkles) {
  Rng rng(seed);
  p.save();
  p.setPen(Qt::NoPen);
  static const QColor tints[] = {QColor(255, 255, 255), QColor(200, 220, 255), QColor(255, 240, 210),
                                 QColor(255, 210, 230), QColor(190, 255, 240)};
  for (int i = 0; i < count; ++i) {
    const QPointF c(area.left() + rng.uniform() * area.width(), area.top() + rng.uniform() * area.height());
    const double m = std::pow(rng.uniform(), 3.0);
    QColor col = tints[rng.below(5)];
    col.setAlpha(std::clamp(int((60 + 195 * m) * brightness), 0, 255));
    p.setBrush(col);
    const double r = 0.45 + m * 1.1;
    p.drawEllipse(c, r, r);
  }
  for (int i = 0; i < sparkles; ++i) {
    const QPointF c(area.left() + rng.uniform() * area.width(), area.top() + rng.uniform() * area.height());
    drawSparkle(p, c, rng.range(3, 7) * std::min(1.0, area.height() / 300.0 + 0.4), tints[rng.below(5)]);
  }
  p.restore();
}

void goldFrame(QPainter& p, const QRectF& r, double width, bool ornaments) {
  p.save();
  p.setBrush(Qt::NoBrush);
  QPen outer(QBrush(goldGradient(r.topLeft(), r.bottomRight())), width);
  outer.setJoinStyle(Qt::MiterJoin);
  p.setPen(outer);
  p.drawRect(r);
  const double in = width + 3;
  QPen inner(QBrush(goldGradient(r.bottomLeft(), r.topRight())), std::max(1.0, width * 0.5));
  inner.setJoinStyle(Qt::MiterJoin);
  p.setPen(inner);
  p.drawRect(r.adjusted(in, in, -in, -in));
  if (ornaments) {
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(goldGradient(r.topLeft(), r.bottomRight())));
    const double s = width * 2.5 + 3;
    for (QPointF c : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()}) {
      QPainterPath d;
      d.moveTo(c.x(), c.y() - s);
      d.lineTo(c.x() + s, c.y());
      d.lineTo(c.x(), c.y() + s);
      d.lineTo(c.x() - s, c.y());
      d.closeSubpath();
      p.drawPath(d);
    }
  }
  p.restore();
}

void nebula(QImage& img, const NebulaLook& look, uint32_t seed, QRectF area) {
  // The cloud field is smooth, so it is evaluated on a coarse grid (every
  // third window pixel) and interpolated.
  const float ratio = float(img.devicePixelRatio());
  const int step = int(std::lround(3 * ratio));
  const float h = float(img.height());
  const bool masked = area.isValid();
  const float cx = float(area.center().x()) * ratio, cy = float(area.center().y()) * ratio;
  const float rx = float(area.width() / 2) * ratio, ry = float(area.height() / 2) * ratio;
  const int gw = img.width() / step + 2, gh = img.height() / step + 2;
  std::vector<Rgbf> field(size_t(gw) * size_t(gh));
  std::vector<float> maskField(size_t(gw) * size_t(gh));
  for (int gy = 0; gy < gh; ++gy) {
    for (int gx = 0; gx < gw; ++gx) {
      const float x = float(gx * step), y = float(gy * step);
      float mask = 1.0f;
      if (masked) {
        const float dx = (x - cx) / rx, dy = (y - cy) / ry;
        mask = 1.0f - smoothstep(0.35f, 1.0f, std::sqrt(dx * dx + dy * dy));
      }
      maskField[size_t(gy) * gw + gx] = mask;
      if (mask <= 0.0f) continue;
      const float u = x / h * look.scale, v = y / h * look.scale;
      const float qx = fbm(u, v, seed, 3), qy = fbm(u + 5.2f, v + 1.3f, seed + 7, 3);
      const float n = fbm(u + look.warp * 4 * qx, v + look.warp * 4 * qy, seed + 13, 6);
      const float t = fbm(u * 0.7f + 3 * qy, v * 0.7f + 3 * qx, seed + 29, 3);
      float d = clamp01((n - 0.3f) * look.contrast);
      d = d * d * look.density * mask;
      const float wisp = ridged(u * 1.4f + qx * 2, v * 1.4f + qy * 2, seed + 41, 4);
      field[size_t(gy) * gw + gx] =
          look.ramp.at(t) * d +
          look.ramp.at(clamp01(t + 0.25f)) * (wisp * wisp * wisp * 0.45f * mask * look.density);
    }
  }
  shadePixels(img, [&](int x, int y, Rgbf& c) {
    const int gx = x / step, gy = y / step;
    const float tx = float(x % step) / step, ty = float(y % step) / step;
    const size_t i = size_t(gy) * gw + gx;
    const Rgbf top = mix(field[i], field[i + 1], tx);
    const Rgbf bottom = mix(field[i + gw], field[i + gw + 1], tx);
    const float m = maskField[i];
    c = screen(c + look.base * m, mix(top, bottom, ty));
  });
}

void vignette(QImage& img, float strength, float radius) {
  const float cx = float(bounds(img).width()) / 2.0f, cy = float(bounds(img).height()) / 2.0f;
  const float norm = std::sqrt(cx * cx + cy * cy);
  shade(img, [&](float x, float y, Rgbf& c) {
    const float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / norm;
    c = c * (1.0f - strength * smoothstep(radius * 0.6f, 1.05f, d));
  });
}

void rays(QPainter& p, QPointF centre, double length, int count, QColor colour, uint64_t seed,
          double widthDeg) {
  Rng rng(seed);
  p.save();
  p.setPen(Qt::NoPen);
  for (int i = 0; i < count; ++i) {
    const double a = rng.uniform() * 2 * M_PI;
    const double w = (widthDeg * rng.range(0.4, 1.3)) * M_PI / 180.0;
    const double len = length * rng.range(0.55, 1.0);
    QPainterPath tri;
    tri.moveTo(centre);
    tri.lineTo(centre + QPointF(std::cos(a - w) * len, std::sin(a - w) * len));
    tri.lineTo(centre + QPointF(std::cos(a + w) * len, std::sin(a + w) * len));
    tri.closeSubpath();
    QRadialGradient g(centre, len);
    QColor c0 = colour;
    c0.setAlpha(int(colour.alpha() * rng.range(0.4, 1.0)));
    g.setColorAt(0, c0);
    g.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
    p.setBrush(g);
    p.drawPath(tri);
  }
  p.restore();
}

}  // namespace quilo
