// The advice command: odds bands and contexts, the course pick lists, and the
// press as a user makes it.
#include "test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace quilo;
using namespace quilo::test;

namespace {

// What each context writes to Label5(7), Label5(10) and Label5(0); "=" keeps
// the heading as it was. One row per line, every field closed by "|" so that
// trailing blanks stay visible.
const char* const kContextCaptions = R"(
1a|1人気馬|2～4人気馬|5人気馬|
1b|1人気馬|3～5人気馬|2人気馬|
2a|1人気馬|2～4人気馬|6人気馬|
2b|1人気馬|3～5人気馬|2人気馬|
3a|1人気馬|2.3.5人気馬|4人気馬|
3b|1人気馬|2.3.4人気馬|7人気馬 or 軽量騎手▲|
4a|2人気馬|1.3.4人気馬|5人気馬|
4b|2人気馬|3～5人気馬|1人気馬|
4|=|=|=|
5a|2人気馬|1.3.4人気馬|6人気馬|
5b|2人気馬|4.5.6人気馬|1人気馬|
6a|4人気 or 母父サンデーサイレンス|1～3人気 or 父サクラバクシンオー|6人気 or 父丸外|
6b|7人気 or 父アグネスタキオン|4.5.6人気馬|2人気馬|
6c|7人気 or 父アグネスタキオン|1.4.5人気|8人気 or 母父サンデーサイレンス|
6d|6人気 or 父アグネスタキオン|1.7.8人気|12人気 or 母父サンデーサイレンス|
7a|=|=|=|
7b|6人気 or 父シンボリクリスエス|3.4.5人気|1人気 or 父ジャングルポケット|
7c|7人気 or 父シンボリクリスエス|4.5.6人気|10人気 or 父ジャングルポケット|
8a|=|=|=|
8b|=|=|=|
9a|4人気 or 母父サンデーサイレンス|5.6.7人気|1人気 or 母父サンデーサイレンス|
9b|4人気 or 母父サンデーサイレンス|1.6.8人気|10人気 or 母父サンデーサイレンス|
9c|10人気 or 母父サンデーサイレンス|1.6.8人気|11人気 or 母父サンデーサイレンス|
10a|1人気 or 父マンハッタンカフェ|2.3.4人気|5人気 or 母父トニービン|
10b|1人気 or 父グラスワンダー|2.3.4人気|5人気 or 父メイショウオウドウ|
10c|3人気 or 母父サンデーサイレンス|1.2.5人気|6人気 or 母父サンデーサイレンス|
11a|10人気 or 母父サンデーサイレンス|1.7.8人気|6人気 or 父シンボリクリスエス|
11b|5人気 or 母父サンデーサイレンス|2.3.4人気|1人気 or 父シンボリクリスエス|
11c|11人気 or 母父サンデーサイレンス|8.9.12人気|10人気 or 父シンボリクリスエス|
)";

