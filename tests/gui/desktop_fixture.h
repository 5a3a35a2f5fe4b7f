// The desktop program for view tests: a working folder with the tables (made
// current), and the program's windows on it, started.
#pragma once

#include "gui/desktop_shell.h"
#include "test_support.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <vector>

namespace quilo::test {

struct Desktop {
  // prepare: shapes the working folder before the program starts.
  explicit Desktop(const std::function<void(Session&)>& prepare = {}) {
    if (prepare) prepare(session);
    shell.start();
  }
  FormView& view(int form_number) { return shell.view(form_number); }
  // Five different horses in the left panel (1 to 5, as picked from the
  // lists), so that the ticket commands have a panel they can buy.
  void buyable_panel() {
    MainWindow& main = shell.app().main();
    int n = 0;
    for (const char* box : {"Combo14", "Combo2", "Combo13", "Combo5", "Combo1"}) {
      Control& c = main.c(QString::fromLatin1(box));
      c.selected = n++;
      c.text = c.items.value(c.selected);
    }
    view(1).refresh();
  }

  Session session;
  DesktopShell shell{program_folder()};
};

// Answers every message box that opens with its default button (OK), and
// remembers what each said and how wide it was.
class MessageAnswerer {
 public:
  struct Seen {
    QString text, title;
    int width;
    QWidget* window;  // the window the box belongs to
  };
  MessageAnswerer() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      seen.push_back({box->text(), box->windowTitle(), box->width(), box->parentWidget()});
      if (during_box) during_box();
      box->defaultButton()->click();
    });
    timer_.start();
  }
  std::vector<Seen> seen;
  std::function<void()> during_box;

 private:
  QTimer timer_;
};

}  // namespace quilo::test
