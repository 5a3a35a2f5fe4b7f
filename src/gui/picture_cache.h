// Pictures from the GF folder, decoded once and kept. On a screen whose device
// pixel ratio is above 1 a picture "name.ext" comes from "name@2x.ext" beside
// it when that one has twice its size, with a device pixel ratio of 2, so that
// it takes the same place in the window and is drawn sharply.
#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace quilo {

class PictureCache {
 public:
  // ratio: the device pixel ratio the pictures are for; 0 takes the
  // application's (the highest of its screens').
  explicit PictureCache(QString gf_folder, qreal ratio = 0);
  ~PictureCache();
  PictureCache(const PictureCache&) = delete;
  PictureCache& operator=(const PictureCache&) = delete;

  // Starts decoding FILES on a helper thread, so that the pictures of a window
  // about to show are ready when it paints; get() waits for one still being
  // decoded. Only the first call has an effect.
  void prefetch(const QStringList& files);

  // The picture, or a null pixmap when the file is missing or unreadable
  // (reported once on standard error; the program goes on without it).
  // The pixmap is a shared copy: it stays valid whatever the cache does next.
  QPixmap get(const QString& file);

  // Told of each picture decoded and kept, with the bytes it takes (measurements).
  std::function<void(const QString& file, long long bytes)> on_decoded;

 private:
  struct Decoded {
    QImage image;
    QString error;
  };
  Decoded decode(const QString& file) const;

  QString folder_;
  bool hidpi_;
  QHash<QString, QPixmap> pictures_;

  // Prefetching: the files asked for, and those decoded so far.
  std::thread worker_;
  std::mutex mutex_;
  std::condition_variable done_;
  QStringList prefetching_;
  QHash<QString, Decoded> prefetched_;
};

}  // namespace quilo