// The course pick lists: list|course|field sizes|Label5(7)|Label5(10)|Label5(0)|
const char* const kPickRows = R"(
2b|札幌|12頭|3人気 or 父シンボリクリスエス|1.4.5人気|2人気 or 母父サンデーサイレンス|
2b|札幌|13頭|1人気 or 父ティンバーカントリー|2.5.6人気|7人気 or 母父トニービン|
2b|東京|14頭|3人気 or 父クロフネ|1.6.7人気|2人気 or 父フサイチコンコルド|
2b|東京|15頭|1人気 or 父クロフネ|3.5.9人気|2人気 or 母父サンデーサイレンス|
2b|東京|16頭|5人気 or 母父ヘクタープロテクタ|1.7.10人気|2人気 or 母父ヘネシー|
2b|京都|16頭|1人気 or 父ファルブラヴ|10.11.12人気|2人気 or 父マイネルラヴ|
3a|札幌|13頭|5人気 or 父シンボリクリスエス|2.3.4人気|1人気 or 父フレンチデピュティ|
3b|札幌|12頭|2人気 or 父フォーティナイナー|1.3.4人気|10人気 or 父サウスヴィグラス|
3b|札幌|13頭|1人気 or 父クロフネ|3.4.5人気|7人気 or 父クロフネ|
3b|新潟|14頭|6人気 or 母父サンデーサイレンス|1.2.3人気|9人気 or 父タイキシャトル|
3b|小倉|6頭,7頭,8頭,9頭,10頭,11頭|2人気 or 母父サンデーサイレンス|1.4.5人気|3人気 or 父アグネスタキオン|
3b|東京|18頭|1人気 or 父タニノギムレット|2.3.7人気|10人気 or 父キングヘイロー|
3b|中京|14頭,15頭,16頭|1人気|2.10.12人気 or 父丸外|3人気 or 父グラスワンダー|
3b|福島|12頭|1人気 or 父サクラバクシンオー|2.3.4人気|5人気 or 母父フォーティナイナー|
3b|福島|16頭|1人気 or 父フジキセキ|2.3.6人気|4人気 or 父ブライアンズタイム|
3b|中山|10頭|1人気 or 父フジキセキ|2.3.7人気|5人気 or 父グラスワンダー|
4|中京|16頭|1人気|3.4.8人気|2人気 or 父タニノギムレット|
5a|新潟|13頭|4人気 or 父スキャン|1～3人気 or 父フサイチコンコルド|7人気 or 父丸外|
5a|札幌|11頭|1人気 or 母父サンデーサイレンス|2～4人気|10人気 or 母父ダンシングブレーヴ|
5a|札幌|13頭|2人気 or 母父サンデーサイレンス|1～4人気|3人気 or 父シンボリクリスエス|
5a|札幌|14頭|4人気 or 母父コマンダーインチーフ|1～3人気 or 父ステイゴール|4人気 or 父ダンスインザダーク|
5a|阪神|16頭,17頭,18頭|1人気 or 母父ダンシングブレーヴ|2.3.4人気|6人気 or 母父サンデーサイレンス|
5a|福島|9頭,10頭,11頭|2人気 or 母父サンデーサイレンス|3.4.5人気|1人気 or 父タヤスツヨシ|
5a|福島|16頭|3人気 or 父タイキシャトル|4.5.6人気|2人気 or 父ゴールドアリュール|
5a|東京|11頭|6人気 or 父マヤノトップガン|1.2.3人気|5人気 or 父ブライアンズタイム|
5a|東京|14頭|3人気 or 父タニノギムレット|5.6.7人気|1人気 or 父サンデーサイレンス|
5a|東京|16頭|3人気 or 父アグネスデジタル|1.2.4人気|6人気 or 母ノクターン|
5a|東京|17頭|2人気 or 父タイキシャトル|3.4.7人気|1人気 or 父シンボリクリスエス|
5a|東京|18頭|1人気 or 父フジキセキ|2.5.13人気|3人気 or 父アグネスタキオン|
5a|中山|13頭|1人気 or 父フジキセキ|2.3.4人気|5人気 or 父バブルガムフェロー|
5a|中山|14頭|1人気 or 父シンボリクリスエス|6.7.8人気|3人気 or 母父スターオブコジーン|
5b|札幌|15頭|5人気 or 父マンハッタンカフェ|1.2.4人気|3人気 or 父ダンスインザダーク|
5b|新潟|18頭|4人気 or 父マンハッタンカフェ|1～3人気|7人気 or 父サクラバクシンオー|
5b|阪神|16頭,17頭,18頭|3人気 or 父ゴールドアリュール|1.2.5人気|12人気 or 母ティアラミス|
5b|東京|16頭|1人気 or 父アグネスタキオン|789人気 or 母父ホワイトマズル|2人気 or 母ファインルナラック|
5b|京都|15頭|5人気 or 父ダンスインザダーク|2.3.10人気|4人気 or 母父ロドリゴデトリアーノ|
5b|京都|18頭|1人気 or 母父ノーザンテースト|3.4.14人気|2人気|
5b|中山|13頭|1人気 or 母父サンデーサイレンス|2.3.7人気|3人気 or 父キングカメハメハ|
5b|中山|14頭|1人気 or 父シンボリクリスエス|6.7.8人気|3人気 or 母父スターオブコジーン|
5b|中山|16頭|1人気 or 父マイネルラヴ|4.5.6人気|2人気 or 父キングヘイロー|
6a|札幌|13頭|1人気 or 父イーグルカフェ|3～5人気|10人気 or 父ジャングルポケット|
6a|札幌|16頭|6人気 or 父シンボリクリスエス|1.2.4人気|10人気 or 父アドマイヤベガ|
6a|小倉|11頭,14頭,15頭,16頭,17頭,18頭|2人気 or 父アグネスタキオン|1.3.4人気|5人気 or 父マイネルラヴ|
6a|東京|14頭|5人気 or 父ゼンノエルシド|1.3.6人気|4人気 or 父ファルブラヴ|
6a|東京|16頭,17頭,18頭|2人気|3.4.5人気 or 軽量騎手▲△|1人気|
6a|阪神|16頭,17頭,18頭|8人気 or 父ステイゴールド|1.4.5人気|2人気 or 父アグネスタキオン|
6a|福島|15頭|10人気 or 父チーフベアハート|1.3.4人気|2人気 or 父ヘクタープロテクター|
6a|中山|14頭|1人気 or 父シンボリクリスエス|6.7.8人気|3人気 or 母父スターオブコジーン|
6a|中山|15頭,16頭,17頭,18頭|4人気 or 父スマートボーイ|1.5.10人気|2人気 or 父キングカメハメハ|
6a|京都|18頭|2人気 or 丸外|3.4.10人気|5人気 or 父クロフネ|
6b|新潟|18頭|4人気 or 父マンハッタンカフェ|1～3人気|7人気 or 父サクラバクシンオー|
6b|札幌|13頭|1人気 or 父イーグルカフェ|9.10.11人気|6人気 or 母父タマモクロス|
6b|札幌|14頭|4人気 or 父フジキセキ|1.2.3人気|6人気 or 父フジキセキ|
6b|札幌|16頭|3人気 or 父丸外|2.3.4人気|1人気 or 父ショウナンカンプ|
6b|福島|14頭|3人気 or 父マヤノトップガン|1.4.7人気|2人気 or 父ロイヤルスズカ|
6b|福島|15頭|3人気 or 父ブライアンズタイム|1.4.7人気|2人気 or 母父ミスターシービー|
6b|福島|16頭|6人気 or 父グラスワンダー|1.2.3人気|9人気 or 父丸外|
6b|中山|14頭|1人気 or 父シンボリクリスエス|6.7.8人気|3人気 or 母父スターオブコジーン|
6b|中山|15頭,16頭,17頭,18頭|1人気 or 父ジャングルポケット|3.4.5人気|2人気 or 父スペシャルウィーク|
6b|京都|9頭|2人気 or 父アグネスタキオン|1.4.7人気|3人気 or 父シンボリクリスエス|
6b|京都|12頭|2人気 or 父フジキセキ|3.4.9人気|1人気 or 父キングカメハメハ|
6b|京都|13頭|2人気 or 父キングカメハメハ|4.5.6人気|1人気 or 父スペシャルウィーク|
6b|京都|14頭|1人気 or 父アグネスデジタル|4.5.6人気|3人気 or 父トーホウエンペラー|
6b|京都|16頭|2人気 or 父フォーティナイナー|6.7.8人気|1人気 or 父グラスワンダー|
6b|京都|17頭|4人気 or 母父フジキセキ|2.3.8人気|6人気 or 父スペシャルウィーク|
6c|京都|16頭|4人気 or 父フジキセキ|1.3.8人気|2人気 or 母父フジキセキ|
6c|京都|18頭|2人気 or 父デュランダル|6.7.8人気|1人気 or 母父ダンシングブレーヴ|
6c|中山|14頭|1人気 or 父シンボリクリスエス|6.7.8人気|3人気 or 母父スターオブコジーン|
6d|福島|15頭|6人気 or 母父リアルシヤダイ|2.3.4人気or母父ヘクタープロテクタ|1人気 or 母父アフリート|
6d|福島|16頭|6人気 or 父ショウナンカンプ|2.3.4人気|9人気 or 父ボストンハーバー|
6d|中山|14頭|1人気 or 父シンボリクリスエス|6.7.8人気|3人気 or 母父スターオブコジーン|
7a|札幌|12頭|10人気前後 or 母ウッディークー|2.4.8人気|1人気 or 父フジキセキ|
7a|札幌|14頭|5人気 or 父シンボリクリスエス|2.3.4人気|1人気 or 父ジャングルポケット|
7a|新潟|15頭|1人気 or 父シンボリクリスエス|4.5.6人気|2人気 or 母父シンボリルドルフ|
7a|新潟|16頭|1人気 or 父キングヘイロー|2.5.7人気|3人気|
7a|東京|11頭,12頭,13頭|4人気 or 父キングカメハメハ|1.2.3人気|10人気 or 母父トニービン|
7a|東京|14頭,15頭|2人気 or 父アドマイヤコジーン|1.3.4人気|8人気 or 父スペシャルウィーク|
7a|東京|16頭,17頭,18頭|5人気 or 父丸外|1.3.4人気|10人気 or 父ジャングルポケット|
7a|福島|15頭|3人気 or 父タイキシャトル|1.2.4人気|9人気 or 父デザートキング|
7a|福島|16頭|6人気 or 父マンハッタンカフェ|1.3.5人気|4人気 or 父シンボリクリスエス|
7a|中山|14頭|1人気 or 父シンボリクリスエス|6.7.8人気|3人気 or 母父スターオブコジーン|
7b|東京|15頭|4人気 or 父テンビー|1.2.3人気|6人気 or 父サザンヘイロー|
7b|東京|16頭|3人気 or 父テイエムオペラオー|1.2.4人気|7人気 or 父オペラハウス|
7b|東京|17頭|1人気 or 父キングカメハメハ|2.3.4人気|9人気 or 母父ヘクタープロテクター |
7b|福島|15頭,16頭,17頭|3人気 or 父スクワートルスクワート|1.2.4人気|9人気 or 母シルクロマンス|
7b|福島|16頭|1人気 or 父サクラプレジデント|2.3.6人気|4人気 or 母父メジロライアン|
7b|京都|16頭|7人気 or 丸外|1.2.4人気|3人気 or 母父ノーザンテースト|
7c|東京|14頭|2人気 or 父ゴールドアリュール|1.3.6人気|4人気 or 父トウカイテイオー|
7c|福島|16頭|1人気 or 父ザカリヤ|4.5.6人気|2人気 or 父オペラハウス|
8a|小倉|18頭|5人気 or 父ゼンノエルシド|1.11.12人気|2人気 or 父エアエミネム|
8a|福島|15頭,16頭,17頭|3人気 or 母父アンバーシヤダイ|1.2.9人気or母父ジェイドロバリ|6人気 or 父アドマイヤベガ|
8a|京都|15頭,16頭,17頭|4人気 or 父パラダイスクリーク|1.2.3人気|5人気 or 父マヤノトップガン|
8a|中京|16頭|3人気 or 父オペラハウス|4.5.6人気|1人気 or 母父ブライアンズタイム|
8a|福島|14頭|3人気 or 父マヤノトップガン|1.4.7人気|2人気 or 父ロイヤルスズカ|
8a|新潟|16頭|2人気 or 父フジキセキ|3.4.5人気|6人気 or 父アドマイヤベガ|
8b|新潟|14頭|3人気 or 父キングカメハメハ|4.5.6人気|1人気 or 母父サンデーサイレンス|
8b|福島|14頭|3人気 or 父マヤノトップガン|1.4.7人気|2人気 or 父ロイヤルスズカ|
9b|福島|14頭|3人気 or 父マヤノトップガン|1.4.7人気|2人気 or 父ロイヤルスズカ|
9c|福島|14頭|3人気 or 父マヤノトップガン|1.4.7人気|2人気 or 父ロイヤルスズカ|
10b|中京|18頭|4人気 or 父キングヘイロー|1.2.5人気|3人気 or 父サンデーサイレンス|
)";

