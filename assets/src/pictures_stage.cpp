// Full-window staging pictures shown while a prediction builds up: the
// demon world (魔界), black holes, the oni blast (鬼爆) and the new nebula.

#include "effects.h"
#include "layout.h"
#include "media.h"
#include "paint.h"
#include "window_art.h"

#include <QPainterPathStroker>
#include <QRadialGradient>

#include <functional>

namespace quilo {

namespace {

constexpr int W = 900, H = 550;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

enum class Title { Makai, Oni, Nebula, Gold, Dark };

TextLook titleLook(Title style, double px, double top, double bottom) {
  TextLook t;
  QLinearGradient fill(0, top, 0, bottom);
  switch (style) {
    case Title::Makai:
      fill.setColorAt(0, QColor(240, 255, 236));
      fill.setColorAt(0.45, QColor(110, 255, 140));
      fill.setColorAt(1, QColor(10, 110, 40));
      t.outline = QColor(10, 0, 20);
      t.outline2 = QColor(120, 40, 200);
      t.glow = QColor(150, 40, 255, 230);
      break;
    case Title::Oni:
      fill.setColorAt(0, QColor(255, 252, 210));
      fill.setColorAt(0.45, QColor(255, 180, 40));
      fill.setColorAt(1, QColor(210, 24, 8));
      t.outline = QColor(30, 0, 0);
      t.outline2 = QColor(255, 70, 10);
      t.glow = QColor(255, 60, 0, 230);
      break;
    case Title::Nebula:
      fill.setColorAt(0, QColor(255, 255, 255));
      fill.setColorAt(0.5, QColor(130, 240, 255));
      fill.setColorAt(1, QColor(255, 110, 220));
      t.outline = QColor(10, 10, 60);
      t.outline2 = QColor(80, 140, 255);
      t.glow = QColor(60, 160, 255, 220);
      break;
    case Title::Gold:
      fill = goldGradient({0, top}, {0, bottom});
      t.outline = QColor(60, 10, 0);
      t.outline2 = QColor(170, 10, 40);
      t.glow = QColor(255, 210, 60, 230);
      break;
    case Title::Dark:
      fill.setColorAt(0, QColor(236, 226, 255));
      fill.setColorAt(0.5, QColor(170, 140, 230));
      fill.setColorAt(1, QColor(70, 40, 120));
      t.outline = QColor(0, 0, 0);
      t.outline2 = QColor(110, 30, 200, 200);
      t.glow = QColor(100, 20, 200, 200);
      break;
  }
  t.fill = fill;
  t.outlineWidth = std::max(2.0, px * 0.045);
  t.outline2Width = std::max(4.0, px * 0.095);
  t.glowRadius = int(std::max(6.0, px * 0.2));
  t.shadow = QColor(0, 0, 0, 160);
  t.shadowOffset = {px * 0.03, px * 0.05};
  return t;
}

// Neon tube lettering.
void neon(QPainter& p, const QString& text, QPointF centre, double px, QColor colour) {
  const QPainterPath path = textPath(text, jpFont(fonts::Gothic, px, true, px * 0.06), centre);
  glowPath(p, path, colour, int(px * 0.25), px * 0.12);
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(colour.lighter(130), px * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 235));
  p.drawPath(path);
  p.restore();
}

// The stagings show behind the main window's controls, so their captions go
// where nothing covers them: the band above the controls. From left to right:
// a small chapter tag, the big title (with a smaller line after it), and a
// neon word or a stamp at the right end.
struct Caption {
  QString title;
  Title style = Title::Makai;
  double spacing = 4;
  const char* family = fonts::Mincho;
  QString sub;  // smaller line right after the title
  Title subStyle = Title::Dark;
  QString tag;  // chapter tag, e.g. 魔界 其ノ参
  QColor tagColour;
  QString neon;  // neon word at the right end
  QColor neonColour;
  QString stamp;  // hot stamp at the right end
};

// Chapter tag left-aligned at `left` and centred on `midY`; returns its right edge.
double tag(QPainter& p, const QString& text, QColor colour, double left, double midY) {
  const QFont f = jpFont(fonts::Mincho, 20, true, 2);
  const QPainterPath path = textPath(text, f, {left + 12, midY}, Qt::AlignLeft | Qt::AlignVCenter);
  const QRectF r = path.boundingRect().adjusted(-12, -7, 12, 7);
  p.save();
  p.setBrush(QColor(0, 0, 0, 150));
  p.setPen(QPen(colour, 1.5));
  p.drawRoundedRect(r, 4, 4);
  TextLook t;
  t.fill = colour.lighter(150);
  t.glow = colour;
  t.glowRadius = 5;
  drawStyled(p, path, t);
  p.restore();
  return r.right();
}

// Hot stamp: a tilted red ellipse with a word, centred on c.
void stamp(QPainter& p, const QString& text, QPointF c, double height) {
  const double rx = height * 0.72, ry = height * 0.5;
  p.save();
  p.translate(c);
  p.rotate(-12);
  QPainterPath shape;
  shape.addEllipse(QPointF(0, 0), rx, ry);
  glowPath(p, shape, QColor(255, 40, 40, 200), 8);
  p.setBrush(QColor(220, 10, 30));
  p.setPen(QPen(QColor(255, 230, 120), 3));
  p.drawPath(shape);
  TextLook hot;
  hot.fill = QColor(255, 255, 220);
  hot.outline = QColor(80, 0, 0);
  hot.outlineWidth = 2.5;
  drawText(p, text, jpFont(fonts::Gothic, ry * 0.7, true), {0, 0}, hot);
  p.restore();
}

void caption(QPainter& p, const Caption& c) {
  const QRectF band = layout::captionBand();
  const double mid = band.center().y();
  double left = band.left(), right = band.right();
  if (!c.tag.isEmpty()) left = tag(p, c.tag, c.tagColour, left, mid) + 18;
  if (!c.stamp.isEmpty()) {
    const double h = band.height() * 0.92;
    stamp(p, c.stamp, {right - h * 0.72 - 4, mid}, h);
    right -= h * 1.44 + 20;
  }
  if (!c.neon.isEmpty()) {
    // the neon word at its right end, as tall as the band allows
    const double px = band.height() * 0.62;
    const double w =
        textPath(c.neon, jpFont(fonts::Gothic, px, true, px * 0.06), {0, 0}).boundingRect().width();
    neon(p, c.neon, {right - w / 2 - 6, mid}, px, c.neonColour);
    right -= w + 28;
  }
  if (c.title.isEmpty()) return;
  // the title and its smaller line, shrunk together until they fit, with
  // room for the outlines and the shadow
  const double subScale = 0.42, gap = 14;
  for (double px = band.height() * 0.92;; px -= 1) {
    QPainterPath main = textPath(c.title, jpFont(c.family, px, true, c.spacing), {0, 0},
                                 Qt::AlignLeft | Qt::AlignVCenter, 1.0);
    QPainterPath sub;
    if (!c.sub.isEmpty())
      sub = textPath(c.sub, jpFont(fonts::Mincho, px * subScale, true, 2), {0, 0},
                     Qt::AlignLeft | Qt::AlignVCenter, 1.0);
    const double width =
        main.boundingRect().width() + (c.sub.isEmpty() ? 0 : gap + sub.boundingRect().width());
    const bool fits =
        width + px * 0.2 <= right - left && main.boundingRect().height() + px * 0.16 <= band.height();
    if (!fits && px > 12) continue;
    main.translate((left + right) / 2 - width / 2, mid);
    const QRectF r = main.boundingRect();
    drawStyled(p, main, titleLook(c.style, px, r.top(), r.bottom()));
    if (!c.sub.isEmpty()) {
      sub.translate(r.right() + gap, mid + r.height() * 0.22);
      const QRectF s = sub.boundingRect();
      TextLook look = titleLook(c.subStyle, px * subScale, s.top(), s.bottom());
      look.glowRadius = 6;
      drawStyled(p, sub, look);
    }
    return;
  }
}

// Thin accent frame with corner brackets that ties the staging pictures
// together, inside the part of the picture that the window shows; the
// ticket's paper on top of it all.
void stageFrame(QPainter& p, QColor accent) {
  const QRectF v = mainVisible();
  p.save();
  p.setBrush(Qt::NoBrush);
  QColor line = accent;
  line.setAlpha(150);
  p.setPen(QPen(line, 1.5));
  p.drawRect(v.adjusted(8.5, 8.5, -8.5, -8.5));
  p.setPen(QPen(QBrush(goldGradient(v.topLeft(), v.bottomRight())), 4, Qt::SolidLine, Qt::SquareCap));
  const double L = 46, m = 6;
  for (int i = 0; i < 4; ++i) {
    const double x = (i & 1) ? v.right() - m : m, y = (i & 2) ? v.bottom() - m : m;
    const double sx = (i & 1) ? -1 : 1, sy = (i & 2) ? -1 : 1;
    p.drawLine(QPointF(x, y), QPointF(x + sx * L, y));
    p.drawLine(QPointF(x, y), QPointF(x, y + sy * L));
  }
  p.restore();
  ticketBed(p);
}

// Starts a staging picture: vertical sky gradient, optional nebula, stars.
QImage sky(QColor top, QColor bottom, uint32_t seed, const NebulaLook* look, int stars) {
  QImage img = canvas(W, H);
  {
    QPainter p;
    beginPainter(p, img);
    QLinearGradient g(0, 0, 0, H);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(bounds(img), g);
  }
  if (look) nebula(img, *look, seed);
  if (stars > 0) {
    QPainter p;
    beginPainter(p, img);
    drawStars(p, bounds(img), seed + 1, stars, 1.0, stars / 60);
  }
  return img;
}

// Dark dust lanes that swallow the light behind them.
void dust(QImage& img, uint32_t seed, float strength, float scale = 3.0f) {
  // evaluated every second pixel and interpolated: the lanes are soft-edged anyway
  const int gw = W / 2 + 2, gh = H / 2 + 2;
  std::vector<float> grid(size_t(gw) * size_t(gh));
  for (int gy = 0; gy < gh; ++gy)
    for (int gx = 0; gx < gw; ++gx) {
      const float u = gx * 2 / float(H) * scale, v = gy * 2 / float(H) * scale;
      const float w = fbm(u * 0.6f, v * 0.6f, seed + 3, 3);
      const float n = fbm(u + w * 2.5f, v + w * 1.5f, seed, 6);
      grid[size_t(gy) * gw + gx] = 1.0f - strength * smoothstep(0.47f, 0.66f, n);
    }
  const int step = int(std::lround(2 * img.devicePixelRatio()));
  shadePixels(img, [&](int x, int y, Rgbf& c) {
    const size_t i = size_t(y / step) * gw + size_t(x / step);
    const float tx = float(x % step) / step, ty = float(y % step) / step;
    const float top = grid[i] + (grid[i + 1] - grid[i]) * tx;
    const float bottom = grid[i + gw] + (grid[i + gw + 1] - grid[i + gw]) * tx;
    c = c * (top + (bottom - top) * ty);
  });
}

// Draws `paint` into a layer and lays it over the picture with a blurred halo.
void glowing(QPainter& p, int radius, const std::function<void(QPainter&)>& paint, int halos = 1) {
  QImage lay = layer(W, H);
  {
    QPainter l;
    beginPainter(l, lay);
    paint(l);
  }
  QImage halo = lay;
  blur(halo, radius);
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Plus);
  for (int i = 0; i < halos; ++i) p.drawImage(0, 0, halo);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.drawImage(0, 0, lay);
  p.restore();
}

