// The history window: races, runs and bets, the payout table of a race,
// the two ledgers and their figures, the chart and the CSV export.
#include "windows/history_window.h"

#include "engines/prediction_commands.h"
#include "files/output_file.h"
#include "history/csv_export.h"
#include "history/result_entry.h"
#include "model/window_design.h"
#include "state/main_window.h"
#include "state/titles.h"
#include "text/whole_numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>
#include <map>

namespace quilo {
namespace {

// The races the list shows: the newest; a period narrows the figures, not the list.
constexpr int kListedRaces = 1000;

// The result boxes: the field, the scratched, the three places, then the
// payouts in the order of kBetTypes.
const ControlName kPlaceBoxes[] = {form4::Text1, form4::Text2, form4::Text3};
const ControlName kPayoutBoxes[] = {form4::Text6, form4::Text7, form4::Text8, form4::Text9};
static_assert(std::size(kPayoutBoxes) == std::size(kBetTypes));

const char* const kGroupings[] = {"券種", "月", "年", "競馬場", "チャンス"};
constexpr Grouping kGroupingOf[] = {Grouping::BetType, Grouping::Month, Grouping::Year, Grouping::Racecourse,
                                    Grouping::ChanceLevel};

QString race_title(const RaceInputs& r) {
  return QStringLiteral("%1/%2/%3 %4 %5").arg(r.year, r.month, r.day, r.racecourse, r.race);
}

QString level_text(int level) { return level == kNoLevel ? QStringLiteral("—") : QString::number(level); }

QStringList figures_row(const QString& name, const Figures& f) {
  return {name,
          QString::number(f.races),
          QString::number(f.race_hits),
          percent_text(f.race_hits, f.races),
          QString::number(f.bets),
          QString::number(f.hits),
          percent_text(f.hits, f.bets),
          QString::number(f.refunds),
          yen_text(f.stake),
          yen_text(f.payback),
          percent_text(f.payback, f.stake),
          average_payout_text(f),
          f.hits > 0 ? yen_text(f.largest_yen) : QStringLiteral("－")};
}

// Yen as a number, or as the text a figure past the limit shows.
QJsonValue yen_json(qint64 yen) { return yen == kYenOver ? QJsonValue(yen_text(yen)) : QJsonValue(yen); }

QJsonObject figures_json(const Figures& f) {
  return {{"races", f.races},
          {"race_hits", f.race_hits},
          {"race_hit_rate", percent_text(f.race_hits, f.races)},
          {"bets", f.bets},
          {"hits", f.hits},
          {"hit_rate", percent_text(f.hits, f.bets)},
          {"refunds", f.refunds},
          {"refunded", yen_json(f.refunded)},
          {"stake", yen_json(f.stake)},
          {"payback", yen_json(f.payback)},
          {"return_rate", percent_text(f.payback, f.stake)},
          {"average_payout", average_payout_text(f)},
          {"largest_payout", f.largest_yen}};
}

// The lowest chance level from which, bought only at that level or above,
// a bet type has paid back at least its stake over the period.
std::optional<int> lowest_paying_level(const std::vector<FigureRow>& rows, BetType type) {
  std::map<int, std::pair<qint64, qint64>> by_level;  // stake, payback
  for (const FigureRow& row : rows)
    if (row.type == type && row.level) by_level[*row.level] = {row.figures.stake, row.figures.payback};
  qint64 stake = 0, payback = 0;
  std::optional<int> lowest;
  for (auto it = by_level.rbegin(); it != by_level.rend(); ++it) {
    stake = add_yen(stake, it->second.first);
    payback = add_yen(payback, it->second.second);
    if (stake != kYenOver && payback != kYenOver && stake > 0 && payback >= stake) lowest = it->first;
  }
  return lowest;
}

// A date as a user types it: 2010-04-10, 2010/4/10 (full-width digits too);
// an empty box is an open end.
std::optional<std::optional<QDate>> typed_date(const QString& text) {
  const QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
  if (plain.isEmpty()) return std::optional<QDate>();
  static const QRegularExpression re(QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})$"));
  const auto m = re.match(plain);
  if (!m.hasMatch()) return std::nullopt;
  const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
  if (!d.isValid()) return std::nullopt;
  return std::optional<QDate>(d);
}

}  // namespace

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
  auto at = std::find_if(races_.begin(), races_.end(), [&](const auto& r) { return r.key == run.race; });
  HistoryStore::RaceRow row{run.race, prediction.race, 1, 0, 0, 0, std::nullopt};
  if (at != races_.end()) {
    row = *at;
    row.race = prediction.race;
    ++row.runs;
    races_.erase(at);
  } else {
    ++race_total_;
  }
  const bool settled = s.result_of(run.race).has_value();
  races_.insert(races_.begin(), row);
  if (races_.size() > std::size_t(kListedRaces)) races_.resize(kListedRaces);
  if (settled || run.race == picked_key_)
    refresh();
  else
    show_races();
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
  const QString folder = export_folder.isEmpty() ? QDir::currentPath() : export_folder;
  form[form4::Text14].text =
      QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("quilo-成績.csv")));
  picked_key_.clear();
  picked_run_ = 0;
  period_ = {};
  form.open = true;
  if (!refresh()) {
    // What the window showed when it was last open.
    show_races();
    show_bet_rows();
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
  if (!races_.empty()) select(form4::Grid1.text(), 0);
}