struct Captions {
  QString top, middle, bottom;
  bool operator==(const Captions&) const = default;
};

void PrintTo(const Captions& c, std::ostream* os) {
  *os << "[" << c.top.toStdString() << "] [" << c.middle.toStdString() << "] [" << c.bottom.toStdString()
      << "]";
}

const Captions kBefore{"before 7", "before 10", "before 0"};
const Captions kAtStart{"1人気馬番", "2～6人気馬番", "3人気馬番"};
const QString kKeep = "=";

std::vector<QStringList> rows_of(const char* block, int fields) {
  std::vector<QStringList> rows;
  for (const QString& line : QString::fromUtf8(block).split('\n', Qt::SkipEmptyParts)) {
    QStringList f = line.split('|');
    EXPECT_EQ(f.size(), fields + 1) << line.toStdString();
    EXPECT_EQ(f.last(), "") << line.toStdString();
    f.removeLast();
    rows.push_back(f);
  }
  return rows;
}

// Context id -> captions ("=" where the heading keeps its caption).
const std::map<QString, Captions>& contexts() {
  static const auto table = [] {
    std::map<QString, Captions> m;
    for (const auto& f : rows_of(kContextCaptions, 4)) m[f[0]] = {f[1], f[2], f[3]};
    return m;
  }();
  return table;
}

