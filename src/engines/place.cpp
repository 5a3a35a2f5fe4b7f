// Place prediction (複勝): candidate horse numbers from crt_table, the first
// two replaced by the left panel's favourites when the odds say so.
#include "engines/engines.h"
#include "presentation/result_card.h"

#include "engines/engine_support.h"
#include "engines/result_header.h"
#include "state/race_checks.h"
#include "text/numbers.h"
#include "text/whole_numbers.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace quilo {
namespace {

constexpr int kGiveUpAfter = 3000;       // rejected values before the race is skipped
constexpr int kLastCandidateLabel = 15;  // Label4 runs 0..15
constexpr int kPlaceStake = 100;         // yen on each candidate
constexpr int kLargestUnsoldField = 4;   // 複勝 is sold from five runners on

struct Range {
  float low, high;  // both ends included
  bool contains(float v) const { return v >= low && v <= high; }
};

// Which of the first two candidates the favourites replace.
struct Override {
  bool first, second;
};

// One row of the odds override: a band of the first favourite's odds, the
// bands of the second's that the row needs (none: any odds) and what it
// replaces. The first row that matches applies; no row, no replacement.
struct OverrideRow {
  Range o1;
  std::vector<Range> o2;
  Override effect;
};

// The bounds are single-precision values, compared with the odds read as
// single precision: odds typed as 1.6 equal the bound 1.6.
const OverrideRow kOverrideTable[] = {
    {{1.0f, 1.6f}, {{1.0f, 2.4f}, {2.5f, 3.5f}, {3.6f, 5.8f}}, {true, true}},
    {{1.0f, 1.6f}, {}, {true, false}},
    {{1.7f, 2.6f}, {{1.8f, 2.9f}, {3.0f, 3.5f}}, {true, true}},
    {{1.7f, 2.6f}, {}, {true, false}},
    {{2.7f, 3.5f}, {}, {true, true}},
    {{3.6f, 4.4f}, {}, {true, true}},
    {{4.5f, 5.3f}, {}, {false, true}},
    {{5.4f, 6.6f}, {{3.7f, 4.7f}}, {true, true}},
    {{5.4f, 6.6f}, {{4.8f, 5.3f}}, {false, true}},
    {{5.4f, 6.6f}, {}, {true, false}},
};

// Odds that are not a number lie in no band: a first favourite's odds that
// are not a number replace nothing, a second's only match the rows that take
// any odds.
Override odds_override(std::optional<float> o1, std::optional<float> o2) {
  if (!o1) return {false, false};
  for (const OverrideRow& row : kOverrideTable) {
    if (!row.o1.contains(*o1)) continue;
    if (row.o2.empty()) return row.effect;
    for (const Range& r : row.o2)
      if (o2 && r.contains(*o2)) return row.effect;
  }
  return {false, false};
}

// How many candidates beyond the first a race number calls for; nullopt keeps
// the count an earlier run left.
std::optional<std::int16_t> extra_candidates(int race_index) {
  if (race_index >= 0 && race_index <= 6) return 1;
  if (race_index >= 7 && race_index <= 9) return 2;
  if (race_index >= 10 && race_index <= 13) return 3;
  if (race_index >= 14 && race_index <= 15) return 4;
  return std::nullopt;
}

// Two candidates are one horse when their numbers are equal (" 5" and "5");
// texts that are no numbers compare as texts.
bool same_horse(const QString& a, const QString& b) {
  const auto x = whole_number(a), y = whole_number(b);
  return x && y ? *x == *y : a == b;
}

// How many candidates the stage draws: yosou_keta + 1, within the room that
// yosou_num has for them (30; the engines never ask for more than 9).
int candidate_count(std::int16_t keta) { return std::min<int>(keta + 1, 30); }

}  // namespace

std::optional<Prediction> Command11_Click(MainWindow& m) { return place_command(m); }

std::optional<Prediction> place_command(MainWindow& m) {
  if (!check_race_date(m)) return std::nullopt;
  if (const auto field = field_size(m); field && *field <= kLargestUnsoldField) {
    m.platform().message(
        QStringLiteral("%1頭のレースでは複勝は発売されません（5頭以上で発売されます）").arg(*field),
        kOddsTitle, Buttons::OK);
    return std::nullopt;
  }
  m.load_gf_picture(form1::Image2, QStringLiteral("背景パネル.bmp"));
  // Only the first favourite's odds caption is shown; the other input
  // captions stay, as the user still needs them for the other commands.
  m.label(form1::Label5, 2).visible = true;
  yosou_mini_loto_Q(m);
  return yosou_mini_loto_crt(m);
}

