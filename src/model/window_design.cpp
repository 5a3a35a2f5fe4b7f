// The design of the program's four windows: every control with its name,
// place (twips), caption, colours and font. Rows read like the window
// definitions they come from; the functions below only assemble them.
#include "model/window_design.h"

namespace quilo {
namespace {

const QString& kGothic = design_fonts::kGothic;
const QString& kPGothic = design_fonts::kPGothic;
const QString& kMincho = design_fonts::kMincho;
const QString& kPMincho = design_fonts::kPMincho;
const QString& kSylfaen = design_fonts::kSylfaen;

ColorDesign none() { return ColorDesign::none(); }
ColorDesign rgb(int r, int g, int b) { return ColorDesign::of(r, g, b); }
ColorDesign sys(int n) { return ColorDesign::sys(n); }
FontDesign font(const QString& family, double points, bool bold = false) { return {family, points, bold}; }
FontDesign default_font() { return {}; }

QStringList numbered(int from, int to, const QString& suffix = {}) {
  QStringList out;
  for (int i = from; i <= to; ++i) out << QStringLiteral("%1%2").arg(i, 2, 10, QLatin1Char('0')).arg(suffix);
  return out;
}

QStringList plain_numbered(int from, int to, const QString& suffix) {
  QStringList out;
  for (int i = from; i <= to; ++i) out << QStringLiteral("%1%2").arg(i).arg(suffix);
  return out;
}

// " 1" .. " 9", "10" .. "18": one-digit numbers carry a leading blank.
QStringList panel_numbers() {
  QStringList out;
  for (int i = 1; i <= 18; ++i) out << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char(' '));
  return out;
}

ControlDesign label(const QString& name, int index, int left, int top, int width, int height,
                    const QString& caption, ColorDesign back, ColorDesign fore, FontDesign f,
                    Align align = Align::Left, bool border = false) {
  ControlDesign c;
  c.name = name;
  c.index = index;
  c.kind = Kind::Label;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.text = caption;
  c.back = back;
  c.fore = fore;
  c.font = f;
  c.align = align;
  c.border = border;
  return c;
}

ControlDesign combo(const QString& name, int left, int top, int width, int height, const QString& text,
                    QStringList items, ColorDesign back, ColorDesign fore, FontDesign f) {
  ControlDesign c;
  c.name = name;
  c.kind = Kind::Combo;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.text = text;
  c.items = std::move(items);
  c.back = back;
  c.fore = fore;
  c.font = f;
  return c;
}

ControlDesign text_box(const QString& name, int left, int top, int width, int height, const QString& text,
                       ColorDesign back, ColorDesign fore, FontDesign f) {
  ControlDesign c = combo(name, left, top, width, height, text, {}, back, fore, f);
  c.kind = Kind::Text;
  return c;
}

ControlDesign control(const QString& name, Kind kind, int left, int top, int width, int height,
                      const QString& picture = {}, const QString& text = {}) {
  ControlDesign c;
  c.name = name;
  c.kind = kind;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.picture = picture;
  c.text = text;
  return c;
}

// Picture buttons show "btn_<form>_<name>.bmp", pressed "..._down.bmp".
ControlDesign button(const QString& form, const QString& name, int left, int top, int width, int height,
                     const QString& text) {
  return control(name, Kind::Button, left, top, width, height,
                 QStringLiteral("btn_%1_%2.bmp").arg(form, name), text);
}

// Ticket cells: bordered boxes with centred bold numbers over the ticket face.
ControlDesign bet_cell(int index, int left, int top, const QString& caption) {
  return label(QStringLiteral("Label1"), index, left, top, 375, 360, caption, sys(5), sys(8),
               font(kSylfaen, 14.25, true), Align::Center, true);
}

ControlDesign ticket_text(int index, int left, int top, int width, int height, const QString& caption,
                          FontDesign f, Align align = Align::Left) {
  return label(QStringLiteral("Label1"), index, left, top, width, height, caption, none(), none(), f, align);
}

ControlDesign amount(int index, int top, const QString& caption) {
  return label(QStringLiteral("Label1"), index, 8880, top, 495, 240, caption, sys(5), sys(8),
               font(kPGothic, 12.0, true), Align::Center);
}

ControlDesign marker(int index, int left, int top, int height) {
  return label(QStringLiteral("Label3"), index, left, top, 135, height, QStringLiteral("◆"), none(), none(),
               font(kGothic, 8.25));
}

ControlDesign step_marker(int index, int left, int top, const QString& caption) {
  return label(QStringLiteral("Label2"), index, left, top, 375, 375, caption, rgb(0, 0, 0), rgb(255, 255, 0),
               font(kGothic, 14.25, true), Align::Center);
}

ControlDesign diagnostic(int index, int top) {
  return label(QStringLiteral("Label4"), index, 9480, top, 855, 375, QString(), rgb(192, 192, 255),
               rgb(255, 0, 0), font(kPGothic, 14.25));
}

ControlDesign caption5(int index, int left, int top, int width, const QString& caption, ColorDesign back,
                       ColorDesign fore, double points) {
  return label(QStringLiteral("Label5"), index, left, top, width, 255, caption, back, fore,
               font(kPGothic, points));
}

}  // namespace

