#include "app/app.h"

namespace quilo {

void App::Command8_Click() {}
void App::yosou_loto6_Q() {}
void App::yosou_loto6_crt() {}

}  // namespace quilo
