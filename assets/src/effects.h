// Cosmic set pieces rendered per pixel: planets, black holes, explosions,
// flashes, vortices and fire. Each one paints onto an existing RGB32 image at
// a given centre and size, so the same code draws the 89 px scene icons and
// the full-window staging pictures.
#pragma once

#include "noise.h"
#include "paint.h"

#include <QImage>
#include <QPainter>
#include <QPointF>

namespace quilo {

void planetEarth(QImage& img, QPointF c, float radius, uint32_t seed);
void planet(QImage& img, QPointF c, float radius, const Ramp& surface, Rgbf atmosphere, uint32_t seed,
            float bands = 0.0f);

struct BlackHoleLook {
  Ramp disk = {{0.0f, 0x200400}, {0.35f, 0xb03a08}, {0.7f, 0xffa040}, {1.0f, 0xfff4d0}};
  float tilt = 0.22f;      // vertical squash of the disk
  float diskOuter = 3.2f;  // in shadow radii
  Rgbf ring = {1.0f, 0.85f, 0.6f};
  float brightness = 1.0f;
};
void blackHole(QImage& img, QPointF c, float shadowRadius, const BlackHoleLook& look, uint32_t seed);

struct ExplosionLook {
  Ramp fire = {{0.0f, 0xffffff},  {0.18f, 0xfff2a0}, {0.4f, 0xffa020},
               {0.65f, 0xd83008}, {0.85f, 0x581008}, {1.0f, 0x100404}};
  float roughness = 0.35f;
  float brightness = 1.0f;
};
void explosion(QImage& img, QPointF c, float radius, const ExplosionLook& look, uint32_t seed);
// Flying sparks and a shock ring around an explosion (vector pass).
void explosionDebris(QPainter& p, QPointF c, float radius, QColor colour, uint64_t seed, int count = 60);

void flash(QImage& img, QPointF c, float radius, Rgbf tint);
void flashRays(QPainter& p, QPointF c, float radius, QColor colour, uint64_t seed, int count = 28);

struct VortexLook {
  Ramp ramp = {{0.0f, 0x000000}, {0.4f, 0x301060}, {0.75f, 0xa040e0}, {1.0f, 0xf0d0ff}};
  float twist = 3.0f;
  int arms = 3;
  float brightness = 1.0f;
};
void vortex(QImage& img, QPointF c, float radius, const VortexLook& look, uint32_t seed);

// Flames licking up from the bottom edge of `area`.
void flames(QImage& img, QRectF area, uint32_t seed, float intensity = 1.0f,
            const Ramp& ramp = Ramp{
                {0.0f, 0x000000}, {0.3f, 0x6a0c02}, {0.55f, 0xe03c06}, {0.8f, 0xffb030}, {1.0f, 0xfff6c0}});

// Forked lightning bolt.
void lightning(QPainter& p, QPointF from, QPointF to, QColor glow, uint64_t seed, double width = 2.5,
               int depth = 2);

// The five screen scenes (also the 89 px icons).
enum class Scene { Earth, Nebula, BlackHole, Flash, Explosion };
QImage sceneImage(Scene s, int size);

}  // namespace quilo
