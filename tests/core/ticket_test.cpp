// The mock betting ticket: header and code numbers from the race inputs, the
// two variants' labels and totals, and the bet cells.
#include "presentation/ticket.h"
#include "model/window_design.h"
#include "prediction_fixture.h"

#include <gtest/gtest.h>

#include <map>

using namespace quilo;
using namespace quilo::test;

namespace {

QString key1(int i) { return QString("Label1(%1)").arg(i); }

struct HeaderCase {
  QString script;  // how the user sets year, month, day
  QString date, month_day, code14, code5, code6, code7;
};

}  // namespace

TEST(Ticket, HeaderAndCodeNumbersFromTheDate) {
  const HeaderCase cases[] = {
      {"select Combo6 0\nselect Combo3 4\nselect Combo4 14", "2010年05月15日", "05月15日", "0201000010005",
       "0100500010105", "10001002", "525120"},
      {"select Combo6 5\nselect Combo3 11\nselect Combo4 30", "2015年12月31日", "12月31日", "0201500010001",
       "0100750010101", "24001002", "126012"},
      {"select Combo6 0\nselect Combo3 0\nselect Combo4 0", "2010年01月01日", "01月01日", "0201000010001",
       "0100500010101", "20010020", "105120"},
      // October: month × 100 gives 1000, so the code shows its first digit only.
      {"select Combo6 2\nselect Combo3 9\nselect Combo4 4", "2012年10月05日", "10月05日", "0201200010001",
       "0100600010101", "20001002", "105012"},
      // A month typed with a word after it: its numeric value is 5, but taken as
      // a number it is none and reads 0.
      {"select Combo6 0\ntype Combo3 5月\nselect Combo4 14", "2010年5月月15日", "5月月15日", "0201000010000",
       "0100500010100", "10001002", "525120"},
      // Year and month that are no numbers at all read 0.
      {"type Combo6 abc\ntype Combo3 x5\nselect Combo4 14", "abc年x5月15日", "x5月15日", "0010000001015",
       "0010100", "01000", "010"},
      // Blanks around the year: both readings find 2013.
      {"type Combo6 \" 2013 \"\nselect Combo3 0\nselect Combo4 0", " 2013 年01月01日", "01月01日",
       "0201300010001", "0100650010101", "20010020", "105120"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script.toStdString());
    Session s(Session::Tables::None);
    s.run(c.script);
    s.dump();  // start-up has run
    show_ticket(s.app().main(), TicketKind::Trifecta);
    const auto d = s.dump();
    EXPECT_EQ(caption(d, key1(3)), c.date);
    EXPECT_EQ(caption(d, key1(4)), c.month_day);
    EXPECT_EQ(caption(d, key1(14)), c.code14);
    EXPECT_EQ(caption(d, key1(5)), c.code5);
    EXPECT_EQ(caption(d, key1(6)), c.code6);
    EXPECT_EQ(caption(d, key1(7)), c.code7);
  }
}

TEST(Ticket, RacecourseAndRaceNumber) {
  const struct {
    QString script, course, race;
  } cases[] = {
      {"", "東京", "01"},  // the designed race text "01Ｒ"
      {"select Combo8 1\nselect Combo9 10", "中山", "11"},
      {"type Combo8 函館\ntype Combo9 7R", "函館", "7R"},
      {"type Combo9 R", "東京", "R"},
      {"type Combo9 \"\"", "東京", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script.toStdString());
    Session s(Session::Tables::None);
    s.run(c.script);
    s.dump();  // start-up has run
    show_ticket(s.app().main(), TicketKind::Exacta);
    const auto d = s.dump();
    EXPECT_EQ(caption(d, key1(1)), c.course);
    EXPECT_EQ(caption(d, key1(2)), c.race);
  }
}

