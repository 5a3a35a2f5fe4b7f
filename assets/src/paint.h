// Painting helpers: Japanese fonts, glowing outlined titles, star fields,
// gold frames and a box blur. Used by every picture generator.
#pragma once

#include "noise.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace quilo {

namespace fonts {
inline const char* const Gothic = "IPAGothic";
inline const char* const PGothic = "IPAPGothic";
inline const char* const Mincho = "IPAMincho";
inline const char* const PMincho = "IPAPMincho";
}  // namespace fonts

QFont jpFont(const char* family, double pixelSize, bool bold = false, double letterSpacing = 0);

// Pictures are drawn in window pixels. The same picture for screens with a
// device pixel ratio of 2 is drawn with two image pixels per window pixel:
// canvases and layers made while a PixelRatio is alive on the thread have that
// many pixels per window pixel, and painters on them scale by it.
class PixelRatio {
 public:
  explicit PixelRatio(double ratio);
  ~PixelRatio();
  PixelRatio(const PixelRatio&) = delete;
  PixelRatio& operator=(const PixelRatio&) = delete;

 private:
  double previous_;
};

// New opaque canvas, w x h window pixels.
QImage canvas(int w, int h, QColor fill = QColor(0, 0, 0));
// New transparent layer.
QImage layer(int w, int h);
// An image's rectangle in window pixels.
QRectF bounds(const QImage& img);

void beginPainter(QPainter& p, QImage& img);

// Three-pass box blur (close to a gaussian) on an ARGB32 premultiplied or RGB32
// image; the radius is in window pixels.
void blur(QImage& img, int radius);

// Outline of a text block, centred (by default) on `centre`. Multiple lines split on '\n'.
QPainterPath textPath(const QString& text, const QFont& font, QPointF centre,
                      Qt::Alignment align = Qt::AlignCenter, double lineGap = 1.05);

struct TextLook {
  QBrush fill = QBrush(Qt::white);
  QColor outline = QColor(0, 0, 0, 0);
  double outlineWidth = 0;
  QColor outline2 = QColor(0, 0, 0, 0);  // second, wider outline drawn beneath the first
  double outline2Width = 0;
  QColor glow = QColor(0, 0, 0, 0);
  int glowRadius = 0;
  QColor shadow = QColor(0, 0, 0, 0);
  QPointF shadowOffset = {2, 2};
};

// Draws a path with glow, drop shadow, two outlines and a fill, in that order.
void drawStyled(QPainter& p, const QPainterPath& path, const TextLook& look);
void drawText(QPainter& p, const QString& text, const QFont& font, QPointF centre, const TextLook& look,
              Qt::Alignment align = Qt::AlignCenter);

// Soft glowing blob of light around a path or shape (drawn with Screen/Plus composition).
void glowPath(QPainter& p, const QPainterPath& path, QColor colour, int radius, double strokeWidth = 0);

// Brushes.
QLinearGradient goldGradient(QPointF from, QPointF to);
QLinearGradient silverGradient(QPointF from, QPointF to);
QLinearGradient chromeGradient(QPointF from, QPointF to, QColor tint);

// Star field: small points, a few bright stars with cross spikes.
void drawStars(QPainter& p, const QRectF& area, uint64_t seed, int count, double brightness = 1.0,
               int sparkles = 6);
void drawSparkle(QPainter& p, QPointF c, double size, QColor colour);

// Gold double line frame with corner ornaments.
void goldFrame(QPainter& p, const QRectF& r, double width = 2.0, bool ornaments = true);

// Nebula backdrop rendered per pixel into the whole image.
struct NebulaLook {
  Ramp ramp;           // density to colour
  float scale = 3.0f;  // features across the image height
  float warp = 0.8f;   // domain warp strength
  float density = 1.0f;
  float contrast = 1.6f;
  Rgbf base = {0, 0, 0};
};
void nebula(QImage& img, const NebulaLook& look, uint32_t seed, QRectF area = QRectF());

// Dark vignette towards the edges.
void vignette(QImage& img, float strength, float radius = 0.75f);

// Light rays from a centre point.
void rays(QPainter& p, QPointF centre, double length, int count, QColor colour, uint64_t seed,
          double widthDeg = 4.0);

}  // namespace quilo
