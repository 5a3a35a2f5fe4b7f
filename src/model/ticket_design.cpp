#include "model/ticket_design.h"

#include <QRegularExpression>

#include <algorithm>

namespace quilo {
namespace {

const TicketDesign kTickets[] = {
    {TicketKind::Trifecta,
     {{{8, 37, 41}, {10, 38, 42}, {11, 39, 43}, {12, 40, 44}}},
     {26, 29, 32, 35},
     3,
     "⇒",
     {9, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24},
     true,
     "合計★★★１００枚★★★１,０００円"},
    {TicketKind::Exacta,
     {{{8, 9, 0}, {10, 18, 0}, {11, 19, 0}, {12, 20, 0}}},
     {26, 29, 32, 35},
     2,
     "◆",
     {37, 38, 39, 40, 41, 42, 43, 44},
     false,
     "合計★★★２００枚★★★２,０００円"},
};

}  // namespace

const TicketDesign& ticket_design(TicketKind kind) {
  for (const auto& t : kTickets)
    if (t.kind == kind) return t;
  return kTickets[0];
}

bool ticket_shows(TicketKind kind, const QString& key) {
  static const QRegularExpression member(QStringLiteral("^(Label1|Label3)\\((\\d+)\\)$"));
  const auto m = member.match(key);
  if (!m.hasMatch()) return true;
  const TicketDesign& t = ticket_design(kind);
  if (m.captured(1) == QLatin1String("Label3")) return t.markers_visible;
  const int index = m.captured(2).toInt();
  return std::find(t.hidden.begin(), t.hidden.end(), index) == t.hidden.end();
}

}  // namespace quilo
