#include "state/explanation_window.h"

#include "model/window_design.h"

namespace quilo {

ExplanationWindow::ExplanationWindow() : form(form2_design()) {}

}  // namespace quilo
