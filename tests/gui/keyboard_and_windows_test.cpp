// The windows as a keyboard user meets them: where the focus goes after a
// command, Enter and Space on picture buttons, Esc to skip or to close, the
// explanation and output windows above the main window, message boxes wide
// enough for their title, the result card and the output's refusal of the
// program's own tables.
#include "desktop_fixture.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace quilo;

namespace {

// The program with its main window active, as a user's keys reach it.
struct Desktop : test::Desktop {
  Desktop() { QApplication::setActiveWindow(&view(1)); }
  template <typename W = QAbstractButton>
  W* find(int form, const char* name) {
    W* w = view(form).findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
};

}  // namespace

TEST(KeyboardView, FocusReturnsToTheButtonThatRanTheCommand) {
  Desktop d;
  QTest::keyClicks(d.find<QLineEdit>(1, "Text1"), "1.5");
  QTest::keyClicks(d.find<QLineEdit>(1, "Text2"), "4.0");
  d.buyable_panel();
  QAbstractButton* trifecta = d.find(1, "Command8");
  QAbstractButton* the_end = d.find(1, "Command5");
  trifecta->setFocus();

  // Space runs the command; during its pause the focus is not on THE END, and
  // Esc skips the rest of the wait.
  QWidget* focus_in_pause = nullptr;
  QTimer::singleShot(200, [&] {
    focus_in_pause = d.view(1).focusWidget();
    QTest::keyClick(&d.view(1), Qt::Key_Escape);
  });
  QTest::keyClick(trifecta, Qt::Key_Space);
  EXPECT_NE(focus_in_pause, nullptr);
  EXPECT_NE(focus_in_pause, the_end);
  EXPECT_FALSE(d.shell.app().busy());
  EXPECT_EQ(d.view(1).focusWidget(), trifecta);
  EXPECT_FALSE(d.shell.app().main().result_line(0).isEmpty());

  // Enter runs it again; so does Space: the program is still there.
  d.shell.app().main().set_result_line(0, "");
  QTimer::singleShot(200, [&] { QTest::keyClick(&d.view(1), Qt::Key_Escape); });
  QTest::keyClick(trifecta, Qt::Key_Return);
  EXPECT_EQ(d.shell.app().main().result_line(0), "  ■■■■  Quilo ピルピルθK ３連単 予想結果 ■■■■");
  EXPECT_EQ(d.view(1).focusWidget(), trifecta);
  EXPECT_TRUE(d.shell.app().main().form.open);

  // A run that a message ends gives the focus back too.
  test::MessageAnswerer answer;
  d.find<QLineEdit>(1, "Text1")->clear();
  d.shell.app().main().c("Text1").text.clear();
  QTest::keyClick(trifecta, Qt::Key_Space);
  ASSERT_EQ(answer.seen.size(), 1u);
  EXPECT_EQ(answer.seen[0].text, "1番人気のオッズが入力されていません");
  EXPECT_EQ(d.view(1).focusWidget(), trifecta);
  EXPECT_TRUE(d.shell.app().main().form.open);
}

TEST(KeyboardView, MessageBoxesShowTheirWholeTitle) {
  Desktop d;
  test::MessageAnswerer answer;
  QTest::mouseClick(d.find(1, "Command8"), Qt::LeftButton);  // no odds: a short message
  ASSERT_EQ(answer.seen.size(), 1u);
  const int title = QFontMetrics(QApplication::font()).horizontalAdvance(answer.seen[0].title);
  EXPECT_GE(answer.seen[0].width, title + 100);
}

TEST(WindowsView, ExplanationAndOutputStayAboveTheMainWindowAndEscCloses) {
  Desktop d;
  struct Case {
    int form;
    const char* opener;
  } cases[] = {{2, "Command2"}, {3, "Command10"}};
  for (const auto& c : cases) {
    QTest::mouseClick(d.find(1, c.opener), Qt::LeftButton);
    FormView& v = d.view(c.form);
    ASSERT_TRUE(v.isVisible()) << c.form;
    EXPECT_EQ(v.pos(), QPoint(400 / 15, 900 / 15));
    ASSERT_NE(v.windowHandle(), nullptr);
    EXPECT_EQ(v.windowHandle()->transientParent(), d.view(1).windowHandle()) << c.form;
    QTest::keyClick(&v, Qt::Key_Escape);
    EXPECT_FALSE(v.isVisible()) << c.form;
    EXPECT_FALSE(c.form == 2 ? d.shell.app().explanation().form.open : d.shell.app().output().form.open);
    EXPECT_TRUE(d.view(1).isVisible());
  }
  // The explanation picture fits the window whole.
  EXPECT_GE(d.view(2).width(), 680);
}

TEST(WindowsView, ResultCardShowsOnScreen) {
  Desktop d;
  auto* card = d.find<QLabel>(1, "result_card");
  ASSERT_NE(card, nullptr);
  EXPECT_FALSE(card->isVisible());
  QTest::mouseClick(d.find(1, "Command13"), Qt::LeftButton);  // the teaching
  EXPECT_TRUE(card->isVisible());
  EXPECT_EQ(card->text(), d.shell.app().main().c("result_card").text);
  EXPECT_TRUE(card->text().startsWith("      「マハラジャの教え」\n"));
  // It lies over the ticket, above the ticket's labels.
  EXPECT_TRUE(d.find<QLabel>(1, "Image1")->geometry().intersects(card->geometry()));
  EXPECT_EQ(d.view(1).childAt(card->geometry().center()), nullptr);  // let clicks through
  test::MessageAnswerer answer;                                      // the advice asks for the odds
  QTest::mouseClick(d.find(1, "Command4"), Qt::LeftButton);          // and clears the card
  EXPECT_FALSE(card->isVisible());
}

TEST(WindowsView, OutputRefusesATableFileClickedInTheList) {
  Desktop d;
  const QString table = d.session.path("crt_1.txt");
  QFile before(table);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray bytes = before.readAll();

  QTest::mouseClick(d.find(1, "Command10"), Qt::LeftButton);
  auto* files = d.find<QListWidget>(3, "File1");
  const auto found = files->findItems("crt_1.txt", Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1);
  QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(found[0]).center());
  EXPECT_EQ(d.find<QLineEdit>(3, "Text1")->text(), "crt_1.txt");

  test::MessageAnswerer answer;
  QTest::mouseClick(d.find(3, "Command1"), Qt::LeftButton);
  ASSERT_EQ(answer.seen.size(), 1u);
  EXPECT_TRUE(answer.seen[0].text.contains("crt_1.txt は")) << answer.seen[0].text.toStdString();
  QFile after(table);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), bytes);
  EXPECT_TRUE(d.view(3).isVisible());
}

// Every box of an output with printing belongs to 出力画面, however many come
// one after another: once they close it has the focus again, so Esc closes it.
TEST(WindowsView, OutputMessagesBelongToTheOutputWindow) {
  Desktop d;
  QTest::mouseClick(d.find(1, "Command10"), Qt::LeftButton);
  QTest::keyClicks(d.find<QLineEdit>(3, "Text1"), "printed.txt");
  QTest::mouseClick(d.find(3, "Option2"), Qt::LeftButton);
  test::MessageAnswerer answer;
  QTest::mouseClick(d.find(3, "Command1"), Qt::LeftButton);
  ASSERT_GE(answer.seen.size(), 2u);
  for (const auto& seen : answer.seen) EXPECT_EQ(seen.window, &d.view(3)) << seen.text.toStdString();
}