void magicCircle(QPainter& p, QPointF c, double r, QColor colour, double squash, const QString& runes,
                 double turn = 0) {
  glowing(
      p, int(std::max(6.0, r * 0.05)),
      [&](QPainter& l) {
        l.translate(c);
        l.scale(1.0, squash);
        l.rotate(turn);
        l.setBrush(Qt::NoBrush);
        QColor line = colour.lighter(140);
        l.setPen(QPen(line, std::max(1.5, r * 0.012)));
        for (double k : {1.0, 0.9, 0.62, 0.56, 0.2}) l.drawEllipse(QPointF(0, 0), r * k, r * k);
        // two interlaced triangles
        for (int t = 0; t < 2; ++t) {
          QPainterPath tri;
          for (int i = 0; i <= 3; ++i) {
            const double a = (-90 + t * 60 + i * 120) * M_PI / 180;
            const QPointF pt(std::cos(a) * r * 0.9, std::sin(a) * r * 0.9);
            if (i == 0)
              tri.moveTo(pt);
            else
              tri.lineTo(pt);
          }
          l.drawPath(tri);
        }
        // spokes and small circles
        for (int i = 0; i < 12; ++i) {
          const double a = i * 30 * M_PI / 180;
          l.drawLine(QPointF(std::cos(a) * r * 0.2, std::sin(a) * r * 0.2),
                     QPointF(std::cos(a) * r * 0.56, std::sin(a) * r * 0.56));
        }
        for (int i = 0; i < 6; ++i) {
          const double a = (-90 + i * 60) * M_PI / 180;
          l.drawEllipse(QPointF(std::cos(a) * r * 0.9, std::sin(a) * r * 0.9), r * 0.06, r * 0.06);
        }
        // runes around the ring
        const QFont f = jpFont(fonts::Mincho, r * 0.075, true);
        const int n = int(runes.size());
        const int count = 36;
        l.setPen(Qt::NoPen);
        l.setBrush(line);
        for (int i = 0; i < count; ++i) {
          l.save();
          l.rotate(i * 360.0 / count);
          l.drawPath(textPath(runes.mid(i % n, 1), f, {0, -r * 0.95}));
          l.restore();
        }
      },
      2);
}

void glowingEyes(QPainter& p, QPointF c, double size, QColor colour) {
  for (int side = -1; side <= 1; side += 2) {
    const QPointF e = c + QPointF(side * size * 1.4, 0);
    QPainterPath eye;
    eye.moveTo(e + QPointF(-size * side * 0.9, -size * 0.35));
    eye.quadTo(e + QPointF(0, -size * 0.55), e + QPointF(size * side * 0.9, size * 0.15));
    eye.quadTo(e + QPointF(0, size * 0.45), e + QPointF(-size * side * 0.9, -size * 0.35));
    glowPath(p, eye, colour, int(size * 0.8), size * 0.3);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour.lighter(170));
    p.drawPath(eye);
    p.setBrush(QColor(20, 0, 0));
    p.drawEllipse(e + QPointF(side * size * 0.05, 0), size * 0.08, size * 0.3);
    p.restore();
  }
}

