// Module names on POSIX systems: shared objects, ".so" (the build gives the
// module no "lib" prefix).
#include "platform/modules.h"

namespace quilo::platform {

QString module_file_name(const QString& name) { return name + QStringLiteral(".so"); }

}  // namespace quilo::platform
