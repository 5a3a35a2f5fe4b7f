// The result card over the ticket: which commands show it, with which lines,
// and which clear it or leave it alone.
#include "test_support.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// Result lines 0, 2 and 4 as the card shows them.
QString card_of(const QJsonObject& d) {
  const QStringList lines = strings(control(d, "List1")["lines"]);
  return QStringList{lines.value(0), lines.value(2), lines.value(4)}.join('\n');
}

const char* const kOdds = "type Text1 9.0\ntype Text2 9.0\n";

}  // namespace

TEST(ResultCard, PlaceBracketAndTeachingShowTheirResult) {
  Session s;
  auto d = s.dump();
  EXPECT_FALSE(visible(d, "result_card"));
  EXPECT_EQ(caption(d, "result_card"), "");

  for (const char* command : {"Command11", "Command12", "Command13"}) {
    d = s.dump(QString(kOdds) + "select Combo9 7\nselect Combo6 4\nselect Combo7 13\nclick " + command);
    EXPECT_TRUE(visible(d, "result_card")) << command;
    EXPECT_EQ(caption(d, "result_card"), card_of(d)) << command;
  }
  // The teaching's card: its heading, its number and the teaching itself.
  const QStringList lines = caption(d, "result_card").split('\n');
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "      「マハラジャの教え」");
  EXPECT_TRUE(lines[1].startsWith(" 第")) << lines[1].toStdString();
  EXPECT_GT(lines[2].size(), 1);
}

TEST(ResultCard, StaysHiddenWhenAMessageEndsTheResultStage) {
  // Place without the first favourite's odds; a bracket draw out of rows.
  Session place;
  auto d = place.dump("click Command13\ntype Text2 9.0\nclick Command11");
  EXPECT_EQ(events_of(d, "message").size(), 1);
  EXPECT_FALSE(visible(d, "result_card"));

  Session bracket;
  bracket.write_table("waku_1.txt", {1});
  bracket.write_table("waku_2.txt", {1});
  d = bracket.dump(
      "click Command13\nselect Combo1 0\nselect Combo2 0\nselect Combo5 0\n"
      "select Combo6 0\nclick Command12");
  EXPECT_EQ(events_of(d, "message").size(), 1);
  EXPECT_FALSE(visible(d, "result_card"));
}

TEST(ResultCard, OtherCommandsClearItWhenTheyStartOutputAndExitKeepIt) {
  struct Case {
    const char* script;  // run after the teaching has shown the card
    bool card_stays;
  } cases[] = {
      {"click Command8", false},                   // trifecta
      {"click Command3", false},                   // exacta
      {"click Command1", false},                   // makai trifecta
      {"click Command6", false},                   // onibaku exacta
      {"click Command4", false},                   // advice
      {"click Command2", false},                   // how to use
      {"type Text1 \"\"\nclick Command8", false},  // stopped by the odds check
      {"click Command10\nanswer OK\ntype Form3.Text1 out.txt\nclick Form3.Command1", true},
      {"click Command5", true},  // THE END
  };
  for (const auto& c : cases) {
    Session s;
    s.run(QString(kOdds) + "click Command13");
    const auto d = s.dump(c.script);
    EXPECT_EQ(visible(d, "result_card"), c.card_stays) << c.script;
    EXPECT_FALSE(caption(d, "result_card").isEmpty()) << c.script;
  }
}
