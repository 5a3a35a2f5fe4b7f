// Brackets, winning combinations, the checks of a payout table and the
// settling of a bet against it.
#include "history/race_result.h"

#include "history/summary.h"

#include <QStringList>

#include <algorithm>

namespace quilo {
namespace {

constexpr int kBrackets = 8;
constexpr int kLowestPayout = 100;  // a winning ticket pays at least its stake back

bool contains(const std::vector<int>& v, int n) { return std::find(v.begin(), v.end(), n) != v.end(); }

// The numbers as the payout table keeps them: a bracket pair smaller first.
std::vector<int> canonical(BetType type, std::vector<int> numbers) {
  if (!bet_type_info(type).ordered()) std::sort(numbers.begin(), numbers.end());
  return numbers;
}

bool listed(const std::vector<BetType>& types, BetType type) {
  return std::find(types.begin(), types.end(), type) != types.end();
}

// The placed horses in finishing order with the place each takes.
std::vector<std::pair<int, int>> placed(const RaceResult& r) {
  std::vector<std::pair<int, int>> out;
  int place = 1;
  for (const auto& group : r.finish) {
    for (int horse : group) out.emplace_back(horse, place);
    place += int(group.size());
  }
  return out;
}

// Orders of k placed horses in which each horse takes a place no later than
// its position and no earlier than the one before it.
void orders(const std::vector<std::pair<int, int>>& horses, std::size_t k, std::vector<int>& chosen,
            std::vector<std::vector<int>>& out) {
  if (chosen.size() == k) {
    out.push_back(chosen);
    return;
  }
  const int position = int(chosen.size()) + 1;
  int last_place = 0;
  for (const auto& [h, p] : horses)
    if (!chosen.empty() && h == chosen.back()) last_place = p;
  for (const auto& [horse, place] : horses) {
    if (place > position || place < last_place || contains(chosen, horse)) continue;
    chosen.push_back(horse);
    orders(horses, k, chosen, out);
    chosen.pop_back();
  }
}

}  // namespace

int bracket_of(int horse, int field) {
  if (horse < 1 || horse > field) return 0;
  if (field <= kBrackets) return horse;
  // The last `extra` brackets hold one horse more than the others.
  const int base = field / kBrackets, extra = field % kBrackets;
  const int small = kBrackets - extra;  // brackets holding `base` horses
  if (horse <= small * base) return (horse - 1) / base + 1;
  return small + (horse - small * base - 1) / (base + 1) + 1;
}

std::vector<int> horses_of_bracket(int bracket, int field) {
  std::vector<int> out;
  for (int h = 1; h <= field; ++h)
    if (bracket_of(h, field) == bracket) out.push_back(h);
  return out;
}

int runners(const RaceResult& r) { return r.field - int(r.scratched.size()); }

int paid_places(int runners) { return runners >= 8 ? 3 : runners >= 5 ? 2 : 0; }

bool sold(BetType type, const RaceResult& r) {
  if (listed(r.not_sold, type)) return false;
  if (r.field < bet_type_info(type).smallest_field) return false;
  return bet_type_info(type).rule != WinRule::Placed || paid_places(runners(r)) > 0;
}

int place_of(const RaceResult& r, int horse) {
  for (const auto& [h, p] : placed(r))
    if (h == horse) return p;
  return 0;
}

std::vector<std::vector<int>> winning_combinations(BetType type, const RaceResult& r) {
  const auto horses = placed(r);
  std::vector<std::vector<int>> out;
  std::vector<int> chosen;
  const BetTypeInfo& info = bet_type_info(type);
  switch (info.rule) {
    case WinRule::InOrder:
      orders(horses, info.positions, chosen, out);
      break;
    case WinRule::Unordered:
    case WinRule::Brackets: {
      std::vector<std::vector<int>> firsts;
      orders(horses, info.positions, chosen, firsts);
      for (auto numbers : firsts) {
        if (info.brackets())
          for (int& n : numbers) n = bracket_of(n, r.field);
        numbers = canonical(type, numbers);
        if (std::find(out.begin(), out.end(), numbers) == out.end()) out.push_back(numbers);
      }
      break;
    }
    case WinRule::Placed:
      for (const auto& [horse, place] : horses)
        if (place <= paid_places(runners(r))) out.push_back({horse});
      break;
  }
  return out;
}

QString finish_text(const RaceResult& r, const QString& between) {
  QStringList places;
  for (const auto& group : r.finish) {
    QStringList horses;
    for (int h : group) horses << QString::number(h);
    places << horses.join(QLatin1Char('='));
  }
  return places.join(between);
}

std::optional<QString> result_problem(const RaceResult& r) {
  if (r.field < 2 || r.field > kLargestField)
    return QStringLiteral("頭数は 2 から %1 までの数字を入力して下さい。").arg(kLargestField);
  std::vector<int> seen;
  for (int h : r.scratched) {
    if (h < 1 || h > r.field)
      return QStringLiteral("取消・除外の %1 番は %2頭立てのレースにいません。").arg(h).arg(r.field);
    if (contains(seen, h)) return QStringLiteral("取消・除外に %1 番が二度あります。").arg(h);
    seen.push_back(h);
  }
  if (runners(r) < 2) return QStringLiteral("出走した馬が 2 頭に足りません。");
  const int needed = std::min(3, runners(r));
  seen.clear();
  int place = 1;
  for (const auto& group : r.finish) {
    if (group.empty() || place > needed)
      return QStringLiteral("着順は 1着から順に、同着の馬は同じ着に入力して下さい。");
    for (int h : group) {
      if (h < 1 || h > r.field)
        return QStringLiteral("%1着の %2 番は %3頭立てのレースにいません。").arg(place).arg(h).arg(r.field);
      if (contains(r.scratched, h))
        return QStringLiteral("%1 番は取消・除外の馬なので着順に入れられません。").arg(h);
      if (contains(seen, h)) return QStringLiteral("%1 番が着順に二度あります。").arg(h);
      seen.push_back(h);
    }
    place += int(group.size());
  }
  if (place - 1 < needed) return QStringLiteral("%1着の馬番を入力して下さい。").arg(place);
  for (BetType type : kBetTypes) {
    const QString name = bet_type_name(type);
    std::vector<Payout> rows;
    for (const Payout& p : r.payouts)
      if (p.type == type) rows.push_back(p);
    if (!sold(type, r)) {
      if (!rows.empty() || listed(r.special, type))
        return QStringLiteral("%1頭立てのこのレースでは%2は発売されていません。").arg(r.field).arg(name);
      continue;
    }
    if (listed(r.special, type)) {
      if (!rows.empty()) return QStringLiteral("%1は特払いなので、的中の払戻金は入力できません。").arg(name);
      continue;
    }
    const auto winners = winning_combinations(type, r);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const Payout& p = rows[i];
      const QString combination = combination_text(type, p.numbers);
      if (std::find(winners.begin(), winners.end(), canonical(type, p.numbers)) == winners.end())
        return QStringLiteral("%1 %2 は的中の組み合わせではありません。").arg(name, combination);
      for (std::size_t j = 0; j < i; ++j)
        if (canonical(type, rows[j].numbers) == canonical(type, p.numbers))
          return QStringLiteral("%1 %2 の払戻金が二度あります。").arg(name, combination);
      if (p.yen < kLowestPayout || p.yen > kMaxPayout)
        return QStringLiteral(
                   "%1 %2 の払戻金（100円あたり）は %3 円以上で入力して下さい（特払いは「特払い」）。")
            .arg(name, combination, yen_text(kLowestPayout));
    }
    for (const auto& w : winners) {
      const bool given = std::any_of(rows.begin(), rows.end(),
                                     [&](const Payout& p) { return canonical(type, p.numbers) == w; });
      if (!given)
        return QStringLiteral("%1 %2 の払戻金を入力して下さい。").arg(name, combination_text(type, w));
    }
  }
  return std::nullopt;
}

