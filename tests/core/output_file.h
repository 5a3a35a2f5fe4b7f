// What the output window appends to its file for the current output_lines:
// the title line, three lines indented by four blanks and a line holding a
// full-width blank, each ended by CR LF, in the Windows Japanese code page.
#pragma once

#include "test_support.h"

#include <QStringEncoder>

namespace quilo::test {

struct OutputFile {
  QByteArray bytes;
  bool encodable = false;  // every character has a Windows-31J form
};

inline OutputFile output_file(const QJsonObject& dump) {
  const QStringList lines = strings(state(dump)["output_lines"]);
  const QString text = lines.value(0) + "\r\n" + "    " + lines.value(1) + "\r\n" + "    " +
                       lines.value(2) + "\r\n" + "    " + lines.value(3) + "\r\n" +
                       QString(QChar(0x3000)) + "\r\n";
  QStringEncoder encode("Windows-31J");
  OutputFile out;
  out.bytes = encode(text);
  out.encodable = !encode.hasError();
  return out;
}

}  // namespace quilo::test