// Demon castle silhouette standing on a crag.
void castle(QPainter& p, double cx, double baseY, double k, QColor body, QColor windows, uint64_t seed) {
  Rng rng(seed);
  p.save();
  QPainterPath sil;
  struct Tower {
    double dx, w, h, roof;
  };
  const Tower towers[] = {{0, 58, 210, 96},    {-66, 34, 160, 70}, {66, 34, 170, 74},
                          {-122, 26, 118, 52}, {124, 28, 126, 56}, {-34, 20, 190, 60},
                          {34, 20, 176, 58},   {-170, 70, 64, 0},  {170, 70, 64, 0}};
  for (const Tower& t : towers) {
    const double x = cx + t.dx * k, w = t.w * k, h = t.h * k;
    sil.addRect(QRectF(x - w / 2, baseY - h, w, h));
    if (t.roof > 0) {
      QPainterPath roof;
      roof.moveTo(x - w * 0.62, baseY - h);
      roof.lineTo(x, baseY - h - t.roof * k);
      roof.lineTo(x + w * 0.62, baseY - h);
      roof.closeSubpath();
      sil.addPath(roof);
      sil.addRect(QRectF(x - 0.8 * k, baseY - h - t.roof * k - 14 * k, 1.6 * k, 14 * k));
    } else {
      for (double bx = x - w / 2; bx < x + w / 2 - 4 * k; bx += 9 * k)
        sil.addRect(QRectF(bx, baseY - h - 6 * k, 5 * k, 6 * k));
    }
  }
  // crag below
  QPainterPath crag;
  crag.moveTo(cx - 330 * k, baseY + 200 * k);
  for (double x = -330; x <= 330; x += 22)
    crag.lineTo(cx + x * k, baseY - rng.range(-6, 10) * k + std::abs(x) * 0.12 * k);
  crag.lineTo(cx + 330 * k, baseY + 200 * k);
  crag.closeSubpath();
  sil.addPath(crag);
  sil.setFillRule(Qt::WindingFill);
  QColor rim = windows;
  rim.setAlpha(110);
  glowPath(p, sil, rim, int(10 * k) + 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  p.drawPath(sil.simplified());
  // lit windows
  for (const Tower& t : towers) {
    const double x = cx + t.dx * k, w = t.w * k, h = t.h * k;
    for (int i = 0; i < int(t.h / 30); ++i) {
      if (rng.chance(0.35)) continue;
      const QRectF win(x - 3 * k + rng.range(-w * 0.25, w * 0.25), baseY - h + 18 * k + i * 28 * k, 5 * k,
                       9 * k);
      QPainterPath arch;
      arch.addRoundedRect(win, 2.5 * k, 2.5 * k);
      glowPath(p, arch, windows, int(5 * k) + 1);
      p.setBrush(windows.lighter(140));
      p.drawPath(arch);
    }
  }
  p.restore();
}

// Stone gate whose doors have opened onto a glowing rift.
void demonGate(QImage& img, QRectF r, uint32_t seed) {
  VortexLook vl;
  vl.ramp = Ramp{{0.0f, 0x000000}, {0.4f, 0x0a5020}, {0.75f, 0x40ff80}, {1.0f, 0xf0fff0}};
  vl.twist = 2.5f;
  vl.arms = 3;
  vl.brightness = 1.3f;
  QImage inner = canvas(W, H, QColor(0, 0, 0));
  vortex(inner, r.center() + QPointF(0, r.height() * 0.08), float(r.width() * 0.55), vl, seed);
  QPainter p;
  beginPainter(p, img);
  QPainterPath opening;
  const QRectF in = r.adjusted(r.width() * 0.18, r.height() * 0.16, -r.width() * 0.18, 0);
  opening.moveTo(in.bottomLeft());
  opening.lineTo(in.left(), in.top() + in.width() * 0.5);
  opening.quadTo(in.left(), in.top(), in.center().x(), in.top() - in.width() * 0.12);
  opening.quadTo(in.right(), in.top(), in.right(), in.top() + in.width() * 0.5);
  opening.lineTo(in.bottomRight());
  opening.closeSubpath();
  glowPath(p, opening, QColor(80, 255, 130, 200), 40);
  p.save();
  p.setClipPath(opening);
  p.drawImage(0, 0, inner);
  p.restore();
  // pillars and lintel
  QPainterPath stone;
  stone.addRect(QRectF(r.left(), r.top() + r.height() * 0.12, r.width() * 0.18, r.height() * 0.88));
  stone.addRect(
      QRectF(r.right() - r.width() * 0.18, r.top() + r.height() * 0.12, r.width() * 0.18, r.height() * 0.88));
  QPainterPath arch;
  arch.moveTo(r.left() - 20, r.top() + r.height() * 0.14);
  arch.quadTo(r.center().x(), r.top() - r.height() * 0.18, r.right() + 20, r.top() + r.height() * 0.14);
  arch.lineTo(r.right() + 20, r.top() + r.height() * 0.22);
  arch.quadTo(r.center().x(), r.top() - r.height() * 0.06, r.left() - 20, r.top() + r.height() * 0.22);
  arch.closeSubpath();
  stone.addPath(arch);
  stone.setFillRule(Qt::WindingFill);
  QLinearGradient sg(r.left(), 0, r.right(), 0);
  sg.setColorAt(0, QColor(40, 30, 50));
  sg.setColorAt(0.15, QColor(80, 70, 96));
  sg.setColorAt(0.5, QColor(30, 24, 40));
  sg.setColorAt(0.85, QColor(80, 70, 96));
  sg.setColorAt(1, QColor(40, 30, 50));
  p.setBrush(sg);
  p.setPen(QPen(QColor(120, 255, 150, 140), 2));
  p.drawPath(stone.simplified());
  // carved runes on the pillars
  TextLook rune;
  rune.fill = QColor(140, 255, 170);
  rune.glow = QColor(60, 255, 120, 200);
  rune.glowRadius = 6;
  const QFont rf = jpFont(fonts::Mincho, r.width() * 0.09, true);
  drawText(p, u("魔\n界\n門"), rf, {r.left() + r.width() * 0.09, r.center().y() + r.height() * 0.1}, rune);
  drawText(p, u("降\n臨\n陣"), rf, {r.right() - r.width() * 0.09, r.center().y() + r.height() * 0.1}, rune);
  // skull-like keystone
  const QPointF ks(r.center().x(), r.top() + r.height() * 0.02);
  p.setBrush(QColor(200, 190, 170));
  p.setPen(QPen(QColor(20, 10, 20), 2));
  p.drawEllipse(ks, r.width() * 0.07, r.width() * 0.06);
  glowingEyes(p, ks, r.width() * 0.018, QColor(255, 40, 40));
}

void oniMask(QPainter& p, QPointF c, double s, double rage) {
  p.save();
  p.translate(c);
  Rng rng(uint64_t(s * 10));
  // wild hair
  QPainterPath hair;
  for (int i = 0; i <= 44; ++i) {
    const double a = M_PI * (0.8 + 1.4 * i / 44.0);
    const double rr = (i % 2 ? 1.45 : 1.1) * s * rng.range(0.92, 1.08);
    const QPointF pt(std::cos(a) * rr * 1.05, -0.15 * s + std::sin(a) * rr);
    if (i == 0)
      hair.moveTo(pt);
    else
      hair.lineTo(pt);
  }
  hair.lineTo(0.7 * s, 0.9 * s);
  hair.lineTo(-0.7 * s, 0.9 * s);
  hair.closeSubpath();
  QRadialGradient hg(QPointF(0, -0.3 * s), 1.5 * s);
  hg.setColorAt(0, QColor(60, 20, 10));
  hg.setColorAt(1, QColor(10, 2, 2));
  p.setBrush(hg);
  p.setPen(QPen(QColor(255, 90, 20, 120), s * 0.02));
  p.drawPath(hair);
  // horns
  for (int side = -1; side <= 1; side += 2) {
    QPainterPath horn;
    horn.moveTo(side * 0.62 * s, -0.78 * s);
    horn.quadTo(side * 1.0 * s, -1.3 * s, side * 0.92 * s, -1.95 * s);
    horn.quadTo(side * 0.62 * s, -1.35 * s, side * 0.2 * s, -0.98 * s);
    horn.closeSubpath();
    QLinearGradient bone(QPointF(side * 0.3 * s, -0.8 * s), QPointF(side * 0.9 * s, -1.9 * s));
    bone.setColorAt(0, QColor(200, 170, 110));
    bone.setColorAt(0.6, QColor(255, 248, 220));
    bone.setColorAt(1, QColor(255, 255, 255));
    p.setBrush(bone);
    p.setPen(QPen(QColor(40, 20, 0), s * 0.025));
    p.drawPath(horn);
    p.setPen(QPen(QColor(120, 90, 40), s * 0.012));
    for (int k = 1; k <= 3; ++k) {
      const double t = k / 4.5;
      const QPointF a = QPointF(side * (0.62 + 0.3 * t) * s, (-0.78 - 0.6 * t) * s);
      const QPointF b = QPointF(side * (0.2 + 0.45 * t) * s, (-0.98 - 0.5 * t) * s);
      p.drawLine(a, b);
    }
  }
  // face
  QPainterPath face;
  face.moveTo(0, -1.1 * s);
  face.cubicTo(0.72 * s, -1.1 * s, 1.05 * s, -0.7 * s, 1.0 * s, -0.1 * s);
  face.cubicTo(0.98 * s, 0.5 * s, 0.75 * s, 1.0 * s, 0.35 * s, 1.2 * s);
  face.quadTo(0, 1.32 * s, -0.35 * s, 1.2 * s);
  face.cubicTo(-0.75 * s, 1.0 * s, -0.98 * s, 0.5 * s, -1.0 * s, -0.1 * s);
  face.cubicTo(-1.05 * s, -0.7 * s, -0.72 * s, -1.1 * s, 0, -1.1 * s);
  QRadialGradient skin(QPointF(-0.2 * s, -0.35 * s), 1.4 * s);
  skin.setColorAt(0, QColor(255, 110, 70));
  skin.setColorAt(0.45, QColor(214, 28, 12));
  skin.setColorAt(1, QColor(80, 4, 2));
  glowPath(p, face, QColor(255, 80, 0, int(120 + 100 * rage)), int(s * 0.18));
  p.setBrush(skin);
  p.setPen(QPen(QColor(20, 0, 0), s * 0.04));
  p.drawPath(face);
  // wrinkles
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(110, 6, 4), s * 0.03, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 3; ++i) {
    QPainterPath w;
    const double y = (-0.78 + i * 0.1) * s;
    w.moveTo(-0.35 * s + i * 0.05 * s, y);
    w.quadTo(0, y - 0.08 * s, 0.35 * s - i * 0.05 * s, y);
    p.drawPath(w);
  }
  for (int side = -1; side <= 1; side += 2) {
    QPainterPath cheek;
    cheek.moveTo(side * 0.28 * s, 0.05 * s);
    cheek.quadTo(side * 0.6 * s, 0.3 * s, side * 0.66 * s, 0.55 * s);
    p.drawPath(cheek);
  }
  // brows, eyes
  for (int side = -1; side <= 1; side += 2) {
    QPainterPath brow;
    brow.moveTo(side * 0.1 * s, -0.32 * s);
    brow.lineTo(side * 0.9 * s, -0.72 * s);
    brow.lineTo(side * 0.95 * s, -0.52 * s);
    brow.lineTo(side * 0.15 * s, -0.18 * s);
    brow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 6, 4));
    p.drawPath(brow);
    QPainterPath eye;
    eye.moveTo(side * 0.17 * s, -0.13 * s);
    eye.quadTo(side * 0.45 * s, -0.42 * s, side * 0.8 * s, -0.42 * s);
    eye.quadTo(side * 0.6 * s, -0.02 * s, side * 0.17 * s, -0.13 * s);
    glowPath(p, eye, QColor(255, 230, 60, int(150 + 100 * rage)), int(s * 0.12 * (0.5 + rage)), s * 0.05);
    QRadialGradient iris(QPointF(side * 0.48 * s, -0.25 * s), 0.3 * s);
    iris.setColorAt(0, QColor(255, 255, 230));
    iris.setColorAt(0.5, QColor(255, 200, 30));
    iris.setColorAt(1, QColor(200, 80, 0));
    p.setBrush(iris);
    p.setPen(QPen(QColor(20, 0, 0), s * 0.025));
    p.drawPath(eye);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 0, 0));
    p.drawEllipse(QPointF(side * 0.46 * s, -0.24 * s), 0.04 * s, 0.1 * s);
  }
  // nose
  QPainterPath nose;
  nose.moveTo(-0.08 * s, -0.08 * s);
  nose.quadTo(-0.3 * s, 0.25 * s, -0.22 * s, 0.32 * s);
  nose.quadTo(0, 0.4 * s, 0.22 * s, 0.32 * s);
  nose.quadTo(0.3 * s, 0.25 * s, 0.08 * s, -0.08 * s);
  p.setBrush(QColor(170, 16, 8));
  p.setPen(QPen(QColor(60, 0, 0), s * 0.02));
  p.drawPath(nose);
  p.setBrush(QColor(40, 0, 0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(-0.11 * s, 0.29 * s), 0.06 * s, 0.035 * s);
  p.drawEllipse(QPointF(0.11 * s, 0.29 * s), 0.06 * s, 0.035 * s);
  // roaring mouth with fangs
  QPainterPath mouth;
  mouth.moveTo(-0.62 * s, 0.5 * s);
  mouth.quadTo(0, 0.38 * s, 0.62 * s, 0.5 * s);
  mouth.quadTo(0.4 * s, 1.05 * s, 0, 1.05 * s);
  mouth.quadTo(-0.4 * s, 1.05 * s, -0.62 * s, 0.5 * s);
  QRadialGradient throat(QPointF(0, 0.85 * s), 0.6 * s);
  throat.setColorAt(0, QColor(120, 0, 10));
  throat.setColorAt(1, QColor(20, 0, 0));
  p.setBrush(throat);
  p.setPen(QPen(QColor(10, 0, 0), s * 0.035));
  p.drawPath(mouth);
  p.setBrush(QColor(250, 245, 225));
  p.setPen(QPen(QColor(40, 20, 0), s * 0.012));
  for (int i = -3; i <= 3; ++i) {
    const double x = i * 0.11 * s;
    const double top = 0.44 * s + std::abs(i) * 0.01 * s;
    p.drawRect(QRectF(x - 0.05 * s, top, 0.1 * s, 0.09 * s));
  }
  for (int side = -1; side <= 1; side += 2) {
    QPainterPath fang;
    fang.moveTo(side * 0.42 * s, 0.46 * s);
    fang.lineTo(side * 0.34 * s, 0.8 * s);
    fang.lineTo(side * 0.26 * s, 0.44 * s);
    fang.closeSubpath();
    p.drawPath(fang);
    QPainterPath tusk;
    tusk.moveTo(side * 0.5 * s, 0.92 * s);
    tusk.quadTo(side * 0.62 * s, 0.6 * s, side * 0.6 * s, 0.3 * s);
    tusk.quadTo(side * 0.48 * s, 0.6 * s, side * 0.36 * s, 0.98 * s);
    tusk.closeSubpath();
    p.drawPath(tusk);
  }
  p.restore();
}

