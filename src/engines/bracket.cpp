// Bracket prediction (枠連): two to four different bracket numbers from
// waku_table, at a row made of the race date and the left panel's horses.
#include "engines/engines.h"
#include "presentation/result_card.h"

#include "engines/engine_support.h"
#include "engines/result_header.h"
#include "files/table_files.h"
#include "state/race_checks.h"
#include "text/numbers.h"

#include <algorithm>

namespace quilo {
namespace {

constexpr int kBrackets = 8;            // a race has brackets 1 to 8
constexpr int kLargestUnsoldField = 8;  // 枠連 is sold from nine runners on

// The largest bracket accepted for a year entry: 2010 gives 6, 2011 7,
// later years 8; no year gives 5.
int largest_bracket(int year_index) { return std::min(year_index + 6, kBrackets); }

// How many brackets a year entry calls for; none without a year.
int bracket_count(int year_index) {
  if (year_index >= 0 && year_index <= 3) return 2;
  if (year_index >= 4 && year_index <= 13) return 3;
  if (year_index >= 14) return 4;
  return 0;
}

// 枠連 needs a year picked from the list (it sets how many brackets are
// drawn), a date that exists and a field of nine or more; false after a
// message saying which is missing.
bool check_bracket_inputs(MainWindow& m) {
  if (m.selected(form1::Combo6) < 0) {
    m.platform().message(QStringLiteral("枠連は年を一覧から選んで下さい（入力した年では予想できません）"),
                         kOddsTitle, Buttons::OK);
    return false;
  }
  if (!check_race_date(m)) return false;
  if (const auto field = field_size(m); field && *field <= kLargestUnsoldField) {
    m.platform().message(
        QStringLiteral("%1頭のレースでは枠連は発売されません（9頭以上で発売されます）").arg(*field),
        kOddsTitle, Buttons::OK);
    return false;
  }
  return true;
}

constexpr int kBracketStake = 100;  // yen on each pair

// ① for 1 .. ⑨ for 9.
QString circled(int value) { return QString(QChar(char16_t(0x2460 + value - 1))); }

// 1 for ① .. 9 for ⑨; 0 for anything else.
int bracket_value(const QString& text) {
  if (text.size() != 1 || text[0].unicode() < 0x2460 || text[0].unicode() > 0x2468) return 0;
  return text[0].unicode() - 0x2460 + 1;
}

}  // namespace

std::optional<Prediction> Command12_Click(MainWindow& m) {
  if (check_bracket_inputs(m) && yosou_WAKU_Q(m)) return yosou_WAKU_crt(m);
  return std::nullopt;
}

bool yosou_WAKU_Q(MainWindow& m) {
  const int year = m.selected(form1::Combo6);
  const int largest = largest_bracket(year);
  const int count = bracket_count(year);
  for (int k = 1; k <= 6; ++k) m.s.yosou_num[k].clear();

  const int base_row = 2 * m.selected(form1::Combo1) + 2 * m.selected(form1::Combo2) +
                       m.selected(form1::Combo3) + 2 * m.selected(form1::Combo4) + m.selected(form1::Combo5);
  // Every rejected value moves this and all later reads one row down.
  int offset = 0;
  for (int i = 1; i <= count;) {
    const int row = base_row + offset;
    // Boxes without a selection make the row negative: step down into the table.
    if (row < 0) {
      ++offset;
      continue;
    }
    if (row >= kWakuRows) {
      m.platform().message(waku_file_name(i) + QStringLiteral(" に使える値が足りません"), kAppTitle,
                           Buttons::OK);
      return false;
    }
    m.s.crt_row = row;
    const int v = m.s.waku_table[i][row];
    if (v < 1 || v > largest) {
      ++offset;
      continue;
    }
    m.s.yosou_num[i] = circled(v);
    bool repeated = false;
    for (int k = 1; k < i && !repeated; ++k) repeated = m.s.yosou_num[i] == m.s.yosou_num[k];
    if (repeated) {
      ++offset;
      continue;
    }
    m.label(form1::Label4, i - 1).text = number_text(row);
    ++i;
  }
  return true;
}

std::optional<Prediction> yosou_WAKU_crt(MainWindow& m) {
  set_result_list_colours(m);

  const QString blank = QStringLiteral(" ");
  m.set_result_line(0, QStringLiteral("  ■■■■ 馬番予想 結果 ■■■■"));
  m.set_result_line(1, QString());
  m.set_result_line(2, blank + m.text(form1::Combo3) + m.text(form1::Combo4) + blank + m.text(form1::Combo1) +
                           m.text(form1::Combo2) + blank + m.text(form1::Combo5));
  m.set_result_line(3, QString());
  m.set_result_line(4, QString(10, QLatin1Char(' ')) + QStringLiteral("枠連 ") + m.s.yosou_num[1] + blank +
                           m.s.yosou_num[2] + blank + m.s.yosou_num[3] + blank + m.s.yosou_num[4]);
  m.set_result_line(5, QString());

  m.s.output_lines[0] = kResultHeader;
  m.s.output_lines[1] = m.result_line(2);
  m.s.output_lines[2] = m.result_line(4);
  m.s.output_lines[3] = QString();
  show_result_card(m);

  // 100 yen on each pair of the drawn brackets (a box).
  std::vector<int> drawn;
  for (int k = 1; k <= 4; ++k)
    if (const int b = bracket_value(m.s.yosou_num[k])) drawn.push_back(b);
  std::vector<Bet> bets;
  for (std::size_t i = 0; i < drawn.size(); ++i)
    for (std::size_t j = i + 1; j < drawn.size(); ++j)
      bets.push_back({BetType::Bracket, {drawn[i], drawn[j]}, kBracketStake});
  auto completed = complete_prediction(m, form1::Command12, std::move(bets));
  if (!completed) note_nothing_recorded(m);
  return completed;
}

}  // namespace quilo
