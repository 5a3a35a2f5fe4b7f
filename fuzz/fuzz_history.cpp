// The history file reader on arbitrary files, and the result boxes of the
// 成績 window on arbitrary texts. The first byte chooses: 0 (mod 3), the rest
// is the history file; 1, the rest is a history file (its length in the next
// two bytes, big-endian) and its write-ahead log; 2, the rest is the texts
// of the result boxes.
//
// A file: the history window opens it, reads its runs and results, sums
// every figure and dumps. Whatever the bytes: a file not taken as the
// history is left exactly as it was (and so is its log), a damaged one is
// kept aside byte for byte, a result read back is a whole payout table, no
// figure is negative or shows as anything but a number, "－" or the text for
// a figure past the limit, and the groups of a table of figures add up to
// its total.
//
// Texts: a result that parses shows back as texts that parse to the same
// result, and the history keeps it exactly; texts that do not parse say why.
#include "files/startup_files.h"
#include "fuzz_support.h"
#include "history/result_entry.h"
#include "media/headless_platform.h"
#include "windows/history_window.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <map>

using namespace quilo;

namespace {

// The history's folder: in memory where the system offers one, since
// SQLite syncs every file it makes and a disk would then set the pace.
QDir history_folder() {
  static QTemporaryDir dir((QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                               : fuzz::work_folder().path()) +
                           QStringLiteral("/quilo-fuzz-history-XXXXXX"));
  if (!dir.isValid()) std::abort();
  return QDir(dir.path());
}

const QString kName = QStringLiteral("history.sqlite");

// The files of the history's folder with their bytes.
std::map<QString, QByteArray> folder_bytes() {
  std::map<QString, QByteArray> out;
  const QDir dir = history_folder();
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
    QFile f(dir.filePath(name));
    out[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  return out;
}

void write_file(const QString& name, const QByteArray& bytes) {
  QFile f(history_folder().filePath(name));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  f.write(bytes);
}

void check_share(const QJsonValue& v) {
  static const QRegularExpression share(QStringLiteral("^(-?[0-9]+\\.[0-9]%|－)$"));
  FUZZ_CHECK(share.match(v.toString()).hasMatch(), "share %s", qPrintable(v.toString()));
}

void check_yen(const QJsonValue& v) {
  FUZZ_CHECK(
      v.isDouble() ? v.toInteger() >= 0 && v.toInteger() <= kYenLimit : v.toString() == yen_text(kYenOver),
      "yen figure");
}

void check_summary(const QJsonObject& summary) {
  for (const QJsonValue& span : summary)
    for (const QJsonValue& figures : span.toObject()) {
      if (!figures.isObject() || !figures.toObject().contains(QStringLiteral("stake"))) continue;
      const QJsonObject f = figures.toObject();
      check_share(f["hit_rate"]);
      check_share(f["return_rate"]);
      check_yen(f["stake"]);
      check_yen(f["payback"]);
    }
}

bool within(qint64 yen) { return yen != kYenOver && yen >= 0 && yen <= kYenLimit; }

// A figure is a count or a sum of yen that cannot be below nothing.
void check_figures(const Figures& f) {
  FUZZ_CHECK(f.races >= 0 && f.race_hits >= 0 && f.race_hits <= f.races, "races %d, with a hit %d", f.races,
             f.race_hits);
  FUZZ_CHECK(f.bets >= 0 && f.hits >= 0 && f.hits <= f.bets && f.refunds >= 0, "bets %d, hits %d, refunds %d",
             f.bets, f.hits, f.refunds);
  for (qint64 yen : {f.stake, f.payback, f.refunded, f.hit_yen})
    FUZZ_CHECK(yen == kYenOver || within(yen), "a yen figure of %lld", static_cast<long long>(yen));
  FUZZ_CHECK(f.largest_yen >= 0, "a largest payout of %d", f.largest_yen);
}

// Whether the history in use passes SQLite's integrity check. An index that
// misses rows of its table passes the quick check the store makes (and a
// file checked within the last days is not checked again), and the sums
// that read through that index then disagree with the others.
bool sound(const HistoryStore& store) {
  if (store.file().isEmpty()) return true;
  const QString name = QStringLiteral("fuzz-history-check");
  bool ok = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(store.file());
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    QSqlQuery q(db);
    ok = db.open() && q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next() &&
         q.value(0).toString() == QLatin1String("ok");
  }
  QSqlDatabase::removeDatabase(name);
  return ok;
}

// Every table of figures of a ledger: its rows and, in a sound file, the
// rows of each grouping adding up to the total (the races apart: a race
// counts once in the total, once in each of its groups) and the balance
// folded from the races ending at the total's return less its stake.
void check_ledger(const HistoryStore& store, Ledger ledger, bool sound) {
  const auto total = store.overall(ledger, {});
  if (!total) return;  // unreadable: the window says so
  check_figures(*total);
  for (Grouping grouping :
       {Grouping::BetType, Grouping::Month, Grouping::Year, Grouping::Racecourse, Grouping::ChanceLevel}) {
    const auto rows = store.figures(ledger, grouping, {});
    if (!rows) continue;
    Figures sum;
    for (const FigureRow& row : *rows) {
      check_figures(row.figures);
      sum.bets += row.figures.bets;
      sum.hits += row.figures.hits;
      sum.refunds += row.figures.refunds;
      sum.stake = add_yen(sum.stake, row.figures.stake);
      sum.payback = add_yen(sum.payback, row.figures.payback);
    }
    if (!sound) continue;
    FUZZ_CHECK(sum.bets == total->bets && sum.hits == total->hits && sum.refunds == total->refunds,
               "grouping %d: %d bets, %d hits, %d refunds in the groups; %d, %d, %d in all", int(grouping),
               sum.bets, sum.hits, sum.refunds, total->bets, total->hits, total->refunds);
    if (within(total->stake) && within(total->payback))
      FUZZ_CHECK(sum.stake == total->stake && sum.payback == total->payback,
                 "grouping %d: the groups' stake or return is not the total's", int(grouping));
  }
  RaceFold fold;
  if (!store.fold_races(ledger, {}, std::nullopt, fold)) return;
  const auto balance = fold.balance();
  const Streaks streaks = fold.streaks();
  FUZZ_CHECK(streaks.longest_losing >= 0 && streaks.longest_losing <= total->races,
             "a losing run of %d in %d races", streaks.longest_losing, total->races);
  FUZZ_CHECK(streaks.drawdown >= 0, "a negative drawdown");
  const qint64 limit = kYenLimit / 4;  // no running balance can pass the limit on the way
  if (sound && within(total->stake) && within(total->payback) && total->stake < limit &&
      total->payback < limit)
    FUZZ_CHECK((balance.empty() ? 0 : balance.back().balance) == total->payback - total->stake,
               "the chart ends at %lld, the return less the stake is %lld - %lld",
               static_cast<long long>(balance.empty() ? 0 : balance.back().balance),
               static_cast<long long>(total->payback), static_cast<long long>(total->stake));
}

void check_file(const std::uint8_t* data, std::size_t size, HeadlessPlatform& platform) {
  const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  QByteArray file = rest, log;
  if (data[0] % 3 == 1) {
    if (rest.size() < 2) return;
    const qsizetype length = std::min<qsizetype>((quint8(rest[0]) << 8) | quint8(rest[1]), rest.size() - 2);
    file = rest.mid(2, length);
    log = rest.mid(2 + length);
  }
  fuzz::work_folder();
  QDir folder = history_folder();
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) folder.remove(name);
  write_file(kName, file);
  if (!log.isEmpty()) write_file(kName + QStringLiteral("-wal"), log);
  const auto before = folder_bytes();
  platform.take_events();

