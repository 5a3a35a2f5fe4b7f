#include "app/app.h"

namespace quilo {

void App::count_chance_level(std::initializer_list<float>, const std::function<void(float)>&) {}
void App::show_background(int, bool) {}
void App::show_exacta_chance(int) {}
void App::makai_escalation_step(float) {}
void App::play_makai_staging() {}
void App::play_onibaku_staging() {}

}  // namespace quilo
