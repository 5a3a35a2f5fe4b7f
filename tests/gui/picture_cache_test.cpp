// Pictures decoded ahead on the helper thread are the same as those decoded
// when asked for; a missing or broken one gives a null picture without
// blocking; a cache may end while its helper is still decoding. Only what the
// windows show and what a running staging shows next stay decoded.
#include "gui/picture_cache.h"

#include "desktop_fixture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <map>

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
  // Asked for twice, decoded once: both copies share the one picture.
  EXPECT_EQ(ahead.get("opaque.bmp").cacheKey(), ahead.get("opaque.bmp").cacheKey());
}

// Asserts nothing of its own: ending a cache while its helper thread still
// decodes must not crash or hang, and the sanitized suite reports any race or
// use after free.
TEST(PictureCache, EndsWhileItsHelperDecodesUnderTheSanitizers) {
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
  for (const char* name : {"btn_Form1_Command8.bmp", "kihonfuremu.bmp"})
    ASSERT_TRUE(art.save(dir.filePath(name)));

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

// Above a device pixel ratio of 1 a picture comes from its @2x file when that
// one has exactly twice its size; it then carries a ratio of 2 and takes the
// place of the plain picture. Otherwise the plain picture is used.
TEST(PictureCache, SharpPicturesAboveRatioOne) {
  QTemporaryDir dir;
  auto save = [&](const QString& name, QSize size, QColor colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(colour);
    img.setPixelColor(0, 0, QColor(255, 0, 255));
    ASSERT_TRUE(img.save(dir.filePath(name)));
  };
  const QColor plain(10, 20, 30), sharp(200, 210, 220);
  for (const char* stem : {"both", "btn_both"}) {
    save(QString("%1.bmp").arg(stem), {5, 3}, plain);
    save(QString("%1@2x.bmp").arg(stem), {10, 6}, sharp);
  }
  save("only_plain.bmp", {5, 3}, plain);
  save("wrong_size.bmp", {5, 3}, plain);
  save("wrong_size@2x.bmp", {10, 7}, sharp);
  save("broken.bmp", {5, 3}, plain);
  QFile broken(dir.filePath("broken@2x.bmp"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("BM not a picture");
  broken.close();

  const struct {
    qreal ratio;
    const char* file;
    QColor colour;
    qreal picture_ratio;
  } cases[] = {
      {1.0, "both.bmp", plain, 1},       {2.0, "both.bmp", sharp, 2},       {1.5, "both.bmp", sharp, 2},
      {2.0, "only_plain.bmp", plain, 1}, {2.0, "wrong_size.bmp", plain, 1}, {2.0, "broken.bmp", plain, 1},
      {2.0, "btn_both.bmp", sharp, 2},   {1.0, "btn_both.bmp", plain, 1},
  };
  for (const auto& c : cases) {
    PictureCache ahead(dir.path(), c.ratio);
    ahead.prefetch({c.file});
    PictureCache on_demand(dir.path(), c.ratio);
    for (PictureCache* cache : {&ahead, &on_demand}) {
      const QPixmap& pm = cache->get(c.file);
      const QString what = QString("%1 at ratio %2").arg(c.file).arg(c.ratio);
      EXPECT_EQ(pm.devicePixelRatio(), c.picture_ratio) << what.toStdString();
      EXPECT_EQ(pm.deviceIndependentSize(), QSizeF(5, 3)) << what.toStdString();
      const QImage img = pm.toImage();
      EXPECT_EQ(img.pixelColor(img.width() - 1, img.height() - 1), c.colour) << what.toStdString();
      // button pictures are keyed at either size
      const bool button = QByteArray(c.file).startsWith("btn_");
      EXPECT_EQ(qAlpha(img.pixel(0, 0)), button ? 0 : 255) << what.toStdString();
    }
  }
}

// What is not shown is let go (and decoded again when asked for); the files
// of the latest prefetch stay until a later one names others.
TEST(PictureCache, KeepsWhatIsShownAndWhatComesNext) {
  QTemporaryDir dir;
  for (int i = 0; i < 4; ++i) {
    QImage img(8, 6, QImage::Format_RGB32);
    img.fill(QColor(40 * i, 90, 200));
    ASSERT_TRUE(img.save(dir.filePath(QString("p%1.bmp").arg(i))));
  }
  PictureCache cache(dir.path());
  std::map<QString, long long> decoded, released;
  cache.on_decoded = [&](const QString& f, long long bytes) { decoded[f] += bytes; };
  cache.on_released = [&](const QString& f, long long bytes) { released[f] += bytes; };
  const QImage first = cache.get("p0.bmp").toImage();
  cache.get("p1.bmp");
  cache.prefetch({"p2.bmp"});
  cache.keep_only({"p0.bmp"});

  const auto held = [&] {
    QStringList files;
    for (const char* file : {"p0.bmp", "p1.bmp", "p2.bmp", "p3.bmp"})
      if (cache.holds(file)) files << file;
    return files;
  };
  EXPECT_EQ(held(), QStringList({"p0.bmp", "p2.bmp"}));
  EXPECT_EQ(released, (std::map<QString, long long>{{"p1.bmp", 8 * 6 * 4}}));

  // The next staging picture takes the place of the one before.
  cache.prefetch({"p3.bmp"});
  cache.keep_only({"p1.bmp"});
  EXPECT_EQ(held(), QStringList({"p3.bmp"}));

  // A picture let go comes back the same.
  EXPECT_EQ(cache.get("p0.bmp").toImage(), first);
  EXPECT_EQ(decoded["p0.bmp"], 2 * 8 * 6 * 4);
  EXPECT_EQ(cache.get("p3.bmp").toImage().pixelColor(0, 0), QColor(120, 90, 200));

  // A prefetch no longer wanted goes, decoded, queued or being decoded; what
  // is shown stays.
  cache.prefetch({"p1.bmp", "p2.bmp", "p3.bmp"});
  cache.forget_ahead();
  cache.keep_only({"p0.bmp"});
  EXPECT_EQ(held(), QStringList({"p0.bmp"}));
}

// Through each staging (skipped, so that it runs at once), pressed with the
// pointer resting on its button first, as a user does: every background the
// window shows was on its way before its time, the first one too (decoded
// while the pointer rested on the button); the makai escalation decodes only
// the picture it ends on, not those it passes over in the same moment.
// Afterwards the staging's picture still on screen is kept, and the next
// press's first picture while the focus is back on the button; once focus and
// pointer have left it, only what is on screen.
TEST(PictureCache, AStagingDecodesAheadAndKeepsOnlyWhatIsShown) {
  const struct {
    ControlName command;
    const char *first_odds, *second_odds, *first, *last;
    QStringList passed_over;
  } stagings[] = {
      {form1::Command6, "2.5", "5.0", "Image204.jpg", "newseiunPIRU6.bmp", {}},
      {form1::Command6, "1.5", "4.0", "Image204.jpg", "newseiunPIRU1.bmp", {}},
      {form1::Command6, "1.5", "3.0", "makaigazou.jpg", "blackhoulg01.bmp", {}},
      {form1::Command1,
       "1.5",
       "3.0",
       "Image206.jpg",
       "ankokuseiun658.bmp",
       {"qubuorra77.bmp", "blackhoolg11.bmp"}},
  };
  for (const auto& staging : stagings) {
    SCOPED_TRACE(staging.last);
    test::Desktop d;
    MainWindow& main = d.shell.app().main();
    main.c(form1::Text1).text = staging.first_odds;
    main.c(form1::Text2).text = staging.second_odds;
    d.buyable_panel();
    PictureCache& cache = d.shell.platform().pictures();
    std::vector<std::pair<QString, bool>> steps;  // each background, and whether it was on its way
    d.shell.platform().on_background = [&](const QString& f) { steps.push_back({f, cache.holds(f)}); };

    d.view(1).activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.view(1)));
    QWidget* button = d.view(1).widget(staging.command.text());
    // The pointer comes and goes as the window system says, sent here as Qt
    // sends it (the test platform's pointer need not follow): marked, then told.
    const auto pointer = [&](bool on) {
      QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
      QEvent leave(QEvent::Leave);
      button->setAttribute(Qt::WA_UnderMouse, on);
      QApplication::sendEvent(button, on ? static_cast<QEvent*>(&enter) : &leave);
    };
    pointer(false);
    EXPECT_FALSE(cache.holds(staging.first));
    pointer(true);
    EXPECT_TRUE(cache.holds(staging.first));
    QTimer::singleShot(0, [&] { QTest::keyClick(&d.view(1), Qt::Key_Escape); });
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_FALSE(d.shell.app().busy());

    ASSERT_GE(steps.size(), 6u);
    EXPECT_EQ(steps.front().first, staging.first);
    EXPECT_EQ(main.form.background, staging.last);
    for (const auto& [file, ahead] : steps)
      EXPECT_EQ(ahead, !staging.passed_over.contains(file)) << file.toStdString();
    for (const auto& [file, ahead] : steps)
      EXPECT_EQ(cache.holds(file), file == main.form.background || file == staging.first)
          << file.toStdString();

    // Pointer and focus leave the button: its first picture goes.
    pointer(false);
    EXPECT_TRUE(cache.holds(staging.first));  // the focus is still there
    d.view(1).widget(form1::Text1.text())->setFocus();
    EXPECT_FALSE(cache.holds(staging.first));
    EXPECT_TRUE(cache.holds(staging.last));
  }
}
