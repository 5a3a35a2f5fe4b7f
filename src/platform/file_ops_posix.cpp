// Files on POSIX systems: open(2) with O_NONBLOCK and O_CLOEXEC, fstat(2),
// flock(2), fsync(2) and ftruncate(2).
#include "platform/file_ops.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace quilo::platform {
namespace {

constexpr int kNoWait = O_NONBLOCK | O_CLOEXEC | O_NOCTTY;

FileStatus status_of(const struct stat& st) {
  FileStatus s;
  s.kind = S_ISREG(st.st_mode) ? FileKind::Regular : S_ISDIR(st.st_mode) ? FileKind::Folder : FileKind::Other;
  s.size = st.st_size;
  s.id = {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
  s.owned_by_user = st.st_uid == ::geteuid();
  s.private_to_user = s.owned_by_user && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
  return s;
}

}  // namespace

SystemError SystemError::last() {
  SystemError e;
  e.code_ = errno;
  return e;
}

SystemError::Kind SystemError::kind() const {
  switch (code_) {
    case ENOENT:
      return Kind::Missing;
    case ENOTDIR:
      return Kind::NotAFolder;
    case EISDIR:
      return Kind::IsAFolder;
    case ENXIO:
      return Kind::SpecialFile;
    case EEXIST:
      return Kind::Exists;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return Kind::DiskFull;
    default:
      return Kind::Other;
  }
}

QString SystemError::text() const { return QString::fromLocal8Bit(std::strerror(code_)); }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.release();
  }
  return *this;
}

int File::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void File::close() {
  if (fd_ >= 0) ::close(release());
}

File open_to_read(const QByteArray& name, Links links) {
  return File(::open(name.constData(), O_RDONLY | kNoWait | (links == Links::Follow ? 0 : O_NOFOLLOW)));
}

File open_to_write(const QByteArray& name) { return File(::open(name.constData(), O_WRONLY | kNoWait)); }

File open_to_append(const QByteArray& name, bool& created) {
  const int flags = O_WRONLY | O_APPEND | kNoWait;
  created = false;
  int fd = ::open(name.constData(), flags);
  if (fd < 0 && errno == ENOENT) {
    // Made only when it is still missing: of two programs making it at once,
    // one makes it and the other opens it.
    fd = ::open(name.constData(), flags | O_CREAT | O_EXCL, 0666);
    created = fd >= 0;
    if (fd < 0 && errno == EEXIST) fd = ::open(name.constData(), flags);
  }
  return File(fd);
}

File create_private_file(const QByteArray& name) {
  return File(::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | kNoWait, 0600));
}

void allow_waiting(int fd) { ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK); }

std::optional<FileStatus> file_status(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return std::nullopt;
  return status_of(st);
}

std::optional<FileStatus> file_status(const QByteArray& name, Links links) {
  struct stat st {};
  const int result = links == Links::Follow ? ::stat(name.constData(), &st) : ::lstat(name.constData(), &st);
  if (result != 0) return std::nullopt;
  return status_of(st);
}

std::optional<FileStatus> file_status(std::FILE* stream) { return file_status(::fileno(stream)); }

Lock try_lock(int fd) {
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return Lock::Taken;
  return errno == EWOULDBLOCK || errno == EINTR ? Lock::Busy : Lock::Failed;
}

bool write_all(int fd, const QByteArray& bytes) {
  qint64 done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

bool read_at(int fd, long long offset, qsizetype size, QByteArray& bytes) {
  bytes.resize(size);
  qsizetype done = 0;
  while (done < size) {
    const ssize_t n = ::pread(fd, bytes.data() + done, size_t(size - done), off_t(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

QByteArray read_up_to(int fd, qsizetype size) {
  QByteArray bytes(size, Qt::Uninitialized);
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  bytes.truncate(done);
  return bytes;
}

bool sync_file(int fd) { return ::fsync(fd) == 0; }

bool sync_data(int fd) { return ::fdatasync(fd) == 0; }

bool cut_back(int fd, long long size) { return ::ftruncate(fd, off_t(size)) == 0 && ::fsync(fd) == 0; }

void sync_folder(const QString& folder) {
  const File dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | kNoWait));
  if (dir.is_open()) ::fsync(dir.descriptor());
}

bool replace_name(const QByteArray& from, const QByteArray& to) {
  return ::rename(from.constData(), to.constData()) == 0;
}

bool remove_file(const QByteArray& name) { return ::unlink(name.constData()) == 0; }

void restrict_to_user(const QByteArray& folder) {
  struct stat st {};
  if (::lstat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
      (st.st_mode & 07777) != 0700)
    ::chmod(folder.constData(), 0700);
}

}  // namespace quilo::platform
