// The output file: the five lines one output appends, their Windows-31J
// bytes, and an append that never leaves half an entry behind.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QFile;

namespace quilo {

// Text as Windows-31J bytes (Shift_JIS as Japanese Windows writes it); a
// character the encoding cannot hold becomes "?", the rest is kept.
QByteArray encode_windows31j(const QString& text);
// Windows-31J bytes as text; bytes that are no character read as U+FFFD.
QString decode_windows31j(const QByteArray& bytes);

// The five lines of one output: output line 0 as it is, lines 1 to 3 each
// after four blanks, and one full-width blank.
QStringList output_entry(const std::vector<QString>& output_lines);
// Those lines encoded, each ended by CR LF.
QByteArray output_entry_bytes(const std::vector<QString>& output_lines);

// Why the file `name` in `folder` cannot take an output, as a reason for the
// user; nullopt when nothing speaks against trying.
std::optional<QString> check_output_target(const QString& folder, const QString& name);

// Writes at the end of an open file, like QFile::write: the bytes written, or
// -1 on failure. A stand-in lets tests fail a write part-way.
using ChunkWriter = std::function<qint64(QFile& file, const char* data, qint64 size)>;

// Appends the bytes to the file at path (creating it when missing). When the
// write fails, the file is cut back to its former length (a file this call
// created is removed again). Returns the reason of a failure, nullopt when
// every byte is in the file.
std::optional<QString> append_to_file(const QString& path, const QByteArray& bytes,
                                      const ChunkWriter& writer = {});

// Reads the whole file and decodes it from Windows-31J; returns the reason
// of a failure.
std::optional<QString> read_windows31j_file(const QString& path, QString& text);

}  // namespace quilo
