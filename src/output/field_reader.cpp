#include "output/field_reader.h"

namespace quilo {
namespace {

bool is_line_end(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

}  // namespace

QStringList read_fields(const QString& text) {
  QStringList fields;
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    while (i < n && text[i] == QLatin1Char(' ')) ++i;
    QString field;
    if (i < n && text[i] == QLatin1Char('"')) {
      ++i;
      while (i < n && text[i] != QLatin1Char('"') && !is_line_end(text[i])) field += text[i++];
      if (i < n && text[i] == QLatin1Char('"')) ++i;
    }
    while (i < n && text[i] != QLatin1Char(',') && !is_line_end(text[i])) field += text[i++];
    fields << field;
    if (i >= n) break;
    if (text[i] == QLatin1Char(',')) {
      ++i;
      if (i >= n) fields << QString();
      continue;
    }
    if (text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
    ++i;
  }
  return fields;
}

}  // namespace quilo