TEST(Ticket, VariantsShowTheirLabelsAndTotal) {
  const struct {
    TicketKind kind;
    std::vector<int> hidden;
    bool markers;
    QString total;
  } cases[] = {
      {TicketKind::Trifecta,
       {9, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24},
       true,
       "合計★★★１０枚★★★１,０００円"},
      {TicketKind::Exacta, {37, 38, 39, 40, 41, 42, 43, 44}, false, "合計★★★１０枚★★★１,０００円"},
  };
  // Each variant after the other one and after how-to-use, which hides the ticket.
  for (const char* before : {"", "other", "click Command2"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(before) + (c.kind == TicketKind::Trifecta ? " trifecta" : " exacta"));
      Session s(Session::Tables::None);
      const bool other_first = QString(before) == "other";
      s.run(other_first ? "" : before);
      s.dump();
      if (other_first)
        show_ticket(s.app().main(),
                    c.kind == TicketKind::Trifecta ? TicketKind::Exacta : TicketKind::Trifecta);
      show_ticket(s.app().main(), c.kind);
      const auto d = s.dump();
      EXPECT_TRUE(visible(d, key1(0)));
      EXPECT_EQ(caption(d, key1(0)), "WINS立川");
      for (int i = 1; i <= 44; ++i) {
        const bool hidden = std::find(c.hidden.begin(), c.hidden.end(), i) != c.hidden.end();
        EXPECT_EQ(visible(d, key1(i)), !hidden) << i;
      }
      for (int i = 0; i <= 7; ++i) EXPECT_EQ(visible(d, QString("Label3(%1)").arg(i)), c.markers);
      EXPECT_TRUE(visible(d, "Label14"));
      EXPECT_TRUE(visible(d, "Label7"));
      EXPECT_EQ(caption(d, "Label14"), c.total);
      // Amounts, stars, "円", "◇" and "各" keep their captions.
      EXPECT_EQ(label_captions(d, "Label1", 25, 36), QStringList({"☆☆☆", "400", "円", "☆☆☆", "300", "円",
                                                                  "☆☆☆", "200", "円", "☆☆☆", "100", "円"}));
      EXPECT_EQ(label_captions(d, "Label1", 21, 24), QStringList({"各", "各", "各", "各"}));
      EXPECT_EQ(caption(d, key1(13)), "◇");
    }
  }
}

TEST(Ticket, ShowingKeepsTheBetCaptions) {
  Session s(Session::Tables::None);
  s.dump();
  s.app().main().label("Label1", 37).text = "9";
  s.app().main().label("Label1", 9).text = "4";
  show_ticket(s.app().main(), TicketKind::Trifecta);
  const auto d = s.dump();
  EXPECT_EQ(caption(d, key1(37)), "9");
  EXPECT_EQ(caption(d, key1(9)), "4");  // hidden, caption kept
  EXPECT_EQ(caption(d, key1(8)), "1");
}

TEST(Ticket, EachRowShowsItsBetLeftToRight) {
  // The panel's horses as the user picks them; each prediction puts them on
  // its ticket rows in its own order, and the result line reads the rows back.
  const QString inputs =
      "select Combo2 4\nselect Combo14 1\nselect Combo13 6\nselect Combo5 10\nselect Combo1 11\n"
      "select Combo7 13\ntype Text1 9.0\ntype Text2 9.0\n";
  struct Case {
    const char* command;
    QString rows;  // the four bets, by the panel texts; "L" is the lucky value
  } cases[] = {
      {"Command8", " 5⇒ 2⇒12 ,  5⇒ 7⇒12 ,  5⇒11⇒12 ,  5⇒L⇒12"},
      {"Command3", " 2◆ 5 ,  2◆ 7 ,  2◆11 ,  2◆12"},
  };
  for (const auto& c : cases) {
    Session s;
    const auto d = s.dump(inputs + "skip\nclick " + c.command);
    QString expected = c.rows;
    expected.replace("L", strings(state(d)["yosou_num"]).value(6));
    EXPECT_EQ(strings(control(d, "List1")["lines"]).value(3), expected) << c.command;

    // What the user sees: the visible bet cells of each row (the design's
    // bordered labels at one height), read from left to right.
    std::map<int, std::map<int, QString>> rows;  // top -> left -> caption
    for (const ControlDesign& cell : form1_design().controls)
      if (cell.border && cell.name == "Label1" && visible(d, cell.key()))
        rows[cell.top][cell.left] = caption(d, cell.key()).trimmed();
    QStringList seen;
    for (const auto& [top, cells] : rows) {
      QStringList row;
      for (const auto& [left, text] : cells) row << text;
      seen << row.join(c.command == QString("Command8") ? "⇒" : "◆");
    }
    QString plain = expected;
    plain.replace(" ", "");
    EXPECT_EQ(seen.join(","), plain) << c.command;
  }
}

TEST(Ticket, BetsLineReadsTheCellsBack) {
  Session s(Session::Tables::None);
  s.dump();
  // The designed captions: position 1 "1", "12", "12", "12", the others "13".
  EXPECT_EQ(ticket_bets_line(s.app().main(), TicketKind::Exacta), "1◆13 , 12◆13 , 12◆13 , 12◆13");
  EXPECT_EQ(ticket_bets_line(s.app().main(), TicketKind::Trifecta),
            "1⇒13⇒13 , 12⇒13⇒13 , 12⇒13⇒13 , 12⇒13⇒13");
}
