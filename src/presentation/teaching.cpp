#include "app/app.h"

namespace quilo {

void App::Command13_Click() {}
void App::teaching_command() {}
void App::load_teaching_file(const QString&) {}

}  // namespace quilo
