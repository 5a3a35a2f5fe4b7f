#include "app/app.h"

namespace quilo {

void App::Command10_Click() {}
void App::Form3_Form_Load() {}
void App::Form3_Command1_Click() {}
void App::Form3_Command2_Click() {}
void App::Form3_Option1_Click() {}
void App::Form3_Option2_Click() {}
void App::Form3_set_folder(const QString&) {}
bool App::Form3_select(const QString&, int) { return false; }

}  // namespace quilo
