// The result card over the ticket: the place, bracket and teaching commands
// show their result on it, every other command of the main window clears it.
#include "app/app.h"

namespace quilo {

void App::show_result_card() {
  Control& card = c(form1::result_card);
  card.text = QStringList{result_line(0), result_line(2), result_line(4)}.join(QLatin1Char('\n'));
  card.visible = true;
}

void App::hide_result_card() { c(form1::result_card).visible = false; }

}  // namespace quilo
