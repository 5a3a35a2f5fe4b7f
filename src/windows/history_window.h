// The history window (Form4, 成績): the recorded races newest first with
// their runs and bets (a run marked bought, its stake corrected, or removed),
// the official payout table of a race entered once (and corrected or
// removed later), the figures of every prediction (予想成績) or of the runs
// bought (収支) for all time and for a period by bet type, month, year,
// racecourse or chance level, the streaks, the balance over time as a
// chart, and the export of it all to CSV. It owns the history file, into
// which the main window's completed runs go, and hands each press to the
// part that does it: the lists (race_list.h), the result boxes
// (result_boxes.h), the purchases (purchase_actions.h), the figures
// (history_figures.h), the export (history_export.h) and the dump
// (history_dump.h). Figures are summed by the file's database, so the window
// costs the same at any size.
#pragma once

#include "files/startup_files.h"
#include "history/history_store.h"
#include "media/platform.h"
#include "model/form.h"
#include "windows/race_list.h"

#include <QJsonObject>
#include <QString>

#include <memory>
#include <optional>

namespace quilo {

class MainWindow;

class HistoryWindow {
 public:
  // own_files: the program's own files, which the CSV export must not write
  // over; the history file is added to them.
  HistoryWindow(Platform& platform, StartupFiles& own_files);
  HistoryWindow(const HistoryWindow&) = delete;
  HistoryWindow& operator=(const HistoryWindow&) = delete;

  Form form;
  // The folder a CSV file name without a folder goes to; empty: the current folder.
  QString export_folder;

  // The history file (empty: in memory), opened when first needed: the first
  // record, the window's opening, a dump. It is one of the program's own
  // files from now on.
  void use_file(const QString& file);
  // Opens the history file now and tells the user what went wrong with it,
  // if anything.
  void open_store(const QString& file);
  // The store, opened now if it was not yet.
  HistoryStore& store();
  // Records a run completed at `when`; tells the user when the file could
  // not take it.
  void record(const Prediction& prediction, const QDateTime& when);

  void Form_Load();
  void Command1_Click();  // 結果を保存
  void Command2_Click();  // 結果を削除
  void Command3_Click();  // CSV出力
  void Command4_Click();  // 戻る
  void Command5_Click();  // 集計
  void Command6_Click();  // 購入
  void Command7_Click();  // 購入取消
  void Command8_Click();  // 予想を削除
  void Command9_Click();  // 参照… (where the CSV goes)
  void Option1_Click();   // Windows-31J
  void Option2_Click();   // UTF-8
  // Brings the window up to what another instance recorded or entered since
  // it last looked, without a word (it is called as the window is
  // activated, when a message would only come back); true when it changed.
  bool refresh_if_changed();
  // Picks row `index` of the race list (Grid1) or the bet list (Grid2: its
  // run), or entry `index` of a choice (Combo1 chart, Combo2 ledger, Combo3
  // grouping); false when there is no such entry.
  bool select(const QString& control, int index);

  // The records, the results and the figures, for the scenario mode's dump.
  QJsonObject dump();

 private:
  // Brings every control up to the file; false, with a message, when it
  // cannot be read (they then stay as they were).
  bool refresh();
  // The parts that read the file; false, with a message, when they cannot.
  bool show_bets();
  bool show_figures();
  void show_picked_result();
  // Tells the user the file could not be read; always false.
  bool unreadable();

  Platform& platform_;
  StartupFiles& own_files_;
  QString file_;          // the history file to open; empty: in memory
  QString refused_file_;  // a file named as the history that the program reads at start-up
  std::unique_ptr<HistoryStore> store_;
  RaceList list_;
  Period period_;
  bool told_left_out_ = false;
  std::optional<qint64> seen_version_;  // the file's data version when last shown
  bool quiet_ = false;                  // a failure to read is not told now
};

// The history command of the main window (成績): opens the history window.
void Command14_Click(MainWindow& main, HistoryWindow& history);

}  // namespace quilo
