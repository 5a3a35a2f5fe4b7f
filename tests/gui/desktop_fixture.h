// The desktop program for view tests: a working folder with the tables (made
// current), and the program's windows on it, started.
#pragma once

#include "gui/desktop_shell.h"
#include "test_support.h"

#include <functional>

namespace quilo::test {

struct Desktop {
  // prepare: shapes the working folder before the program starts.
  explicit Desktop(const std::function<void(Session&)>& prepare = {}) {
    if (prepare) prepare(session);
    shell.start();
  }
  FormView& view(int form_number) { return shell.view(form_number); }

  Session session;
  DesktopShell shell{program_folder()};
};

}  // namespace quilo::test
