// The designs of the main window, the explanation window and the output window.
#pragma once

#include "model/form.h"

namespace quilo {

FormSpec form1_design();
FormSpec form2_design();
FormSpec form3_design();

}  // namespace quilo
