// Whole numbers out of typed texts, full-width digits included.
#include "text/whole_numbers.h"

namespace quilo {
namespace {

constexpr int kMaxDigits = 9;  // stays within int

// A half- or full-width digit as its value, -1 for anything else.
int digit(QChar c) {
  if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) return c.unicode() - '0';
  if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19) return c.unicode() - 0xFF10;
  return -1;
}

bool blank(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000) || c == QLatin1Char('\t'); }

bool comma(QChar c) { return c == QLatin1Char(',') || c == QChar(0xFF0C); }

}  // namespace

std::optional<int> leading_whole(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && blank(text[i])) ++i;
  int value = 0, digits = 0;
  for (; i < text.size() && digit(text[i]) >= 0; ++i) {
    if (++digits > kMaxDigits) return std::nullopt;
    value = value * 10 + digit(text[i]);
  }
  if (digits == 0) return std::nullopt;
  return value;
}

std::optional<int> whole_number(const QString& text) {
  qsizetype first = 0, last = text.size();
  while (first < last && blank(text[first])) ++first;
  while (last > first && blank(text[last - 1])) --last;
  int value = 0, digits = 0;
  for (qsizetype i = first; i < last; ++i) {
    if (comma(text[i]) && digits > 0 && i + 1 < last) continue;
    const int d = digit(text[i]);
    if (d < 0 || ++digits > kMaxDigits) return std::nullopt;
    value = value * 10 + d;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

}  // namespace quilo
