// The README's pictures of the windows, written when QUILO_SCREENSHOTS names
// a folder (skipped otherwise): the 成績 window with a bought run at a
// seven-digit stake, the main window with the how-to card, and the output
// window after printing this session's entry (on the machine's default
// printer; made where a print queue exists, a CUPS PDF queue for example).
#include "desktop_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPrinterInfo>
#include <QTest>

using namespace quilo;

TEST(Screenshots, ForTheReadme) {
  const QString folder = qEnvironmentVariable("QUILO_SCREENSHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "QUILO_SCREENSHOTS names the folder for the pictures";
  test::Desktop d;
  App& app = d.shell.app();
  MainWindow& main = app.main();
  auto pick = [&](const char* box, int index) {
    Control& c = main.c(QString::fromLatin1(box));
    c.selected = index;
    c.text = c.items.value(index);
  };
  // 2010/04/10 東京 01Ｒ, 18 runners; the panel's horses 5, 2, 7, 11, 12.
  for (const auto& [box, index] : std::initializer_list<std::pair<const char*, int>>{{"Combo3", 3},
                                                                                     {"Combo4", 9},
                                                                                     {"Combo2", 4},
                                                                                     {"Combo14", 1},
                                                                                     {"Combo13", 6},
                                                                                     {"Combo5", 10},
                                                                                     {"Combo7", 13}})
    pick(box, index);
  main.c(QStringLiteral("Combo1")).text = QStringLiteral("12");
  main.c(QStringLiteral("Text1")).text = QStringLiteral("1.5");
  main.c(QStringLiteral("Text2")).text = QStringLiteral("4.2");
  app.skip_next_command();
  app.click("Form1", "Command8");
  app.click("Form1", "Command14");
  HistoryWindow& history = app.history();
  history.select("Grid1", 0);
  const std::pair<const char*, const char*> result[] = {{"Text1", "5"},
                                                        {"Text2", "7"},
                                                        {"Text3", "12"},
                                                        {"Text6", "5-7 2,340円"},
                                                        {"Text7", "5-7-12 12,340円"},
                                                        {"Text8", "3-4 1,560円"},
                                                        {"Text9", "5 130 / 7 250 / 12 410"}};
  for (const auto& [box, text] : result)
    history.form[QString::fromLatin1(box)].text = QString::fromUtf8(text);
  app.click("Form4", "Command1");
  // Bought at 300,000 yen a bet: 1,200,000 yen staked.
  history.select("Grid2", 0);
  history.form[QStringLiteral("Text15")].text = QStringLiteral("300000");
  app.click("Form4", "Command6");
  history.select("Combo2", 1);
  d.shell.refresh_all();
  QTest::qWait(300);
  ASSERT_TRUE(d.view(4).grab().save(QDir(folder).filePath("history-window.png")));

  app.click("Form4", "Command4");
  app.click("Form1", "Command2");
  d.shell.refresh_all();
  QTest::qWait(300);
  ASSERT_TRUE(d.view(1).grab().save(QDir(folder).filePath("main-window-howto.png")));

  if (QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "the output window's picture needs a printer";
  app.click("Form1", "Command10");
  OutputWindow& output = app.output();
  output.set_folder(d.session.path(""));
  output.form[QStringLiteral("Text1")].text = QStringLiteral("yosou.txt");
  app.click("Form3", "Option3");
  {
    // Every question gets its default answer: the file, the paper, the print.
    test::MessageAnswerer answer;
    app.click("Form3", "Command1");
  }
  d.shell.refresh_all();
  QTest::qWait(300);
  ASSERT_TRUE(d.view(3).grab().save(QDir(folder).filePath("output-window-printed.png")));
}