struct PickRow {
  QString list, course;
  QStringList runners;
  Captions captions;
};

const std::vector<PickRow>& pick_rows() {
  static const auto table = [] {
    std::vector<PickRow> v;
    for (const auto& f : rows_of(kPickRows, 6))
      v.push_back({f[0], f[1], f[2].split(','), {f[3], f[4], f[5]}});
    return v;
  }();
  return table;
}

// The captions after a press in a context, from what the headings showed before.
Captions after_context(const QString& context, const Captions& before) {
  const Captions& c = contexts().at(context);
  return {c.top == kKeep ? before.top : c.top, c.middle == kKeep ? before.middle : c.middle,
          c.bottom == kKeep ? before.bottom : c.bottom};
}

QString quoted(const QString& value) { return "\"" + value + "\""; }

Captions headings(Session& s) {
  return {s.app().main().label("Label5", 7).text, s.app().main().label("Label5", 10).text,
          s.app().main().label("Label5", 0).text};
}

void set_headings(Session& s, const Captions& c) {
  s.run("dump");  // starts the program when it has not started yet
  s.app().main().label("Label5", 7).text = c.top;
  s.app().main().label("Label5", 10).text = c.middle;
  s.app().main().label("Label5", 0).text = c.bottom;
}

// Types the inputs and presses 上位設定決定; returns the headings.
Captions press(Session& s, const QString& odds1, const QString& odds2, const QString& course,
               const QString& runners) {
  s.run(QString("type Text1 %1\ntype Text2 %2\ntype Combo8 %3\ntype Combo7 %4\nclick Command4")
            .arg(quoted(odds1), quoted(odds2), quoted(course), quoted(runners)));
  return headings(s);
}

