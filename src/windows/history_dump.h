// The history as the scenario mode's dump shows it: every run with its bets
// (settled once its race has a result), the results, and the figures of all
// time, of the period the window shows, of the runs bought, and per bet type
// and chance level.
#pragma once

#include "history/history_store.h"

#include <QJsonObject>

namespace quilo {

// `contents` as read from the store; `dates`: the period of the figures.
QJsonObject history_json(const HistoryStore& s, const HistoryStore::Contents& contents, const Period& dates);

}  // namespace quilo
