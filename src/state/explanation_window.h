// The explanation window (Form2): the picture that explains the background
// scenes, and 戻る.
#pragma once

#include "model/form.h"

namespace quilo {

class ExplanationWindow {
 public:
  ExplanationWindow();
  Form form;

  void Form_Load() { form.open = true; }
  void Command2_Click() { form.open = false; }  // 戻る
};

}  // namespace quilo
