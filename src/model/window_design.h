// The designs of the main window, the explanation window and the output window.
#pragma once

#include "model/form.h"

namespace quilo {

FormDesign form1_design();
FormDesign form2_design();
FormDesign form3_design();

}  // namespace quilo