Settlement settle(const Bet& bet, const RaceResult& r) {
  const BetTypeInfo& info = bet_type_info(bet.type);
  if (!bet.buyable || bet.numbers.size() != info.positions || !sold(bet.type, r)) return {Outcome::NotBought};
  const int highest = info.brackets() ? kBrackets : r.field;
  for (int n : bet.numbers)
    if (n < 1 || n > highest) return {Outcome::NotBought};
  if (info.brackets()) {
    for (int b : bet.numbers) {
      const auto horses = horses_of_bracket(b, r.field);
      const auto running =
          std::count_if(horses.begin(), horses.end(), [&](int h) { return !contains(r.scratched, h); });
      // A pair of one bracket needs two of its horses: a bracket of one
      // horse never sells it, one that lost a horse to a scratch refunds it.
      const bool pair = bet.numbers[0] == bet.numbers[1];
      if (pair && horses.size() < 2) return {Outcome::NotBought};
      if (running == 0 || (pair && running < 2)) return {Outcome::Refund};
    }
  } else {
    for (int h : bet.numbers)
      if (contains(r.scratched, h)) return {Outcome::Refund};
  }
  if (listed(r.special, bet.type)) return {Outcome::Special, info.special_yen};
  const auto numbers = canonical(bet.type, bet.numbers);
  for (const Payout& p : r.payouts)
    if (p.type == bet.type && canonical(p.type, p.numbers) == numbers) return {Outcome::Hit, p.yen};
  return {Outcome::Miss};
}

qint64 paid(qint64 stake, int yen) {
  qint64 product = 0;
  if (__builtin_mul_overflow(stake, qint64(yen), &product) || product / 100 > kYenLimit ||
      product / 100 < -kYenLimit)
    return kYenOver;
  return product / 100;
}

QString outcome_name(Outcome outcome) {
  switch (outcome) {
    case Outcome::Hit:
      return QStringLiteral("的中");
    case Outcome::Miss:
      return QStringLiteral("－");
    case Outcome::Refund:
      return QStringLiteral("返還");
    case Outcome::Special:
      return QStringLiteral("特払い");
    case Outcome::NotBought:
      return QStringLiteral("対象外");
  }
  return {};
}

}  // namespace quilo
