#include "model/ticket_design.h"

#include "model/control_names.h"

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
     true},
    {TicketKind::Exacta,
     {{{8, 9, 0}, {10, 18, 0}, {11, 19, 0}, {12, 20, 0}}},
     {26, 29, 32, 35},
     2,
     "◆",
     {37, 38, 39, 40, 41, 42, 43, 44},
     false},
};

}  // namespace

const TicketDesign& ticket_design(TicketKind kind) {
  for (const auto& t : kTickets)
    if (t.kind == kind) return t;
  return kTickets[0];
}

bool ticket_shows(TicketKind kind, const QString& key) {
  const TicketDesign& t = ticket_design(kind);
  for (int i = 0; i < 64; ++i) {
    if (form1::Label3.has(i) && key == form1::Label3.key(i)) return t.markers_visible;
    if (form1::Label1.has(i) && key == form1::Label1.key(i))
      return std::find(t.hidden.begin(), t.hidden.end(), i) == t.hidden.end();
  }
  return true;
}

}  // namespace quilo