bool HistoryWindow::refresh_if_changed() {
  if (!form.open || !store_) return false;
  const auto version = store_->data_version();
  if (!version || version == seen_version_) return false;
  int total = 0;
  auto races = store_->races(kListedRaces, &total);
  if (!races) return false;
  seen_version_ = version;
  races_ = std::move(*races);
  race_total_ = total;
  show_races();
  // The rest as refresh() does; a failure now waits for the next press to be told.
  if (auto bets = picked_race() ? store_->race_bets(picked_key_) : std::nullopt) bets_ = std::move(*bets);
  show_bet_rows();
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
  races_ = std::move(*races);
  race_total_ = total;
  return show_races() && show_bets() && show_figures();
}

const HistoryStore::RaceRow* HistoryWindow::picked_race() const {
  for (const auto& r : races_)
    if (r.key == picked_key_) return &r;
  return nullptr;
}

Ledger HistoryWindow::ledger() const {
  return form[form4::Combo2].selected == 1 ? Ledger::Bought : Ledger::Predictions;
}

bool HistoryWindow::show_races() {
  Control& grid = form[form4::Grid1];
  grid.rows.clear();
  grid.selected = -1;
  for (const auto& race : races_) {
    const RaceInputs& in = race.race;
    if (race.key == picked_key_) grid.selected = int(grid.rows.size());
    const bool settled = race.finish.has_value();
    grid.rows.push_back(
        {QStringLiteral("%1/%2/%3").arg(in.year, in.month, in.day), in.racecourse, in.race, in.field_size,
         QString::number(race.runs), settled ? *race.finish : QStringLiteral("未入力"),
         settled ? QStringLiteral("%1/%2").arg(race.hits).arg(race.bets) : QStringLiteral("－"),
         settled ? yen_text(race.payback) : QStringLiteral("－")});
  }
  if (grid.selected < 0) picked_key_.clear();
  form(form4::Label1, 20).text =
      race_total_ > int(races_.size())
          ? QStringLiteral("全 %1 レース（新しい %2 レースを表示）").arg(race_total_).arg(races_.size())
          : QStringLiteral("全 %1 レース").arg(race_total_);
  return true;
}

bool HistoryWindow::show_bets() {
  const auto* race = picked_race();
  form(form4::Label1, 19).text = race ? race_title(race->race) + QStringLiteral(" の結果") : QString();
  if (!race) {
    bets_.clear();
    picked_run_ = 0;
    show_bet_rows();
    return true;
  }
  auto bets = store().race_bets(race->key);
  if (!bets) return unreadable();
  bets_ = std::move(*bets);
  show_bet_rows();
  return true;
}

