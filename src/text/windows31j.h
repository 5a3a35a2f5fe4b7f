// Windows-31J (Shift_JIS as Japanese Windows writes it), the encoding of the
// files the program reads and writes.
#pragma once

#include <QByteArray>
#include <QString>

namespace quilo {

// Text as Windows-31J bytes; a character the encoding cannot hold becomes
// "?", the rest is kept.
QByteArray encode_windows31j(const QString& text);

// Windows-31J bytes as text. Bytes that are no character read as U+FFFD, one
// for each stray byte or lead byte without its second byte; the byte after a
// lone lead byte (a line end, say) is read on its own, never swallowed.
// Bytes below 0x80 are ASCII.
QString decode_windows31j(const QByteArray& bytes);

}  // namespace quilo
