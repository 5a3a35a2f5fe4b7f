// The 成績 window's figures, its chart and the period they cover.
#include "windows/history_figures.h"

#include "engines/prediction_commands.h"
#include "model/control_names.h"
#include "state/titles.h"

#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace quilo {
namespace {

const char* const kGroupings[] = {"券種", "月", "年", "競馬場", "チャンス"};
constexpr Grouping kGroupingOf[] = {Grouping::BetType, Grouping::Month, Grouping::Year, Grouping::Racecourse,
                                    Grouping::ChanceLevel};

Ledger ledger(const Form& form) {
  return form[form4::Combo2].selected == 1 ? Ledger::Bought : Ledger::Predictions;
}

QStringList figures_row(const QString& name, const Figures& f) {
  return {name,
          QString::number(f.races),
          QString::number(f.race_hits),
          percent_text(f.race_hits, f.races),
          QString::number(f.bets),
          QString::number(f.hits),
          percent_text(f.hits, f.bets),
          QString::number(f.refunds),
          yen_text(f.stake),
          yen_text(f.payback),
          percent_text(f.payback, f.stake),
          average_payout_text(f),
          f.hits > 0 ? yen_text(f.largest_yen) : QStringLiteral("－")};
}

// The lowest chance level from which, bought only at that level or above,
// a bet type has paid back at least its stake over the period.
std::optional<int> lowest_paying_level(const std::vector<FigureRow>& rows, BetType type) {
  std::map<int, std::pair<qint64, qint64>> by_level;  // stake, payback
  for (const FigureRow& row : rows)
    if (row.type == type && row.level) by_level[*row.level] = {row.figures.stake, row.figures.payback};
  qint64 stake = 0, payback = 0;
  std::optional<int> lowest;
  for (auto it = by_level.rbegin(); it != by_level.rend(); ++it) {
    stake = add_yen(stake, it->second.first);
    payback = add_yen(payback, it->second.second);
    if (stake != kYenOver && payback != kYenOver && stake > 0 && payback >= stake) lowest = it->first;
  }
  return lowest;
}

// A date as a user types it: 2010-04-10, 2010/4/10 (full-width digits too);
// an empty box is an open end.
std::optional<std::optional<QDate>> typed_date(const QString& text) {
  const QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
  if (plain.isEmpty()) return std::optional<QDate>();
  static const QRegularExpression re(QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
  const auto m = re.match(plain);
  if (!m.hasMatch()) return std::nullopt;
  const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  if (!d.isValid()) return std::nullopt;
  return std::optional<QDate>(d);
}

}  // namespace

bool show_history_figures(Form& form, const HistoryStore& store, const Period& dates) {
  const Ledger l = ledger(form);
  auto all = store.figures(l, Grouping::BetType, {});
  auto all_total = store.overall(l, {});
  const int g = std::clamp(form[form4::Combo3].selected, 0, int(std::size(kGroupingOf)) - 1);
  const Grouping grouping = kGroupingOf[g];
  // An open period is all time: its figures are summed once.
  const bool all_time = !dates.from && !dates.to;
  auto period = all_time && grouping == Grouping::BetType ? all : store.figures(l, grouping, dates);
  auto period_total = all_time ? all_total : store.overall(l, dates);
  RaceFold fold;
  if (!all || !all_total || !period || !period_total || !store.fold_races(l, dates, std::nullopt, fold))
    return false;
  // Every bet type has its row, with or without figures.
  auto by_type = [](const std::vector<FigureRow>& rows) {
    std::vector<QStringList> out;
    for (BetType type : kBetTypes) {
      Figures f;
      for (const FigureRow& row : rows)
        if (row.type == type) f = row.figures;
      out.push_back(figures_row(bet_type_name(type), f));
    }
    return out;
  };
  Control& all_grid = form[form4::Grid3];
  all_grid.rows = by_type(*all);
  all_grid.rows.push_back(figures_row(QStringLiteral("合計"), *all_total));
  Control& grid = form[form4::Grid4];
  grid.design.items[0] = QString::fromUtf8(kGroupings[g]);
  grid.items = grid.design.items;
  grid.rows.clear();
  if (grouping == Grouping::BetType) grid.rows = by_type(*period);
  for (const FigureRow& row : grouping == Grouping::BetType ? std::vector<FigureRow>() : *period) {
    QString name = row.group;
    if (grouping == Grouping::BetType) name = bet_type_name(*row.type);
    if (grouping == Grouping::ChanceLevel)
      name = bet_type_name(*row.type) + QStringLiteral(" ") +
             (row.level ? QString::number(*row.level) : QStringLiteral("—"));
    if (name.isEmpty()) name = QStringLiteral("（なし）");
    grid.rows.push_back(figures_row(name, row.figures));
  }
  grid.rows.push_back(figures_row(QStringLiteral("合計"), *period_total));
  form(form4::Label1, 22).text = l == Ledger::Bought
                                     ? QStringLiteral("購入した予想だけを購入額で")
                                     : QStringLiteral("すべての予想を券面どおりに買ったとして");
  const Streaks streaks = fold.streaks();
  form(form4::Label1, 18).text = QStringLiteral("期間の最長連敗 %1 レース　最大ドローダウン %2 円")
                                     .arg(streaks.longest_losing)
                                     .arg(yen_text(streaks.drawdown));
  QString levels;
  if (grouping == Grouping::ChanceLevel) {
    QStringList parts;
    for (BetType type : kBetTypes) {
      // Only types whose commands rate the race (not 複勝 or 枠連).
      const auto commands = prediction_commands();
      if (std::none_of(commands.begin(), commands.end(),
                       [&](const PredictionCommand& c) { return c.type == type && c.rates; }))
        continue;
      const auto lowest = lowest_paying_level(*period, type);
      parts << bet_type_name(type) + QLatin1Char(' ') +
                   (lowest ? QStringLiteral("%1以上").arg(*lowest) : QStringLiteral("なし"));
    }
    levels = QStringLiteral("回収率100%以上になる最も低いチャンス: ") + parts.join(QStringLiteral("、"));
  }
  form(form4::Label1, 23).text = levels;

  std::vector<ChartSeries> series;
  if (form[form4::Combo1].selected == 1) {
    for (BetType type : kBetTypes) {
      RaceFold by_type;
      if (!store.fold_races(l, dates, type, by_type)) return false;
      ChartSeries s{bet_type_name(type), false, {}};
      for (const BalancePoint& p : by_type.balance()) s.points.emplace_back(p.date, double(p.balance));
      if (!s.points.empty()) series.push_back(std::move(s));
    }
  } else {
    ChartSeries line{QStringLiteral("累計"), false, {}}, bars{QStringLiteral("日ごと"), true, {}};
    for (const BalancePoint& p : fold.balance()) {
      line.points.emplace_back(p.date, double(p.balance));
      bars.points.emplace_back(p.date, double(p.change));
    }
    if (!bars.points.empty()) series.push_back(std::move(bars));
    if (!line.points.empty()) series.push_back(std::move(line));
  }
  form[form4::Chart1].series = std::move(series);
  return true;
}

std::optional<Period> period_from_inputs(const Form& form, Platform& platform) {
  Period p;
  const struct {
    ControlName box;
    const char* end;
    std::optional<QDate>* date;
  } ends[] = {{form4::Text12, "始め", &p.from}, {form4::Text13, "終わり", &p.to}};
  for (const auto& e : ends) {
    const auto d = typed_date(form[e.box].text);
    if (!d) {
      platform.message(
          QStringLiteral("期間の%1の日付は 2010-04-10 のように入力して下さい（空欄は制限なし）。")
              .arg(QString::fromUtf8(e.end)),
          kAppTitle, Buttons::OK);
      return std::nullopt;
    }
    *e.date = *d;
  }
  if (p.from && p.to && *p.from > *p.to) {
    platform.message(QStringLiteral("期間の始めが終わりより後になっています。"), kAppTitle, Buttons::OK);
    return std::nullopt;
  }
  return p;
}

}  // namespace quilo
