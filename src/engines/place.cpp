#include "app/app.h"

namespace quilo {

void App::Command11_Click() {}
void App::place_command() {}
void App::yosou_mini_loto_Q() {}
void App::yosou_mini_loto_crt() {}

}  // namespace quilo
