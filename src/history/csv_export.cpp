// The history as CSV.
#include "history/csv_export.h"

#include "app/windows31j.h"

#include <QSaveFile>
#include <QStringList>

namespace quilo {
namespace {

const char* const kColumns[] = {
    "記録日時",      "予想",          "年",       "月",   "日",     "競馬場", "レース", "頭数",
    "1番人気オッズ", "2番人気オッズ", "チャンス", "券種", "買い目", "金額",   "1着",    "2着",
    "3着",           "1着の枠",       "2着の枠",  "的中", "払戻"};

// A field as CSV writes it: quoted when it holds a comma, a quote or a line break.
QString field(const QString& text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
      !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
    return text;
  QString quoted = text;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString row(const QStringList& fields) {
  QStringList out;
  for (const QString& f : fields) out << field(f);
  return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

}  // namespace

QByteArray history_csv(const std::vector<RunRecord>& runs, const ResultsByRace& results,
                       CsvEncoding encoding) {
  QStringList header;
  for (const char* c : kColumns) header << QString::fromUtf8(c);
  QString text = row(header);
  for (const RunRecord& run : runs) {
    const Prediction& p = run.prediction;
    const QStringList head = {shown_time(run.when, true),
                              p.command,
                              p.race.year,
                              p.race.month,
                              p.race.day,
                              p.race.racecourse,
                              p.race.race,
                              p.race.field_size,
                              p.odds1,
                              p.odds2,
                              QString::number(p.chance_level)};
    const auto result = results.constFind(run.race);
    QStringList finish;
    if (result != results.constEnd())
      for (int n : {result->first, result->second, result->third, result->bracket1, result->bracket2})
        finish << QString::number(n);
    else
      finish = QStringList(5, QString());
    if (p.bets.empty()) text += row(head + QStringList(3, QString()) + finish + QStringList(2, QString()));
    for (const Bet& bet : p.bets) {
      QStringList numbers;
      for (int n : bet.numbers) numbers << QString::number(n);
      QStringList outcome(2, QString());
      if (result != results.constEnd()) {
        const BetOutcome o = settle(bet, *result);
        outcome = {o.hit ? QStringLiteral("的中") : QString(), QString::number(o.payback)};
      }
      text += row(
          head +
          QStringList{bet_type_name(bet.type), numbers.join(QLatin1Char('-')), QString::number(bet.stake)} +
          finish + outcome);
    }
  }
  if (encoding == CsvEncoding::Windows31J) return encode_windows31j(text);
  return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

std::optional<QString> write_history_csv(const QString& path, const std::vector<RunRecord>& runs,
                                         const ResultsByRace& results, CsvEncoding encoding) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return QStringLiteral("ファイルを作れませんでした（%1）。").arg(file.errorString());
  const QByteArray bytes = history_csv(runs, results, encoding);
  if (file.write(bytes) != bytes.size() || !file.commit())
    return QStringLiteral("ファイルに書き込めませんでした（%1）。").arg(file.errorString());
  return std::nullopt;
}

}  // namespace quilo