// A huge slot-machine seven with an extruded edge.
void bigSeven(QPainter& p, QPointF c, double px) {
  const QPainterPath path = textPath(QStringLiteral("7"), jpFont(fonts::Gothic, px, true), c);
  glowPath(p, path, QColor(255, 220, 80, 230), int(px * 0.08), px * 0.06);
  p.save();
  p.setPen(Qt::NoPen);
  const int depth = int(px * 0.05);
  for (int i = depth; i > 0; --i) {
    p.setBrush(QColor(90 + 60 * (depth - i) / depth, 0, 10));
    p.drawPath(path.translated(i * 0.8, i * 0.9));
  }
  p.restore();
  const QRectF r = path.boundingRect();
  TextLook t;
  QLinearGradient red(0, r.top(), 0, r.bottom());
  red.setColorAt(0, QColor(255, 170, 150));
  red.setColorAt(0.35, QColor(250, 20, 30));
  red.setColorAt(1, QColor(130, 0, 12));
  t.fill = red;
  t.outline = QColor(255, 230, 140);
  t.outlineWidth = px * 0.035;
  drawStyled(p, path, t);
  // shine across the top
  p.save();
  p.setClipPath(path);
  QLinearGradient shine(0, r.top(), 0, r.top() + r.height() * 0.3);
  shine.setColorAt(0, QColor(255, 255, 255, 150));
  shine.setColorAt(1, QColor(255, 255, 255, 0));
  p.fillRect(r, shine);
  p.restore();
}

