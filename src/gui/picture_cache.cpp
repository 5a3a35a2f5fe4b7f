// Decoding, keeping and letting go of the GF pictures, and the helper thread
// that decodes ahead.
#include "gui/picture_cache.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

#include <algorithm>
#include <cstdio>

namespace quilo {

PictureCache::~PictureCache() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
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

long long bytes_of(const QPixmap& pm) { return (long long)pm.width() * pm.height() * pm.depth() / 8; }

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
  // The format named by the file's suffix: a reader left to guess loads every
  // image plug-in to ask it before it tries the built-in BMP reader.
  const QByteArray format = QFileInfo(file).suffix().toLower().toLatin1();
  QImageReader reader(folder_ + QLatin1Char('/') + file, format);
  reader.setAutoDetectImageFormat(false);
  Decoded d;
  if (hidpi_) {
    // The sharp picture only when it matches the plain one, so that it takes
    // the same place.
    QImageReader sharp(folder_ + QLatin1Char('/') + hidpi_name(file), format);
    sharp.setAutoDetectImageFormat(false);
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
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ahead_ = QSet<QString>(files.begin(), files.end());
    for (const QString& file : files) {
      if (!file.isEmpty() && !holds_locked(file)) queue_.push_back(file);
    }
    if (!worker_.joinable()) worker_ = std::thread([this] { decode_ahead(); });
  }
  wake_.notify_all();
}

void PictureCache::decode_ahead() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    const QString file = queue_.front();
    queue_.pop_front();
    decoding_ = file;
    lock.unlock();
    Decoded d = decode(file);
    lock.lock();
    // Kept only while still wanted: the prefetch may have been forgotten meanwhile.
    if (ahead_.contains(file) || waiting_ == file) prefetched_.insert(file, std::move(d));
    decoding_.clear();
    done_.notify_all();
  }
}

QPixmap PictureCache::get(const QString& file) {
  if (file.isEmpty()) return {};
  auto it = pictures_.find(file);
  if (it != pictures_.end()) return *it;
  Decoded d;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    // One still waiting for the helper is decoded here at once instead.
    const auto queued = std::find(queue_.begin(), queue_.end(), file);
    if (queued != queue_.end()) queue_.erase(queued);
    waiting_ = file;
    done_.wait(lock, [&] { return decoding_ != file; });
    waiting_.clear();
    d = prefetched_.take(file);
  }
  if (d.image.isNull() && d.error.isEmpty()) d = decode(file);
  if (d.image.isNull())
    std::fprintf(stderr, "quilo: picture %s: %s\n", qPrintable(file), qPrintable(d.error));
  const QPixmap& kept = *pictures_.insert(file, QPixmap::fromImage(std::move(d.image)));
  if (!kept.isNull() && on_decoded) on_decoded(file, bytes_of(kept));
  return kept;
}

void PictureCache::forget_ahead() {
  const std::lock_guard<std::mutex> lock(mutex_);
  ahead_.clear();
  prefetched_.clear();
  queue_.clear();
}

void PictureCache::keep_only(const QSet<QString>& on_screen) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto wanted = [&](const QString& file) { return on_screen.contains(file) || ahead_.contains(file); };
  for (auto it = pictures_.begin(); it != pictures_.end();) {
    if (wanted(it.key())) {
      ++it;
      continue;
    }
    if (!it->isNull() && on_released) on_released(it.key(), bytes_of(*it));
    it = pictures_.erase(it);
  }
  for (auto it = prefetched_.begin(); it != prefetched_.end();)
    it = wanted(it.key()) ? ++it : prefetched_.erase(it);
  std::erase_if(queue_, [&](const QString& file) { return !wanted(file); });
}

bool PictureCache::holds(const QString& file) {
  const std::lock_guard<std::mutex> lock(mutex_);
  return holds_locked(file);
}

bool PictureCache::holds_locked(const QString& file) const {
  // One being decoded counts while it will be kept when done.
  return pictures_.contains(file) || prefetched_.contains(file) ||
         (decoding_ == file && (ahead_.contains(file) || waiting_ == file)) ||
         std::find(queue_.begin(), queue_.end(), file) != queue_.end();
}

}  // namespace quilo