void HistoryWindow::show_bet_rows() {
  Control& grid = form[form4::Grid2];
  grid.rows.clear();
  grid.selected = -1;
  bool picked_there = false;
  for (const auto& row : bets_) {
    const int stake = row.bought && row.bought_stake ? *row.bought_stake : row.bet.stake;
    QString outcome, payback;
    if (row.settled) {
      outcome = outcome_name(row.settled->outcome);
      const bool pays = row.settled->outcome == Outcome::Hit || row.settled->outcome == Outcome::Special;
      payback = yen_text(pays ? paid(stake, row.settled->yen) : 0);
    }
    if (row.run == picked_run_ && grid.selected < 0) grid.selected = int(grid.rows.size());
    picked_there = picked_there || row.run == picked_run_;
    grid.rows.push_back({shown_time(row.when), prediction_name(row.command), level_text(row.chance_level),
                         row.bought ? QStringLiteral("購入") : QString(), bet_type_name(row.bet.type),
                         combination_text(row.bet.type, row.bet.numbers), yen_text(stake), outcome, payback});
  }
  if (!picked_there) picked_run_ = 0;
}

void HistoryWindow::show_result_inputs() {
  const auto result = picked_key_.isEmpty() ? std::nullopt : store().result_of(picked_key_);
  ResultTexts texts;
  if (result) {
    texts = texts_of(*result);
  } else if (const auto* race = picked_race()) {
    // The field as the runs' inputs gave it, to be corrected when it changed.
    if (const auto field = leading_whole(race->race.field_size)) texts.field = QString::number(*field);
  }
  form[form4::Text4].text = texts.field;
  form[form4::Text5].text = texts.scratched;
  for (std::size_t i = 0; i < 3; ++i) form[kPlaceBoxes[i]].text = texts.places[i];
  for (std::size_t i = 0; i < std::size(kBetTypes); ++i) form[kPayoutBoxes[i]].text = texts.payouts[i];
}