FormDesign form1_design() {
  FormDesign f;
  f.name = QStringLiteral("Form1");
  f.caption = QStringLiteral("競馬予想 Quilo ピルピル THETA K");
  f.client_width = 13485;
  f.client_height = 7770;
  f.default_font = font(kGothic, 9.75);
  f.background = QStringLiteral("kihonfuremu.bmp");
  auto& c = f.controls;

  // Race inputs. The year list grows at start-up up to next year.
  c.push_back(combo("Combo6", 6120, 1080, 855, 315, "2010", plain_numbered(2010, 2015, {}), rgb(0, 128, 0),
                    rgb(255, 255, 255), default_font()));
  c.push_back(combo("Combo3", 7440, 1080, 615, 315, "01", numbered(1, 12), rgb(192, 255, 255), rgb(0, 0, 255),
                    default_font()));
  c.push_back(combo("Combo4", 8400, 1080, 615, 315, "01", numbered(1, 31), rgb(192, 255, 255), rgb(0, 0, 255),
                    default_font()));
  // The ten racecourses of the central races, the two first as they always were.
  c.push_back(combo("Combo8", 5040, 5400, 1455, 480, "東京",
                    {"東京", "中山", "札幌", "函館", "福島", "新潟", "中京", "京都", "阪神", "小倉"},
                    rgb(0, 0, 128), rgb(0, 255, 0), font(kGothic, 18)));
  c.push_back(combo("Combo9", 6600, 5400, 1335, 480, "01Ｒ", numbered(1, 12, "R"), rgb(0, 0, 128),
                    rgb(0, 255, 0), font(kGothic, 18)));
  c.push_back(combo("Combo7", 8040, 5400, 1335, 480, "5頭", plain_numbered(5, 20, "頭"), rgb(0, 192, 192),
                    rgb(255, 255, 255), font(kGothic, 18)));
  c.push_back(combo("Combo11", 6480, 6120, 975, 300, "01", numbered(1, 20), rgb(255, 0, 0), rgb(0, 0, 0),
                    font(kPGothic, 9)));
  c.push_back(
      text_box("Text1", 6480, 6360, 975, 300, "", rgb(0, 0, 128), rgb(255, 255, 255), font(kPGothic, 11.25)));
  c.push_back(combo("Combo10", 6480, 6720, 975, 300, "01", numbered(1, 20), rgb(255, 128, 128), rgb(0, 0, 0),
                    font(kPGothic, 9)));
  c.push_back(
      text_box("Text2", 6480, 6960, 975, 300, "", rgb(0, 0, 192), rgb(255, 255, 255), font(kPGothic, 11.25)));
  c.push_back(combo("Combo14", 2040, 4440, 855, 315, " 1", panel_numbers(), rgb(0, 0, 64), rgb(255, 255, 255),
                    font(kMincho, 9.75)));
  c.push_back(combo("Combo2", 1080, 5640, 855, 315, " 1", panel_numbers(), rgb(0, 0, 64), rgb(255, 255, 255),
                    font(kMincho, 9.75)));
  c.push_back(combo("Combo13", 2040, 5640, 855, 315, " 1", panel_numbers(), rgb(0, 0, 64), rgb(255, 255, 255),
                    font(kMincho, 9.75)));
  c.push_back(combo("Combo5", 3000, 5640, 855, 315, " 1", panel_numbers(), rgb(0, 0, 64), rgb(255, 255, 255),
                    font(kMincho, 9.75)));
  c.push_back(combo("Combo1", 2040, 6840, 855, 315, " 1", panel_numbers(), rgb(0, 0, 128), rgb(255, 255, 255),
                    font(kMincho, 9.75)));
  // Track condition for the place prediction, beside the favourites' inputs.
  c.push_back(combo("place_extra_box", 8310, 6900, 780, 300, "", {"良", "稍重", "重", "不良"}, rgb(0, 64, 0),
                    rgb(255, 255, 255), font(kPGothic, 9)));

  // Command buttons: the right-hand column, top to bottom, then the others.
  c.push_back(button("Form1", "Command3", 10440, 1680, 2520, 555, "馬単 EXACTA"));
  c.push_back(button("Form1", "Command8", 10440, 2520, 2520, 585, "３連単 TRIFECTA"));
  c.push_back(button("Form1", "Command6", 10440, 3480, 2520, 615, "鬼爆馬単"));
  c.push_back(button("Form1", "Command1", 10440, 4320, 2520, 675, "魔界3連単"));
  c.push_back(button("Form1", "Command2", 10440, 5160, 1815, 735, "使用方法"));
  c.push_back(button("Form1", "Command10", 10440, 6000, 1455, 735, "出力"));
  c.push_back(button("Form1", "Command5", 10440, 6840, 1455, 735, "THE END"));
  c.push_back(button("Form1", "Command4", 7560, 6240, 1815, 615, "上位設定決定"));
  c.push_back(button("Form1", "Command11", 720, 1260, 1215, 555, "複勝"));
  c.push_back(button("Form1", "Command12", 2040, 1260, 1215, 555, "枠連"));
  c.push_back(button("Form1", "Command13", 3360, 1260, 1215, 555, "マハラジャの教え"));
  c.push_back(button("Form1", "Command14", 1665, 3330, 1455, 465, "成績"));

  // Display controls.
  c.push_back(control("List1", Kind::List, 3720, 7560, 3975, 1770));
  c.push_back(control("Image1", Kind::Image, 4680, 1800, 5025, 2700, "3renbaken.bmp"));
  c.push_back(control("Image2", Kind::Image, 1560, 1920, 1650, 1350, "PIRUPIRUoff.bmp"));
  c.push_back(control("Image4", Kind::Image, 11880, 6120, 1335, 1335, "zelkiachikiyou.bmp"));
  c.push_back(control("Image3", Kind::Image, 10560, 840, 1320, 465, "quilo_badge.bmp"));
  c.push_back(control("Shape1", Kind::Shape, 720, 3840, 3855, 3615));
  c.push_back(control("Shape2", Kind::Shape, 10320, 480, 3015, 7215));
  c.push_back(control("Shape3", Kind::Shape, 4800, 5280, 4815, 2175));
  c.push_back(control("Shape4", Kind::Shape, 4560, 1080, 5295, 4095));

  // The mock betting ticket.
  const FontDesign mincho9 = font(kMincho, 9.0);
  const FontDesign mincho8 = font(kMincho, 8.25);
  c.push_back(ticket_text(0, 4800, 4080, 975, 255, "WINS立川", font(kPGothic, 9.0)));
  c.push_back(ticket_text(1, 4920, 2280, 735, 375, "函館", font(kPGothic, 15.75, true), Align::Center));
  c.push_back(label("Label1", 2, 5040, 2640, 360, 255, "11", rgb(0, 0, 0), rgb(255, 255, 255),
                    font(kMincho, 12.0, true), Align::Center));
  c.push_back(ticket_text(3, 4920, 2040, 1335, 255, "2000年01月01日", mincho9));
  c.push_back(ticket_text(4, 4800, 4320, 855, 255, "01月01日", mincho9));
  c.push_back(ticket_text(5, 6960, 4320, 1215, 195, "1234567890123", mincho9));
  c.push_back(ticket_text(6, 8280, 4320, 735, 195, "23072598", mincho9));
  c.push_back(ticket_text(7, 9120, 4320, 615, 195, "105426", mincho9));
  c.push_back(bet_cell(8, 6960, 2040, "1"));
  c.push_back(bet_cell(9, 7680, 2040, "13"));
  c.push_back(bet_cell(10, 6960, 2520, "12"));
  c.push_back(bet_cell(11, 6960, 3000, "12"));
  c.push_back(bet_cell(12, 6960, 3480, "12"));
  c.push_back(ticket_text(13, 7440, 2160, 255, 255, "◇", mincho9));
  c.push_back(ticket_text(14, 5640, 4320, 1215, 195, "1234567890123", mincho9));
  c.push_back(ticket_text(15, 7440, 2640, 255, 255, "◇", mincho9));
  c.push_back(ticket_text(16, 7440, 3120, 255, 255, "◇", mincho9));
  c.push_back(ticket_text(17, 7440, 3600, 255, 255, "◇", mincho9));
  c.push_back(bet_cell(18, 7680, 2520, "13"));
  c.push_back(bet_cell(19, 7680, 3000, "13"));
  c.push_back(bet_cell(20, 7680, 3480, "13"));
  c.push_back(ticket_text(21, 8160, 2220, 255, 135, "各", mincho8));
  c.push_back(ticket_text(22, 8160, 2700, 255, 135, "各", mincho8));
  c.push_back(ticket_text(23, 8160, 3180, 255, 135, "各", mincho8));
  c.push_back(ticket_text(24, 8160, 3660, 255, 135, "各", mincho8));
  c.push_back(ticket_text(25, 8320, 2160, 615, 135, "☆☆☆", mincho8));
  c.push_back(amount(26, 2100, "400"));
  c.push_back(ticket_text(27, 9360, 2160, 255, 135, "円", mincho8));
  c.push_back(ticket_text(28, 8320, 2640, 615, 135, "☆☆☆", mincho8));
  c.push_back(amount(29, 2580, "300"));
  c.push_back(ticket_text(30, 9360, 2640, 255, 135, "円", mincho8));
  c.push_back(ticket_text(31, 8325, 3120, 615, 135, "☆☆☆", mincho8));
  c.push_back(amount(32, 3060, "200"));
  c.push_back(ticket_text(33, 9360, 3120, 255, 135, "円", mincho8));
  c.push_back(ticket_text(34, 8325, 3600, 615, 135, "☆☆☆", mincho8));
  c.push_back(amount(35, 3540, "100"));
  c.push_back(ticket_text(36, 9360, 3600, 255, 135, "円", mincho8));
  for (int i = 0; i < 4; ++i) c.push_back(bet_cell(37 + i, 7440, 2040 + 480 * i, "13"));
  for (int i = 0; i < 4; ++i) c.push_back(bet_cell(41 + i, 7920, 2040 + 480 * i, "13"));
  c.push_back(label("Label14", -1, 6240, 4155, 3375, 165, "合計★★★１００枚★★★１,０００円", none(), none(),
                    font(kGothic, 9.0), Align::Center));
  c.push_back(step_marker(0, 4200, 3960, "②"));
  c.push_back(step_marker(1, 9120, 6999, "①"));
  c.push_back(step_marker(2, 12600, 560, "③"));
  c.push_back(marker(0, 7320, 2160, 135));
  c.push_back(marker(1, 7320, 2640, 135));
  c.push_back(marker(2, 7320, 3120, 135));
  c.push_back(marker(3, 7320, 3600, 255));
  c.push_back(marker(4, 7800, 3600, 255));
  c.push_back(marker(5, 7800, 3120, 135));
  c.push_back(marker(6, 7800, 2640, 135));
  c.push_back(marker(7, 7800, 2160, 135));
  // The diagnostic column: rows 0..7 from top 3480, 8..15 from top 240.
  for (int i = 0; i < 8; ++i) c.push_back(diagnostic(i, 3480 + 360 * i));
  for (int i = 8; i < 16; ++i) c.push_back(diagnostic(i, 240 + 360 * (i - 8)));

  // Captions of the inputs.
  c.push_back(caption5(0, 1080, 6480, 2895, "3人気馬番", rgb(0, 0, 0), rgb(255, 255, 0), 9.75));
  c.push_back(caption5(1, 4920, 6960, 1455, "2番人気倍率", rgb(0, 0, 255), rgb(255, 255, 128), 11.25));
  c.push_back(caption5(2, 4920, 6360, 1455, "1番人気倍率", rgb(0, 0, 128), rgb(255, 255, 255), 11.25));
  c.push_back(caption5(3, 4920, 6720, 1455, "2番人気馬番", rgb(0, 255, 255), rgb(0, 0, 0), 11.25));
  c.push_back(caption5(6, 4920, 6120, 1455, "1番人気馬番", rgb(128, 255, 128), rgb(0, 0, 0), 11.25));
  c.push_back(caption5(7, 1080, 4080, 2895, "1人気馬番", rgb(0, 0, 0), rgb(255, 255, 255), 9.75));
  c.push_back(caption5(10, 1080, 5280, 2895, "2～6人気馬番", rgb(0, 0, 0), rgb(192, 192, 0), 9.75));
  // Caption of the track-condition box.
  ControlDesign track = caption5(4, 7560, 6930, 735, "馬場状態", rgb(0, 0, 0), rgb(255, 255, 255), 9.0);
  track.height = 240;
  c.push_back(track);
  c.push_back(label("Label7", -1, 5400, 2640, 615, 255, "レース", none(), none(), font(kPMincho, 9.75)));

  // A band struck through a ticket row whose bet cannot be bought, over its
  // cells; shown by the prediction that drew such a bet.
  for (int row = 0; row < 4; ++row) {
    ControlDesign mark = label("unbuyable_mark", row, 6900, 2040 + 480 * row + 105, 2580, 165, "購入不可",
                               rgb(200, 0, 0), rgb(255, 255, 255), font(kPGothic, 8.25, true), Align::Center);
    mark.initially_visible = false;
    c.push_back(mark);
  }

  // The result card over the ticket: what the place, bracket and teaching
  // commands found, one result line per caption line. Last, so it lies on top.
  ControlDesign card = label("result_card", -1, 4800, 1920, 4815, 2460, QString(), rgb(16, 20, 56),
                             rgb(255, 255, 255), font(kPGothic, 11.25, true), Align::Center, true);
  card.kind = Kind::Card;
  card.initially_visible = false;
  c.push_back(card);
  return f;
}

