#include "app/app.h"

namespace quilo {

void App::Command3_Click() {}
void App::yosou_numbers_mini_Q() {}
void App::yosou_numbers_mini_crt() {}

}  // namespace quilo
