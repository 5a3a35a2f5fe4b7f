// Modules the program loads at run time (the sound module): their file names
// as the system spells them.
#pragma once

#include <QString>

namespace quilo::platform {

// The file of the module built as `name` ("quilo_audio" -> "quilo_audio.so").
QString module_file_name(const QString& name);

}  // namespace quilo::platform
