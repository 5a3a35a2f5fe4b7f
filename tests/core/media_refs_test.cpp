// Every picture, sound and tune that the program refers to is made by the
// build, under exactly its name (case included).
#include "model/window_design.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

using namespace quilo;

namespace {

QString folder_for(const QString& file) {
  const QString ext = QFileInfo(file).suffix().toLower();
  if (ext == "wav") return "se";
  if (ext == "mid") return "music/midi";
  return "GF";
}

// File names written as string literals anywhere in the program's sources.
QSet<QString> literal_media_names() {
  static const QRegularExpression re(
      QStringLiteral("\"([^\"\\s/\\\\%<>.][^\"\\s/\\\\%<>]*\\.(?:bmp|jpg|JPG|jpeg|wav|mid))\""));
  QSet<QString> names;
  QDirIterator it(QStringLiteral(QUILO_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile f(it.next());
    if (!f.open(QIODevice::ReadOnly)) continue;
    const QString text = QString::fromUtf8(f.readAll());
    for (auto m = re.globalMatch(text); m.hasNext();) names.insert(m.next().captured(1));
  }
  return names;
}

// Pictures the window designs name: backgrounds, images, buttons with their pressed look.
QSet<QString> design_pictures() {
  QSet<QString> names;
  for (const FormDesign& f : all_form_designs()) {
    if (!f.background.isEmpty()) names.insert(f.background);
    for (const ControlDesign& c : f.controls) {
      if (c.picture.isEmpty()) continue;
      names.insert(c.picture);
      if (c.kind == Kind::Button || c.kind == Kind::Option) {
        const QFileInfo info(c.picture);
        names.insert(info.completeBaseName() + "_down." + info.suffix());
      }
    }
  }
  return names;
}

}  // namespace

TEST(MediaFiles, EveryReferencedFileIsBuilt) {
  QSet<QString> names = literal_media_names() + design_pictures();
  ASSERT_GT(names.size(), 60);  // the scan found the program's media at all
  const QDir media(QStringLiteral(QUILO_MEDIA_DIR));
  QStringList missing;
  for (const QString& name : names) {
    const QString folder = folder_for(name);
    // Compare names exactly: the listing, not the file system's lookup.
    const QStringList present = QDir(media.filePath(folder)).entryList(QDir::Files);
    if (!present.contains(name)) missing << folder + "/" + name;
  }
  missing.sort();
  EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString();
}
