#include "gui/picture_cache.h"

#include <QGuiApplication>
#include <QImageReader>

#include <cstdio>

namespace quilo {

PictureCache::~PictureCache() {
  if (worker_.joinable()) worker_.join();
}

namespace {

// Button pictures are 24-bit BMP files whose corners round the rounded
// button hold this colour; it is shown as see-through.
constexpr QRgb kButtonKey = 0xffff00ff;

bool is_button_picture(const QString& file) { return file.startsWith(QLatin1String("btn_")); }

QString hidpi_name(const QString& file) {
  const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? file + QStringLiteral("@2x") : file.left(dot) + QStringLiteral("@2x") + file.mid(dot);
}

void key_out(QImage& image) {
  image.convertTo(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (line[x] == kButtonKey) line[x] = 0;
  }
}

}  // namespace

PictureCache::PictureCache(QString gf_folder, qreal ratio)
    : folder_(std::move(gf_folder)),
      hidpi_((ratio > 0 ? ratio : (qGuiApp ? qGuiApp->devicePixelRatio() : 1.0)) > 1.0) {}

PictureCache::Decoded PictureCache::decode(const QString& file) const {
  QImageReader reader(folder_ + QLatin1Char('/') + file);
  Decoded d;
  if (hidpi_) {
    // The sharp picture only when it matches the plain one, so that it takes
    // the same place.
    QImageReader sharp(folder_ + QLatin1Char('/') + hidpi_name(file));
    const QSize plain = reader.size();
    if (plain.isValid() && sharp.size() == plain * 2) {
      d.image = sharp.read();
      d.image.setDevicePixelRatio(2);
    }
  }
  if (d.image.isNull()) d.image = reader.read();
  if (d.image.isNull()) {
    d.error = reader.errorString();
  } else {
    if (is_button_picture(file)) key_out(d.image);
    // The pixel format the window draws from, so that making the pixmap
    // copies nothing more.
    d.image.convertTo(d.image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  }
  return d;
}

void PictureCache::prefetch(const QStringList& files) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (worker_.joinable()) return;
  prefetching_ = files;
  worker_ = std::thread([this, files] {
    for (const QString& file : files) {
      Decoded d = decode(file);
      const std::lock_guard<std::mutex> lock(mutex_);
      prefetched_.insert(file, std::move(d));
      done_.notify_all();
    }
  });
}

QPixmap PictureCache::get(const QString& file) {
  if (file.isEmpty()) return {};
  auto it = pictures_.find(file);
  if (it != pictures_.end()) return *it;
  Decoded d;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    if (prefetching_.contains(file)) {
      done_.wait(lock, [&] { return prefetched_.contains(file); });
      d = prefetched_.take(file);
    }
  }
  if (d.image.isNull() && d.error.isEmpty()) d = decode(file);
  if (d.image.isNull())
    std::fprintf(stderr, "quilo: picture %s: %s\n", qPrintable(file), qPrintable(d.error));
  const QPixmap& kept = *pictures_.insert(file, QPixmap::fromImage(std::move(d.image)));
  if (!kept.isNull() && on_decoded)
    on_decoded(file, (long long)kept.width() * kept.height() * kept.depth() / 8);
  return kept;
}

}  // namespace quilo