  StartupFiles own_files;
  HistoryWindow window(platform, own_files);
  window.open_store(folder.filePath(kName));
  HistoryStore& store = window.store();
  const QStringList aside = folder.entryList({kName + QStringLiteral(".damaged-*")}, QDir::Files)
                                .filter(QRegularExpression(QStringLiteral("[0-9]$")));
  FUZZ_CHECK(aside.size() <= 1, "more than one file kept aside");
  if (!aside.isEmpty()) {
    // Kept aside as it was, its log with it, never replayed into it.
    const auto now = folder_bytes();
    FUZZ_CHECK(now.at(aside[0]) == file, "the file kept aside is not the file that was there");
    FUZZ_CHECK(log.isEmpty() || now.at(aside[0] + QStringLiteral("-wal")) == log, "its log changed");
  } else if (store.file().isEmpty()) {
    FUZZ_CHECK(!store.notice().isEmpty(), "a file refused without a word");
    // An older history whose update failed was opened for writing: SQLite
    // folds its log into it on closing, the same records in other bytes.
    const bool opened = store.notice().contains(QStringLiteral("新しい形式に更新できませんでした"));
    FUZZ_CHECK(opened || folder_bytes() == before, "a file not taken as the history changed");
  }

  if (const auto contents = store.read()) {
    FUZZ_CHECK(contents->left_out >= 0, "left out %d", contents->left_out);
    for (const RunRecord& run : contents->runs) {
      FUZZ_CHECK(run.prediction.chance_level >= kNoLevel && run.prediction.chance_level <= kMaxChanceLevel,
                 "a chance level of %d", run.prediction.chance_level);
      for (const Bet& bet : run.prediction.bets) FUZZ_CHECK(plausible(bet), "a bet out of range was read");
    }
    for (const RaceResult& r : contents->results)
      FUZZ_CHECK(!result_problem(r), "a result read back is no whole payout table: %s",
                 qPrintable(*result_problem(r)));
  }
  const bool whole = sound(store);
  for (Ledger ledger : {Ledger::Predictions, Ledger::Bought}) check_ledger(store, ledger, whole);
  int total = 0;
  if (const auto races = store.races(1000, &total)) {
    FUZZ_CHECK(int(races->size()) <= total, "%zu races listed of %d", races->size(), total);
    for (const auto& race : *races) {
      FUZZ_CHECK(race.runs > 0 && race.bets >= 0 && race.hits >= 0 && race.hits <= race.bets,
                 "a race of %d runs, %d bets, %d hits", race.runs, race.bets, race.hits);
      FUZZ_CHECK(race.payback == kYenOver || within(race.payback), "a race's return of %lld",
                 static_cast<long long>(race.payback));
    }
  }

