// Reading the result boxes of the 成績 window into a payout table.
#include "history/result_entry.h"

#include "history/summary.h"
#include "text/whole_numbers.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace quilo {
namespace {

QString plain(const QString& text) { return text.normalized(QString::NormalizationForm_KC).trimmed(); }

// Horse numbers separated by blanks, commas, 、, ・ or "=".
std::optional<std::vector<int>> horse_list(const QString& text) {
  static const QRegularExpression separators(QStringLiteral("[\\s,、・=]+"));
  std::vector<int> out;
  for (const QString& part : plain(text).split(separators, Qt::SkipEmptyParts)) {
    const auto n = whole_number(part);
    if (!n) return std::nullopt;
    out.push_back(*n);
  }
  return out;
}

// "5-2", "5→2", "5>2" or, for one position, "7"; nullopt for anything else.
std::optional<std::vector<int>> combination(const QString& token, std::size_t positions) {
  static const QRegularExpression joiners(QStringLiteral("[-→>=ｰー]"));
  std::vector<int> out;
  for (const QString& part : token.split(joiners)) {
    const auto n = whole_number(part);
    if (!n || *n > kLargestField || part.contains(QLatin1Char(','))) return std::nullopt;
    out.push_back(*n);
  }
  if (out.size() != positions) return std::nullopt;
  return out;
}

// An amount as the payout page prints it: "1,230" or "1,230円".
std::optional<int> amount(QString token) {
  if (token.endsWith(QStringLiteral("円"))) token.chop(1);
  return whole_number(token);
}

// The payouts of one type into `result`; a problem in Japanese, or empty.
QString read_payouts(BetType type, const QString& typed, RaceResult& result) {
  const QString name = bet_type_name(type);
  const QString text = plain(typed);
  const BetTypeInfo& info = bet_type_info(type);
  if (text.isEmpty()) {
    if (!sold(type, result)) return {};
    return QStringLiteral(
               "「%1」の払戻金を入力して下さい（特払いは「特払い」、発売がなければ「発売なし」）。")
        .arg(name);
  }
  if (text == QStringLiteral("発売なし")) {
    // Kept only where the field would have allowed the type.
    if (sold(type, result)) result.not_sold.push_back(type);
    return {};
  }
  if (!sold(type, result))
    return QStringLiteral("%1頭立てのこのレースでは%2は発売されていません。").arg(result.field).arg(name);
  if (text.startsWith(QStringLiteral("特払")) || (amount(text) && *amount(text) == info.special_yen)) {
    result.special.push_back(type);
    return {};
  }
  static const QRegularExpression rows(QStringLiteral("[/;\\n]+"));
  static const QRegularExpression blanks(QStringLiteral("\\s+"));
  std::vector<int> bare;
  bool named = false;
  for (const QString& row : text.split(rows, Qt::SkipEmptyParts)) {
    const QStringList tokens = row.split(blanks, Qt::SkipEmptyParts);
    if (tokens.isEmpty()) continue;
    if (tokens.size() == 2) {
      if (const auto numbers = combination(tokens[0], info.positions)) {
        const auto yen = amount(tokens[1]);
        if (!yen) return QStringLiteral("「%1」の %2 の払戻金は数字で入力して下さい。").arg(name, tokens[0]);
        result.payouts.push_back({type, *numbers, *yen});
        named = true;
        continue;
      }
    }
    for (const QString& token : tokens) {
      const auto yen = amount(token);
      if (!yen)
        return QStringLiteral("「%1」の払戻金は「5-2 1230」のように組番と金額で入力して下さい。").arg(name);
      bare.push_back(*yen);
    }
  }
  if (bare.empty()) return {};
  // Bare amounts go to the winning combinations in finishing order.
  const auto winners = winning_combinations(type, result);
  if (named || bare.size() != winners.size())
    return QStringLiteral(
               "「%1」の的中は %2 通りです。払戻金は「5-2 1230」のように組番と金額で入力して下さい。")
        .arg(name)
        .arg(winners.size());
  for (std::size_t i = 0; i < winners.size(); ++i) result.payouts.push_back({type, winners[i], bare[i]});
  return {};
}

}  // namespace

ParsedResult result_from_texts(const ResultTexts& t) {
  RaceResult r;
  QString field = plain(t.field);
  if (field.endsWith(QStringLiteral("頭"))) field.chop(1);
  const auto size = whole_number(field);
  if (!size || *size < 2 || *size > kLargestField)
    return {std::nullopt, QStringLiteral("頭数は 2 から %1 までの数字を入力して下さい。").arg(kLargestField)};
  r.field = *size;
  const auto scratched = horse_list(t.scratched);
  if (!scratched)
    return {std::nullopt, QStringLiteral("取消・除外には馬番を数字で入力して下さい（空欄はなし）。")};
  r.scratched = *scratched;
  const int needed = std::min(3, runners(r));
  int placed = 0;
  for (int p = 1; p <= 3; ++p) {
    const auto horses = horse_list(t.places[p - 1]);
    if (!horses) return {std::nullopt, QStringLiteral("%1着には馬番を数字で入力して下さい。").arg(p)};
    if (placed >= p || placed >= needed) {
      if (!horses->empty())
        return {std::nullopt,
                placed >= needed && placed < p
                    ? QStringLiteral("%1着の欄は空けて下さい。").arg(p)
                    : QStringLiteral("%1着は同着の馬で埋まっています。%1着の欄は空けて下さい。").arg(p)};
      continue;
    }
    if (horses->empty()) return {std::nullopt, QStringLiteral("%1着の馬番を入力して下さい。").arg(p)};
    r.finish.push_back(*horses);
    placed += int(horses->size());
  }
  // The order first: the payouts are read against the combinations it makes.
  RaceResult order = r;
  order.not_sold.assign(std::begin(kBetTypes), std::end(kBetTypes));
  if (auto problem = result_problem(order)) return {std::nullopt, *problem};
  for (std::size_t i = 0; i < std::size(kBetTypes); ++i)
    if (QString problem = read_payouts(kBetTypes[i], t.payouts[i], r); !problem.isEmpty())
      return {std::nullopt, problem};
  if (auto problem = result_problem(r)) return {std::nullopt, *problem};
  return {r, {}};
}

ResultTexts texts_of(const RaceResult& r) {
  ResultTexts t;
  t.field = QString::number(r.field);
  QStringList scratched;
  for (int h : r.scratched) scratched << QString::number(h);
  t.scratched = scratched.join(QLatin1Char(' '));
  int place = 1;
  for (const auto& group : r.finish) {
    QStringList horses;
    for (int h : group) horses << QString::number(h);
    if (place <= 3) t.places[place - 1] = horses.join(QLatin1Char(' '));
    place += int(group.size());
  }
  for (std::size_t i = 0; i < std::size(kBetTypes); ++i) {
    const BetType type = kBetTypes[i];
    if (!sold(type, r)) {
      t.payouts[i] = QStringLiteral("発売なし");
    } else if (std::find(r.special.begin(), r.special.end(), type) != r.special.end()) {
      t.payouts[i] = QStringLiteral("特払い");
    } else {
      QStringList rows;
      for (const Payout& p : r.payouts) {
        if (p.type != type) continue;
        rows << combination_text(type, p.numbers) + QLatin1Char(' ') + yen_text(p.yen);
      }
      t.payouts[i] = rows.join(QStringLiteral(" / "));
    }
  }
  return t;
}

}  // namespace quilo
