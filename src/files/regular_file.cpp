#include "files/regular_file.h"

#include "platform/file_ops.h"

namespace quilo {

OpenRefusal open_regular_file(QFile& file, const QString& path, qint64 max_bytes) {
  // Opened without waiting: opening a pipe for reading would otherwise wait
  // for a writer.
  platform::File opened = platform::open_to_read(QFile::encodeName(path));
  if (!opened.is_open())
    return platform::SystemError::last().kind() == platform::SystemError::Kind::Missing
               ? OpenRefusal::Missing
               : OpenRefusal::Unreadable;
  const auto status = platform::file_status(opened.descriptor());
  if (!status) return OpenRefusal::Unreadable;
  if (status->kind != platform::FileKind::Regular) return OpenRefusal::NotRegular;
  if (status->size > max_bytes) return OpenRefusal::TooLarge;
  platform::allow_waiting(opened.descriptor());
  // The file takes the descriptor over and closes it.
  return file.open(opened.release(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
             ? OpenRefusal::None
             : OpenRefusal::Unreadable;
}

bool read_bounded(QFile& file, qint64 max_bytes, QByteArray& bytes) {
  bytes = file.read(max_bytes + 1);
  return file.error() == QFileDevice::NoError && bytes.size() <= max_bytes;
}

}  // namespace quilo
