// The chance level and the effects the predictions stage their results with:
// the exacta chance lamp, the background scenes, the makai escalation and the
// timed stagings on the window background.
#pragma once

#include "state/main_window.h"

#include <QStringList>

#include <span>

namespace quilo {

// Sets chance_level from yosou_num and the first favourite's odds: one for
// each lucky value that matches, one for each threshold the odds are at or
// below.
void count_chance_level(MainWindow& m, std::span<const float> thresholds);
// The makai count: its thresholds are those of the makai escalation, and
// each one passed plays its sound and shows its window picture.
void count_makai_chance_level(MainWindow& m);
// The background scene in Image4 by level, with its caption on result line 2
// (none at level 0 unless level0_caption).
void show_background(MainWindow& m, int level, bool level0_caption);
// The exacta chance lamp in Image2 by level, with its caption and sound.
void show_exacta_chance(MainWindow& m, int level);
void play_makai_staging(MainWindow& m);
void play_onibaku_staging(MainWindow& m);

// The pictures a staging shows at once when its command starts, as the
// window is now (the odds choose the onibaku sequence): got ready before the
// press, so that the first step is on screen as quickly as the others.
QStringList makai_opening_pictures(const MainWindow& m);
QStringList onibaku_opening_pictures(const MainWindow& m);
// Names the window picture the makai escalation will end on to the platform,
// before the pause that comes before it.
void makai_escalation_ahead(MainWindow& m);

}  // namespace quilo
