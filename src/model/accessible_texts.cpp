// The accessible names and descriptions of every control of the four windows,
// as rows keyed by window and control key, and for the repeating members of the
// ticket and the diagnostic column, one rule per role that numbers the members.
#include "model/accessible_texts.h"

#include <QHash>

#include <vector>

namespace quilo {
namespace {

struct TextRow {
  const char* form;
  const char* key;  // "" for the window itself
  const char* name;
  const char* description;  // "" for none
};

// clang-format off
const TextRow kTexts[] = {
    // The main window.
    {"Form1", "", "競馬予想 Quilo ピルピルθK", ""},

    // Race inputs.
    {"Form1", "Combo6", "年", "レースの年を選ぶか入力します"},
    {"Form1", "Combo3", "月", "レースの月を選ぶか入力します"},
    {"Form1", "Combo4", "日", "レースの日を選ぶか入力します"},
    {"Form1", "Combo8", "競馬場", "レースが行われる競馬場を選ぶか入力します"},
    {"Form1", "Combo9", "レース番号", "その日の何レース目かを選ぶか入力します"},
    {"Form1", "Combo7", "頭数", "レースに出走する頭数を選ぶか入力します"},
    {"Form1", "Combo11", "1番人気の馬番", "1番人気の馬の馬番を選ぶか入力します"},
    {"Form1", "Text1", "1番人気の単勝オッズ", "1番人気の馬の単勝オッズを数字で入力します"},
    {"Form1", "Combo10", "2番人気の馬番", "2番人気の馬の馬番を選ぶか入力します"},
    {"Form1", "Text2", "2番人気の単勝オッズ", "2番人気の馬の単勝オッズを数字で入力します"},
    {"Form1", "place_extra_box", "馬場状態", "複勝の予想に使う馬場状態を、良・稍重・重・不良から選びます"},
    // The left panel: its headings start as 1人気, 2～6人気 and 3人気, and the
    // advice command rewrites them, so boxes are named by their row.
    {"Form1", "Combo14", "左側の欄 上段の馬番", "上段の見出しが示す馬（はじめは1番人気）の馬番を選ぶか入力します"},
    {"Form1", "Combo2", "左側の欄 中段の馬番（1頭目）", "中段の見出しが示す馬（はじめは2～6番人気）の1頭目の馬番を選ぶか入力します"},
    {"Form1", "Combo13", "左側の欄 中段の馬番（2頭目）", "中段の見出しが示す馬（はじめは2～6番人気）の2頭目の馬番を選ぶか入力します"},
    {"Form1", "Combo5", "左側の欄 中段の馬番（3頭目）", "中段の見出しが示す馬（はじめは2～6番人気）の3頭目の馬番を選ぶか入力します"},
    {"Form1", "Combo1", "左側の欄 下段の馬番", "下段の見出しが示す馬（はじめは3番人気）の馬番を選ぶか入力します"},

    // Headings of the inputs: each named after the input it heads.
    {"Form1", "Label5(6)", "1番人気の馬番の見出し", ""},
    {"Form1", "Label5(2)", "1番人気の単勝オッズの見出し", ""},
    {"Form1", "Label5(3)", "2番人気の馬番の見出し", ""},
    {"Form1", "Label5(1)", "2番人気の単勝オッズの見出し", ""},
    {"Form1", "Label5(4)", "馬場状態の見出し", ""},
    {"Form1", "Label5(7)", "左側の欄 上段の馬番の見出し", ""},
    {"Form1", "Label5(10)", "左側の欄 中段の馬番の見出し", ""},
    {"Form1", "Label5(0)", "左側の欄 下段の馬番の見出し", ""},

    // Commands.
    {"Form1", "Command3", "馬単予想", "馬単の買い目4点を予想し、馬券の形で表示します"},
    {"Form1", "Command8", "３連単予想", "３連単の買い目4点を予想し、馬券の形で表示します"},
    {"Form1", "Command6", "鬼爆馬単予想", "演出つきで馬単の買い目4点を予想し、馬券の形で表示します"},
    {"Form1", "Command1", "魔界３連単予想", "演出つきで３連単の買い目4点を予想し、馬券の形で表示します"},
    {"Form1", "Command2", "使用方法", "馬券の場所に使い方の絵を表示し、説明の画面を開きます"},
    {"Form1", "Command10", "出力", "出力画面を開き、直前の予想結果をファイルに保存したり印刷したりできるようにします"},
    {"Form1", "Command5", "終了", "音楽を止めてプログラムを終了します"},
    {"Form1", "Command4", "上位設定決定", "人気馬のオッズから、左側の欄にどの馬を入れるとよいかを見出しに示します"},
    {"Form1", "Command11", "複勝予想", "複勝の候補の馬番を予想し、結果カードに表示します"},
    {"Form1", "Command12", "枠連予想", "枠連の枠番を予想し、結果カードに表示します"},
    {"Form1", "Command13", "マハラジャの教え", "教えを1つ選んで結果カードに表示します"},
    {"Form1", "Command14", "成績", "記録した予想の成績の画面を開きます。レース結果を入れると的中率と回収率がわかります"},

    // Display controls.
    {"Form1", "result_card", "結果カード", "複勝と枠連の予想、マハラジャの教えの結果を表示します"},
    {"Form1", "List1", "予想結果の一覧", ""},
    {"Form1", "Image1", "馬券の絵", ""},
    {"Form1", "Image2", "チャンスランプ", ""},
    {"Form1", "Image4", "背景の場面", ""},
    {"Form1", "Image3", "Quiloのバッジ", ""},
    {"Form1", "Shape1", "左側の欄の枠", ""},
    {"Form1", "Shape2", "ボタンの列の枠", ""},
    {"Form1", "Shape3", "レースと人気馬の入力欄の枠", ""},
    {"Form1", "Shape4", "馬券の枠", ""},
    // Step markers ②, ①, ③ beside the left panel, the race inputs and the
    // command column.
    {"Form1", "Label2(0)", "手順2の印", ""},
    {"Form1", "Label2(1)", "手順1の印", ""},
    {"Form1", "Label2(2)", "手順3の印", ""},

    // The ticket's single fields; its rows follow in kMemberRules.
    {"Form1", "Label1(0)", "馬券の発売所", ""},
    {"Form1", "Label1(1)", "馬券の競馬場", ""},
    {"Form1", "Label1(2)", "馬券のレース番号", ""},
    {"Form1", "Label7", "馬券のレース番号の見出し", ""},
    {"Form1", "Label1(3)", "馬券の日付", ""},
    {"Form1", "Label1(4)", "馬券の下段の月日", ""},
    {"Form1", "Label1(14)", "馬券のコード番号1", ""},
    {"Form1", "Label1(5)", "馬券のコード番号2", ""},
    {"Form1", "Label1(6)", "馬券のコード番号3", ""},
    {"Form1", "Label1(7)", "馬券のコード番号4", ""},
    {"Form1", "Label14", "馬券の合計", ""},

    // The explanation window.
    {"Form2", "", "翠甲星帝スクリーンの説明", ""},
    {"Form2", "Command2", "戻る", "説明の画面を閉じます"},

    // The output window.
    {"Form3", "", "出力画面", ""},
    {"Form3", "Drive1", "ドライブ", "保存先のドライブを選びます"},
    {"Form3", "Dir1", "フォルダ", "保存先のフォルダを選びます"},
    {"Form3", "File1", "フォルダ内のファイル", "選んだファイルの名前をファイル名の欄に入れます"},
    {"Form3", "Text1", "ファイル名", "予想結果を書き足すファイルの名前を入力します"},
    {"Form3", "Option1", "ファイル出力", "ファイルにだけ書き込みます"},
    {"Form3", "Option2", "ファイルと印刷", "ファイルに書き込んだあと、そのファイル全体を印刷します"},
    {"Form3", "Option3", "ファイルと今回分の印刷",
     "ファイルに書き込んだあと、今回起動してからそのファイルに出力した分だけを印刷します"},
    {"Form3", "Command1", "出力実行", "直前の予想結果をファイルの末尾に書き足します"},
    {"Form3", "Command2", "戻る", "出力画面を閉じます"},

    // The history window.
    {"Form4", "", "成績", ""},
    {"Form4", "Label1(0)", "記録したレースの見出し", ""},
    {"Form4", "Label1(20)", "記録したレースの数", ""},
    {"Form4", "Grid1", "記録したレースの一覧", ""},
    {"Form4", "Label1(1)", "予想と買い目の見出し", ""},
    {"Form4", "Grid2", "選んだレースの予想と買い目の一覧", ""},
    {"Form4", "Label1(3)", "1点の購入額の見出し", ""},
    {"Form4", "Text15", "1点の購入額", "実際に買った1点あたりの金額を入力します。空欄は券面どおりです"},
    {"Form4", "Label1(4)", "円", ""},
    {"Form4", "Command6", "購入", "選んだ予想を購入したものとして収支に入れます"},
    {"Form4", "Command7", "購入取消", "選んだ予想を収支から外します"},
    {"Form4", "Command8", "予想を削除", "選んだ予想を記録から削除します。成績のどこにも残りません"},
    {"Form4", "Label1(2)", "レース結果の見出し", ""},
    {"Form4", "Label1(5)", "頭数の見出し", ""},
    {"Form4", "Text4", "頭数", "レースの頭数を入力します。枠番はこの頭数から決まります"},
    {"Form4", "Label1(6)", "取消・除外の見出し", ""},
    {"Form4", "Text5", "取消・除外", "出走しなかった馬の馬番を空白で区切って入力します"},
    {"Form4", "Label1(7)", "1着の見出し", ""},
    {"Form4", "Text1", "1着の馬番", "1着の馬番を入力します。同着は空白で区切ります"},
    {"Form4", "Label1(8)", "2着の見出し", ""},
    {"Form4", "Text2", "2着の馬番", "2着の馬番を入力します。1着が同着のときは空けます"},
    {"Form4", "Label1(9)", "3着の見出し", ""},
    {"Form4", "Text3", "3着の馬番", "3着の馬番を入力します。同着で埋まっているときは空けます"},
    {"Form4", "Label1(10)", "馬単の払戻の見出し", ""},
    {"Form4", "Text6", "馬単の払戻", "組番と100円あたりの払戻金を 5-2 1230 のように入力します"},
    {"Form4", "Label1(11)", "３連単の払戻の見出し", ""},
    {"Form4", "Text7", "３連単の払戻", "組番と100円あたりの払戻金を 5-2-12 12340 のように入力します"},
    {"Form4", "Label1(12)", "枠連の払戻の見出し", ""},
    {"Form4", "Text8", "枠連の払戻", "枠の組と100円あたりの払戻金を入力します。発売がなければ発売なし"},
    {"Form4", "Label1(13)", "複勝の払戻の見出し", ""},
    {"Form4", "Text9", "複勝の払戻", "馬番と100円あたりの払戻金を / で区切って入力します"},
    {"Form4", "Label1(21)", "結果の入力のしかた", ""},
    {"Form4", "Command1", "結果を保存", "入力したレース結果を保存し、そのレースの買い目すべての的中と払戻を出します。保存し直すと訂正になります"},
    {"Form4", "Command2", "結果を削除", "選んだレースの結果を削除し、的中の判定を取り消します"},
    {"Form4", "Label1(19)", "結果を入力するレース", ""},
    {"Form4", "Label1(14)", "全期間の成績の見出し", ""},
    {"Form4", "Combo2", "成績の種類", "すべての予想の成績（予想成績）か、購入した予想の収支かを選びます"},
    {"Form4", "Label1(22)", "成績の数え方", ""},
    {"Form4", "Grid3", "全期間の成績", ""},
    {"Form4", "Label1(15)", "期間の見出し", ""},
    {"Form4", "Text12", "期間の始め", "集計する期間の始めの日付を 2010-04-10 のように入力します。空欄は制限なしです"},
    {"Form4", "Label1(16)", "期間の区切り", ""},
    {"Form4", "Text13", "期間の終わり", "集計する期間の終わりの日付を入力します。空欄は制限なしです"},
    {"Form4", "Combo3", "期間の成績の分け方", "券種別、月別、年別、競馬場別、チャンス別から選びます"},
    {"Form4", "Command5", "集計", "入力した期間の成績と収支の推移を出します"},
    {"Form4", "Grid4", "期間の成績", ""},
    {"Form4", "Label1(18)", "最長連敗と最大ドローダウン", ""},
    {"Form4", "Label1(23)", "回収率100%以上になる最も低いチャンス", ""},
    {"Form4", "Label1(17)", "収支の推移の見出し", ""},
    {"Form4", "Combo1", "収支の推移の表示", "収支の推移を全体で表示するか、券種別に表示するかを選びます"},
    {"Form4", "Chart1", "収支の推移のグラフ", ""},
    {"Form4", "Label1(24)", "CSVファイルの見出し", ""},
    {"Form4", "Text14", "CSVファイル名", "成績を書き出すCSVファイルの名前を入力します"},
    {"Form4", "Command9", "参照", "CSVファイルの保存先をファイルの選択画面で選びます"},
    {"Form4", "Option1", "Windows-31J で書き出す", "表計算ソフトでそのまま開けるWindows-31J（シフトJIS）で書き出します"},
    {"Form4", "Option2", "UTF-8 で書き出す", "BOM付きのUTF-8で書き出します"},
    {"Form4", "Command3", "CSV出力", "記録した予想とレース結果をCSVファイルに書き出します"},
    {"Form4", "Command4", "戻る", "成績の画面を閉じます"},
};
// clang-format on

// Members of a control array that share one role, one member per ticket row
// or diagnostic slot: the member listed n-th (from 1) gets the name with "%1"
// replaced by n.
struct MemberRule {
  const char* form;
  const char* array;
  std::vector<int> members;
  const char* name;
};

const std::vector<MemberRule> kMemberRules = {
    // Ticket rows 1 to 4, top to bottom. Position 1 serves both bet kinds;
    // the others belong to the trifecta or the exacta arrangement.
    {"Form1", "Label1", {8, 10, 11, 12}, "馬券 %1行目 1着の馬番"},
    {"Form1", "Label1", {37, 38, 39, 40}, "３連単の馬券 %1行目 2着の馬番"},
    {"Form1", "Label1", {41, 42, 43, 44}, "３連単の馬券 %1行目 3着の馬番"},
    {"Form1", "Label1", {9, 18, 19, 20}, "馬単の馬券 %1行目 2着の馬番"},
    {"Form1", "Label3", {0, 1, 2, 3}, "３連単の馬券 %1行目 1着と2着の間の印"},
    {"Form1", "Label3", {7, 6, 5, 4}, "３連単の馬券 %1行目 2着と3着の間の印"},
    {"Form1", "Label1", {13, 15, 16, 17}, "馬単の馬券 %1行目 1着と2着の間の印"},
    {"Form1", "Label1", {21, 22, 23, 24}, "馬単の馬券 %1行目 各の印"},
    {"Form1", "Label1", {25, 28, 31, 34}, "馬券 %1行目 星印"},
    {"Form1", "Label1", {26, 29, 32, 35}, "馬券 %1行目 金額"},
    {"Form1", "Label1", {27, 30, 33, 36}, "馬券 %1行目 円の字"},
    {"Form1", "unbuyable_mark", {0, 1, 2, 3}, "馬券 %1行目 購入不可の印"},
    // The diagnostic column: the table rows the last prediction read, and
    // the values it drew from them.
    {"Form1", "Label4", {0, 1, 2, 3, 4, 5, 6, 7}, "診断欄 %1番目の表の行"},
    {"Form1", "Label4", {8, 9, 10, 11, 12, 13, 14, 15}, "診断欄 %1番目の値"},
};

QString lookup_key(const QString& form, const QString& key) { return form + QLatin1Char('.') + key; }

const QHash<QString, AccessibleText>& all_texts() {
  static const QHash<QString, AccessibleText> texts = [] {
    QHash<QString, AccessibleText> out;
    for (const auto& row : kTexts)
      out.insert(lookup_key(QString::fromUtf8(row.form), QString::fromUtf8(row.key)),
                 {QString::fromUtf8(row.name), QString::fromUtf8(row.description)});
    for (const auto& rule : kMemberRules) {
      for (std::size_t n = 0; n < rule.members.size(); ++n) {
        const QString key = QStringLiteral("%1(%2)").arg(QString::fromUtf8(rule.array)).arg(rule.members[n]);
        out.insert(lookup_key(QString::fromUtf8(rule.form), key),
                   {QString::fromUtf8(rule.name).arg(n + 1), QString()});
      }
    }
    return out;
  }();
  return texts;
}

}  // namespace

std::vector<std::pair<QString, QString>> captioned_inputs(const QString& form) {
  struct CaptionRow {
    const char* form;
    const char* caption;
    const char* input;
  };
  static const CaptionRow kCaptions[] = {
      {"Form1", "Label5(6)", "Combo11"},         {"Form1", "Label5(2)", "Text1"},
      {"Form1", "Label5(3)", "Combo10"},         {"Form1", "Label5(1)", "Text2"},
      {"Form1", "Label5(4)", "place_extra_box"}, {"Form1", "Label5(7)", "Combo14"},
      {"Form1", "Label5(10)", "Combo2"},         {"Form1", "Label5(0)", "Combo1"},
      {"Form4", "Label1(3)", "Text15"},          {"Form4", "Label1(5)", "Text4"},
      {"Form4", "Label1(6)", "Text5"},           {"Form4", "Label1(7)", "Text1"},
      {"Form4", "Label1(8)", "Text2"},           {"Form4", "Label1(9)", "Text3"},
      {"Form4", "Label1(10)", "Text6"},          {"Form4", "Label1(11)", "Text7"},
      {"Form4", "Label1(12)", "Text8"},          {"Form4", "Label1(13)", "Text9"},
      {"Form4", "Label1(15)", "Text12"},         {"Form4", "Label1(24)", "Text14"},
      {"Form4", "Label1(17)", "Combo1"},
  };
  std::vector<std::pair<QString, QString>> out;
  for (const CaptionRow& row : kCaptions)
    if (form == QLatin1String(row.form))
      out.emplace_back(QLatin1String(row.caption), QLatin1String(row.input));
  return out;
}

QString chart_in_words(const std::vector<ChartSeries>& series) {
  auto yen = [](double v) {
    const qint64 n = qRound64(v);
    QString digits = QString::number(n < 0 ? -n : n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3) digits.insert(i, QLatin1Char(','));
    return (n < 0   ? QStringLiteral("-")
            : n > 0 ? QStringLiteral("+")
                    : QString()) +
           digits + QStringLiteral("円");
  };
  auto day = [](const QDate& d) { return d.toString(QStringLiteral("yyyy/MM/dd")); };
  QStringList parts;
  for (const ChartSeries& s : series) {
    // The daily bars add up to the line: the line's figures tell it all.
    if (s.points.empty() || s.bars) continue;
    auto high = s.points.begin(), low = s.points.begin();
    for (auto it = s.points.begin(); it != s.points.end(); ++it) {
      if (it->second > high->second) high = it;
      if (it->second < low->second) low = it;
    }
    parts << QStringLiteral("%1: %2 の収支 %3、最高 %4（%5）、最低 %6（%7）")
                 .arg(s.name, day(s.points.back().first), yen(s.points.back().second), yen(high->second),
                      day(high->first), yen(low->second), day(low->first));
  }
  return parts.isEmpty() ? QStringLiteral("結果を入れたレースはまだありません")
                         : parts.join(QStringLiteral("。"));
}

AccessibleText accessible_text(const QString& form, const QString& key) {
  const auto& texts = all_texts();
  const auto it = texts.constFind(lookup_key(form, key));
  if (it != texts.constEnd()) return *it;
  return {key.isEmpty() ? form : key, QString()};
}

}  // namespace quilo