// The last n effects of a dump, one per line, readable in a failure.
std::string last_events(const QJsonObject& dump, int n) {
  const QStringList lines = event_lines(dump);
  return lines.mid(std::max<qsizetype>(0, lines.size() - n)).join("\n").toStdString();
}

std::string lines_text(const QStringList& lines) { return lines.join("\n").toStdString(); }

}  // namespace

TEST(AdviceTables, TranscriptionsAreComplete) {
  EXPECT_EQ(contexts().size(), 29u);
  EXPECT_EQ(pick_rows().size(), 100u);
  std::map<QString, int> sizes;
  for (const auto& row : pick_rows()) ++sizes[row.list];
  const std::map<QString, int> expected = {
      {"2b", 6}, {"3a", 1},  {"3b", 9}, {"4", 1},  {"5a", 14}, {"5b", 9}, {"6a", 10}, {"6b", 15}, {"6c", 3},
      {"6d", 3}, {"7a", 10}, {"7b", 6}, {"7c", 2}, {"8a", 6},  {"8b", 2}, {"9b", 1},  {"9c", 1},  {"10b", 1}};
  EXPECT_EQ(sizes, expected);
}

// Every band and context, at both edges of each range and just outside them.
// The racecourse 函館 matches no pick row, so the context's own captions show.
TEST(Advice, BandsAndContexts) {
  struct Case {
    const char* odds1;
    const char* odds2;
    const char* context;  // "" for no band: the headings keep what they showed
  };
  const Case cases[] = {
      // Band 1: no lower bound, up to 1.1; threshold 3.1.
      {"1.1", "3.1", "1a"},
      {"1.1", "3.11", "1b"},
      {"0.5", "0.5", "1a"},
      {"0", "3.2", "1b"},
      {"-3", "-1", "1a"},
      {" 1.1 ", "100", "1b"},
      {"1.10", "3.10", "1a"},
      // Band 2: above 1.1 up to 1.6.
      {"1.11", "3.1", "2a"},
      {"1.15", "3.2", "2b"},
      {"1.6", "2.0", "2a"},
      {"1.6", "3.11", "2b"},
      {"1.61", "3.1", ""},
      {"1.65", "3.1", ""},
      {"1.69", "3.1", ""},
      // Band 3: 1.7 to 2.0.
      {"1.7", "3.1", "3a"},
      {"2.0", "3.11", "3b"},
      {"2.01", "3.1", ""},
      {"2.05", "3.1", ""},
      {"2.09", "3.1", ""},
      // Band 4: 2.1 to 2.3, then list 4 (which 函館 does not match).
      {"2.1", "3.1", "4a"},
      {"2.3", "3.2", "4b"},
      {"2.31", "3.1", ""},
      {"2.35", "3.1", ""},
      {"2.39", "3.1", ""},
      // Band 5: 2.4 to 2.8; threshold 3.5.
      {"2.4", "3.5", "5a"},
      {"2.8", "3.51", "5b"},
      {"2.8", "1.0", "5a"},
      {"2.81", "3.1", ""},
      {"2.85", "3.1", ""},
      {"2.89", "3.1", ""},
      // Band 6: 2.9 to 3.5.
      {"2.9", "1.1", "6a"},
      {"3.5", "4.0", "6a"},
      {"3.0", "4.1", "6b"},
      {"3.0", "6.2", "6b"},
      {"3.0", "6.3", "6c"},
      {"3.0", "7.9", "6c"},
      {"3.0", "1.0", "6d"},
      {"3.0", "1.09", "6d"},
      {"3.0", "4.05", "6d"},
      {"3.0", "6.25", "6d"},
      {"3.0", "7.91", "6d"},
      {"3.0", "150", "6d"},
      {"3.51", "4.0", ""},
      {"3.55", "4.0", ""},
      {"3.59", "4.0", ""},
      // Band 7: 3.6 to 3.9; 7a keeps the headings.
      {"3.6", "1.1", "7a"},
      {"3.9", "4.8", "7a"},
      {"3.7", "4.9", "7b"},
      {"3.7", "6.5", "7b"},
      {"3.7", "1.0", "7c"},
      {"3.7", "4.85", "7c"},
      {"3.7", "6.51", "7c"},
      {"3.91", "4.0", ""},
      {"3.95", "4.0", ""},
      {"3.99", "4.0", ""},
      // Band 8: 4.0 to 4.5; both contexts keep the headings.
      {"4.0", "1.1", "8a"},
      {"4.5", "9.5", "8a"},
      {"4.2", "1.0", "8b"},
      {"4.2", "9.51", "8b"},
      {"4.51", "4.0", ""},
      {"4.55", "4.0", ""},
      {"4.59", "4.0", ""},
      // Band 9: 4.6 to 4.9.
      {"4.6", "1.1", "9a"},
      {"4.9", "4.0", "9a"},
      {"4.7", "4.1", "9b"},
      {"4.7", "4.8", "9b"},
      {"4.7", "1.0", "9c"},
      {"4.7", "4.05", "9c"},
      {"4.7", "4.81", "9c"},
      {"4.91", "4.0", ""},
      {"4.95", "4.0", ""},
      {"4.99", "4.0", ""},
      // Band 10: 5.0 to 5.6.
      {"5.0", "1.1", "10a"},
      {"5.6", "6.2", "10a"},
      {"5.3", "6.3", "10b"},
      {"5.3", "9.8", "10b"},
      {"5.3", "1.0", "10c"},
      {"5.3", "6.25", "10c"},
      {"5.3", "9.81", "10c"},
      {"5.61", "4.0", ""},
      {"5.65", "4.0", ""},
      {"5.69", "4.0", ""},
      // Band 11: from 5.7, no upper bound.
      {"5.7", "1.1", "11a"},
      {"120", "5.8", "11a"},
      {"6.0", "5.9", "11b"},
      {"6.0", "9.8", "11b"},
      {"6.0", "1.0", "11c"},
      {"6.0", "5.85", "11c"},
      {"6.0", "9.81", "11c"},
  };
  Session s;
  std::set<QString> seen;
  for (const auto& c : cases) {
    set_headings(s, kBefore);
    const Captions expected = *c.context ? after_context(c.context, kBefore) : kBefore;
    EXPECT_EQ(press(s, c.odds1, c.odds2, "函館", "16頭"), expected)
        << c.odds1 << " / " << c.odds2 << " -> " << c.context;
    seen.insert(c.context);
  }
  for (const auto& [id, captions] : contexts()) {
    if (id != "4") {
      EXPECT_TRUE(seen.count(id)) << id.toStdString();
    }
  }
}

