// The list of every generated media file and how to make its bytes.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace quilo {

struct MediaItem {
  QString path;                      // relative to the output folder, e.g. "GF/Image206.jpg"
  std::function<QByteArray()> make;  // file contents
  std::function<QImage()> picture;   // set for pictures (used by the contact sheet)
};
using MediaList = std::vector<MediaItem>;

// Encodes by extension: .bmp as 24-bit BMP, .jpg/.JPG as JPEG, .png as PNG.
QByteArray encodePicture(const QImage& img, const QString& path);
// "GF/name.ext" -> "GF/name@2x.ext"
QString hiDpiPath(const QString& path);
// Adds the picture and, unless hiDpi is false, the same picture drawn with two
// pixels per window pixel as hiDpiPath(path), for screens whose device pixel
// ratio is above 1.
void addPicture(MediaList& list, const QString& path, std::function<QImage()> paint, bool hiDpi = true);

void addInterfacePictures(MediaList& list);
void addStagingPictures(MediaList& list);
void addButtonPictures(MediaList& list);
void addSoundEffects(MediaList& list);
void addMusic(MediaList& list);

MediaList allMedia();

}  // namespace quilo