void ringPlanet(QImage& img, QPointF c, float r, const Ramp& surface, Rgbf atmosphere, uint32_t seed,
                QColor ring) {
  auto rings = [&](QPainter& p, bool front) {
    p.save();
    if (front) p.setClipRect(QRectF(0, c.y(), W, H));
    p.translate(c);
    p.rotate(-14);
    p.scale(1.0, 0.26);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 7; ++i) {
      QColor rc = ring;
      rc.setAlpha(70 + 25 * (i % 3));
      p.setPen(QPen(rc, r * 0.07));
      p.drawEllipse(QPointF(0, 0), r * (1.45 + i * 0.085), r * (1.45 + i * 0.085));
    }
    p.restore();
  };
  {
    QPainter p;
    beginPainter(p, img);
    rings(p, false);
  }
  planet(img, c, r, surface, atmosphere, seed, 14.0f);
  QPainter p;
  beginPainter(p, img);
  rings(p, true);
}

// ---- 魔界 ------------------------------------------------------------------

const Ramp kMakaiNebula{
    {0.0f, 0x05000a}, {0.4f, 0x2a0840}, {0.7f, 0x6a1a80}, {0.9f, 0x30c070}, {1.0f, 0xc0ffd0}};
const Ramp kGreenDisk{{0.0f, 0x001a08}, {0.35f, 0x108a30}, {0.7f, 0x70ff80}, {1.0f, 0xf0fff0}};

NebulaLook makaiLook(float density) {
  NebulaLook look{kMakaiNebula};
  look.density = density;
  look.scale = 2.6f;
  return look;
}

QImage makaiLandscape(uint32_t seed, float skyDensity, double moonR) {
  const NebulaLook look = makaiLook(skyDensity);
  QImage img = sky(QColor(8, 0, 20), QColor(40, 6, 50), seed, &look, 260);
  if (moonR > 0)
    planet(img, QPointF(720, 120), float(moonR), Ramp{{0.0f, 0x1a4020}, {0.5f, 0x60c070}, {1.0f, 0xd8ffd0}},
           rgb(0x80ff90), seed + 2);
  return img;
}

void makaiGround(QPainter& p, uint32_t seed, double k = 1.0, double cx = 450) {
  // green mist hugging the ground
  QLinearGradient mist(0, H - 170, 0, H);
  mist.setColorAt(0, QColor(60, 255, 120, 0));
  mist.setColorAt(1, QColor(60, 255, 120, 90));
  p.fillRect(QRectF(0, H - 170, W, 170), mist);
  castle(p, cx, H - 70, k, QColor(10, 2, 16), QColor(120, 255, 140), seed);
}

QImage image206() {
  QImage img = makaiLandscape(206, 0.9f, 70);
  QPainter p;
  beginPainter(p, img);
  makaiGround(p, 206, 1.0, 430);
  caption(p, {.title = u("魔界"), .spacing = 10, .sub = u("― 降臨の予兆 ―")});
  stageFrame(p, QColor(140, 60, 255));
  return img;
}

QImage image206_1() {
  QImage img = makaiLandscape(2061, 1.1f, 0);
  QPainter p;
  beginPainter(p, img);
  lightning(p, {260, 0}, {380, 330}, QColor(120, 255, 160), 2061, 3.0, 2);
  lightning(p, {700, 0}, {520, 300}, QColor(190, 120, 255), 2062, 2.5, 2);
  magicCircle(p, {450, H - 60}, 380, QColor(80, 255, 130), 0.24, u("魔界降臨三連単的中召喚"));
  makaiGround(p, 2063, 0.9, 450);
  caption(p, {.title = u("魔界召喚"), .spacing = 8});
  stageFrame(p, QColor(140, 60, 255));
  return img;
}

QImage image206_2() {
  QImage img = makaiLandscape(2062, 1.2f, 0);
  demonGate(img, QRectF(300, 130, 300, 360), 2062);
  QPainter p;
  beginPainter(p, img);
  p.setCompositionMode(QPainter::CompositionMode_Plus);
  rays(p, {450, 330}, 520, 26, QColor(90, 255, 140, 90), 2064, 3);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  magicCircle(p, {450, H - 50}, 330, QColor(80, 255, 130), 0.22, u("開門魔界召喚陣"));
  caption(p, {.title = u("開門"), .spacing = 8, .sub = u("魔界の扉が開く")});
  stageFrame(p, QColor(140, 60, 255));
  return img;
}

QImage image2666() {
  const NebulaLook look = makaiLook(1.0f);
  QImage img = sky(QColor(10, 0, 18), QColor(30, 0, 30), 2666, &look, 200);
  flames(img, QRectF(0, 300, W, 250), 2666, 1.1f,
         Ramp{{0.0f, 0x000000}, {0.35f, 0x300050}, {0.6f, 0x8020c0}, {0.85f, 0x60ff90}, {1.0f, 0xf0fff0}});
  QPainter p;
  beginPainter(p, img);
  magicCircle(p, {450, 275}, 250, QColor(170, 80, 255), 1.0, u("魔界降臨天地鳴動三連単"), 8);
  glowingEyes(p, {450, 140}, 22, QColor(255, 40, 40));
  caption(p, {.title = u("魔界降臨"), .spacing = 6});
  stageFrame(p, QColor(140, 60, 255));
  return img;
}

QImage image2667() {
  const NebulaLook look = makaiLook(1.2f);
  QImage img = sky(QColor(10, 0, 20), QColor(50, 0, 50), 2667, &look, 240);
  VortexLook vl;
  vl.ramp = Ramp{{0.0f, 0x000000}, {0.35f, 0x3a0a60}, {0.65f, 0x9a30ff}, {0.85f, 0x60ff90}, {1.0f, 0xffffff}};
  vl.twist = 3.5f;
  vl.arms = 5;
  vortex(img, {450, 260}, 430, vl, 2667);
  flash(img, {450, 260}, 180, rgb(0x80ff90));
  QPainter p;
  beginPainter(p, img);
  flashRays(p, {450, 260}, 620, QColor(200, 255, 210, 150), 2668, 34);
  lightning(p, {0, 60}, {330, 250}, QColor(120, 255, 160), 2669, 3.5, 2);
  lightning(p, {900, 80}, {580, 260}, QColor(190, 120, 255), 2670, 3.5, 2);
  lightning(p, {120, 550}, {360, 330}, QColor(190, 120, 255), 2671, 2.5, 1);
  lightning(p, {800, 550}, {560, 340}, QColor(120, 255, 160), 2672, 2.5, 1);
  caption(p, {.title = u("魔界3連単"), .style = Title::Gold, .spacing = 2, .stamp = u("超激熱")});
  Rng rng(2673);
  for (int i = 0; i < 30; ++i)
    drawSparkle(p, {rng.range(30, 870), rng.range(30, 520)}, rng.range(3, 9), QColor(220, 255, 230));
  stageFrame(p, QColor(120, 255, 150));
  return img;
}

