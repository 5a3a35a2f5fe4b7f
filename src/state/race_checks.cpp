// The checks that keep impossible bets off the ticket and out of the history.
#include "state/race_checks.h"

#include "text/whole_numbers.h"

#include <QDate>

namespace quilo {
namespace {

// The panel boxes, each with its caption and, where three boxes share one
// caption, which of the three it is.
struct PanelBox {
  ControlName box;
  int caption;       // Label5 index of the caption above it
  const char* part;  // which box under a shared caption, or ""
};

const PanelBox kPanelBoxes[] = {
    {form1::Combo14, 7, ""},       {form1::Combo2, 10, "（左）"}, {form1::Combo13, 10, "（中）"},
    {form1::Combo5, 10, "（右）"}, {form1::Combo1, 0, ""},
};

QString box_name(MainWindow& m, const PanelBox& b) {
  return QStringLiteral("「%1」%2").arg(m.label(form1::Label5, b.caption).text, QString::fromUtf8(b.part));
}

bool stop(MainWindow& m, const QString& text) {
  m.platform().message(text, kOddsTitle, Buttons::OK);
  return false;
}

}  // namespace

std::optional<int> field_size(const MainWindow& m) { return leading_whole(m.text(form1::Combo7)); }

bool check_race_date(MainWindow& m) {
  const auto year = leading_whole(m.text(form1::Combo6));
  const auto month = leading_whole(m.text(form1::Combo3));
  const auto day = leading_whole(m.text(form1::Combo4));
  // Without a year, 2月29日 may be a leap day.
  const int leap_year = 2012;
  const bool exists = month && day && *month >= 1 && *month <= 12 && *day >= 1 &&
                      *day <= QDate(year && *year >= 1 ? *year : leap_year, *month, 1).daysInMonth();
  if (exists) return true;
  return stop(m, QStringLiteral("%1年%2月%3日という日はありません。レースの日付を確かめて下さい")
                     .arg(m.text(form1::Combo6), m.text(form1::Combo3), m.text(form1::Combo4)));
}

bool check_panel_horses(MainWindow& m) {
  const auto field = field_size(m);
  std::vector<std::pair<const PanelBox*, int>> horses;
  for (const PanelBox& b : kPanelBoxes) {
    const auto n = whole_number(m.text(b.box));
    if (!n || *n < 1)
      return stop(m, QStringLiteral("%1に馬番が入っていません（「%2」）").arg(box_name(m, b), m.text(b.box)));
    if (field && *n > *field)
      return stop(m, QStringLiteral("%1の馬番 %2 の馬は %3頭のレースに出走しません")
                         .arg(box_name(m, b))
                         .arg(*n)
                         .arg(*field));
    for (const auto& [other, horse] : horses)
      if (horse == *n)
        return stop(m, QStringLiteral("%1と%2が同じ馬 %3 です。別々の馬を入れて下さい")
                           .arg(box_name(m, *other), box_name(m, b))
                           .arg(*n));
    horses.emplace_back(&b, *n);
  }
  return true;
}

QString unbuyable_reason(const std::vector<int>& numbers, std::optional<int> field) {
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (numbers[i] < 1) return QStringLiteral("馬番 %1 の馬はいません").arg(numbers[i]);
    if (field && numbers[i] > *field)
      return QStringLiteral("馬番 %1 の馬は %2頭のレースに出走しません").arg(numbers[i]).arg(*field);
    for (std::size_t k = 0; k < i; ++k)
      if (numbers[k] == numbers[i]) return QStringLiteral("同じ馬 %1 が2回入っています").arg(numbers[i]);
  }
  return {};
}

}  // namespace quilo
