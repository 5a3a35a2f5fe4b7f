// quilo_mediagen: paints, synthesises and composes every picture, sound
// effect and tune of Quilo from code, byte-for-byte reproducibly.
//
//   quilo_mediagen OUTDIR                          write all media under OUTDIR
//   quilo_mediagen --contact-sheet OUT.png OUTDIR  also write an overview sheet
//   quilo_mediagen --only TEXT ...                 only files whose path contains TEXT
//   quilo_mediagen --list                          print the relative paths

#include "buttons.h"
#include "media.h"
#include "paint.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace quilo {

QByteArray encodePicture(const QImage& img, const QString& path) {
  const QString ext = QFileInfo(path).suffix().toLower();
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  if (ext == QLatin1String("png")) {
    img.save(&buf, "PNG", 9);
  } else if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) {
    img.convertToFormat(QImage::Format_RGB32).save(&buf, "JPEG", 90);
  } else {
    img.convertToFormat(QImage::Format_RGB32).save(&buf, "BMP");
  }
  return bytes;
}

QString hiDpiPath(const QString& path) {
  const int dot = path.lastIndexOf(QLatin1Char('.'));
  return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

void addPicture(MediaList& list, const QString& path, std::function<QImage()> paint, bool hiDpi) {
  list.push_back({path, [paint, path] { return encodePicture(paint(), path); }, paint});
  if (!hiDpi) return;
  // the same picture with two pixels per window pixel, beside it
  auto paint2x = [paint] {
    const PixelRatio ratio(2);
    return paint();
  };
  const QString path2x = hiDpiPath(path);
  list.push_back({path2x, [paint2x, path2x] { return encodePicture(paint2x(), path2x); }, paint2x});
}

MediaList allMedia() {
  MediaList list;
  addInterfacePictures(list);
  addButtonPictures(list);
  addStagingPictures(list);
  addSoundEffects(list);
  addMusic(list);
  return list;
}

}  // namespace quilo

namespace {

using namespace quilo;

bool isPicture(const QString& path) {
  const QString ext = QFileInfo(path).suffix().toLower();
  return ext == QLatin1String("bmp") || ext == QLatin1String("jpg") || ext == QLatin1String("png");
}

// Builds every item on two worker threads; the bytes do not depend on the order.
bool generate(const MediaList& items, const QString& outDir) {
  std::vector<QByteArray> out(items.size());
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i = next++; i < items.size(); i = next++) out[i] = items[i].make();
  };
  std::thread helper(worker);
  worker();
  helper.join();

  bool ok = true;
  for (size_t i = 0; i < items.size(); ++i) {
    const QString full = outDir + QLatin1Char('/') + items[i].path;
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (out[i].isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(out[i]) != out[i].size()) {
      std::fprintf(stderr, "quilo_mediagen: cannot write %s\n", qPrintable(full));
      ok = false;
    }
  }
  return ok;
}

bool contactSheet(const MediaList& items, const QString& outDir, const QString& sheetPath) {
  const int cellW = 150, thumbH = 92, labelH = 14, pad = 6, cols = 8;
  std::vector<const MediaItem*> pics;
  for (const auto& it : items)
    if (isPicture(it.path) && !it.path.contains(QLatin1String("@2x."))) pics.push_back(&it);
  const int rows = int((pics.size() + cols - 1) / cols);
  QImage sheet = canvas(cols * (cellW + pad) + pad, rows * (thumbH + labelH + pad) + pad, QColor(28, 28, 34));
  QPainter p;
  beginPainter(p, sheet);
  const QFont font = jpFont(fonts::PGothic, 10);
  p.setFont(font);
  for (size_t i = 0; i < pics.size(); ++i) {
    const int col = int(i % cols), row = int(i / cols);
    const QRect cell(pad + col * (cellW + pad), pad + row * (thumbH + labelH + pad), cellW, thumbH);
    QImageReader reader(outDir + QLatin1Char('/') + pics[i]->path);
    QImage img = reader.read();
    if (img.isNull()) return false;
    if (QFileInfo(pics[i]->path).fileName().startsWith(QLatin1String("btn_"))) {
      // buttons as the window shows them, without their key colour
      img.convertTo(QImage::Format_ARGB32);
      for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
          if (line[x] == kButtonKey) line[x] = 0;
      }
    }
    const QSize fit = img.size().scaled(cell.size(), Qt::KeepAspectRatio).boundedTo(img.size());
    const QImage thumb = img.scaled(fit, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    p.fillRect(cell, QColor(16, 16, 20));
    p.drawImage(cell.center().x() - thumb.width() / 2 + 1, cell.center().y() - thumb.height() / 2 + 1, thumb);
    p.setPen(QColor(220, 220, 230));
    const QString name = pics[i]->path.mid(3);
    p.drawText(QRect(cell.left() - 2, cell.bottom() + 1, cellW + 4, labelH), Qt::AlignCenter,
               QFontMetrics(font).elidedText(name, Qt::ElideMiddle, cellW + 4));
  }
  p.end();
  // an indexed palette keeps the overview small enough to keep in the repository
  return sheet.convertToFormat(QImage::Format_Indexed8, Qt::DiffuseDither).save(sheetPath, "PNG", 9);
}

int usage() {
  std::fprintf(stderr,
               "usage: quilo_mediagen [--only TEXT] [--contact-sheet OUT.png] OUTDIR\n"
               "       quilo_mediagen --list\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);

  QString outDir, sheet, only;
  bool list = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--contact-sheet") && i + 1 < args.size())
      sheet = args[++i];
    else if (a == QLatin1String("--only") && i + 1 < args.size())
      only = args[++i];
    else if (a == QLatin1String("--list"))
      list = true;
    else if (a.startsWith(QLatin1String("--")))
      return usage();
    else if (outDir.isEmpty())
      outDir = a;
    else
      return usage();
  }

  MediaList items = allMedia();
  if (list) {
    for (const auto& it : items) std::printf("%s\n", it.path.toUtf8().constData());
    return 0;
  }
  if (outDir.isEmpty()) return usage();
  if (!only.isEmpty()) {
    MediaList some;
    for (auto& it : items)
      if (it.path.contains(only)) some.push_back(it);
    items = some;
  }

  QElapsedTimer timer;
  timer.start();
  if (!generate(items, outDir)) return 1;
  std::printf("quilo_mediagen: %zu files in %s (%.1f s)\n", items.size(), qPrintable(outDir),
              timer.elapsed() / 1000.0);
  if (!sheet.isEmpty() && !contactSheet(items, outDir, sheet)) {
    std::fprintf(stderr, "quilo_mediagen: cannot write contact sheet %s\n", qPrintable(sheet));
    return 1;
  }
  return 0;
}