  window.Form_Load();
  const QJsonObject dump = window.dump();
  check_summary(dump[QStringLiteral("summary")].toObject());
  // Every message names what went wrong; the window stays usable.
  window.Command5_Click();
  window.Command4_Click();
}

// The texts of the result boxes, from the bytes: each box up to a zero byte.
ResultTexts texts_from(const std::uint8_t* data, std::size_t size) {
  QList<QByteArray> parts = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
  auto next = [&] { return parts.isEmpty() ? QString() : QString::fromUtf8(parts.takeFirst()); };
  ResultTexts t;
  t.field = next();
  t.scratched = next();
  for (QString& place : t.places) place = next();
  for (QString& payouts : t.payouts) payouts = next();
  return t;
}

// The table as the same result: unsold is unsold, whether the field never
// allowed the type or the table says so.
RaceResult as_sold(RaceResult r) {
  const RaceResult bare{r.field, r.scratched, r.finish, {}, {}, {}};
  std::erase_if(r.not_sold, [&](BetType type) { return !sold(type, bare); });
  return r;
}

void check_texts(const std::uint8_t* data, std::size_t size) {
  const ResultTexts texts = texts_from(data, size);
  const ParsedResult parsed = result_from_texts(texts);
  if (!parsed.result) {
    FUZZ_CHECK(!parsed.problem.isEmpty(), "texts refused without a word");
    return;
  }
  const RaceResult& r = *parsed.result;
  FUZZ_CHECK(!result_problem(r), "a result that parses is no whole table: %s",
             qPrintable(*result_problem(r)));
  const ResultTexts shown = texts_of(r);
  const ParsedResult again = result_from_texts(shown);
  FUZZ_CHECK(again.result, "the texts of a result do not parse: %s", qPrintable(again.problem));
  FUZZ_CHECK(as_sold(*again.result) == as_sold(r), "the texts of a result parse to another result");
  FUZZ_CHECK(texts_of(*again.result) == shown, "a result shows as other texts once read back");
  // Saved and read back exactly, every bet type settled against it.
  static HistoryStore store(QString{});
  static const QDateTime when(QDate(2010, 4, 10), QTime(12, 0));
  const QString key = QStringLiteral("2010|4|10|東京|1");
  FUZZ_CHECK(store.save_result(key, r, when), "a result that parses is not saved: %s",
             qPrintable(store.last_error()));
  FUZZ_CHECK(store.result_of(key) == r, "a result saved reads back as another");
  for (BetType type : kBetTypes) {
    if (!sold(type, r)) continue;
    for (const auto& numbers : winning_combinations(type, r)) {
      const Settlement s = settle(Bet{type, numbers, 100, true, {}}, r);
      FUZZ_CHECK(s.outcome == Outcome::Hit || s.outcome == Outcome::Special, "a winning %s does not pay",
                 qPrintable(combination_text(type, numbers)));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static HeadlessPlatform platform;
  if (size == 0) return 0;
  if (data[0] % 3 == 2)
    check_texts(data + 1, size - 1);
  else
    check_file(data, size, platform);
  return 0;
}
