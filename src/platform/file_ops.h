// Files as the operating system opens, locks, syncs and cuts them: what the
// output file, its append journal and the files read at start-up need beyond
// QFile. No open waits (for the other end of a pipe, for a device): it
// succeeds or fails at once; and no open file is inherited by a program
// started from here. Names are the bytes the system takes
// (QFile::encodeName), so that a name that is not valid text still leads to
// its file.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <optional>

namespace quilo::platform {

// What the system said when a call of this header failed, taken right after
// the call (SystemError::last()).
class SystemError {
 public:
  enum class Kind {
    Other,
    Missing,      // no file of that name
    NotAFolder,   // a part of the name that should be a folder is a file
    IsAFolder,    // a folder where a file was meant
    SpecialFile,  // a pipe with nobody at the other end, a socket, a device that is not there
    Exists,       // a file is there already
    DiskFull,     // no room left on the disk, in the user's quota or in the file
  };
  static SystemError last();
  Kind kind() const;
  // The system's own words, in the user's language.
  QString text() const;

 private:
  int code_ = 0;
};

// The identity of a file, the same whatever name or link it is reached by.
struct FileId {
  unsigned long long device = 0, inode = 0;
  friend bool operator==(const FileId&, const FileId&) = default;
};

enum class FileKind { Regular, Folder, Other };

struct FileStatus {
  FileKind kind = FileKind::Other;
  long long size = 0;
  FileId id;
  bool owned_by_user = false;    // owned by the user the program runs as
  bool private_to_user = false;  // that, and nobody else may write to it
};

// An open file: the C runtime's descriptor (what QFile::open(int) takes),
// closed when the File ends.
class File {
 public:
  File() = default;
  explicit File(int descriptor) : fd_(descriptor) {}
  ~File() { close(); }
  File(File&& other) noexcept : fd_(other.release()) {}
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool is_open() const { return fd_ >= 0; }
  int descriptor() const { return fd_; }
  // The descriptor, no longer closed by this File.
  int release();
  void close();

 private:
  int fd_ = -1;
};

enum class Links { Follow, DoNotFollow };

// Opens an existing file for reading.
File open_to_read(const QByteArray& name, Links links = Links::Follow);
// Opens an existing file for writing.
File open_to_write(const QByteArray& name);
// Opens the file for appending, making it when there is none; `created` says
// whether this call made it. When two programs make it at once, one makes it
// and both open it.
File open_to_append(const QByteArray& name, bool& created);
// Makes a file that only the user may read and write (emptying one that is
// there), for writing; a link under the name is not followed.
File create_private_file(const QByteArray& name);
// From now on reads of the open file wait for their bytes as usual.
void allow_waiting(int fd);

std::optional<FileStatus> file_status(int fd);
std::optional<FileStatus> file_status(const QByteArray& name, Links links);
std::optional<FileStatus> file_status(std::FILE* stream);

// An exclusive advisory lock on the whole file, which every Quilo takes
// before it changes the file; held until the descriptor is closed.
enum class Lock { Taken, Busy, Failed };
Lock try_lock(int fd);

// Writes every byte; false when a write failed.
bool write_all(int fd, const QByteArray& bytes);
// Reads exactly `size` bytes at `offset`.
bool read_at(int fd, long long offset, qsizetype size, QByteArray& bytes);
// Reads from the current place up to `size` bytes, fewer when the file ends
// or a read fails.
QByteArray read_up_to(int fd, qsizetype size);

// Puts the file's bytes and its length (sync_data: what reading it back
// needs) on the disk.
bool sync_file(int fd);
bool sync_data(int fd);
// Cuts the file back to `size` bytes and syncs it.
bool cut_back(int fd, long long size);
// Puts the folder's list of names on the disk (a file made, renamed or
// removed in it), where the system keeps that apart from the files.
void sync_folder(const QString& folder);

// Gives the file `from` the name `to`, in place of any file of that name.
bool replace_name(const QByteArray& from, const QByteArray& to);
// Removes the name (the file goes with its last name and descriptor).
bool remove_file(const QByteArray& name);
// A folder of the user's own becomes one that only the user may open or
// change; any other folder (or none) is left as it is.
void restrict_to_user(const QByteArray& folder);

}  // namespace quilo::platform
