// The history window: races and bets, the result of a race, the figures,
// the chart and the CSV export.
#include "history/history_window.h"

#include "app/main_window.h"
#include "app/titles.h"
#include "history/csv_export.h"
#include "history/whole_numbers.h"
#include "model/window_design.h"
#include "output/output_file.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>

#include <algorithm>

namespace quilo {
namespace {

constexpr int kLowestPayout = 100;  // a winning ticket pays at least its stake back
constexpr int kHighestPayout = 99'999'999;

struct CommandRow {
  const char* command;
  const char* name;
};

// The prediction commands by the name the window shows.
const CommandRow kCommands[] = {
    {"Command3", "馬単"},     {"Command8", "３連単"}, {"Command1", "魔界3連単"},
    {"Command6", "鬼爆馬単"}, {"Command11", "複勝"},  {"Command12", "枠連"},
};

QString command_name(const QString& command) {
  for (const auto& row : kCommands)
    if (command == QLatin1String(row.command)) return QString::fromUtf8(row.name);
  return command;
}

// One input of the result: which box, what it is called, its range and where
// it goes.
struct ResultField {
  ControlName box;
  const char* name;
  int low, high;
  int& (*slot)(RaceResult&);
  bool payout;
};

const ResultField kResultFields[] = {
    {form4::Text1, "1着", 1, kLargestField, [](RaceResult& r) -> int& { return r.first; }, false},
    {form4::Text2, "2着", 1, kLargestField, [](RaceResult& r) -> int& { return r.second; }, false},
    {form4::Text3, "3着", 1, kLargestField, [](RaceResult& r) -> int& { return r.third; }, false},
    {form4::Text4, "1着の枠", 1, kLargestBracket, [](RaceResult& r) -> int& { return r.bracket1; }, false},
    {form4::Text5, "2着の枠", 1, kLargestBracket, [](RaceResult& r) -> int& { return r.bracket2; }, false},
    {form4::Text6, "馬単", kLowestPayout, kHighestPayout, [](RaceResult& r) -> int& { return r.exacta; },
     true},
    {form4::Text7, "３連単", kLowestPayout, kHighestPayout, [](RaceResult& r) -> int& { return r.trifecta; },
     true},
    {form4::Text8, "枠連", kLowestPayout, kHighestPayout, [](RaceResult& r) -> int& { return r.bracket; },
     true},
    {form4::Text9, "複勝 1着", kLowestPayout, kHighestPayout,
     [](RaceResult& r) -> int& { return r.place[0]; }, true},
    {form4::Text10, "複勝 2着", kLowestPayout, kHighestPayout,
     [](RaceResult& r) -> int& { return r.place[1]; }, true},
    {form4::Text11, "複勝 3着", kLowestPayout, kHighestPayout,
     [](RaceResult& r) -> int& { return r.place[2]; }, true},
};

QString race_title(const RaceInputs& r) {
  return QStringLiteral("%1/%2/%3 %4 %5").arg(r.year, r.month, r.day, r.racecourse, r.race);
}

QString result_text(const RaceResult& r) {
  return QStringLiteral("%1-%2-%3").arg(r.first).arg(r.second).arg(r.third);
}

QStringList figures_row(const QString& name, const Figures& f) {
  return {name,
          QString::number(f.races),
          QString::number(f.bets),
          QString::number(f.hits),
          percent_text(f.hits, f.bets),
          yen_text(f.stake),
          yen_text(f.payback),
          percent_text(f.payback, f.stake)};
}

std::vector<QStringList> summary_rows(const Summary& s) {
  std::vector<QStringList> rows;
  for (const auto& [type, f] : s.by_type) rows.push_back(figures_row(bet_type_name(type), f));
  rows.push_back(figures_row(QStringLiteral("合計"), s.overall));
  return rows;
}

// Yen as a number, or as the text a figure past the limit shows.
QJsonValue yen_json(qint64 yen) { return yen == kYenOver ? QJsonValue(yen_text(yen)) : QJsonValue(yen); }

QJsonObject figures_json(const Figures& f) {
  return {{"races", f.races},
          {"bets", f.bets},
          {"hits", f.hits},
          {"hit_rate", percent_text(f.hits, f.bets)},
          {"stake", yen_json(f.stake)},
          {"payback", yen_json(f.payback)},
          {"return_rate", percent_text(f.payback, f.stake)}};
}

QJsonObject summary_json(const Summary& s) {
  QJsonObject o;
  for (const auto& [type, f] : s.by_type) o.insert(bet_type_key(type), figures_json(f));
  o.insert("overall", figures_json(s.overall));
  return o;
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

bool HistoryWindow::read_file() {
  auto contents = store().read();
  if (!contents) {
    platform_.message(QStringLiteral("成績ファイル %1 を読めませんでした（%2）。表示は前のままです。")
                          .arg(QDir::toNativeSeparators(store().file()), store().last_error()),
                      kAppTitle, Buttons::OK);
    return false;
  }
  runs_ = std::move(contents->runs);
  results_ = std::move(contents->results);
  left_out_ = contents->left_out;
  return true;
}

void HistoryWindow::record(const Prediction& prediction, const QDateTime& when) {
  HistoryStore& s = store();
  if (!s.record(prediction, when)) {
    platform_.message(QStringLiteral("予想を成績ファイルに記録できませんでした（%1）。").arg(s.last_error()),
                      kAppTitle, Buttons::OK);
    return;
  }
  if (form.open) reload();
}

void Command14_Click(MainWindow& main, HistoryWindow& history) {
  main.play_se(QStringLiteral("fm009.wav"));
  if (!history.form.open) history.Form_Load();
}

void HistoryWindow::Form_Load() {
  store();
  form.reset();
  form[form4::Option1].checked = true;
  form[form4::Combo1].selected = 0;
  const QString folder = export_folder.isEmpty() ? QDir::currentPath() : export_folder;
  form[form4::Text14].text =
      QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("quilo-成績.csv")));
  picked_key_.clear();
  period_ = {};
  form.open = true;
  // A file that cannot be read shows what it showed before, with a message.
  if (read_file() && left_out_ > 0)
    platform_.message(QStringLiteral("成績ファイルの %1 件の記録は、値がありえない範囲にあるため使いません"
                                     "でした。")
                          .arg(left_out_),
                      kAppTitle, Buttons::OK);
  show_all();
  // The newest race is picked first: its result is the one most often entered next.
  if (!races_.empty()) select(form4::Grid1.text(), 0);
}

void HistoryWindow::reload() {
  if (read_file()) show_all();
}

void HistoryWindow::show_all() {
  races_.clear();
  QHash<QString, std::size_t> by_key;
  for (std::size_t i = runs_.size(); i-- > 0;) {
    const QString& key = runs_[i].race;
    auto at = by_key.constFind(key);
    if (at == by_key.constEnd()) {
      at = by_key.insert(key, races_.size());
      races_.push_back({key, {}});
    }
    races_[*at].runs.push_back(i);
  }
  // Newest race first; the same day, the one recorded last first.
  std::stable_sort(races_.begin(), races_.end(), [this](const Race& a, const Race& b) {
    return runs_[a.runs.front()].day > runs_[b.runs.front()].day;
  });
  show_races();
  show_bets();
  show_figures();
}

const HistoryWindow::Race* HistoryWindow::picked_race() const {
  for (const Race& r : races_)
    if (r.key == picked_key_) return &r;
  return nullptr;
}

void HistoryWindow::show_races() {
  Control& grid = form[form4::Grid1];
  grid.rows.clear();
  grid.selected = -1;
  for (const Race& race : races_) {
    const RaceInputs& in = runs_[race.runs.front()].prediction.race;
    const auto result = results_.constFind(race.key);
    int bets = 0, hits = 0;
    qint64 payback = 0;
    for (std::size_t i : race.runs)
      for (const Bet& bet : runs_[i].prediction.bets) {
        ++bets;
        if (result == results_.constEnd()) continue;
        const BetOutcome o = settle(bet, *result);
        hits += o.hit;
        payback = add_yen(payback, o.payback);
      }
    const bool settled = result != results_.constEnd();
    if (race.key == picked_key_) grid.selected = int(grid.rows.size());
    grid.rows.push_back({QStringLiteral("%1/%2/%3").arg(in.year, in.month, in.day), in.racecourse, in.race,
                         in.field_size, QString::number(race.runs.size()),
                         settled ? result_text(*result) : QStringLiteral("未入力"),
                         settled ? QStringLiteral("%1/%2").arg(hits).arg(bets) : QStringLiteral("－"),
                         settled ? yen_text(payback) : QStringLiteral("－")});
  }
  if (grid.selected < 0) picked_key_.clear();
}

void HistoryWindow::show_bets() {
  Control& grid = form[form4::Grid2];
  grid.rows.clear();
  const Race* race = picked_race();
  form(form4::Label1, 19).text =
      race ? race_title(runs_[race->runs.front()].prediction.race) + QStringLiteral(" の結果") : QString();
  if (!race) return;
  const auto result = results_.constFind(race->key);
  for (std::size_t i : race->runs) {
    const RunRecord& run = runs_[i];
    for (const Bet& bet : run.prediction.bets) {
      QStringList numbers;
      for (int n : bet.numbers) numbers << QString::number(n);
      const QString joined =
          numbers.join(bet.type == BetType::Bracket ? QStringLiteral("-") : QStringLiteral("→"));
      QString hit, payback;
      if (result != results_.constEnd()) {
        const BetOutcome o = settle(bet, *result);
        hit = o.hit ? QStringLiteral("的中") : QStringLiteral("－");
        payback = yen_text(o.payback);
      }
      grid.rows.push_back({shown_time(run.when), command_name(run.prediction.command),
                           bet_type_name(bet.type), joined, yen_text(bet.stake), hit, payback});
    }
  }
}

void HistoryWindow::show_result_inputs() {
  const auto result = results_.constFind(picked_key_);
  for (const ResultField& field : kResultFields) {
    QString text;
    if (result != results_.constEnd()) {
      RaceResult r = *result;
      text = QString::number(field.slot(r));
    }
    form[field.box].text = text;
  }
}

void HistoryWindow::show_figures() {
  form[form4::Grid3].rows = summary_rows(summarize(runs_, results_));
  form[form4::Grid4].rows = summary_rows(summarize(runs_, results_, period_));
  std::vector<ChartSeries> series;
  auto add = [&](const QString& name, std::optional<BetType> type) {
    ChartSeries s{name, {}};
    for (const BalancePoint& p : balance_over_time(runs_, results_, type, period_))
      s.points.emplace_back(p.date, double(p.balance));
    if (!s.points.empty()) series.push_back(std::move(s));
  };
  if (form[form4::Combo1].selected == 1) {
    for (BetType type : kBetTypes) add(bet_type_name(type), type);
  } else {
    add(QStringLiteral("合計"), std::nullopt);
  }
  form[form4::Chart1].series = std::move(series);
}

bool HistoryWindow::select(const QString& control, int index) {
  if (!form.open) return false;
  Control* c = form.find(control);
  if (!c) return false;
  if (control == form4::Grid1.text()) {
    if (index < 0 || index >= int(races_.size())) return false;
    picked_key_ = races_[index].key;
    c->selected = index;
    show_bets();
    show_result_inputs();
    return true;
  }
  if (control == form4::Combo1.text()) {
    if (index < 0 || index >= c->items.size()) return false;
    c->selected = index;
    c->text = c->items[index];
    show_figures();
    return true;
  }
  return false;
}

std::optional<RaceResult> HistoryWindow::result_from_inputs() {
  RaceResult r;
  for (const ResultField& field : kResultFields) {
    const auto value = whole_number(form[field.box].text);
    if (!value || *value < field.low || *value > field.high) {
      const QString what =
          field.payout
              ? QStringLiteral("「%1」の払戻金（100円あたり）は %2 円以上の金額を数字で入力して下さい。")
                    .arg(QString::fromUtf8(field.name))
                    .arg(field.low)
              : QStringLiteral("「%1」には %2 から %3 までの数字を入力して下さい。")
                    .arg(QString::fromUtf8(field.name))
                    .arg(field.low)
                    .arg(field.high);
      platform_.message(what, kAppTitle, Buttons::OK);
      return std::nullopt;
    }
    field.slot(r) = *value;
  }
  if (r.first == r.second || r.first == r.third || r.second == r.third) {
    platform_.message(
        QStringLiteral("1着・2着・3着に同じ馬番があります。同着のレースの結果は入力できません。"), kAppTitle,
        Buttons::OK);
    return std::nullopt;
  }
  return r;
}

void HistoryWindow::Command1_Click() {
  const Race* race = picked_race();
  if (!race) {
    platform_.message(QStringLiteral("結果を入力するレースを一覧から選んで下さい。"), kAppTitle, Buttons::OK);
    return;
  }
  const auto result = result_from_inputs();
  if (!result) return;
  if (!store().save_result(race->key, *result, platform_.now())) {
    platform_.message(QStringLiteral("結果を保存できませんでした（%1）。").arg(store().last_error()),
                      kAppTitle, Buttons::OK);
    return;
  }
  reload();
  show_result_inputs();
}

void HistoryWindow::Command2_Click() {
  const Race* race = picked_race();
  if (!race) {
    platform_.message(QStringLiteral("結果を削除するレースを一覧から選んで下さい。"), kAppTitle, Buttons::OK);
    return;
  }
  if (!results_.contains(race->key)) {
    platform_.message(QStringLiteral("このレースの結果はまだ入力されていません。"), kAppTitle, Buttons::OK);
    return;
  }
  const QString title = race_title(runs_[race->runs.front()].prediction.race);
  if (platform_.message(QStringLiteral("%1 の結果を削除します。\rよろしいですか？").arg(title), kAppTitle,
                        Buttons::OKCancel) == Answer::Cancel)
    return;
  if (!store().remove_result(race->key)) {
    platform_.message(QStringLiteral("結果を削除できませんでした（%1）。").arg(store().last_error()),
                      kAppTitle, Buttons::OK);
    return;
  }
  reload();
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
                        Buttons::OKCancel) == Answer::Cancel)
    return;
  const CsvEncoding encoding =
      form[form4::Option2].checked ? CsvEncoding::Utf8WithBom : CsvEncoding::Windows31J;
  if (auto reason = write_history_csv(path, runs_, results_, encoding)) return refused(*reason);
  platform_.message(QStringLiteral("成績を「%1」に書き出しました。").arg(path), kAppTitle, Buttons::OK);
}