const char* const kNumerals[] = {"壱", "弐", "参", "肆", "伍", "陸", "漆"};

// makaigazou, makaigazou01..06: a rift over the demon castle grows into a black hole.
QImage makaiGazou(int stage) {
  const uint32_t seed = 3000 + uint32_t(stage) * 17;
  QImage img = makaiLandscape(seed, 0.7f + stage * 0.08f, stage == 0 ? 46 : 0);
  const QPointF eye(450, 190);
  if (stage >= 1 && stage <= 3) {
    VortexLook vl;
    vl.ramp = Ramp{{0.0f, 0x000000}, {0.4f, 0x2a0a50}, {0.75f, 0x40d080}, {1.0f, 0xe8ffe8}};
    vl.twist = 2.5f + stage * 0.4f;
    vl.arms = 3;
    vortex(img, eye, float(60 + stage * 60), vl, seed);
  }
  if (stage >= 4) {
    VortexLook vl;
    vl.ramp = Ramp{{0.0f, 0x000000}, {0.4f, 0x1a0a40}, {0.75f, 0x6030c0}, {1.0f, 0xd0b0ff}};
    vl.twist = 3.5f;
    vl.arms = 4;
    vl.brightness = 0.8f;
    vortex(img, eye, float(260 + stage * 20), vl, seed);
    BlackHoleLook bl;
    bl.disk = kGreenDisk;
    bl.ring = rgb(0xd0ffd8);
    bl.tilt = 0.24f;
    bl.brightness = 1.0f + 0.15f * float(stage - 4);
    blackHole(img, eye, float(28 + (stage - 4) * 20), bl, seed + 1);
  }
  if (stage == 6) flash(img, eye, 130, rgb(0x80ffa0));
  QPainter p;
  beginPainter(p, img);
  if (stage == 0) {
    // a thin glowing tear in the sky
    QPainterPath tear;
    tear.moveTo(eye + QPointF(-110, 60));
    tear.quadTo(eye + QPointF(-14, 10), eye + QPointF(110, -60));
    tear.quadTo(eye + QPointF(14, -10), eye + QPointF(-110, 60));
    glowPath(p, tear, QColor(90, 255, 140, 255), 30, 8);
    glowPath(p, tear, QColor(160, 255, 190, 255), 10, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 255, 235));
    p.drawPath(tear);
  }
  if (stage >= 2) {
    for (int i = 0; i < stage - 1; ++i) {
      Rng rng(seed + 50 + uint64_t(i));
      const double a = rng.range(0, 2 * M_PI);
      lightning(p, eye + QPointF(std::cos(a) * 40, std::sin(a) * 40),
                eye + QPointF(std::cos(a) * 330, std::sin(a) * 220), QColor(140, 255, 170), rng.next(), 2.5,
                1);
    }
  }
  if (stage == 3) magicCircle(p, eye, 150, QColor(80, 255, 130), 1.0, u("魔界門開"), 15);
  if (stage >= 5) {
    // rocks torn from the crag, streaking into the hole
    Rng rng(seed + 99);
    for (int i = 0; i < 10 + (stage - 5) * 10; ++i) {
      const double a = rng.range(0.15, M_PI - 0.15);
      const double d = rng.range(140, 380);
      const QPointF rock = eye + QPointF(std::cos(a) * d * 1.4, std::sin(a) * d * 0.9);
      const QPointF tail = rock + (rock - eye) * 0.18;
      QLinearGradient g(tail, rock);
      g.setColorAt(0, QColor(120, 255, 150, 0));
      g.setColorAt(1, QColor(160, 255, 180, 160));
      p.setPen(QPen(QBrush(g), rng.range(1.5, 3.5), Qt::SolidLine, Qt::RoundCap));
      p.drawLine(tail, rock);
      p.setPen(QPen(QColor(120, 255, 150, 120), 1));
      p.setBrush(QColor(24, 10, 30));
      p.drawEllipse(rock, rng.range(3, 9), rng.range(3, 7));
    }
  }
  if (stage == 6) flashRays(p, eye, 560, QColor(190, 255, 200, 140), seed + 7, 30);
  makaiGround(p, seed + 3, 0.75 - stage * 0.02, 660);
  static const char* const titles[] = {"静寂の魔界",        "裂け目", "渦動", "魔法陣", "暗黒核", "吸引",
                                       "魔界ブラックホール"};
  caption(p, {.title = u(titles[stage]),
              .style = stage >= 4 ? Title::Makai : Title::Dark,
              .spacing = 4,
              .tag = u("魔界 其ノ") + u(kNumerals[stage]),
              .tagColour = QColor(140, 255, 170)});
  stageFrame(p, QColor(140, 60, 255));
  return img;
}

// ---- black holes -----------------------------------------------------------

QImage greenBlackHole(int variant) {
  const uint32_t seed = 4000 + uint32_t(variant) * 31;
  NebulaLook look{Ramp{{0.0f, 0x000000}, {0.5f, 0x06301a}, {0.8f, 0x1a6a5a}, {1.0f, 0x8af0d0}}};
  look.density = 0.5f;
  QImage img = sky(QColor(0, 4, 6), QColor(2, 14, 12), seed, &look, 420);
  BlackHoleLook bl;
  bl.disk = kGreenDisk;
  bl.ring = rgb(0xe0ffe8);
  QPointF c(450, 270);
  float rs = 80;
  switch (variant) {
    case 0:  // ブラックホール緑PIRU1
      bl.diskOuter = 3.4f;
      c = QPointF(450, 300);
      rs = 78;
      break;
    case 1:  // edge-on view
      bl.tilt = 0.1f;
      bl.diskOuter = 4.6f;
      c = QPointF(380, 285);
      rs = 58;
      break;
    case 2:  // close and tilted
      bl.tilt = 0.36f;
      bl.diskOuter = 3.0f;
      rs = 112;
      bl.brightness = 1.15f;
      break;
    case 3:  // with jets
      bl.tilt = 0.2f;
      bl.diskOuter = 3.4f;
      rs = 62;
      break;
  }
  QPainter p;
  if (variant == 3) {
    beginPainter(p, img);
    for (int dir = -1; dir <= 1; dir += 2) {
      QPainterPath jet;
      jet.moveTo(c);
      jet.lineTo(c + QPointF(-26, dir * 300.0));
      jet.lineTo(c + QPointF(26, dir * 300.0));
      jet.closeSubpath();
      QLinearGradient g(c, c + QPointF(0, dir * 300.0));
      g.setColorAt(0, QColor(220, 255, 240, 255));
      g.setColorAt(0.4, QColor(80, 255, 200, 150));
      g.setColorAt(1, QColor(40, 160, 255, 0));
      glowPath(p, jet, QColor(60, 255, 180, 160), 24);
      p.setPen(Qt::NoPen);
      p.setBrush(g);
      p.drawPath(jet);
    }
    p.end();
  }
  blackHole(img, c, rs, bl, seed);
  beginPainter(p, img);
  switch (variant) {
    case 0:
      caption(p, {.tag = u("緑色重力"),
                  .tagColour = QColor(120, 255, 160),
                  .neon = QStringLiteral("PIRU"),
                  .neonColour = QColor(60, 255, 120)});
      break;
    case 1:
      caption(p, {.title = u("ブラックホール"), .tag = u("接近"), .tagColour = QColor(120, 255, 160)});
      break;
    case 2:
      caption(
          p,
          {.title = u("事象の地平線"), .spacing = 6, .tag = u("突入"), .tagColour = QColor(120, 255, 160)});
      break;
    case 3:
      caption(p, {.title = u("重力ジェット"), .tag = u("噴出"), .tagColour = QColor(120, 255, 160)});
      break;
  }
  stageFrame(p, QColor(60, 255, 140));
  return img;
}

