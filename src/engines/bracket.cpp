#include "app/app.h"

namespace quilo {

void App::Command12_Click() {}
void App::yosou_WAKU_Q() {}
void App::yosou_WAKU_crt() {}

}  // namespace quilo
