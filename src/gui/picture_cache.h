// Pictures from the GF folder, decoded when first asked for and kept while
// the windows show them. On a screen whose device pixel ratio is above 1 a
// picture "name.ext" comes from "name@2x.ext" beside it when that one has
// twice its size, with a device pixel ratio of 2, so that it takes the same
// place in the window and is drawn sharply.
#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
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

  // Starts decoding FILES on a helper thread, so that they are ready when
  // they are asked for: the pictures of a window about to show, the next
  // picture of a running staging. get() waits for one still being decoded.
  // These files are kept (see keep_only) until the next call names others.
  void prefetch(const QStringList& files);

  // The picture, or a null pixmap when the file is missing or unreadable
  // (reported once on standard error; the program goes on without it).
  // The pixmap is a shared copy: it stays valid whatever the cache does next.
  QPixmap get(const QString& file);

  // Lets go of every picture except those in ON_SCREEN and those of the
  // latest prefetch; one asked for again is decoded again.
  void keep_only(const QSet<QString>& on_screen);
  // The latest prefetch is no longer wanted: what it decoded and nothing has
  // shown yet is let go, and what it queued is not decoded.
  void forget_ahead();

  // Whether FILE is decoded and kept, or being decoded ahead (for tests).
  bool holds(const QString& file);

  // Told of each picture decoded and kept, and of each let go, with the bytes
  // it takes (measurements).
  std::function<void(const QString& file, long long bytes)> on_decoded;
  std::function<void(const QString& file, long long bytes)> on_released;

 private:
  struct Decoded {
    QImage image;
    QString error;
  };
  Decoded decode(const QString& file) const;
  void decode_ahead();
  bool holds_locked(const QString& file) const;  // with mutex_ held

  QString folder_;
  bool hidpi_;
  QHash<QString, QPixmap> pictures_;

  // Decoding ahead: the helper thread takes the queue's files one by one.
  std::thread worker_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  bool stopping_ = false;
  std::deque<QString> queue_;
  QString decoding_;
  QString waiting_;  // the file get() waits for the helper to finish
  QHash<QString, Decoded> prefetched_;
  QSet<QString> ahead_;  // the files of the latest prefetch
};

}  // namespace quilo