void HistoryWindow::Command4_Click() { form.open = false; }

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

void HistoryWindow::Option1_Click() {
  form[form4::Option1].checked = true;
  form[form4::Option2].checked = false;
}

void HistoryWindow::Option2_Click() {
  form[form4::Option1].checked = false;
  form[form4::Option2].checked = true;
}

QJsonObject HistoryWindow::dump() {
  const HistoryStore& s = store();
  auto contents = s.read();
  if (!contents) {
    platform_.message(QStringLiteral("成績ファイル %1 を読めませんでした（%2）。")
                          .arg(QDir::toNativeSeparators(s.file()), s.last_error()),
                      kAppTitle, Buttons::OK);
    // What the window showed last.
    contents = HistoryStore::Contents{runs_, results_, left_out_};
  }
  const std::vector<RunRecord>& runs = contents->runs;
  const ResultsByRace& results = contents->results;
  QJsonArray runs_json;
  for (const RunRecord& run : runs) {
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
        const BetOutcome o = settle(bet, *result);
        b.insert("hit", o.hit);
        b.insert("payback", yen_json(o.payback));
      }
      bets.append(b);
    }
    QJsonArray lines;
    for (const QString& line : p.lines) lines.append(line);
    runs_json.append(QJsonObject{
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
        {"chance_level", p.chance_level},
        {"bets", bets},
        {"lines", lines},
    });
  }
  QJsonArray results_json;
  QStringList keys = results.keys();
  keys.sort();
  for (const QString& key : keys) {
    const RaceResult& r = results[key];
    results_json.append(QJsonObject{
        {"race_key", key},
        {"finish", QJsonArray{r.first, r.second, r.third}},
        {"brackets", QJsonArray{r.bracket1, r.bracket2}},
        {"payouts", QJsonObject{{"exacta", r.exacta},
                                {"trifecta", r.trifecta},
                                {"bracket", r.bracket},
                                {"place", QJsonArray{r.place[0], r.place[1], r.place[2]}}}},
    });
  }
  QJsonObject period = summary_json(summarize(runs, results, period_));
  period.insert("from", period_.from ? period_.from->toString(Qt::ISODate) : QString());
  period.insert("to", period_.to ? period_.to->toString(Qt::ISODate) : QString());
  return {{"file", s.file()},
          {"runs", runs_json},
          {"results", results_json},
          {"summary", QJsonObject{{"all", summary_json(summarize(runs, results))}, {"period", period}}}};
}

}  // namespace quilo
