// The 成績 window's result boxes: the payout table of the picked race shown
// in them, saved from them (結果を保存: a new result or a correction) and
// removed after a question (結果を削除).
#pragma once

#include "history/history_store.h"
#include "media/platform.h"
#include "model/form.h"
#include "windows/race_list.h"

namespace quilo {

// The picked race's result, or, before it has one, the field its runs gave.
void show_result_boxes(Form& form, const HistoryStore& store, const RaceList& list);

// Each is true when the file changed; what stopped it is told to the user.
bool save_result_from_boxes(const Form& form, Platform& platform, HistoryStore& store, const RaceList& list);
bool remove_picked_result(Platform& platform, HistoryStore& store, const RaceList& list);

}  // namespace quilo
