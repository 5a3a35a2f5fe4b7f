// The 成績 window's actions on the run picked in the bet list: mark it bought
// (購入: at the stake typed in 1点の購入額, or at the ticket's amounts), take
// the mark back (購入取消), or remove the run after a question (予想を削除).
#pragma once

#include "history/history_store.h"
#include "media/platform.h"
#include "model/form.h"
#include "windows/race_list.h"

namespace quilo {

// Each is true when the file changed; what stopped it is told to the user.
bool mark_bought(const Form& form, Platform& platform, HistoryStore& store, const RaceList& list);
// Empties 1点の購入額 once the mark is gone.
bool unmark_bought(Form& form, Platform& platform, HistoryStore& store, const RaceList& list);
bool remove_picked_run(Platform& platform, HistoryStore& store, const RaceList& list);

}  // namespace quilo