FormDesign form2_design() {
  FormDesign f;
  f.name = QStringLiteral("Form2");
  f.caption = QStringLiteral("翠甲星帝スクリーン説明");
  // Wide enough for the whole 680-pixel explanation picture.
  f.client_width = 10200;
  f.client_height = 9000;
  f.left = 400;
  f.top = 900;
  f.default_font = font(kGothic, 9.75);
  f.background = QStringLiteral("setsumei.bmp");
  f.escape_button = QStringLiteral("Command2");
  f.controls.push_back(button("Form2", "Command2", 8280, 7920, 1575, 735, "戻る"));
  return f;
}

FormDesign form3_design() {
  FormDesign f;
  f.name = QStringLiteral("Form3");
  f.caption = QStringLiteral("出力画面");
  f.client_width = 7095;
  f.client_height = 8685;
  f.left = 400;
  f.top = 900;
  f.back = rgb(128, 255, 255);
  f.default_font = font(kGothic, 9.75);
  f.background = QStringLiteral("shutsuryoku_back.jpg");
  f.escape_button = QStringLiteral("Command2");
  auto& c = f.controls;
  c.push_back(control("Drive1", Kind::DriveList, 360, 600, 3015, 300));
  c.push_back(control("Dir1", Kind::DirList, 360, 1080, 3015, 2610));
  c.push_back(control("File1", Kind::FileList, 360, 3960, 3015, 2610));
  c.push_back(text_box("Text1", 360, 6840, 3015, 270, "Text1", none(), none(), default_font()));
  ControlDesign o1 = button("Form3", "Option1", 4440, 1080, 2295, 735, "ファイル出力");
  o1.kind = Kind::Option;
  ControlDesign o2 = button("Form3", "Option2", 4440, 2160, 2415, 735, "ファイル&印刷");
  o2.kind = Kind::Option;
  // Prints only the entries this session appended to the file.
  ControlDesign o3 = button("Form3", "Option3", 4440, 3240, 2415, 735, "今回分を印刷");
  o3.kind = Kind::Option;
  c.push_back(o1);
  c.push_back(o2);
  c.push_back(o3);
  c.push_back(button("Form3", "Command1", 840, 7560, 1695, 735, "出力実行"));
  c.push_back(button("Form3", "Command2", 5160, 7560, 1575, 735, "戻る"));
  return f;
}

