// The user's own folders that the system sets aside for a program's files:
// the files a user keeps (the working folder, the history) and the state a
// program keeps between runs (the append journal).
#pragma once

#include <QString>

namespace quilo::platform {

// Where programs keep the user's data files ($XDG_DATA_HOME, or
// ~/.local/share, on Linux).
QString user_data_folder();
// Where programs keep state that should outlive a run but is no document of
// the user's ($XDG_STATE_HOME, or ~/.local/state, on Linux).
QString user_state_folder();

}  // namespace quilo::platform