bool HistoryWindow::show_figures() {
  const Ledger l = ledger();
  auto all = store().figures(l, Grouping::BetType, {});
  auto all_total = store().overall(l, {});
  const int g = std::clamp(form[form4::Combo3].selected, 0, int(std::size(kGroupingOf)) - 1);
  const Grouping grouping = kGroupingOf[g];
  // An open period is all time: its figures are summed once.
  const bool all_time = !period_.from && !period_.to;
  auto period = all_time && grouping == Grouping::BetType ? all : store().figures(l, grouping, period_);
  auto period_total = all_time ? all_total : store().overall(l, period_);
  RaceFold fold;
  if (!all || !all_total || !period || !period_total || !store().fold_races(l, period_, std::nullopt, fold))
    return unreadable();
  // Every bet type has its row, with or without figures.
  auto by_type = [](const std::vector<FigureRow>& rows) {
    std::vector<QStringList> out;
    for (BetType type : kBetTypes) {
      Figures f;
      for (const FigureRow& row : rows)
        if (row.type == type) f = row.figures;
      out.push_back(figures_row(bet_type_name(type), f));
    }
    return out;
  };
  Control& all_grid = form[form4::Grid3];
  all_grid.rows = by_type(*all);
  all_grid.rows.push_back(figures_row(QStringLiteral("合計"), *all_total));
  Control& grid = form[form4::Grid4];
  grid.design.items[0] = QString::fromUtf8(kGroupings[g]);
  grid.items = grid.design.items;
  grid.rows.clear();
  if (grouping == Grouping::BetType) grid.rows = by_type(*period);
  for (const FigureRow& row : grouping == Grouping::BetType ? std::vector<FigureRow>() : *period) {
    QString name = row.group;
    if (grouping == Grouping::BetType) name = bet_type_name(*row.type);
    if (grouping == Grouping::ChanceLevel)
      name = bet_type_name(*row.type) + QStringLiteral(" ") +
             (row.level ? QString::number(*row.level) : QStringLiteral("—"));
    if (name.isEmpty()) name = QStringLiteral("（なし）");
    grid.rows.push_back(figures_row(name, row.figures));
  }
  grid.rows.push_back(figures_row(QStringLiteral("合計"), *period_total));
  form(form4::Label1, 22).text = l == Ledger::Bought
                                     ? QStringLiteral("購入した予想だけを購入額で")
                                     : QStringLiteral("すべての予想を券面どおりに買ったとして");
  const Streaks streaks = fold.streaks();
  form(form4::Label1, 18).text = QStringLiteral("期間の最長連敗 %1 レース　最大ドローダウン %2 円")
                                     .arg(streaks.longest_losing)
                                     .arg(yen_text(streaks.drawdown));
  QString levels;
  if (grouping == Grouping::ChanceLevel) {
    QStringList parts;
    for (BetType type : kBetTypes) {
      // Only types whose commands rate the race (not 複勝 or 枠連).
      const auto commands = prediction_commands();
      if (std::none_of(commands.begin(), commands.end(),
                       [&](const PredictionCommand& c) { return c.type == type && c.rates; }))
        continue;
      const auto lowest = lowest_paying_level(*period, type);
      parts << bet_type_name(type) + QLatin1Char(' ') +
                   (lowest ? QStringLiteral("%1以上").arg(*lowest) : QStringLiteral("なし"));
    }
    levels = QStringLiteral("回収率100%以上になる最も低いチャンス: ") + parts.join(QStringLiteral("、"));
  }
  form(form4::Label1, 23).text = levels;

  std::vector<ChartSeries> series;
  if (form[form4::Combo1].selected == 1) {
    for (BetType type : kBetTypes) {
      RaceFold by_type;
      if (!store().fold_races(l, period_, type, by_type)) return unreadable();
      ChartSeries s{bet_type_name(type), false, {}};
      for (const BalancePoint& p : by_type.balance()) s.points.emplace_back(p.date, double(p.balance));
      if (!s.points.empty()) series.push_back(std::move(s));
    }
  } else {
    ChartSeries line{QStringLiteral("累計"), false, {}}, bars{QStringLiteral("日ごと"), true, {}};
    for (const BalancePoint& p : fold.balance()) {
      line.points.emplace_back(p.date, double(p.balance));
      bars.points.emplace_back(p.date, double(p.change));
    }
    if (!bars.points.empty()) series.push_back(std::move(bars));
    if (!line.points.empty()) series.push_back(std::move(line));
  }
  form[form4::Chart1].series = std::move(series);
  return true;
}

bool HistoryWindow::select(const QString& control, int index) {
  if (!form.open) return false;
  Control* c = form.find(control);
  if (!c) return false;
  if (control == form4::Grid1.text()) {
    if (index < 0 || index >= int(races_.size())) return false;
    picked_key_ = races_[index].key;
    picked_run_ = 0;
    c->selected = index;
    show_bets();
    show_result_inputs();
    return true;
  }
  if (control == form4::Grid2.text()) {
    if (index < 0 || index >= int(bets_.size())) return false;
    const auto& row = bets_[index];
    picked_run_ = row.run;
    c->selected = index;
    form[form4::Text15].text = row.bought_stake ? QString::number(*row.bought_stake) : QString();
    return true;
  }
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
  const auto* race = picked_race();
  if (!race) {
    platform_.message(QStringLiteral("結果を入力するレースを一覧から選んで下さい。"), kAppTitle, Buttons::OK);
    return;
  }
  ResultTexts texts;
  texts.field = form[form4::Text4].text;
  texts.scratched = form[form4::Text5].text;
  for (std::size_t i = 0; i < 3; ++i) texts.places[i] = form[kPlaceBoxes[i]].text;
  for (std::size_t i = 0; i < std::size(kBetTypes); ++i) texts.payouts[i] = form[kPayoutBoxes[i]].text;
  const ParsedResult parsed = result_from_texts(texts);
  if (!parsed.result) {
    platform_.message(parsed.problem, kAppTitle, Buttons::OK);
    return;
  }
  if (!store().save_result(race->key, *parsed.result, platform_.now())) {
    platform_.message(QStringLiteral("結果を保存できませんでした（%1）。").arg(store().last_error()),
                      kAppTitle, Buttons::OK);
    return;
  }
  refresh();
  show_result_inputs();
}