namespace {

// Places in Form4 are laid out in pixels and kept in twips like the others.
constexpr int px(int pixels) { return pixels * 15; }

ControlDesign caption4(int index, int left, int top, int width, const QString& caption) {
  return label(QStringLiteral("Label1"), index, px(left), px(top), px(width), px(18), caption, none(),
               rgb(230, 236, 255), font(kPGothic, 9.75));
}

ControlDesign heading4(int index, int left, int top, int width, const QString& caption) {
  return label(QStringLiteral("Label1"), index, px(left), px(top), px(width), px(18), caption, none(),
               rgb(255, 224, 96), font(kPGothic, 9.75, true));
}

ControlDesign entry4(const QString& name, int left, int top, int width) {
  return text_box(name, px(left), px(top), px(width), px(24), QString(), rgb(255, 255, 255), rgb(0, 0, 0),
                  font(kGothic, 10.5));
}

ControlDesign table4(const QString& name, int left, int top, int width, int height, QStringList columns) {
  ControlDesign c = control(name, Kind::Table, px(left), px(top), px(width), px(height));
  c.items = std::move(columns);
  c.font = font(kPGothic, 9.0);
  return c;
}

// The columns of a table of figures; the first names its group.
QStringList summary_columns(const QString& group) {
  return {group,  "レース", "的中R", "R的中率", "点数",     "的中",    "的中率",
          "返還", "投資",   "回収",  "回収率",  "平均配当", "最高配当"};
}

ControlDesign choice4(const QString& name, int left, int top, int width, const QStringList& items) {
  // A choice among its entries: nothing to type.
  ControlDesign c = combo(name, px(left), px(top), px(width), px(24), items.front(), items,
                          rgb(255, 255, 255), rgb(0, 0, 0), font(kPGothic, 9.75));
  c.typable = false;
  return c;
}

}  // namespace

