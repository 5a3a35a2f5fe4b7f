#include "gui/picture_cache.h"

#include "gui/frame_trace.h"

#include <QImageReader>

#include <cstdio>

namespace quilo {

const QPixmap& PictureCache::get(const QString& file) {
  if (file.isEmpty()) return none_;
  auto it = pictures_.find(file);
  if (it != pictures_.end()) return *it;
  QImageReader reader(folder_ + QLatin1Char('/') + file);
  QImage image = reader.read();
  if (image.isNull())
    std::fprintf(stderr, "quilo: picture %s: %s\n", qPrintable(file),
                 qPrintable(reader.errorString()));
  const QPixmap& kept = *pictures_.insert(file, QPixmap::fromImage(image));
  if (!kept.isNull())
    frame_trace::decoded(file, (long long)kept.width() * kept.height() * kept.depth() / 8);
  return kept;
}

}  // namespace quilo
