#include "app/app.h"

namespace quilo {

void App::Command1_Click() {}
void App::yosou_numbers3_Q() {}
void App::yosou_numbers3_crt() {}

}  // namespace quilo