// Band 4 applies list 4 after whichever context it took.
TEST(Advice, Band4AppliesItsListAfterEitherContext) {
  const Captions list4{"1人気", "3.4.8人気", "2人気 or 父タニノギムレット"};
  Session s;
  EXPECT_EQ(press(s, "2.1", "3.1", "中京", "16頭"), list4);
  EXPECT_EQ(press(s, "2.3", "3.2", "中京", "16頭"), list4);
  EXPECT_EQ(press(s, "2.1", "3.1", "中京", "15頭"), after_context("4a", kBefore));
  EXPECT_EQ(press(s, "2.3", "3.2", "中京", "15頭"), after_context("4b", kBefore));
}

// Every list against every racecourse (and 函館) and every field size the
// runners box offers: the last matching row wins, else the context's captions.
// Proves each of the 100 rows shows its captions where no later row overrides it.
TEST(CoursePicks, EveryListCourseAndFieldSize) {
  struct Route {
    const char* list;
    const char* odds1;
    const char* odds2;
    const char* context;  // the context whose captions show when no row matches
  };
  const Route routes[] = {
      {"2b", "1.5", "4.0", "2b"},   {"3a", "1.8", "3.0", "3a"}, {"3b", "1.8", "4.0", "3b"},
      {"4", "2.2", "3.0", "4a"},    {"4", "2.2", "4.0", "4b"},  {"5a", "2.5", "3.0", "5a"},
      {"5b", "2.5", "4.0", "5b"},   {"6a", "3.0", "2.0", "6a"}, {"6b", "3.0", "5.0", "6b"},
      {"6c", "3.0", "7.0", "6c"},   {"6d", "3.0", "9.0", "6d"}, {"7a", "3.7", "2.0", "7a"},
      {"7b", "3.7", "5.0", "7b"},   {"7c", "3.7", "8.0", "7c"}, {"8a", "4.2", "5.0", "8a"},
      {"8b", "4.2", "12", "8b"},    {"9b", "4.7", "4.5", "9b"}, {"9c", "4.7", "6.0", "9c"},
      {"10b", "5.3", "8.0", "10b"},
  };
  const QStringList courses = {"札幌", "福島", "新潟", "東京", "中山",
                               "中京", "京都", "阪神", "小倉", "函館"};
  Session s;
  s.run("dump");
  const QStringList sizes = s.app().main().c("Combo7").items;
  ASSERT_EQ(sizes.first(), "5頭");
  ASSERT_EQ(sizes.last(), "20頭");

  std::set<const PickRow*> shown;
  std::set<QString> lists;
  for (const auto& route : routes) {
    lists.insert(route.list);
    for (const QString& course : courses) {
      for (const QString& runners : sizes) {
        const PickRow* winner = nullptr;
        for (const auto& row : pick_rows())
          if (row.list == route.list && row.course == course && row.runners.contains(runners)) winner = &row;
        set_headings(s, kBefore);
        const Captions expected = winner ? winner->captions : after_context(route.context, kBefore);
        ASSERT_EQ(press(s, route.odds1, route.odds2, course, runners), expected)
            << route.list << " " << course.toStdString() << " " << runners.toStdString();
        if (winner) shown.insert(winner);
      }
      s.platform().take_events();
    }
  }
  EXPECT_EQ(shown.size(), pick_rows().size());
  EXPECT_EQ(lists.size(), 18u);
}

