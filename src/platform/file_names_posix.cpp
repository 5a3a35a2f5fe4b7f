// File names on POSIX systems: any byte but '/' (and NUL), at most 255 bytes
// in the encoding of names (NAME_MAX of the common file systems).
#include "platform/file_names.h"

#include <QFile>

namespace quilo::platform {

namespace {
constexpr int kMaxNameBytes = 255;
}  // namespace

std::optional<QChar> reserved_name_character(const QString& name) {
  if (name.contains(QLatin1Char('/'))) return QLatin1Char('/');
  return std::nullopt;
}

bool name_too_long(const QString& name) { return QFile::encodeName(name).size() > kMaxNameBytes; }

}  // namespace quilo::platform