void HistoryWindow::Command2_Click() {
  const auto* race = picked_race();
  if (!race) {
    platform_.message(QStringLiteral("結果を削除するレースを一覧から選んで下さい。"), kAppTitle, Buttons::OK);
    return;
  }
  if (!race->finish) {
    platform_.message(QStringLiteral("このレースの結果はまだ入力されていません。"), kAppTitle, Buttons::OK);
    return;
  }
  const QString title = race_title(race->race);
  const QString key = race->key;
  if (platform_.message(QStringLiteral("%1 の結果を削除します。\rよろしいですか？").arg(title), kAppTitle,
                        Buttons::OKCancelSafe) == Answer::Cancel)
    return;
  if (!store().remove_result(key)) {
    platform_.message(QStringLiteral("結果を削除できませんでした（%1）。").arg(store().last_error()),
                      kAppTitle, Buttons::OK);
    return;
  }
  refresh();
  show_result_inputs();
}

void HistoryWindow::Command3_Click() {
  const QString typed = form[form4::Text14].text.trimmed();
  if (typed.isEmpty()) {
    platform_.message(QStringLiteral("CSVファイルの名前を入力して下さい！"), kAppTitle, Buttons::OK);
    return;
  }
  const QString folder = export_folder.isEmpty() ? QDir::currentPath() : export_folder;
  const QString path = QDir(folder).absoluteFilePath(QDir::fromNativeSeparators(typed));
  const QFileInfo info(path);
  const auto refused = [&](const QString& reason) {
    platform_.message(QStringLiteral("「%1」に書き出せませんでした。\n%2").arg(path, reason), kAppTitle,
                      Buttons::OK);
  };
  if (auto reason = check_output_target(info.absolutePath(), info.fileName())) return refused(*reason);
  // The program's own files: its tables and this history.
  if (auto reason = own_files_.refusal(path)) return refused(*reason);
  if (info.exists() &&
      platform_.message(QStringLiteral("「%1」はすでにあります。\r上書きしますか？").arg(path), kAppTitle,
                        Buttons::OKCancelSafe) == Answer::Cancel)
    return;
  const CsvEncoding encoding =
      form[form4::Option2].checked ? CsvEncoding::Utf8WithBom : CsvEncoding::Windows31J;
  const auto contents = store().read();
  if (!contents) {
    unreadable();
    return;
  }
  if (auto reason = write_history_csv(path, contents->runs, contents->results, encoding, prediction_name))
    return refused(*reason);
  platform_.message(QStringLiteral("成績を「%1」に書き出しました。").arg(path), kAppTitle, Buttons::OK);
}

void HistoryWindow::Command4_Click() { form.open = false; }

void HistoryWindow::Command9_Click() {
  const QString folder = export_folder.isEmpty() ? QDir::currentPath() : export_folder;
  const QString typed = form[form4::Text14].text.trimmed();
  const QString suggested =
      typed.isEmpty() ? folder : QDir(folder).absoluteFilePath(QDir::fromNativeSeparators(typed));
  if (const auto chosen =
          platform_.choose_save_file(QStringLiteral("CSVファイルの保存先"), suggested,
                                     QStringLiteral("CSVファイル (*.csv);;すべてのファイル (*)")))
    form[form4::Text14].text = QDir::toNativeSeparators(*chosen);
}

std::optional<Period> HistoryWindow::period_from_inputs() {
  Period p;
  const struct {
    ControlName box;
    const char* end;
    std::optional<QDate>* date;
  } ends[] = {{form4::Text12, "始め", &p.from}, {form4::Text13, "終わり", &p.to}};
  for (const auto& e : ends) {
    const auto d = typed_date(form[e.box].text);
    if (!d) {
      platform_.message(
          QStringLiteral("期間の%1の日付は 2010-04-10 のように入力して下さい（空欄は制限なし）。")
              .arg(QString::fromUtf8(e.end)),
          kAppTitle, Buttons::OK);
      return std::nullopt;
    }
    *e.date = *d;
  }
  if (p.from && p.to && *p.from > *p.to) {
    platform_.message(QStringLiteral("期間の始めが終わりより後になっています。"), kAppTitle, Buttons::OK);
    return std::nullopt;
  }
  return p;
}

