// The result card over the ticket: the place, bracket and teaching commands
// show their result on it, every other command of the main window clears it.
#include "presentation/result_card.h"

namespace quilo {

void show_result_card(MainWindow& m) {
  Control& card = m.c(form1::result_card);
  card.text = QStringList{m.result_line(0), m.result_line(2), m.result_line(4)}.join(QLatin1Char('\n'));
  card.visible = true;
}

void note_nothing_recorded(MainWindow& m) {
  m.c(form1::result_card).text += QStringLiteral("\n買える馬券がないため成績には記録しません");
}

void hide_result_card(MainWindow& m) { m.c(form1::result_card).visible = false; }

}  // namespace quilo
