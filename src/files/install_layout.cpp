#include "files/install_layout.h"

#include "files/table_files.h"

#include <QDir>
#include <QFileInfo>

namespace quilo {

InstallLayout locate_install(const QString& program_folder) {
  const QDir program(program_folder);
  // First the build tree (everything beside the program), then an installed
  // prefix (the program in lib/quilo, its data in share/quilo).
  const QString roots[] = {
      QDir::cleanPath(program.absolutePath()),
      QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../../share/quilo"))),
  };
  InstallLayout layout;
  layout.program_folder = roots[0];
  for (const QString& root : roots) {
    if (layout.media_folder.isEmpty() && QFileInfo(root + QStringLiteral("/GF")).isDir())
      layout.media_folder = root;
    if (layout.data_folder.isEmpty() &&
        QFileInfo(root + QStringLiteral("/data/") + crt_file_name(1)).isFile())
      layout.data_folder = root + QStringLiteral("/data");
  }
  // Nothing found: the program's own folder, so that what is missing is
  // reported where it was looked for first.
  if (layout.media_folder.isEmpty()) layout.media_folder = layout.program_folder;
  return layout;
}

}  // namespace quilo
