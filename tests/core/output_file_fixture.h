// Saving the current result through the output window, as a user does.
#pragma once

#include "test_support.h"

#include <QFile>

namespace quilo::test {

// Opens the output window, names a file in the working folder, confirms the
// output and closes the window; returns the bytes the file then holds and
// removes it. The output's own effects are taken from the event log.
inline QByteArray saved_through_output_window(Session& s, const QString& name = "result.txt") {
  s.run("click Command10\ntype Form3.Text1 " + name +
        "\nanswer OK\nclick Form3.Command1\nclick Form3.Command2");
  s.dump();
  QFile f(s.path(name));
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = f.readAll();
  f.close();
  f.remove();
  return bytes;
}

}  // namespace quilo::test
