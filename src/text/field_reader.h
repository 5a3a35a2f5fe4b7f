// Reads a text as delimited fields, as the teaching file and the file to
// print are read.
#pragma once

#include <QString>
#include <QStringList>

namespace quilo {

// How a text's fields are delimited. Always: a comma or a line end (CR LF,
// CR or LF) ends a field, half-width blanks at the start of a field are
// skipped, a field that starts with a double quote runs to the closing quote
// and the quotes are dropped, and the text's last line end starts no field.
struct FieldRules {
  // A quoted field may hold commas and line ends (else a line end ends it).
  bool quotes_span_lines;
  // What stands between the closing quote and the next delimiter is dropped
  // (else it is kept).
  bool drop_after_quote;
  // A comma at the very end of the text starts one more, empty field.
  bool comma_at_end_starts_field;
};

// The teaching file: one teaching per field.
inline constexpr FieldRules kTeachingFileFields{true, true, false};
// An output file read for printing: one printed line per field.
inline constexpr FieldRules kPrintedFileFields{false, false, true};

// The fields of a text, in order.
QStringList read_fields(const QString& text, const FieldRules& rules);

}  // namespace quilo
