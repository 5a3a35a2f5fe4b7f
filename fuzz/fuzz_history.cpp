// The history file reader on arbitrary files. The first byte chooses: even,
// the rest is the history file; odd, the rest is a history file (its length
// in the next two bytes, big-endian) and its write-ahead log. The history
// window opens it, reads its runs and results, works out the figures and the
// chart, and dumps. Whatever the bytes: a file not taken as the history is
// left exactly as it was (and so is its log), a damaged one is kept aside
// byte for byte, and no figure shows as anything but a number, "－" or the
// text for a figure past the limit.
#include "app/startup_files.h"
#include "fuzz_support.h"
#include "history/history_window.h"
#include "media/headless_platform.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

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
      if (!figures.isObject()) continue;  // the period's ends
      const QJsonObject f = figures.toObject();
      check_share(f["hit_rate"]);
      check_share(f["return_rate"]);
      check_yen(f["stake"]);
      check_yen(f["payback"]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static HeadlessPlatform platform;
  if (size == 0) return 0;
  const QByteArray rest(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  QByteArray file = rest, log;
  if (data[0] % 2) {
    if (rest.size() < 2) return 0;
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

  {
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
      FUZZ_CHECK(folder_bytes() == before, "a file not taken as the history changed");
    }

    if (const auto contents = store.read()) {
      FUZZ_CHECK(contents->left_out >= 0, "left out %d", contents->left_out);
      for (const RunRecord& run : contents->runs)
        for (const Bet& bet : run.prediction.bets) FUZZ_CHECK(plausible(bet), "a bet out of range was read");
      for (const RaceResult& r : contents->results)
        FUZZ_CHECK(plausible(r), "a result out of range was read");
      const Summary s = summarize(contents->runs, contents->results);
      for (const auto& [type, f] : s.by_type) {
        FUZZ_CHECK(f.stake >= 0 && f.payback >= 0, "a negative figure");
        percent_text(f.payback, f.stake);
        balance_over_time(contents->runs, contents->results, type);
      }
      for (const BalancePoint& p : balance_over_time(contents->runs, contents->results, std::nullopt))
        FUZZ_CHECK(p.balance >= -kYenLimit && p.balance <= kYenLimit, "a balance past the limit");
    }

    window.Form_Load();
    const QJsonObject dump = window.dump();
    check_summary(dump[QStringLiteral("summary")].toObject());
    // Every message names what went wrong; the window stays usable.
    window.Command5_Click();
    window.Command4_Click();
  }
  return 0;
}
