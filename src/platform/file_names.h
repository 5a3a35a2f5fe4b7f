// What a file name may hold where the program runs: the characters the
// system keeps for itself and the longest name its file systems take. The
// output window checks a name the user types against them.
#pragma once

#include <QChar>
#include <QString>

#include <optional>

namespace quilo::platform {

// The first character of `name` that no file name may hold (the folder
// separator), if it has one; a NUL is the caller's to refuse.
std::optional<QChar> reserved_name_character(const QString& name);
// Whether the name is longer than the file systems take.
bool name_too_long(const QString& name);

}  // namespace quilo::platform
