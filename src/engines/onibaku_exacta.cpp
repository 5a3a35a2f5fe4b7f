#include "app/app.h"

namespace quilo {

void App::Command6_Click() {}
void App::yosou_numbers4_Q() {}
void App::yosou_numbers4_crt() {}

}  // namespace quilo
