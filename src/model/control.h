// Plain values for the controls of a window: what each control is (its
// design: name, kind, place, font, colours) and what it holds at run time.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace quilo {

enum class Kind {
  Combo,  // editable text with a drop-down list
  Text,   // single-line text box
  Label,
  Image,   // picture control
  Shape,   // rectangle frame
  List,    // list box (line store)
  Button,  // picture button
  Option,  // option button shown as a picture
  DriveList,
  DirList,
  FileList,
  Card,   // a panel of text lines laid over other controls
  Table,  // rows of cells under column headings; a row can be picked
  Chart,  // lines of values over dates
};

struct Rgb {
  int r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
  QString hex() const;  // "#RRGGBB"
  // A colour value written as &HBBGGRR.
  static Rgb from_bgr(std::uint32_t bgr) {
    return {int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)};
  }
};

// A colour as the window design gives it: none (transparent or default),
// an RGB triple, or a platform colour by number (5 window, 8 window text).
struct ColorDesign {
  enum class Type { None, Rgb, System } type = Type::None;
  Rgb rgb{};
  int system = 0;

  static ColorDesign none() { return {}; }
  static ColorDesign of(int r, int g, int b) { return {Type::Rgb, {r, g, b}, 0}; }
  static ColorDesign sys(int n) { return {Type::System, {}, n}; }
};

struct FontDesign {
  QString family;  // empty: the window's default font
  double points = 0;
  bool bold = false;
};

enum class Align { Left, Center };

// The design of one control, as the window definition gives it.
struct ControlDesign {
  QString name;
  int index = -1;  // member index for control arrays, -1 otherwise
  Kind kind = Kind::Label;
  int left = 0, top = 0, width = 0, height = 0;  // twips
  QString text;                                  // caption or initial text
  QStringList items;                             // list entries of a combo; column headings of a table
  ColorDesign back, fore;
  FontDesign font;
  Align align = Align::Left;
  bool border = false;
  QString picture;  // initial picture file (images, picture buttons)
  bool initially_visible = true;
  QString enter_button;  // text boxes: the button that Enter in the box presses (empty: none)
  bool typable = true;   // combos: false when only the entries of the list can be picked

  QString key() const { return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index); }
};

// One line of a chart: a value on each of its dates.
struct ChartSeries {
  QString name;
  bool bars = false;  // drawn as a bar a day (a day's change) rather than a line
  std::vector<std::pair<QDate, double>> points;
  friend bool operator==(const ChartSeries&, const ChartSeries&) = default;
};

// A control at run time: its design plus the values behaviour reads and writes.
struct Control {
  ControlDesign design;

  QString text;                     // text of a combo or text box, caption of a label
  int selected = -1;                // selected list entry of a combo or row of a table, -1 for none
  QStringList items;                // list entries (combos, file lists)
  QStringList lines;                // lines of a list box
  std::vector<QStringList> rows;    // rows of a table, one text per column
  std::vector<ChartSeries> series;  // lines of a chart
  bool visible = true;
  bool checked = false;     // option buttons
  QString picture;          // images and picture buttons: file name in GF
  std::optional<Rgb> back;  // colours set at run time
  std::optional<Rgb> fore;

  explicit Control(ControlDesign s);
  QString key() const { return design.key(); }
};

// Twips to pixels at 96 dots per inch.
constexpr int twips_to_px(int twips) { return twips / 15; }

}  // namespace quilo
