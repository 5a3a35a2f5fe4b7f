#include "app/app.h"

namespace quilo {

void App::apply_course_picks(const QString&) {}

}  // namespace quilo
