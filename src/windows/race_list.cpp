// The 成績 window's race list and the bets of the picked race.
#include "windows/race_list.h"

#include "engines/prediction_commands.h"
#include "model/control_names.h"

#include <algorithm>

namespace quilo {
namespace {

QString level_text(int level) { return level == kNoLevel ? QStringLiteral("—") : QString::number(level); }

}  // namespace

QString race_title(const RaceInputs& r) {
  return QStringLiteral("%1/%2/%3 %4 %5").arg(r.year, r.month, r.day, r.racecourse, r.race);
}

void RaceList::set_races(std::vector<HistoryStore::RaceRow> races, int total) {
  races_ = std::move(races);
  race_total_ = total;
}

void RaceList::add_run(const QString& key, const RaceInputs& race) {
  auto at = std::find_if(races_.begin(), races_.end(), [&](const auto& r) { return r.key == key; });
  HistoryStore::RaceRow row{key, race, 1, 0, 0, 0, std::nullopt};
  if (at != races_.end()) {
    row = *at;
    row.race = race;
    ++row.runs;
    races_.erase(at);
  } else {
    ++race_total_;
  }
  races_.insert(races_.begin(), row);
  if (races_.size() > std::size_t(kListedRaces)) races_.resize(kListedRaces);
}

const HistoryStore::RaceRow* RaceList::picked_race() const {
  for (const auto& r : races_)
    if (r.key == picked_key_) return &r;
  return nullptr;
}

const HistoryStore::BetRow* RaceList::picked_run_row() const {
  const auto run =
      std::find_if(bets_.begin(), bets_.end(), [&](const auto& r) { return r.run == picked_run_; });
  return run == bets_.end() ? nullptr : &*run;
}

void RaceList::forget_picks() {
  picked_key_.clear();
  picked_run_ = 0;
}

bool RaceList::pick_race(Form& form, int index) {
  if (index < 0 || index >= int(races_.size())) return false;
  picked_key_ = races_[index].key;
  picked_run_ = 0;
  form[form4::Grid1].selected = index;
  return true;
}

bool RaceList::pick_bet(Form& form, int index) {
  if (index < 0 || index >= int(bets_.size())) return false;
  const auto& row = bets_[index];
  picked_run_ = row.run;
  form[form4::Grid2].selected = index;
  form[form4::Text15].text = row.bought_stake ? QString::number(*row.bought_stake) : QString();
  return true;
}

void RaceList::show_races(Form& form) {
  Control& grid = form[form4::Grid1];
  grid.rows.clear();
  grid.selected = -1;
  for (const auto& race : races_) {
    const RaceInputs& in = race.race;
    if (race.key == picked_key_) grid.selected = int(grid.rows.size());
    const bool settled = race.finish.has_value();
    grid.rows.push_back(
        {QStringLiteral("%1/%2/%3").arg(in.year, in.month, in.day), in.racecourse, in.race, in.field_size,
         QString::number(race.runs), settled ? *race.finish : QStringLiteral("未入力"),
         settled ? QStringLiteral("%1/%2").arg(race.hits).arg(race.bets) : QStringLiteral("－"),
         settled ? yen_text(race.payback) : QStringLiteral("－")});
  }
  if (grid.selected < 0) picked_key_.clear();
  form(form4::Label1, 20).text =
      race_total_ > int(races_.size())
          ? QStringLiteral("全 %1 レース（新しい %2 レースを表示）").arg(race_total_).arg(races_.size())
          : QStringLiteral("全 %1 レース").arg(race_total_);
}

bool RaceList::show_bets(Form& form, const HistoryStore& store) {
  const auto* race = picked_race();
  form(form4::Label1, 19).text = race ? race_title(race->race) + QStringLiteral(" の結果") : QString();
  if (!race) {
    bets_.clear();
    picked_run_ = 0;
    show_bet_rows(form);
    return true;
  }
  auto bets = store.race_bets(race->key);
  if (!bets) return false;
  bets_ = std::move(*bets);
  show_bet_rows(form);
  return true;
}

void RaceList::show_bet_rows(Form& form) {
  Control& grid = form[form4::Grid2];
  grid.rows.clear();
  grid.selected = -1;
  bool picked_there = false;
  for (const auto& row : bets_) {
    const int stake = row.bought && row.bought_stake ? *row.bought_stake : row.bet.stake;
    QString outcome, payback;
    if (row.settled) {
      outcome = outcome_name(row.settled->outcome);
      const bool pays = row.settled->outcome == Outcome::Hit || row.settled->outcome == Outcome::Special;
      payback = yen_text(pays ? paid(stake, row.settled->yen) : 0);
    }
    if (row.run == picked_run_ && grid.selected < 0) grid.selected = int(grid.rows.size());
    picked_there = picked_there || row.run == picked_run_;
    grid.rows.push_back({shown_time(row.when), prediction_name(row.command), level_text(row.chance_level),
                         row.bought ? QStringLiteral("購入") : QString(), bet_type_name(row.bet.type),
                         combination_text(row.bet.type, row.bet.numbers), yen_text(stake), outcome, payback});
  }
  if (!picked_there) picked_run_ = 0;
}

}  // namespace quilo
