#include "app/app.h"

namespace quilo {

void App::Command4_Click() {}

}  // namespace quilo
