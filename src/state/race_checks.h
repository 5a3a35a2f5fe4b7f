// What a fan can buy: the checks that stop a prediction whose race or panel
// cannot be on a real ticket, and the reason a drawn bet cannot be bought.
#pragma once

#include "state/main_window.h"

#include <optional>
#include <vector>

namespace quilo {

// The number of runners, from the field-size box ("5頭" is 5); nullopt when
// its text holds no number, and then nothing is checked against it.
std::optional<int> field_size(const MainWindow& m);

// A race date that does not exist (2月30日, 4月31日, 2月29日 outside a leap
// year, a month or day that is no number) stops the command with a message
// naming it; true when the date exists.
bool check_race_date(MainWindow& m);

// The left panel's horses that the ticket commands copy onto their tickets:
// each must be a horse number, within the field size, and no two the same
// horse (" 5" and "5" are one). Otherwise one message names the boxes by
// their captions on screen and the command stops; true when they pass.
bool check_panel_horses(MainWindow& m);

// Why a bet of these horse numbers cannot be bought: a horse twice, a number
// that is no horse (0) or a horse that does not run; empty when it can be.
QString unbuyable_reason(const std::vector<int>& numbers, std::optional<int> field);

}  // namespace quilo
