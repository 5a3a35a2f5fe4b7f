#include "text/field_reader.h"

namespace quilo {
namespace {

bool is_line_end(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }
bool is_delimiter(QChar c) { return c == QLatin1Char(',') || is_line_end(c); }

}  // namespace

QStringList read_fields(const QString& text, const FieldRules& rules) {
  QStringList fields;
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    while (i < n && text[i] == QLatin1Char(' ')) ++i;
    QString field;
    if (i < n && text[i] == QLatin1Char('"')) {
      ++i;
      while (i < n && text[i] != QLatin1Char('"') && (rules.quotes_span_lines || !is_line_end(text[i])))
        field += text[i++];
      if (i < n && text[i] == QLatin1Char('"')) ++i;
      for (; i < n && !is_delimiter(text[i]); ++i)
        if (!rules.drop_after_quote) field += text[i];
    } else {
      while (i < n && !is_delimiter(text[i])) field += text[i++];
    }
    fields << field;
    if (i >= n) break;
    if (text[i] == QLatin1Char(',')) {
      ++i;
      if (i >= n && rules.comma_at_end_starts_field) fields << QString();
      continue;
    }
    if (text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
    ++i;
  }
  return fields;
}

}  // namespace quilo
