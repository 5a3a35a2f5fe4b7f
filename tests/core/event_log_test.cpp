// The headless mode's event log: every effect waits for the next dump, in
// order; a run that does not dump for long keeps only the newest events (a
// bounded amount) and the next dump says how many went.
#include "media/headless_platform.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>

using namespace quilo;

namespace {

QString effect(int i) { return QStringLiteral("se%1.wav").arg(i); }

}  // namespace

TEST(EventLog, KeepsTheNewestPastItsLimitAndSaysHowManyWent) {
  // A sound effect's event is 30 to 35 bytes: 40,000 of them are past the limit.
  struct Case {
    int logged;
    bool some_dropped;
  };
  for (const Case c : {Case{1, false}, Case{2000, false}, Case{40000, true}, Case{120000, true}}) {
    HeadlessPlatform p;
    for (int i = 0; i < c.logged; ++i) p.play_se(effect(i));
    const QByteArray text = p.take_events_text();
    const QJsonArray events = QJsonDocument::fromJson(text).array();
    ASSERT_FALSE(events.isEmpty()) << c.logged << " events: not a JSON array";
    const QJsonObject first = events.first().toObject();
    const bool dropped = first["kind"] == "dropped";
    EXPECT_EQ(dropped, c.some_dropped) << c.logged;
    const qint64 gone = dropped ? first["events"].toInteger() : 0;
    // The rest are the newest, whole and in order, and nothing is lost unsaid.
    EXPECT_EQ(gone + events.size() - (dropped ? 1 : 0), c.logged) << c.logged;
    for (qsizetype k = dropped ? 1 : 0; k < events.size(); ++k) {
      const int i = int(gone + k - (dropped ? 1 : 0));
      ASSERT_EQ(events[k].toObject(), (QJsonObject{{"kind", "se"}, {"file", effect(i)}})) << c.logged;
    }
    EXPECT_LE(text.size(), kEventLogLimit + 100) << c.logged;
    // A dump forgets what it printed and what went: the next starts afresh.
    p.play_se(effect(-1));
    EXPECT_EQ(p.take_events(), (QJsonArray{QJsonObject{{"kind", "se"}, {"file", effect(-1)}}}));
  }
}
