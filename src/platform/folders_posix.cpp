// The user's folders by the XDG base directory rules. Written out rather than
// taken from QStandardPaths: the rules ignore a relative path in the variable,
// which QStandardPaths (Qt 6.4) takes as it is, and Qt has no state folder
// before 6.7.
#include "platform/folders.h"

#include <QDir>

namespace quilo::platform {
namespace {

// The environment variable when it holds an absolute path, else the folder
// under home.
QString xdg_base_folder(const char* variable, const QString& under_home) {
  const QString xdg = qEnvironmentVariable(variable);
  return !xdg.isEmpty() && QDir::isAbsolutePath(xdg) ? xdg : QDir::home().filePath(under_home);
}

}  // namespace

QString user_data_folder() { return xdg_base_folder("XDG_DATA_HOME", QStringLiteral(".local/share")); }

QString user_state_folder() { return xdg_base_folder("XDG_STATE_HOME", QStringLiteral(".local/state")); }

}  // namespace quilo::platform
