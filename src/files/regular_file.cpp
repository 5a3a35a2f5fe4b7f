#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace quilo {

OpenRefusal open_regular_file(QFile& file, const QString& path, qint64 max_bytes) {
  // Non-blocking: opening a pipe for reading would otherwise wait for a writer.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? OpenRefusal::Missing : OpenRefusal::Unreadable;
  struct stat st {};
  OpenRefusal refusal = OpenRefusal::None;
  if (::fstat(fd, &st) != 0)
    refusal = OpenRefusal::Unreadable;
  else if (!S_ISREG(st.st_mode))
    refusal = OpenRefusal::NotRegular;
  else if (st.st_size > max_bytes)
    refusal = OpenRefusal::TooLarge;
  if (refusal != OpenRefusal::None) {
    ::close(fd);
    return refusal;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  // The file takes the descriptor over and closes it.
  return file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) ? OpenRefusal::None
                                                                          : OpenRefusal::Unreadable;
}

bool read_bounded(QFile& file, qint64 max_bytes, QByteArray& bytes) {
  bytes = file.read(max_bytes + 1);
  return file.error() == QFileDevice::NoError && bytes.size() <= max_bytes;
}

}  // namespace quilo
