#include "text/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace quilo {
namespace {

bool is_digit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Full-width digits, signs, point and blank to their half-width forms.
QString to_half_width(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u >= 0xFF10 && u <= 0xFF19)
      out.append(QChar(u - 0xFF10 + '0'));
    else if (u == 0xFF0E)
      out.append(QLatin1Char('.'));
    else if (u == 0xFF0B)
      out.append(QLatin1Char('+'));
    else if (u == 0xFF0D || u == 0x2212)
      out.append(QLatin1Char('-'));
    else if (u == 0x3000)
      out.append(QLatin1Char(' '));
    else
      out.append(c);
  }
  return out;
}

// Matches [+-]?(digits)?(.digits)? with at least one digit over the whole text.
bool is_plain_decimal(const QString& t) {
  int i = 0;
  if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) ++i;
  int digits = 0;
  while (i < t.size() && is_digit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == QLatin1Char('.')) {
    ++i;
    while (i < t.size() && is_digit(t[i])) ++i, ++digits;
  }
  return digits > 0 && i == t.size();
}

// Locale-independent conversion of a plain decimal ("+" allowed). Too large
// is infinity; too small to hold is zero with its sign, as a plain decimal
// such as 0.000...01 is still a number.
template <typename T>
T convert(std::string s) {
  if (!s.empty() && s[0] == '+') s.erase(0, 1);
  T v{};
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec == std::errc::result_out_of_range) {
    const bool negative = !s.empty() && s[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    const std::size_t point = s.find('.');
    const std::string whole = s.substr(start, point == std::string::npos ? std::string::npos : point - start);
    const bool below_one = whole.find_first_not_of('0') == std::string::npos;
    if (below_one) return negative ? -T(0) : T(0);
    return negative ? -std::numeric_limits<T>::infinity() : std::numeric_limits<T>::infinity();
  }
  return v;
}

}  // namespace

QString trim_blanks(const QString& text) {
  int b = 0, e = text.size();
  while (b < e && text[b] == QLatin1Char(' ')) ++b;
  while (e > b && text[e - 1] == QLatin1Char(' ')) --e;
  return text.mid(b, e - b);
}

double leading_number(const QString& text) {
  int i = 0;
  while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
  std::string s;
  if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
    s += char(text[i++].unicode());
  bool any = false;
  while (i < text.size() && is_digit(text[i])) s += char(text[i++].unicode()), any = true;
  if (i < text.size() && text[i] == QLatin1Char('.')) {
    s += '.';
    ++i;
    while (i < text.size() && is_digit(text[i])) s += char(text[i++].unicode()), any = true;
  }
  if (!any) return 0.0;
  const double v = convert<double>(s);
  return std::isfinite(v) ? v : 0.0;
}

QString number_text(double value) {
  if (!std::isfinite(value) || value == 0) return QStringLiteral("0");
  if (value == std::floor(value)) return QString::number(value, 'f', 0);
  QString t = QString::number(value, 'g', 15);
  if (!t.contains(QLatin1Char('e'))) return t;
  // Tiny fractions: plain decimal digits instead of an exponent.
  t = QString::number(value, 'f', 20);
  while (t.endsWith(QLatin1Char('0'))) t.chop(1);
  if (t.endsWith(QLatin1Char('.'))) t.chop(1);
  return t;
}

std::optional<float> parse_odds(const QString& text) {
  const QString t = to_half_width(text).trimmed();
  if (!is_plain_decimal(t)) return std::nullopt;
  const float v = convert<float>(t.toStdString());
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

double whole_number_or_zero(const QString& text) {
  const QString t = text.trimmed();
  if (!is_plain_decimal(t)) return 0.0;
  const double v = convert<double>(t.toStdString());
  return std::isfinite(v) ? v : 0.0;
}

}  // namespace quilo
