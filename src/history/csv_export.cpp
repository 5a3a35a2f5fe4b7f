// The history as CSV.
#include "history/csv_export.h"

#include "text/windows31j.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

namespace quilo {
namespace {

const char* const kColumns[] = {
    "記録日時",      "予想",          "年",       "月",   "日",   "競馬場", "レース", "頭数",
    "1番人気オッズ", "2番人気オッズ", "チャンス", "購入", "券種", "買い目", "金額",   "着順",
    "取消・除外",    "結果",          "払戻"};

// A field as CSV writes it: quoted when it holds a comma, a quote or a line break.
QString field(const QString& text) {
  const QString cell = csv_cell(text);
  if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
      !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r')))
    return cell;
  QString quoted = cell;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString row(const QStringList& fields) {
  QStringList out;
  for (const QString& f : fields) out << field(f);
  return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

// The numbers of a bet as the CSV writes them: arrows for an order, "・"
// between brackets ("3-5" would turn into a date).
QString csv_combination(BetType type, const std::vector<int>& numbers) {
  if (bet_type_info(type).ordered()) return combination_text(type, numbers);
  QStringList parts;
  for (int n : numbers) parts << QString::number(n);
  return parts.join(QStringLiteral("・"));
}

}  // namespace

// A plain number as a spreadsheet writes it back: "04" is 4, "1.50" is 1.5.
QString plain_number(const QString& text) {
  static const QRegularExpression number(QStringLiteral("^[0-9]+(\\.[0-9]+)?$"));
  if (!number.match(text).hasMatch()) return text;
  QString whole = text.section(QLatin1Char('.'), 0, 0), fraction = text.section(QLatin1Char('.'), 1);
  while (whole.size() > 1 && whole.startsWith(QLatin1Char('0'))) whole.remove(0, 1);
  while (fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);
  return fraction.isEmpty() ? whole : whole + QLatin1Char('.') + fraction;
}

QString csv_cell(const QString& typed) {
  const QString text = plain_number(typed);
  if (text.isEmpty()) return text;
  const QChar first = text[0];
  if (first == QLatin1Char('=') || first == QLatin1Char('+') || first == QLatin1Char('-') ||
      first == QLatin1Char('@') || first == QLatin1Char('\t') || first == QLatin1Char('\r') ||
      first == QChar(0xFF1D) || first == QChar(0xFF0B) || first == QChar(0xFF0D) || first == QChar(0xFF20))
    return QLatin1Char('\'') + text;
  return text;
}

QByteArray history_csv(const std::vector<RunRecord>& runs, const ResultsByRace& results, CsvEncoding encoding,
                       CommandName command_name) {
  QStringList header;
  for (const char* c : kColumns) header << QString::fromUtf8(c);
  QString text = row(header);
  for (const RunRecord& run : runs) {
    const Prediction& p = run.prediction;
    const QStringList head = {
        shown_time(run.when, true),
        command_name(p.command),
        p.race.year,
        p.race.month,
        p.race.day,
        p.race.racecourse,
        p.race.race,
        p.race.field_size,
        p.odds1,
        p.odds2,
        p.chance_level == kNoLevel ? QStringLiteral("なし") : QString::number(p.chance_level),
        run.bought ? QStringLiteral("購入") : QString()};
    const auto result = results.constFind(run.race);
    const bool settled = result != results.constEnd();
    QStringList finish(2, QString());
    if (settled) {
      QStringList scratched;
      for (int h : result->scratched) scratched << QString::number(h);
      finish = {finish_text(*result, QStringLiteral("→")), scratched.join(QStringLiteral("・"))};
    }
    if (p.bets.empty()) text += row(head + QStringList(3, QString()) + finish + QStringList(2, QString()));
    for (const Bet& bet : p.bets) {
      const int stake = run.bought && run.bought_stake ? *run.bought_stake : bet.stake;
      QStringList outcome(2, QString());
      if (settled) {
        const Settlement s = settle(bet, *result);
        const bool pays = s.outcome == Outcome::Hit || s.outcome == Outcome::Special;
        outcome = {s.outcome == Outcome::Miss ? QStringLiteral("不的中") : outcome_name(s.outcome),
                   QString::number(pays ? paid(stake, s.yen) : 0)};
      }
      text += row(head +
                  QStringList{bet_type_name(bet.type), csv_combination(bet.type, bet.numbers),
                              QString::number(stake)} +
                  finish + outcome);
    }
  }
  if (encoding == CsvEncoding::Windows31J) return encode_windows31j(text);
  return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

std::optional<QString> write_history_csv(const QString& path, const std::vector<RunRecord>& runs,
                                         const ResultsByRace& results, CsvEncoding encoding,
                                         CommandName command_name) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return QStringLiteral("ファイルを作れませんでした（%1）。").arg(file.errorString());
  const QByteArray bytes = history_csv(runs, results, encoding, command_name);
  if (file.write(bytes) != bytes.size() || !file.commit())
    return QStringLiteral("ファイルに書き込めませんでした（%1）。").arg(file.errorString());
  return std::nullopt;
}

}  // namespace quilo
