// The output file: the five lines one output appends, their Windows-31J
// bytes, and an append that never leaves half an entry behind.
#pragma once

#include "text/windows31j.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QFile;

namespace quilo {

// The five lines of one output: output line 0 as it is, lines 1 to 3 each
// after four blanks, and one full-width blank. A line break inside a line
// becomes one blank.
QStringList output_entry(const std::vector<QString>& output_lines);
// Those lines encoded, each ended by CR LF.
QByteArray output_entry_bytes(const std::vector<QString>& output_lines);

// Why the file `name` in `folder` cannot take an output, as a reason for the
// user; nullopt when nothing speaks against trying.
std::optional<QString> check_output_target(const QString& folder, const QString& name);

// Writes at the end of an open file, like QFile::write: the bytes written, or
// -1 on failure. A stand-in lets tests fail a write part-way.
using ChunkWriter = std::function<qint64(QFile& file, const char* data, qint64 size)>;

// Appends the bytes to the file at path (creating it when missing), whole or
// not at all, also while other Quilo instances append to the same file and
// when the program is killed or the power fails part-way: an advisory lock on
// the file is held for the whole append, an intent record in the append
// journal lets an unfinished append be rolled back later (see
// append_journal.h), and when a write fails only the bytes this append wrote
// are cut back (a file this call created is removed again). Returns the
// reason of a failure, saying what became of the file; nullopt when every
// byte is in the file and synced.
std::optional<QString> append_to_file(const QString& path, const QByteArray& bytes,
                                      const ChunkWriter& writer = {});

// Reads the whole file (a regular file of at most kMaxPrintedFileBytes) and
// decodes it from Windows-31J; returns the reason of a failure.
std::optional<QString> read_windows31j_file(const QString& path, QString& text);

}  // namespace quilo
