// Skipping a staging: the rest of the command runs at once and ends exactly
// where a run that waited ends.
#include "prediction_fixture.h"

#include <gtest/gtest.h>

using namespace quilo;
using namespace quilo::test;

namespace {

// The dump without what a skip may change: the pauses' "skipped" flags.
QJsonObject without_skip_flags(QJsonObject d) {
  QJsonArray events;
  for (const auto& e : d["events"].toArray()) {
    QJsonObject o = e.toObject();
    o.remove("skipped");
    events.append(o);
  }
  d["events"] = events;
  return d;
}

int skipped_pauses(const QJsonObject& d) {
  int n = 0;
  for (const auto& e : events_of(d, "pause")) n += e.toObject()["skipped"].toBool();
  return n;
}

}  // namespace

TEST(Skip, SkippedStagingsEndLikeThoseThatWaited) {
  struct Case {
    const char* command;
    const char *o1, *o2;
  } cases[] = {
      {"Command6", "1.5", "3.0"},  // onibaku: the black hole
      {"Command6", "1.5", "4.0"},  // onibaku: the onibaku sequence
      {"Command6", "2.5", "3.5"},  // onibaku: the new nebula, seventh ending
      {"Command6", "9.0", "9.0"},  // onibaku: the new nebula, sixth ending
      {"Command1", "1.3", "4.0"},  // makai, every escalation step
      {"Command1", "9.0", "9.0"},  // makai, no escalation
      {"Command8", "1.5", "4.0"},  // a plain prediction: its one pause
  };
  for (const auto& c : cases) {
    const QString inputs =
        QString(
            "time 10:11:12\nselect Combo3 4\nselect Combo4 14\nselect Combo2 2\nselect Combo1 11\n"
            "select Combo7 13\nselect Combo13 4\nselect Combo5 6\n"
            "type Text1 %1\ntype Text2 %2\nclick Command8\n")
            .arg(c.o1, c.o2);
    Session waited, skipped;
    waited.dump(inputs);
    skipped.dump(inputs);
    const double clock = skipped.platform().clock;

    const auto w = waited.dump(QString("click ") + c.command);
    const auto k = skipped.dump(QString("skip\nclick ") + c.command);
    EXPECT_EQ(without_skip_flags(k), w) << c.command << " " << c.o1 << "/" << c.o2;
    const int pauses = int(events_of(k, "pause").size());
    EXPECT_GE(pauses, 1) << c.command;
    EXPECT_EQ(skipped_pauses(k), pauses) << c.command;
    EXPECT_EQ(skipped_pauses(w), 0) << c.command;
    EXPECT_EQ(skipped.platform().clock, clock) << c.command;
    EXPECT_GT(waited.platform().clock, clock) << c.command;

    // The skip was for that command only.
    const auto next = skipped.dump("click Command8");
    EXPECT_EQ(skipped_pauses(next), 0);
    EXPECT_FALSE(skipped.app().skipping());
  }
}

TEST(Skip, DuringAPauseTheRestRunsWithoutWaiting) {
  // The user presses Esc at the third pause of the onibaku staging.
  Session s;
  s.run(kBuyablePanel + "\nselect Combo3 4\ntype Text1 9.0\ntype Text2 9.0");
  s.dump();
  int pauses = 0;
  s.platform().on_pause = [&](float) {
    if (++pauses == 3) s.app().skip_staging();
  };
  const auto d = s.dump("click Command6");
  const auto all = events_of(d, "pause");
  ASSERT_GT(all.size(), 4);
  for (int i = 0; i < all.size(); ++i) EXPECT_EQ(all[i].toObject()["skipped"].toBool(), i >= 3) << i;
  EXPECT_EQ(pauses, 3);
  EXPECT_EQ(caption(d, "Label1(8)").isEmpty(), false);
  // Outside a command there is nothing to skip.
  s.app().skip_staging();
  EXPECT_FALSE(s.app().skipping());
}