void yosou_mini_loto_Q(MainWindow& m) {
  const int race = m.selected(form1::Combo9);
  m.s.yosou_max = static_cast<std::int16_t>(race + 5);
  if (const auto extra = extra_candidates(race)) m.s.yosou_keta = *extra;
  for (int k = 1; k <= 8; ++k) m.s.yosou_num[k].clear();

  const int base_row = m.selected(form1::Combo3) + 2 * m.selected(form1::Combo4) +
                       2 * m.selected(form1::place_extra_box) + m.selected(form1::Combo11) +
                       3 * m.selected(form1::Combo10) + race + 11;
  const int last = candidate_count(m.s.yosou_keta);
  // A horse above the field size does not run: skipped like one above yosou_max.
  const int field = field_size(m).value_or(std::numeric_limits<int>::max());

  std::int16_t attempts = 0;
  int j = 1;
  while (j <= last) {
    if (attempts > kGiveUpAfter) {
      m.label(form1::Label5, 6).text = QStringLiteral("このレースは見送りましょう");
      return;
    }
    const int row = base_row + attempts;
    // A row outside the table counts as a rejected value, so that the limit
    // above ends the run.
    if (row < 0 || row >= kCrtRows) {
      ++attempts;
      continue;
    }
    m.s.crt_row = row;
    const int v = m.s.crt_table[std::min(j, 6)][row];
    if (v < 1 || v > m.s.yosou_max || v > field) {
      ++attempts;
      continue;
    }
    m.s.yosou_num[j] = number_text(v);

    if (trim_blanks(m.text(form1::Text1)).isEmpty() || trim_blanks(m.text(form1::Text2)).isEmpty()) return;

    const Override o = odds_override(m.odds(1), m.odds(2));
    if (o.first) m.s.yosou_num[1] = m.text(form1::Combo14);
    if (o.second) m.s.yosou_num[2] = m.text(form1::Combo13);

    // Candidates compare as horses: a drawn "5" and a panel " 5" are one.
    bool duplicate = false;
    if (j >= 2 && j <= 8)
      for (int k = 1; k < j && !duplicate; ++k) duplicate = same_horse(m.s.yosou_num[j], m.s.yosou_num[k]);
    if (duplicate) {
      ++attempts;
      continue;
    }

    if (j <= 5) m.label(form1::Label4, j - 1).text = number_text(m.s.crt_row);
    if (j + 5 <= kLastCandidateLabel) m.label(form1::Label4, j + 5).text = m.s.yosou_num[j];
    ++j;
  }
}

std::optional<Prediction> yosou_mini_loto_crt(MainWindow& m) {
  // Only an exactly empty box is reported here; blanks pass.
  if (m.text(form1::Text1).isEmpty()) {
    m.platform().message(QStringLiteral("1人気のオッズが入力されていません"), kDefaultTitle, Buttons::OK);
    return std::nullopt;
  }
  if (m.text(form1::Text2).isEmpty()) {
    m.platform().message(QStringLiteral("2人気のオッズが入力されていません"), kDefaultTitle, Buttons::OK);
    return std::nullopt;
  }
  m.set_result_line(0, QStringLiteral("  ■■■■ 複勝 予想結果 ■■■■"));
  // Lines 1 and 3 are emptied, so that no earlier command's bets go out with the picks.
  m.set_result_line(1, QString());
  m.set_result_line(2, QStringLiteral(" ") + m.text(form1::Combo3) + m.text(form1::Combo4) +
                           QStringLiteral(" (") + m.text(form1::place_extra_box) + QStringLiteral(") ") +
                           m.text(form1::Combo11) + m.text(form1::Combo10) + QStringLiteral(" ") +
                           m.text(form1::Combo9) + QStringLiteral(" (複勝) "));
  // The picks: every candidate the stage was to draw, each as stored (a
  // panel text keeps its leading blank, one never drawn is empty).
  QStringList picks;
  for (int j = 1; j <= candidate_count(m.s.yosou_keta); ++j) picks << m.s.yosou_num[j];
  m.set_result_line(3, QString());
  m.set_result_line(4,
                    QString(10, QLatin1Char(' ')) + QStringLiteral("複勝 ") + picks.join(QLatin1Char(' ')));
  m.set_result_line(5, QStringLiteral(" "));
  // The file gets the race line and the picks, as the bracket prediction writes them.
  m.s.output_lines[0] = kResultHeader;
  m.s.output_lines[1] = m.result_line(2);
  m.s.output_lines[2] = m.result_line(4);
  m.s.output_lines[3] = QString();
  show_result_card(m);

  // 100 yen on each candidate that is a horse number; a horse listed twice
  // (drawn as "5" and taken from the panel as " 5") is one bet. A panel
  // horse that does not run is kept, as not bought.
  std::vector<Bet> bets;
  const auto field = field_size(m);
  for (const QString& pick : picks) {
    const auto horse = whole_number(pick);
    if (!horse) continue;
    if (std::any_of(bets.begin(), bets.end(), [&](const Bet& b) { return b.numbers[0] == *horse; })) continue;
    Bet bet{BetType::Place, {*horse}, kPlaceStake};
    bet.why = unbuyable_reason(bet.numbers, field);
    bet.buyable = bet.why.isEmpty();
    bets.push_back(bet);
  }
  auto completed = complete_prediction(m, form1::Command11, std::move(bets));
  if (!completed) note_nothing_recorded(m);
  return completed;
}

}  // namespace quilo