void HistoryWindow::Command5_Click() {
  const auto p = period_from_inputs();
  if (!p) return;
  period_ = *p;
  show_figures();
}

void HistoryWindow::Command6_Click() {
  if (picked_run_ == 0) {
    platform_.message(QStringLiteral("購入した予想を、買い目の一覧から選んで下さい。"), kAppTitle,
                      Buttons::OK);
    return;
  }
  std::optional<int> stake;
  if (const QString typed = form[form4::Text15].text.trimmed(); !typed.isEmpty()) {
    QString plain = typed;
    if (plain.endsWith(QStringLiteral("円"))) plain.chop(1);
    stake = whole_number(plain);
    if (!stake || *stake < 100 || *stake % 100 != 0 || *stake > kMaxStake) {
      platform_.message(QStringLiteral("1点の購入額は 100 円単位で入力して下さい（空欄は券面どおり）。"),
                        kAppTitle, Buttons::OK);
      return;
    }
  }
  if (!store().set_bought(picked_run_, true, stake)) {
    platform_.message(QStringLiteral("購入を記録できませんでした（%1）。").arg(store().last_error()),
                      kAppTitle, Buttons::OK);
    return;
  }
  show_bets();
  show_figures();
}

void HistoryWindow::Command7_Click() {
  if (picked_run_ == 0) {
    platform_.message(QStringLiteral("購入を取り消す予想を、買い目の一覧から選んで下さい。"), kAppTitle,
                      Buttons::OK);
    return;
  }
  if (!store().set_bought(picked_run_, false, std::nullopt)) {
    platform_.message(QStringLiteral("購入を取り消せませんでした（%1）。").arg(store().last_error()),
                      kAppTitle, Buttons::OK);
    return;
  }
  form[form4::Text15].text.clear();
  show_bets();
  show_figures();
}

void HistoryWindow::Command8_Click() {
  const auto run =
      std::find_if(bets_.begin(), bets_.end(), [&](const auto& r) { return r.run == picked_run_; });
  if (picked_run_ == 0 || run == bets_.end()) {
    platform_.message(QStringLiteral("削除する予想を、買い目の一覧から選んで下さい。"), kAppTitle,
                      Buttons::OK);
    return;
  }
  if (platform_.message(QStringLiteral("%1 の %2 の予想を削除します。成績のどこにも残りません。\r"
                                       "よろしいですか？")
                            .arg(shown_time(run->when), prediction_name(run->command)),
                        kAppTitle, Buttons::OKCancelSafe) == Answer::Cancel)
    return;
  if (!store().remove_run(picked_run_)) {
    platform_.message(QStringLiteral("予想を削除できませんでした（%1）。").arg(store().last_error()),
                      kAppTitle, Buttons::OK);
    return;
  }
  picked_run_ = 0;
  refresh();
  if (!picked_race()) show_result_inputs();
}

void HistoryWindow::Option1_Click() {
  form[form4::Option1].checked = true;
  form[form4::Option2].checked = false;
}

void HistoryWindow::Option2_Click() {
  form[form4::Option1].checked = false;
  form[form4::Option2].checked = true;
}

