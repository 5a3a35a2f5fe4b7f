#include "gui/picture_cache.h"

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
  return *pictures_.insert(file, QPixmap::fromImage(image));
}

}  // namespace quilo