TEST(CoursePicks, LaterRowWinsAndOnlyExactTextsMatch) {
  struct Case {
    const char* course;
    const char* runners;
    Captions expected;
  };
  const Captions row4{"3人気 or 父スクワートルスクワート", "1.2.4人気", "9人気 or 母シルクロマンス"};
  const Captions row5{"1人気 or 父サクラプレジデント", "2.3.6人気", "4人気 or 母父メジロライアン"};
  const Captions defaults = after_context("7b", kBefore);
  const Case cases[] = {
      {"福島", "16頭", row5},
      {"福島", "15頭", row4},
      {"福島", "17頭", row4},
      {"福島 ", "16頭", defaults},
      {" 福島", "16頭", defaults},
      {"福島", "１６頭", defaults},
      {"福島", "16頭 ", defaults},
      {"福島", "16", defaults},
      {"東京", "17頭", {"1人気 or 父キングカメハメハ", "2.3.4人気", "9人気 or 母父ヘクタープロテクター "}},
  };
  Session s;
  for (const auto& c : cases) {
    set_headings(s, kBefore);
    EXPECT_EQ(press(s, "3.7", "5.0", c.course, c.runners), c.expected) << c.course << "/" << c.runners;
  }
}

// ---- The press as a user makes it, through the scenario mode ------------------

TEST(AdviceScenario, BlankOddsStopAfterTheDoorSoundWithCrtRowSet) {
  struct Case {
    const char* odds1;
    const char* odds2;
    const char* message;
  };
  const Case cases[] = {
      {"", "", "1番人気のオッズが入力されていません"},
      {"   ", "2.0", "1番人気のオッズが入力されていません"},
      {"1.5", "", "2番人気のオッズが入力されていません"},
      {"1.5", "  ", "2番人気のオッズが入力されていません"},
  };
  for (const auto& c : cases) {
    Session s;
    const auto d = s.dump(QString("select Combo3 4\nselect Combo4 9\ntype Text1 \"%1\"\n"
                                  "type Text2 \"%2\"\nclick Command4")
                              .arg(c.odds1, c.odds2));
    EXPECT_EQ(last_events(d, 2), lines_text({"se door02.wav", QString("message ") + c.message}))
        << c.odds1 << "/" << c.odds2;
    EXPECT_EQ(messages(d).size(), 1);
    EXPECT_EQ(events_of(d, "message")[0].toObject()["title"].toString(), "●Quilo ピルピルθK●");
    EXPECT_EQ(state(d)["crt_row"].toInt(), 13);
    EXPECT_EQ(caption(d, "Label5(7)"), kAtStart.top);
    EXPECT_EQ(caption(d, "Label5(10)"), kAtStart.middle);
    EXPECT_EQ(caption(d, "Label5(0)"), kAtStart.bottom);
  }
}

TEST(AdviceScenario, CrtRowIsTheSumOfTheDatePositions) {
  struct Case {
    const char* script;
    int crt_row;
  } cases[] = {
      {"select Combo3 11\nselect Combo4 30", 41},
      {"select Combo3 0\nselect Combo4 0", 0},
      {"type Combo3 13\nselect Combo4 5", 4},  // a typed month has no list position (-1)
  };
  for (const auto& c : cases) {
    Session s;
    const auto d = s.dump(QString(c.script) + "\ntype Text1 1.5\ntype Text2 2.0\nclick Command4");
    EXPECT_EQ(state(d)["crt_row"].toInt(), c.crt_row) << c.script;
    EXPECT_EQ(last_events(d, 1), "se door02.wav");
  }
}