FormDesign form4_design() {
  FormDesign f;
  f.name = QStringLiteral("Form4");
  f.caption = QStringLiteral("成績");
  f.client_width = px(1200);
  f.client_height = px(704);
  f.left = 300;
  f.top = 600;
  f.back = rgb(20, 24, 60);
  f.default_font = font(kPGothic, 9.75);
  f.escape_button = QStringLiteral("Command4");
  auto& c = f.controls;

  // The recorded races, newest first, and the runs and bets of the one picked.
  c.push_back(heading4(0, 8, 6, 300, "記録したレース（新しい順）"));
  c.push_back(caption4(20, 316, 6, 284, ""));
  c.push_back(
      table4("Grid1", 8, 26, 592, 170, {"日付", "競馬場", "レース", "頭数", "予想", "着順", "的中", "払戻"}));
  c.push_back(heading4(1, 8, 204, 592, "選んだレースの予想と買い目（行を選ぶとその予想を選びます）"));
  c.push_back(table4("Grid2", 8, 224, 592, 160,
                     {"記録日時", "予想", "チャンス", "購入", "券種", "買い目", "金額", "結果", "払戻"}));
  c.push_back(caption4(3, 8, 396, 84, "1点の購入額"));
  c.push_back(entry4("Text15", 94, 392, 90));
  c.push_back(caption4(4, 188, 396, 20, "円"));
  c.push_back(button("Form4", "Command6", px(214), px(390), px(110), px(30), "購入"));
  c.push_back(button("Form4", "Command7", px(330), px(390), px(110), px(30), "購入取消"));
  c.push_back(button("Form4", "Command8", px(490), px(390), px(110), px(30), "予想を削除"));

  // The official result of the picked race, as its payout table lists it.
  c.push_back(heading4(2, 8, 430, 592, "レース結果（公式の払戻表のとおり。払戻金は100円あたり）"));
  c.push_back(caption4(5, 8, 460, 36, "頭数"));
  c.push_back(entry4("Text4", 44, 456, 44));
  c.push_back(caption4(6, 96, 460, 74, "取消・除外"));
  c.push_back(entry4("Text5", 170, 456, 100));
  c.push_back(caption4(7, 280, 460, 30, "1着"));
  c.push_back(entry4("Text1", 310, 456, 70));
  c.push_back(caption4(8, 386, 460, 30, "2着"));
  c.push_back(entry4("Text2", 416, 456, 70));
  c.push_back(caption4(9, 492, 460, 30, "3着"));
  c.push_back(entry4("Text3", 522, 456, 78));
  c.push_back(caption4(10, 8, 490, 40, "馬単"));
  c.push_back(entry4("Text6", 50, 486, 246));
  c.push_back(caption4(11, 304, 490, 48, "３連単"));
  c.push_back(entry4("Text7", 354, 486, 246));
  c.push_back(caption4(12, 8, 520, 40, "枠連"));
  c.push_back(entry4("Text8", 50, 516, 246));
  c.push_back(caption4(13, 304, 520, 48, "複勝"));
  c.push_back(entry4("Text9", 354, 516, 246));
  c.push_back(caption4(21, 8, 546, 592,
                       "同着は同じ着に「5 2」、払戻は「5-2 1230」（複数は / で区切る）、特払い、発売なし"));
  c.push_back(button("Form4", "Command1", px(8), px(572), px(150), px(36), "結果を保存"));
  c.push_back(button("Form4", "Command2", px(166), px(572), px(150), px(36), "結果を削除"));
  c.push_back(caption4(19, 326, 581, 274, ""));

  // The figures: the ledger, all time by bet type, a period by a grouping,
  // the streaks, and the balance over time.
  c.push_back(heading4(14, 612, 6, 150, "全期間の成績"));
  c.push_back(choice4("Combo2", 770, 2, 130, {"予想成績", "収支"}));
  c.push_back(caption4(22, 908, 6, 284, ""));
  c.push_back(table4("Grid3", 612, 30, 580, 128, summary_columns("券種")));
  c.push_back(caption4(15, 612, 170, 40, "期間"));
  // Enter in either end of the period sums it, as 集計 does.
  ControlDesign from = entry4("Text12", 654, 166, 100), to = entry4("Text13", 778, 166, 100);
  from.enter_button = to.enter_button = QStringLiteral("Command5");
  c.push_back(from);
  c.push_back(caption4(16, 760, 170, 16, "～"));
  c.push_back(to);
  c.push_back(choice4("Combo3", 886, 166, 100, {"券種別", "月別", "年別", "競馬場別", "チャンス別"}));
  c.push_back(button("Form4", "Command5", px(1092), px(162), px(100), px(30), "集計"));
  c.push_back(table4("Grid4", 612, 198, 580, 168, summary_columns("券種")));
  c.push_back(caption4(18, 612, 372, 580, ""));
  c.push_back(caption4(23, 612, 392, 580, ""));
  c.push_back(heading4(17, 612, 418, 90, "収支の推移"));
  c.push_back(choice4("Combo1", 704, 414, 130, {"全体", "券種別"}));
  c.push_back(control("Chart1", Kind::Chart, px(612), px(442), px(580), px(200)));

  // Export of the records and results.
  c.push_back(caption4(24, 8, 664, 80, "CSVファイル"));
  c.push_back(entry4("Text14", 90, 660, 334));
  c.push_back(button("Form4", "Command9", px(430), px(657), px(84), px(30), "参照…"));
  ControlDesign o1 = button("Form4", "Option1", px(520), px(654), px(120), px(40), "Windows-31J");
  o1.kind = Kind::Option;
  ControlDesign o2 = button("Form4", "Option2", px(646), px(654), px(120), px(40), "UTF-8");
  o2.kind = Kind::Option;
  c.push_back(o1);
  c.push_back(o2);
  c.push_back(button("Form4", "Command3", px(772), px(654), px(110), px(40), "CSV出力"));
  c.push_back(button("Form4", "Command4", px(1092), px(654), px(100), px(40), "戻る"));
  return f;
}

std::vector<FormDesign> all_form_designs() {
  return {form1_design(), form2_design(), form3_design(), form4_design()};
}

}  // namespace quilo
