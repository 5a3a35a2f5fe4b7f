// Pictures decoded ahead on the helper thread are the same as those decoded
// when asked for; a missing or broken one gives a null picture without
// blocking; a cache may end while its helper is still decoding.
#include "gui/picture_cache.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

using namespace quilo;

TEST(PictureCache, PrefetchedPicturesAreTheOnesDecodedOnDemand) {
  QTemporaryDir dir;
  QImage opaque(5, 3, QImage::Format_RGB888);
  opaque.fill(QColor(10, 200, 30));
  opaque.setPixelColor(4, 2, QColor(250, 1, 2));
  ASSERT_TRUE(opaque.save(dir.filePath("opaque.bmp")));
  QImage clear(4, 4, QImage::Format_ARGB32);
  clear.fill(QColor(0, 0, 255, 100));
  ASSERT_TRUE(clear.save(dir.filePath("clear.png")));
  QFile broken(dir.filePath("broken.bmp"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("BM not a picture");
  broken.close();

  PictureCache ahead(dir.path());
  ahead.prefetch({"opaque.bmp", "missing.jpg", "broken.bmp", "clear.png", "opaque.bmp"});
  PictureCache on_demand(dir.path());
  for (const char* name : {"clear.png", "missing.jpg", "opaque.bmp", "broken.bmp"}) {
    const QImage a = ahead.get(name).toImage();
    const QImage b = on_demand.get(name).toImage();
    EXPECT_EQ(a, b) << name;
    EXPECT_EQ(a.isNull(), QByteArray(name).contains("missing") || QByteArray(name).contains("broken"))
        << name;
  }
  EXPECT_EQ(ahead.get("opaque.bmp").toImage().pixelColor(4, 2), QColor(250, 1, 2));
  EXPECT_TRUE(ahead.get("clear.png").hasAlphaChannel());
  // Asked for twice, kept once.
  EXPECT_EQ(&ahead.get("opaque.bmp"), &ahead.get("opaque.bmp"));
}

TEST(PictureCache, EndsWhileItsHelperDecodes) {
  QTemporaryDir dir;
  QImage big(1500, 1500, QImage::Format_RGB32);
  big.fill(Qt::darkCyan);
  QStringList files;
  for (int i = 0; i < 6; ++i) {
    const QString name = QString("big%1.bmp").arg(i);
    ASSERT_TRUE(big.save(dir.filePath(name)));
    files << name;
  }
  { PictureCache(dir.path()).prefetch(files); }
  SUCCEED();
}

// Button pictures carry see-through corners as magenta (they are 24-bit BMP
// files); only button pictures are keyed, other pictures keep the colour.
TEST(PictureCache, ButtonPicturesKeyOutMagenta) {
  QTemporaryDir dir;
  QImage art(6, 4, QImage::Format_RGB32);
  art.fill(QColor(30, 140, 60));
  art.setPixelColor(0, 0, QColor(255, 0, 255));
  art.setPixelColor(5, 3, QColor(255, 0, 255));
  art.setPixelColor(2, 1, QColor(254, 0, 255));
  for (const char* name : {"btn_Form1_Command8.bmp", "kihonfuremu.bmp"}) ASSERT_TRUE(art.save(dir.filePath(name)));

  PictureCache ahead(dir.path());
  ahead.prefetch({"btn_Form1_Command8.bmp"});
  PictureCache on_demand(dir.path());
  for (PictureCache* cache : {&ahead, &on_demand}) {
    const QImage button = cache->get("btn_Form1_Command8.bmp").toImage();
    EXPECT_EQ(qAlpha(button.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(button.pixel(5, 3)), 0);
    EXPECT_EQ(button.pixelColor(2, 1), QColor(254, 0, 255));
    EXPECT_EQ(button.pixelColor(3, 2), QColor(30, 140, 60));
    const QImage background = cache->get("kihonfuremu.bmp").toImage();
    EXPECT_FALSE(background.hasAlphaChannel());
    EXPECT_EQ(background.pixelColor(0, 0), QColor(255, 0, 255));
  }
}
