// The history window: the history file's lifetime, the refreshes, and
// each press handed to the part of the window that does it.
#include "windows/history_window.h"

#include "model/window_design.h"
#include "state/main_window.h"
#include "state/titles.h"
#include "windows/history_dump.h"
#include "windows/history_export.h"
#include "windows/history_figures.h"
#include "windows/purchase_actions.h"
#include "windows/result_boxes.h"

#include <QDir>
#include <QFileInfo>

namespace quilo {

HistoryWindow::HistoryWindow(Platform& platform, StartupFiles& own_files)
    : form(form4_design()), platform_(platform), own_files_(own_files) {}

void HistoryWindow::use_file(const QString& file) {
  // Resolved now: a relative name means the folder the program started in.
  file_ = file.isEmpty() ? file : QFileInfo(file).absoluteFilePath();
  store_.reset();
  told_left_out_ = false;
  // A table or the teaching file never becomes the history (see store()).
  if (!file_.isEmpty() && own_files_.read_at_start(file_)) {
    refused_file_ = file_;
    file_.clear();
    return;
  }
  refused_file_.clear();
  // Neither an output nor an export may write into the history file.
  if (!file_.isEmpty())
    for (const char* suffix : {"", "-wal", "-shm"})
      own_files_.remember(file_ + QLatin1String(suffix), StartupFiles::Role::History);
}

void HistoryWindow::open_store(const QString& file) {
  use_file(file);
  store();
}

HistoryStore& HistoryWindow::store() {
  if (!store_) {
    store_ = std::make_unique<HistoryStore>(file_, platform_.now());
    if (!refused_file_.isEmpty())
      platform_.message(
          QStringLiteral("%1 は起動時に読み込む参照用のファイルのため、成績ファイルには使いません。"
                         "ファイルには手を付けていません。今回の予想は記録しますが、終了すると"
                         "消えます。")
              .arg(QDir::toNativeSeparators(refused_file_)),
          kAppTitle, Buttons::OK);
    else if (!store_->notice().isEmpty())
      platform_.message(store_->notice(), kAppTitle, Buttons::OK);
  }
  return *store_;
}

bool HistoryWindow::unreadable() {
  if (quiet_) return false;
  platform_.message(QStringLiteral("成績ファイル %1 を読めませんでした（%2）。表示は前のままです。")
                        .arg(QDir::toNativeSeparators(store().file()), store().last_error()),
                    kAppTitle, Buttons::OK);
  return false;
}

void HistoryWindow::record(const Prediction& prediction, const QDateTime& when) {
  HistoryStore& s = store();
  if (!s.record(prediction, when)) {
    platform_.message(QStringLiteral("予想を成績ファイルに記録できませんでした（%1）。").arg(s.last_error()),
                      kAppTitle, Buttons::OK);
    return;
  }
  if (!form.open) return;
  // The new run joins what the window shows: its race goes to the top of
  // the list; the figures change only when its race has a result already.
  const RunRecord run = recorded_run(0, history_time(when), prediction);
  list_.add_run(run.race, prediction.race);
  if (s.result_of(run.race).has_value() || run.race == list_.picked_key())
    refresh();
  else
    list_.show_races(form);
}

void Command14_Click(MainWindow& main, HistoryWindow& history) {
  main.play_se(QStringLiteral("fm009.wav"));
  if (!history.form.open) history.Form_Load();
}

void HistoryWindow::Form_Load() {
  store();
  form.reset();
  form[form4::Option1].checked = true;
  for (const ControlName& choice : {form4::Combo1, form4::Combo2, form4::Combo3}) form[choice].selected = 0;
  form[form4::Text14].text = default_csv_file(export_folder);
  list_.forget_picks();
  period_ = {};
  form.open = true;
  if (!refresh()) {
    // What the window showed when it was last open.
    list_.show_races(form);
    list_.show_bet_rows(form);
    return;
  }
  // Rows another tool spoilt are told of once: they count nowhere.
  // Counted when the opening checked the file whole: a count reads it whole too.
  if (!told_left_out_ && store().checked_at_opening()) {
    told_left_out_ = true;
    const auto n = store().left_out();
    if (!n)
      unreadable();
    else if (*n > 0)
      platform_.message(QStringLiteral("成績ファイルの %1 件の記録は、値がありえない範囲にあるため使いません"
                                       "でした。")
                            .arg(*n),
                        kAppTitle, Buttons::OK);
  }
  // The newest race is picked first: its result is the one most often entered next.
  if (!list_.empty()) select(form4::Grid1.text(), 0);
}

bool HistoryWindow::refresh_if_changed() {
  if (!form.open || !store_) return false;
  const auto version = store_->data_version();
  if (!version || version == seen_version_) return false;
  int total = 0;
  auto races = store_->races(kListedRaces, &total);
  if (!races) return false;
  seen_version_ = version;
  list_.set_races(std::move(*races), total);
  list_.show_races(form);
  // The rest as refresh() does; a failure now waits for the next press to be told.
  if (auto bets = list_.picked_race() ? store_->race_bets(list_.picked_key()) : std::nullopt)
    list_.set_bets(std::move(*bets));
  list_.show_bet_rows(form);
  quiet_ = true;
  show_figures();
  quiet_ = false;
  return true;
}

bool HistoryWindow::refresh() {
  // A file that cannot be read shows what it showed before, with a message.
  seen_version_ = store().data_version();
  int total = 0;
  auto races = store().races(kListedRaces, &total);
  if (!races) return unreadable();
  list_.set_races(std::move(*races), total);
  list_.show_races(form);
  return show_bets() && show_figures();
}

bool HistoryWindow::show_bets() { return list_.show_bets(form, store()) || unreadable(); }

bool HistoryWindow::show_figures() { return show_history_figures(form, store(), period_) || unreadable(); }

void HistoryWindow::show_picked_result() { show_result_boxes(form, store(), list_); }

bool HistoryWindow::select(const QString& control, int index) {
  if (!form.open) return false;
  Control* c = form.find(control);
  if (!c) return false;
  if (control == form4::Grid1.text()) {
    if (!list_.pick_race(form, index)) return false;
    show_bets();
    show_picked_result();
    return true;
  }
  if (control == form4::Grid2.text()) return list_.pick_bet(form, index);
  if (control == form4::Combo1.text() || control == form4::Combo2.text() || control == form4::Combo3.text()) {
    if (index < 0 || index >= c->items.size()) return false;
    c->selected = index;
    c->text = c->items[index];
    show_figures();
    return true;
  }
  return false;
}

void HistoryWindow::Command1_Click() {
  if (!save_result_from_boxes(form, platform_, store(), list_)) return;
  refresh();
  show_picked_result();
}

void HistoryWindow::Command2_Click() {
  if (!remove_picked_result(platform_, store(), list_)) return;
  refresh();
  show_picked_result();
}

void HistoryWindow::Command3_Click() {
  if (!export_history_csv(form, platform_, own_files_, store(), export_folder)) unreadable();
}

void HistoryWindow::Command4_Click() { form.open = false; }

void HistoryWindow::Command5_Click() {
  const auto p = period_from_inputs(form, platform_);
  if (!p) return;
  period_ = *p;
  show_figures();
}

void HistoryWindow::Command6_Click() {
  if (!mark_bought(form, platform_, store(), list_)) return;
  show_bets();
  show_figures();
}

void HistoryWindow::Command7_Click() {
  if (!unmark_bought(form, platform_, store(), list_)) return;
  show_bets();
  show_figures();
}

void HistoryWindow::Command8_Click() {
  if (!remove_picked_run(platform_, store(), list_)) return;
  list_.forget_run();
  refresh();
  if (!list_.picked_race()) show_picked_result();
}

void HistoryWindow::Command9_Click() { choose_csv_file(form, platform_, export_folder); }

void HistoryWindow::Option1_Click() { show_csv_encoding(form, CsvEncoding::Windows31J); }

void HistoryWindow::Option2_Click() { show_csv_encoding(form, CsvEncoding::Utf8WithBom); }

QJsonObject HistoryWindow::dump() {
  HistoryStore& s = store();
  auto contents = s.read();
  if (!contents) {
    platform_.message(QStringLiteral("成績ファイル %1 を読めませんでした（%2）。")
                          .arg(QDir::toNativeSeparators(s.file()), s.last_error()),
                      kAppTitle, Buttons::OK);
    contents = HistoryStore::Contents{};
  }
  return history_json(s, *contents, period_);
}

}  // namespace quilo
