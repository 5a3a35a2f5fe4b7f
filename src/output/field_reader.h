// Reads a text as delimited fields, the way the output file is printed.
#pragma once

#include <QString>
#include <QStringList>

namespace quilo {

// The fields of a text, in order. A comma or a line end (CR LF, CR or LF)
// ends a field; half-width blanks at the start of a field are skipped. A
// field that starts with a double quote runs to the closing quote (or to the
// line end when none follows on its line) and the quotes are dropped; what
// stands between the closing quote and the next comma or line end is kept.
// A comma always starts another field, even at the end of a line or of the
// text; the text's last line end starts none.
QStringList read_fields(const QString& text);

}  // namespace quilo