// Odds that are not numbers: the message of the first such box, after the
// door sound and the blank checks, and no heading changes, even when the
// first odds fall in no band.
TEST(AdviceScenario, OddsThatAreNotNumbersStopWithAMessage) {
  struct Case {
    const char* odds1;
    const char* odds2;
    const char* message;
  } cases[] = {
      {"abc", "2.0", "1番人気のオッズが数値ではありません"},
      {"1..5", "x", "1番人気のオッズが数値ではありません"},
      {"1.5", "2.0倍", "2番人気のオッズが数値ではありません"},
      {"1.65", "2,0", "2番人気のオッズが数値ではありません"},
      {"1.5", "", "2番人気のオッズが入力されていません"},
  };
  for (const auto& c : cases) {
    Session s;
    const auto d =
        s.dump(QString("type Text1 \"%1\"\ntype Text2 \"%2\"\nclick Command4").arg(c.odds1, c.odds2));
    EXPECT_EQ(last_events(d, 2), lines_text({"se door02.wav", QString("message ") + c.message}))
        << c.odds1 << "/" << c.odds2;
    EXPECT_EQ(messages(d).size(), 1);
    EXPECT_EQ(events_of(d, "message")[0].toObject()["title"].toString(), "●Quilo ピルピルθK●");
    EXPECT_EQ(caption(d, "Label5(7)"), kAtStart.top);
    EXPECT_EQ(caption(d, "Label5(10)"), kAtStart.middle);
    EXPECT_EQ(caption(d, "Label5(0)"), kAtStart.bottom);
  }
}

// A user's run of presses: each line of inputs is typed over the previous
// ones; the headings after each press.
TEST(AdviceScenario, PressesLikeAUser) {
  struct Step {
    const char* script;
    Captions expected;
  };
  const Captions c7b{"1人気 or 父サクラプレジデント", "2.3.6人気", "4人気 or 母父メジロライアン"};
  const Captions c2a{"1人気馬", "2～4人気馬", "6人気馬"};
  const Captions c8a{"2人気 or 父フジキセキ", "3.4.5人気", "6人気 or 父アドマイヤベガ"};
  const Step steps[] = {
      // No band: the headings keep their captions at start.
      {"type Text1 1.65\ntype Text2 3.0", kAtStart},
      // 7b at 福島 with 16 runners: the later of two matching rows.
      {"type Text1 3.7\ntype Text2 5.0\ntype Combo8 福島\nselect Combo7 11", c7b},
      // The same inputs again give the same captions.
      {"", c7b},
      // 7a with no matching row (福島 with 17 runners) keeps them.
      {"type Text2 4.8\nselect Combo7 12", c7b},
      // A trailing blank in the racecourse, or full-width digits in the runners, match nothing.
      {"type Text2 5.0\ntype Combo8 \"福島 \"", after_context("7b", kBefore)},
      {"type Combo8 福島\ntype Combo7 １６頭", after_context("7b", kBefore)},
      // 2a has no list: its captions whatever the racecourse; 2b at 東京 with 14 runners.
      {"type Text1 1.5\ntype Text2 2.0\nselect Combo8 0\nselect Combo7 9", c2a},
      {"type Text2 3.2", {"3人気 or 父クロフネ", "1.6.7人気", "2人気 or 父フサイチコンコルド"}},
      // 8a at 新潟: 16 runners match, then 15 runners keep what the headings show.
      {"type Text1 4.2\ntype Text2 5.0\ntype Combo8 新潟\nselect Combo7 11", c8a},
      {"select Combo7 10", c8a},
      // 3b at 小倉: 6 to 11 runners match, 12 runners keep the defaults.
      {"type Text1 1.8\ntype Text2 4.0\ntype Combo8 小倉\nselect Combo7 1",
       {"2人気 or 母父サンデーサイレンス", "1.4.5人気", "3人気 or 父アグネスタキオン"}},
      {"select Combo7 7", after_context("3b", kBefore)},
      // 5頭 and 20頭 match nothing.
      {"type Text1 2.5\ntype Text2 3.0\ntype Combo8 東京\nselect Combo7 0", after_context("5a", kBefore)},
      {"select Combo7 15", after_context("5a", kBefore)},
  };
  Session s;
  s.dump();
  for (const auto& step : steps) {
    const auto d = s.dump(QString(step.script) + "\nclick Command4");
    EXPECT_EQ(lines_text(event_lines(d)), "se door02.wav") << step.script;
    EXPECT_EQ(Captions({caption(d, "Label5(7)"), caption(d, "Label5(10)"), caption(d, "Label5(0)")}),
              step.expected)
        << step.script;
  }
}
