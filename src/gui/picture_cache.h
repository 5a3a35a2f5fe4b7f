// Pictures from the GF folder, decoded once and kept.
#pragma once

#include <QHash>
#include <QPixmap>
#include <QSet>
#include <QString>

namespace quilo {

class PictureCache {
 public:
  explicit PictureCache(QString gf_folder) : folder_(std::move(gf_folder)) {}

  // The picture, or a null pixmap when the file is missing or unreadable
  // (reported once on standard error; the program goes on without it).
  const QPixmap& get(const QString& file);

 private:
  QString folder_;
  QHash<QString, QPixmap> pictures_;
  QPixmap none_;
};

}  // namespace quilo
