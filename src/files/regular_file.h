// Opening the files the program reads (the tables, the teaching file, an
// output file to print) so that no name can make it wait for ever or fill its
// memory: only a regular file opens, without waiting on a pipe or a device,
// and only up to a size far above any real use.
#pragma once

#include <QFile>
#include <QString>

namespace quilo {

// The largest files read: about 150 times the largest table, 500 times the
// teaching file, and some 40,000 output entries to print.
constexpr qint64 kMaxTableFileBytes = 4 * 1024 * 1024;
constexpr qint64 kMaxTeachingFileBytes = 1024 * 1024;
constexpr qint64 kMaxPrintedFileBytes = 8 * 1024 * 1024;

enum class OpenRefusal { None, Missing, NotRegular, TooLarge, Unreadable };

// Opens `path` for reading into `file` when it is a regular file (links are
// followed) of at most max_bytes. A pipe, a device or a folder is refused
// without opening it for reading in a way that could wait.
OpenRefusal open_regular_file(QFile& file, const QString& path, qint64 max_bytes);

// Reads at most max_bytes of an open file; false when the file holds more
// (it grew after it was opened) or a read failed.
bool read_bounded(QFile& file, qint64 max_bytes, QByteArray& bytes);

}  // namespace quilo