QJsonObject HistoryWindow::dump() {
  HistoryStore& s = store();
  auto contents = s.read();
  if (!contents) {
    platform_.message(QStringLiteral("成績ファイル %1 を読めませんでした（%2）。")
                          .arg(QDir::toNativeSeparators(s.file()), s.last_error()),
                      kAppTitle, Buttons::OK);
    contents = HistoryStore::Contents{};
  }
  const ResultsByRace& results = contents->results;
  QJsonArray runs_json;
  for (const RunRecord& run : contents->runs) {
    const Prediction& p = run.prediction;
    const auto result = results.constFind(run.race);
    QJsonArray bets;
    for (const Bet& bet : p.bets) {
      QJsonArray numbers;
      for (int n : bet.numbers) numbers.append(n);
      QJsonObject b{{"type", bet_type_key(bet.type)}, {"numbers", numbers}, {"stake", bet.stake}};
      if (!bet.buyable) {
        b.insert("buyable", false);
        b.insert("why", bet.why);
      }
      if (result != results.constEnd()) {
        const Settlement o = settle(bet, *result);
        const bool pays = o.outcome == Outcome::Hit || o.outcome == Outcome::Special;
        b.insert("outcome", outcome_name(o.outcome));
        b.insert("hit", o.outcome == Outcome::Hit);
        b.insert("payback", yen_json(pays ? paid(bet.stake, o.yen) : 0));
      }
      bets.append(b);
    }
    QJsonArray lines;
    for (const QString& line : p.lines) lines.append(line);
    QJsonObject o{
        {"id", run.id},
        {"when", run.when},
        {"command", p.command},
        {"race", QJsonObject{{"year", p.race.year},
                             {"month", p.race.month},
                             {"day", p.race.day},
                             {"racecourse", p.race.racecourse},
                             {"race", p.race.race},
                             {"field_size", p.race.field_size}}},
        {"race_key", run.race},
        {"odds", QJsonArray{p.odds1, p.odds2}},
        {"chance_level", p.chance_level == kNoLevel ? QJsonValue() : QJsonValue(p.chance_level)},
        {"bought", run.bought},
        {"bets", bets},
        {"lines", lines},
    };
    if (run.bought_stake) o.insert("bought_stake", *run.bought_stake);
    runs_json.append(o);
  }
  QJsonArray results_json;
  QStringList keys = results.keys();
  keys.sort();
  for (const QString& key : keys) {
    const RaceResult& r = results[key];
    QJsonArray payouts, scratched;
    for (const Payout& p : r.payouts) {
      QJsonArray numbers;
      for (int n : p.numbers) numbers.append(n);
      payouts.append(QJsonObject{{"type", bet_type_key(p.type)}, {"numbers", numbers}, {"yen", p.yen}});
    }
    for (int h : r.scratched) scratched.append(h);
    QJsonArray special, unsold;
    for (BetType t : r.special) special.append(bet_type_key(t));
    for (BetType t : kBetTypes)
      if (!sold(t, r)) unsold.append(bet_type_key(t));
    results_json.append(QJsonObject{{"race_key", key},
                                    {"field", r.field},
                                    {"finish", finish_text(r)},
                                    {"scratched", scratched},
                                    {"payouts", payouts},
                                    {"special", special},
                                    {"not_sold", unsold}});
  }
  auto summary = [&](Ledger l, const Period& period) {
    QJsonObject o;
    if (const auto rows = s.figures(l, Grouping::BetType, period))
      for (const FigureRow& row : *rows) o.insert(bet_type_key(*row.type), figures_json(row.figures));
    if (const auto all = s.overall(l, period)) o.insert("overall", figures_json(*all));
    RaceFold fold;
    if (s.fold_races(l, period, std::nullopt, fold))
      o.insert("streaks", QJsonObject{{"longest_losing", fold.streaks().longest_losing},
                                      {"drawdown", yen_json(fold.streaks().drawdown)}});
    return o;
  };
  QJsonObject period = summary(Ledger::Predictions, period_);
  period.insert("from", period_.from ? period_.from->toString(Qt::ISODate) : QString());
  period.insert("to", period_.to ? period_.to->toString(Qt::ISODate) : QString());
  QJsonObject levels;
  if (const auto rows = s.figures(Ledger::Predictions, Grouping::ChanceLevel, {}))
    for (const FigureRow& row : *rows)
      levels.insert(bet_type_key(*row.type) + QLatin1Char(' ') +
                        (row.level ? QString::number(*row.level) : QStringLiteral("none")),
                    figures_json(row.figures));
  return {{"file", s.file()},
          {"runs", runs_json},
          {"results", results_json},
          {"summary", QJsonObject{{"all", summary(Ledger::Predictions, {})},
                                  {"period", period},
                                  {"bought", summary(Ledger::Bought, {})},
                                  {"levels", levels}}}};
}

}  // namespace quilo