QImage blackHoleEscalation() {
  // blackhoolg11: the green hole tearing at a violet sky, lightning all round
  const NebulaLook look = makaiLook(0.9f);
  QImage img = sky(QColor(4, 0, 12), QColor(16, 0, 24), 1111, &look, 300);
  BlackHoleLook bl;
  bl.disk = kGreenDisk;
  bl.ring = rgb(0xe0ffe8);
  bl.diskOuter = 3.8f;
  bl.tilt = 0.18f;
  blackHole(img, {560, 250}, 70, bl, 1111);
  QPainter p;
  beginPainter(p, img);
  for (int i = 0; i < 4; ++i) {
    Rng rng(1112 + uint64_t(i));
    const QPointF from(rng.range(60, 860), i % 2 ? 550.0 : 0.0);
    const QPointF toward = from - QPointF(560, 250);
    const double len = std::hypot(toward.x(), toward.y());
    lightning(p, from, QPointF(560, 250) + toward * (95.0 / len), QColor(170, 110, 255), rng.next(), 2.2, 1);
  }
  caption(p, {.title = u("重力崩壊"), .spacing = 10});
  stageFrame(p, QColor(140, 60, 255));
  return img;
}

QImage vortex77() {
  // qubuorra77: a demon aura whirl with twin sevens
  const NebulaLook look = makaiLook(0.8f);
  QImage img = sky(QColor(6, 0, 14), QColor(26, 0, 34), 77, &look, 200);
  VortexLook vl;
  vl.ramp = Ramp{{0.0f, 0x000000}, {0.35f, 0x300a60}, {0.7f, 0xa040f0}, {0.9f, 0x70ffa0}, {1.0f, 0xffffff}};
  vl.twist = 3.2f;
  vl.arms = 4;
  vl.brightness = 1.1f;
  vortex(img, {450, 275}, 360, vl, 77);
  QPainter p;
  beginPainter(p, img);
  const QPainterPath sevens =
      textPath(QStringLiteral("77"), jpFont(fonts::Gothic, 260, true, -10), {450, 255});
  glowPath(p, sevens, QColor(120, 255, 150, 230), 26, 10);
  TextLook t;
  QLinearGradient g(0, 150, 0, 360);
  g.setColorAt(0, QColor(240, 255, 240));
  g.setColorAt(0.5, QColor(90, 255, 130));
  g.setColorAt(1, QColor(10, 90, 40));
  t.fill = g;
  t.outline = QColor(30, 0, 50);
  t.outlineWidth = 8;
  t.outline2 = QColor(200, 120, 255);
  t.outline2Width = 18;
  drawStyled(p, sevens, t);
  caption(p, {.title = u("魔界の渦"), .style = Title::Dark, .spacing = 8});
  stageFrame(p, QColor(140, 60, 255));
  return img;
}

QImage darkNebula(int variant) {
  const uint32_t seed = 6570 + uint32_t(variant);
  NebulaLook look{
      variant == 0
          ? Ramp{{0.0f, 0x100004}, {0.35f, 0x601020}, {0.65f, 0xd04a30}, {0.85f, 0xffa060}, {1.0f, 0xfff0d0}}
          : Ramp{
                {0.0f, 0x000410}, {0.35f, 0x0a2a5a}, {0.65f, 0x2a80b0}, {0.85f, 0x80e0d0}, {1.0f, 0xf0ffff}}};
  look.density = 2.0f;
  look.contrast = 1.8f;
  look.scale = 2.2f;
  QImage img = sky(QColor(4, 0, 6), QColor(8, 0, 10), seed, &look, 300);
  dust(img, seed + 9, 0.9f, 2.4f);
  vignette(img, 0.5f);
  QPainter p;
  beginPainter(p, img);
  drawStars(p, bounds(img), seed + 2, 90, 1.0, 5);
  if (variant == 0) {
    caption(p, {.title = u("暗黒星雲"),
                .style = Title::Dark,
                .spacing = 10,
                .tag = QStringLiteral("DARK NEBULA"),
                .tagColour = QColor(200, 120, 255)});
  } else {
    glowingEyes(p, {330, 250}, 26, QColor(255, 40, 40));
    glowingEyes(p, {640, 170}, 12, QColor(255, 60, 40));
    caption(p, {.title = u("暗黒星雲"),
                .style = Title::Dark,
                .spacing = 10,
                .tag = u("深淵"),
                .tagColour = QColor(120, 200, 255)});
  }
  stageFrame(p, QColor(120, 60, 200));
  return img;
}

// ---- 鬼爆 ------------------------------------------------------------------

NebulaLook oniLook(float density) {
  NebulaLook look{Ramp{{0.0f, 0x0a0000}, {0.4f, 0x400808}, {0.7f, 0xa02010}, {1.0f, 0xffa040}}};
  look.density = density;
  look.scale = 2.4f;
  return look;
}

void mountains(QPainter& p, uint64_t seed, double baseY, QColor colour, double rough) {
  Rng rng(seed);
  QPainterPath m;
  m.moveTo(0, H);
  double y = baseY;
  for (int x = 0; x <= W; x += 12) {
    y = std::clamp(y + rng.range(-rough, rough), baseY - 90, baseY + 30);
    m.lineTo(x, y);
  }
  m.lineTo(W, H);
  m.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(m);
}

void embers(QPainter& p, uint64_t seed, int count) {
  Rng rng(seed);
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Plus);
  for (int i = 0; i < count; ++i) {
    const QPointF c(rng.range(0, W), rng.range(150, H));
    QRadialGradient g(c, rng.range(2, 5));
    g.setColorAt(0, QColor(255, 220, 120, 230));
    g.setColorAt(1, QColor(255, 80, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, 5, 5);
  }
  p.restore();
}

QImage image204() {
  const NebulaLook look = oniLook(0.9f);
  QImage img = sky(QColor(12, 0, 0), QColor(60, 6, 0), 204, &look, 80);
  flames(img, QRectF(0, 380, W, 170), 204, 0.8f);
  QPainter p;
  beginPainter(p, img);
  mountains(p, 205, 440, QColor(14, 2, 2), 14);
  glowingEyes(p, {610, 190}, 34, QColor(255, 200, 40));
  caption(p,
          {.title = u("鬼"), .style = Title::Oni, .tag = u("鬼気迫る"), .tagColour = QColor(255, 120, 40)});
  embers(p, 206, 60);
  stageFrame(p, QColor(255, 80, 20));
  return img;
}

QImage image2060() {
  const NebulaLook look = oniLook(1.0f);
  QImage img = sky(QColor(16, 0, 0), QColor(70, 10, 0), 2060, &look, 60);
  flames(img, QRectF(0, 250, W, 300), 2060, 1.05f);
  QPainter p;
  beginPainter(p, img);
  oniMask(p, {450, 300}, 138, 0.6);
  caption(p, {.title = u("鬼爆"), .style = Title::Oni, .spacing = 10});
  embers(p, 2061, 80);
  stageFrame(p, QColor(255, 80, 20));
  return img;
}

QImage onibakuu0() {
  const NebulaLook look = oniLook(1.1f);
  QImage img = sky(QColor(10, 0, 4), QColor(50, 4, 0), 2070, &look, 60);
  ExplosionLook el;
  el.roughness = 0.4f;
  explosion(img, {210, 420}, 150, el, 2070);
  flames(img, QRectF(0, 350, W, 200), 2071, 0.9f);
  QPainter p;
  beginPainter(p, img);
  mountains(p, 2072, 480, QColor(12, 2, 2), 10);
  lightning(p, {560, 0}, {640, 170}, QColor(255, 180, 80), 2073, 3, 2);
  lightning(p, {900, 40}, {720, 200}, QColor(255, 120, 60), 2074, 2.5, 1);
  oniMask(p, {660, 270}, 110, 0.8);
  caption(p, {.title = u("鬼爆予告"), .style = Title::Oni, .spacing = 6});
  embers(p, 2075, 80);
  stageFrame(p, QColor(255, 80, 20));
  return img;
}

QImage kibaku00() {
  QImage img = sky(QColor(20, 2, 0), QColor(40, 4, 0), 2080, nullptr, 40);
  ExplosionLook el;
  el.roughness = 0.38f;
  el.brightness = 1.1f;
  explosion(img, {450, 290}, 230, el, 2080);
  QPainter p;
  beginPainter(p, img);
  explosionDebris(p, {450, 290}, 230, QColor(255, 200, 100), 2081, 120);
  caption(p,
          {.title = u("爆"), .style = Title::Oni, .tag = u("鬼爆 炸裂"), .tagColour = QColor(255, 140, 40)});
  stageFrame(p, QColor(255, 80, 20));
  return img;
}

QImage onibakuu() {
  const NebulaLook look = oniLook(1.2f);
  QImage img = sky(QColor(20, 0, 0), QColor(80, 10, 0), 2090, &look, 40);
  ExplosionLook el;
  el.roughness = 0.45f;
  el.brightness = 1.15f;
  explosion(img, {450, 230}, 290, el, 2090);
  flames(img, QRectF(0, 330, W, 220), 2091, 1.15f);
  QPainter p;
  beginPainter(p, img);
  explosionDebris(p, {450, 230}, 290, QColor(255, 200, 100), 2092, 120);
  oniMask(p, {450, 215}, 105, 1.0);
  caption(p, {.title = u("鬼爆馬単"), .style = Title::Gold, .spacing = 6});
  embers(p, 2093, 120);
  stageFrame(p, QColor(255, 200, 60));
  return img;
}

// ---- 新星雲 ----------------------------------------------------------------

NebulaLook newNebulaLook() {
  NebulaLook look{
      Ramp{{0.0f, 0x000820}, {0.3f, 0x1040a0}, {0.6f, 0xe040a0}, {0.85f, 0x40f0ff}, {1.0f, 0xffffff}}};
  look.density = 1.5f;
  look.contrast = 1.9f;
  look.scale = 2.0f;
  return look;
}

QImage newNebula(int variant) {
  const uint32_t seed = 7000 + uint32_t(variant) * 13;
  NebulaLook look = newNebulaLook();
  if (variant == 7) look.density = 0.9f;
  QImage img = sky(QColor(2, 2, 18), QColor(10, 2, 30), seed, &look, 380);
  switch (variant) {
    case 2:
      flash(img, {590, 230}, 210, rgb(0x60d0ff));
      break;
    case 3:
      ringPlanet(img, {290, 300}, 120, Ramp{{0.0f, 0x402060}, {0.5f, 0xc070b0}, {1.0f, 0xffe0f0}},
                 rgb(0x90c0ff), seed, QColor(200, 220, 255));
      break;
    case 6: {
      ExplosionLook el;
      el.fire = Ramp{{0.0f, 0xffffff}, {0.2f, 0xd0f8ff}, {0.45f, 0x60c0ff},
                     {0.7f, 0xa040e0}, {0.9f, 0x300860}, {1.0f, 0x080010}};
      el.roughness = 0.3f;
      explosion(img, {450, 260}, 200, el, seed);
      flash(img, {450, 260}, 160, rgb(0x80e0ff));
      break;
    }
    case 7:
      shade(img, [](float, float, Rgbf& c) { c = c * 0.6f; });
      break;
    default:
      break;
  }
  QPainter p;
  beginPainter(p, img);
  switch (variant) {
    case 1:
      caption(p, {.title = u("新星雲"),
                  .style = Title::Nebula,
                  .spacing = 12,
                  .neon = QStringLiteral("PIRU"),
                  .neonColour = QColor(255, 80, 200)});
      break;
    case 2:
      flashRays(p, {590, 230}, 480, QColor(170, 230, 255, 170), seed, 30);
      caption(p, {.title = u("新星誕生"),
                  .style = Title::Nebula,
                  .spacing = 8,
                  .neon = QStringLiteral("PIRU"),
                  .neonColour = QColor(80, 220, 255)});
      break;
    case 3:
      caption(p, {.title = u("星雲の惑星"),
                  .style = Title::Nebula,
                  .neon = QStringLiteral("PIRU PIRU"),
                  .neonColour = QColor(255, 80, 200)});
      break;
    case 6:
      explosionDebris(p, {450, 260}, 200, QColor(160, 220, 255), seed, 100);
      flashRays(p, {450, 260}, 600, QColor(190, 230, 255, 160), seed + 1, 36);
      caption(p, {.title = u("超新星"), .style = Title::Nebula, .spacing = 14});
      break;
    case 7: {
      p.setCompositionMode(QPainter::CompositionMode_Plus);
      rays(p, {450, 265}, 700, 40, QColor(255, 210, 90, 120), seed, 4.5);
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
      bigSeven(p, {450, 260}, 400);
      caption(p, {.title = u("大当り"),
                  .style = Title::Gold,
                  .spacing = 12,
                  .family = fonts::Gothic,
                  .neon = QStringLiteral("PIRU PIRU"),
                  .neonColour = QColor(255, 70, 190)});
      Rng rng(seed + 3);
      for (int i = 0; i < 40; ++i)
        drawSparkle(p, {rng.range(20, 880), rng.range(20, 530)}, rng.range(3, 10), QColor(255, 240, 180));
      break;
    }
    default:
      break;
  }
  stageFrame(p, variant == 7 ? QColor(255, 210, 80) : QColor(80, 200, 255));
  return img;
}

}  // namespace

void addStagingPictures(MediaList& list) {
  auto add = [&](const char* name, std::function<QImage()> f) {
    addPicture(list, u("GF/") + u(name), std::move(f));
  };
  // demon world escalation
  add("qubuorra77.bmp", vortex77);
  add("blackhoolg11.bmp", blackHoleEscalation);
  add("ankokuseiun658.bmp", [] { return darkNebula(0); });
  add("ankokuseiun657.bmp", [] { return darkNebula(1); });
  // demon world staging
  add("Image206.jpg", image206);
  add("Image206_1.jpg", image206_1);
  add("Image206_2.jpg", image206_2);
  add("Image2666.JPG", image2666);
  add("Image2667.JPG", image2667);
  // demon world and black hole staging
  add("makaigazou.jpg", [] { return makaiGazou(0); });
  for (int i = 1; i <= 6; ++i) {
    const QString name = QStringLiteral("GF/makaigazou%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
    addPicture(list, name, [i] { return makaiGazou(i); });
  }
  add("ブラックホール緑PIRU1.bmp", [] { return greenBlackHole(0); });
  add("blackhoulg02.bmp", [] { return greenBlackHole(2); });
  add("blackhoulg01.bmp", [] { return greenBlackHole(1); });
  add("blackhoulg03.bmp", [] { return greenBlackHole(3); });
  // oni blast staging
  add("Image204.jpg", image204);
  add("Image2060.jpg", image2060);
  add("onibakuu0.JPG", onibakuu0);
  add("kibaku00.bmp", kibaku00);
  add("onibakuu.JPG", onibakuu);
  // new nebula
  add("newseiunPIRU1.bmp", [] { return newNebula(1); });
  add("newseiunPIRU2.bmp", [] { return newNebula(2); });
  add("newseiunPIRU3.bmp", [] { return newNebula(3); });
  add("newseiunPIRU6.bmp", [] { return newNebula(6); });
  add("newseiunPIRU7.bmp", [] { return newNebula(7); });
}

}  // namespace quilo
