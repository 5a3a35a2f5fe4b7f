// Making and refreshing the widgets of a window from its form, and the
// window's own events.
#include "gui/form_view.h"

#include "gui/accessible_combo.h"
#include "gui/folder_widgets.h"
#include "gui/painted_widgets.h"
#include "gui/picture_button.h"
#include "gui/picture_cache.h"
#include "gui/table_widgets.h"
#include "model/accessible_texts.h"
#include "model/window_design.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <optional>
#include <stdexcept>

namespace quilo {
namespace {

QColor to_qcolor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

// The platform colours the window design refers to by number.
std::optional<QColor> resolve(const ColorDesign& design) {
  switch (design.type) {
    case ColorDesign::Type::Rgb:
      return to_qcolor(design.rgb);
    case ColorDesign::Type::System:
      return design.system == 8 ? QColor(Qt::black) : QColor(Qt::white);
    case ColorDesign::Type::None:
      break;
  }
  return std::nullopt;
}

// The design's colours on a widget's palette roles.
void apply_colours(QWidget* w, const ControlDesign& design, QPalette::ColorRole back_role,
                   QPalette::ColorRole fore_role) {
  QPalette pal = w->palette();
  if (auto b = resolve(design.back)) pal.setColor(back_role, *b);
  if (auto f = resolve(design.fore)) pal.setColor(fore_role, *f);
  w->setPalette(pal);
}

// Colours set at run time, over the design's.
void apply_runtime_colours(QWidget* w, const Control& c, QPalette::ColorRole back_role,
                           QPalette::ColorRole fore_role) {
  if (!c.back && !c.fore) return;
  QPalette pal = w->palette();
  if (c.back) pal.setColor(back_role, to_qcolor(*c.back));
  if (c.fore) pal.setColor(fore_role, to_qcolor(*c.fore));
  w->setPalette(pal);
}

void show_lines(QListWidget* lw, const QStringList& want) {
  QStringList have;
  for (int i = 0; i < lw->count(); ++i) have << lw->item(i)->text();
  if (have == want) return;
  const QSignalBlocker block(lw);
  lw->clear();
  lw->addItems(want);
}

// ---- Making the widgets --------------------------------------------------------------

QWidget* make_combo(FormView& v, Control& c) {
  auto* cb = new QComboBox(&v);
  // Font and colours first: the line edit made next inherits them.
  v.apply_font(cb, c.design);
  apply_colours(cb, c.design, QPalette::Base, QPalette::Text);
  cb->setEditable(c.design.typable);
  cb->addItems(c.items);
  cb->setMaxVisibleItems(12);
  if (c.design.typable) {
    apply_colours(cb->lineEdit(), c.design, QPalette::Base, QPalette::Text);
    cb->setInsertPolicy(QComboBox::NoInsert);
    cb->setCompleter(nullptr);
    // Qt picks the entry that matches the typed text when the box loses the
    // focus or Enter is pressed; here a typed text stays typed, as the user
    // left it (nothing picked), and only a pick from the list picks.
    QObject::disconnect(cb->lineEdit(), &QLineEdit::editingFinished, cb, nullptr);
    QObject::disconnect(cb->lineEdit(), &QLineEdit::returnPressed, cb, nullptr);
    QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, &v, [&c](const QString& t) {
      c.text = t;
      c.selected = -1;
    });
  }
  QObject::connect(cb, &QComboBox::activated, &v, [&v, &c, cb](int i) {
    c.selected = i;
    c.text = cb->itemText(i);
    // A window that follows its combos is told of the pick.
    if (v.pick) v.entry_picked(c.key(), i);
  });
  return cb;
}

QWidget* make_text(FormView& v, Control& c) {
  auto* le = new QLineEdit(&v);
  v.apply_font(le, c.design);
  apply_colours(le, c.design, QPalette::Base, QPalette::Text);
  QObject::connect(le, &QLineEdit::textEdited, &v, [&c](const QString& t) { c.text = t; });
  if (!c.design.enter_button.isEmpty())
    QObject::connect(le, &QLineEdit::returnPressed, &v,
                     [&v, key = c.design.enter_button] { v.press_button(key); });
  return le;
}

QWidget* make_label(FormView& v, Control& c) {
  const ControlDesign& design = c.design;
  auto* lb = design.border ? new BoxedLabel(&v) : new QLabel(&v);
  lb->setTextFormat(Qt::PlainText);
  v.apply_font(lb, design);
  lb->setAlignment((design.align == Align::Center ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
  lb->setAttribute(Qt::WA_TransparentForMouseEvents);
  // Labels with a colour of their own are opaque; ticket cells, which the
  // design gives the window colour, stay transparent over the ticket face.
  lb->setAutoFillBackground(design.back.type == ColorDesign::Type::Rgb);
  apply_colours(lb, design, QPalette::Window, QPalette::WindowText);
  return lb;
}

QWidget* make_card(FormView& v, Control& c) {
  auto* card = new ResultCard(&v);
  card->setTextFormat(Qt::PlainText);
  v.apply_font(card, c.design);
  card->setAttribute(Qt::WA_TransparentForMouseEvents);
  apply_colours(card, c.design, QPalette::Window, QPalette::WindowText);
  return card;
}

QWidget* make_image(FormView& v, Control&) {
  auto* im = new QLabel(&v);
  im->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  im->setAttribute(Qt::WA_TransparentForMouseEvents);
  return im;
}

QWidget* make_shape(FormView& v, Control&) {
  auto* sh = new ShapeFrame(&v);
  sh->setAttribute(Qt::WA_TransparentForMouseEvents);
  return sh;
}

QWidget* make_list(FormView& v, Control& c) {
  auto* lw = new QListWidget(&v);
  v.apply_font(lw, c.design);
  return lw;
}

QWidget* make_button(FormView& v, Control& c) {
  auto* b = new PictureButton(v.pictures(), c, &v);
  b->setText(c.design.text);
  b->setToolTip(c.design.text);
  QObject::connect(b, &QAbstractButton::clicked, &v, [&v, key = c.key(), b] { v.button_pressed(key, b); });
  b->on_approach = [&v, key = c.key()] {
    if (v.approach) v.approach(key);
  };
  b->on_depart = [&v, key = c.key()] {
    if (v.depart) v.depart(key);
  };
  return b;
}

QWidget* make_drive_list(FormView& v, Control& c) {
  auto* cb = new QComboBox(&v);
  v.apply_font(cb, c.design);
  QObject::connect(cb, &QComboBox::activated, &v, [&v, key = c.key()](int i) { v.entry_picked(key, i); });
  return cb;
}

QWidget* make_folder_list(FormView& v, Control& c) {
  auto* fl = new FolderList(&v);
  v.apply_font(fl, c.design);
  QObject::connect(fl, &FolderList::entry_activated, &v,
                   [&v, key = c.key()](int row) { v.entry_picked(key, row); });
  return fl;
}

QWidget* make_file_list(FormView& v, Control& c) {
  auto* lw = new QListWidget(&v);
  v.apply_font(lw, c.design);
  // A click puts the name into the file-name box, also when the clicked
  // file is the one already picked; arrow keys pick as well.
  auto pick_row = [&v, key = c.key()](int row) {
    if (row >= 0) v.entry_picked(key, row);
  };
  QObject::connect(lw, &QListWidget::currentRowChanged, &v, pick_row);
  QObject::connect(lw, &QListWidget::itemClicked, &v,
                   [lw, pick_row](QListWidgetItem* item) { pick_row(lw->row(item)); });
  return lw;
}

QWidget* make_table(FormView& v, Control& c) {
  auto* table = new RowsTable(&v);
  v.apply_font(table, c.design);
  // A click or the arrow keys pick a row; picking it again changes nothing.
  QObject::connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, &v,
                   [&v, key = c.key()](const QModelIndex& now) {
                     if (now.isValid()) v.entry_picked(key, now.row());
                   });
  return table;
}

QWidget* make_chart(FormView& v, Control&) { return new SeriesChart(&v); }

// ---- Following the model -------------------------------------------------------------

void refresh_combo(FormView&, Control& c, QWidget* w) {
  auto* cb = static_cast<QComboBox*>(w);
  const QSignalBlocker block(cb);
  // A list that grew (the years, at start-up) gets its new entries.
  for (int i = cb->count(); i < c.items.size(); ++i) cb->addItem(c.items[i]);
  if (cb->currentIndex() != c.selected) cb->setCurrentIndex(c.selected);
  if (cb->currentText() != c.text) cb->setEditText(c.text);
}

void refresh_text(FormView&, Control& c, QWidget* w) {
  auto* le = static_cast<QLineEdit*>(w);
  if (le->text() == c.text) return;
  const QSignalBlocker block(le);
  le->setText(c.text);
}

void refresh_label(FormView&, Control& c, QWidget* w) {
  auto* lb = static_cast<QLabel*>(w);
  // The accessible name says what the label is; its caption, which a screen
  // reader would otherwise read as the name, goes with it.
  if (lb->text() != c.text) {
    lb->setText(c.text);
    lb->setAccessibleDescription(c.text);
  }
  apply_runtime_colours(lb, c, QPalette::Window, QPalette::WindowText);
}

void refresh_card(FormView&, Control& c, QWidget* w) {
  auto* card = static_cast<QLabel*>(w);
  if (card->text() == c.text) return;
  card->setText(c.text);
  card->setAccessibleDescription(c.text);
  // A result that appears is announced, as a screen reader does an alert.
  if (!c.text.isEmpty() && c.visible) {
    QAccessibleEvent shown(card, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
  }
}

void refresh_image(FormView& v, Control& c, QWidget* w) {
  auto* im = static_cast<QLabel*>(w);
  if (im->property("picture").toString() == c.picture) return;
  im->setProperty("picture", c.picture);
  im->setPixmap(v.pictures().get(c.picture));
}

void refresh_list(FormView&, Control& c, QWidget* w) {
  auto* lw = static_cast<QListWidget*>(w);
  show_lines(lw, c.lines);
  apply_runtime_colours(lw, c, QPalette::Base, QPalette::Text);
}

void refresh_button(FormView& v, Control& c, QWidget* w) {
  auto* b = static_cast<PictureButton*>(w);
  const bool enabled = v.button_allowed(c.key(), b);
  if (b->isEnabled() != enabled) b->setEnabled(enabled);
  if (c.design.kind == Kind::Option) b->set_latched(c.checked);
}

void refresh_drive_list(FormView&, Control& c, QWidget* w) {
  auto* cb = static_cast<QComboBox*>(w);
  const QSignalBlocker block(cb);
  QStringList have;
  for (int i = 0; i < cb->count(); ++i) have << cb->itemText(i);
  if (have != c.items) {
    cb->clear();
    cb->addItems(c.items);
  }
  if (cb->currentIndex() != c.selected) cb->setCurrentIndex(c.selected);
}

void refresh_folder_list(FormView&, Control& c, QWidget* w) {
  static_cast<FolderList*>(w)->show_folder(c.text, c.items);
}

void refresh_file_list(FormView&, Control& c, QWidget* w) {
  auto* lw = static_cast<QListWidget*>(w);
  show_lines(lw, c.items);
  if (lw->currentRow() != c.selected) {
    const QSignalBlocker block(lw);
    lw->setCurrentRow(c.selected);
  }
}

void refresh_table(FormView&, Control& c, QWidget* w) {
  auto* table = static_cast<RowsTable*>(w);
  {
    const QSignalBlocker block(table->selectionModel());
    table->show_rows(c.items, c.rows);
  }
  table->show_picked(c.selected);
}

void refresh_chart(FormView&, Control& c, QWidget* w) {
  static_cast<SeriesChart*>(w)->show_series(c.series);
  w->setAccessibleDescription(chart_in_words(c.series));
}

// One row per kind of control: the widget it gets, how that widget follows
// the model, and the layer it lies in (pictures and frames lowest, labels
// over them, windowed controls on top).
struct KindView {
  Kind kind;
  QWidget* (*make)(FormView&, Control&);
  void (*refresh)(FormView&, Control&, QWidget*);  // nullptr: nothing changes
  int layer;
};

const KindView& kind_view(Kind kind) {
  static const KindView kViews[] = {
      {Kind::Image, make_image, refresh_image, 0},
      {Kind::Shape, make_shape, nullptr, 0},
      {Kind::Label, make_label, refresh_label, 1},
      {Kind::Card, make_card, refresh_card, 1},
      {Kind::Combo, make_combo, refresh_combo, 2},
      {Kind::Text, make_text, refresh_text, 2},
      {Kind::List, make_list, refresh_list, 2},
      {Kind::Button, make_button, refresh_button, 2},
      {Kind::Option, make_button, refresh_button, 2},
      {Kind::DriveList, make_drive_list, refresh_drive_list, 2},
      {Kind::DirList, make_folder_list, refresh_folder_list, 2},
      {Kind::FileList, make_file_list, refresh_file_list, 2},
      {Kind::Table, make_table, refresh_table, 2},
      {Kind::Chart, make_chart, refresh_chart, 2},
  };
  for (const auto& row : kViews)
    if (row.kind == kind) return row;
  throw std::logic_error("a kind of control without a view");
}

}  // namespace

void install_font_substitutions() {
  QFont::insertSubstitutions(design_fonts::kGothic, {QStringLiteral("IPAGothic")});
  QFont::insertSubstitutions(design_fonts::kPGothic, {QStringLiteral("IPAPGothic")});
  QFont::insertSubstitutions(design_fonts::kMincho, {QStringLiteral("IPAMincho")});
  QFont::insertSubstitutions(design_fonts::kPMincho, {QStringLiteral("IPAPMincho")});
  // A serif whose narrow bold digits leave two-digit numbers room in the bet cells.
  QFont::insertSubstitutions(design_fonts::kSylfaen,
                             {QStringLiteral("Liberation Serif"), QStringLiteral("IPAMincho")});
}

FormView::FormView(Form& form, PictureCache& pictures) : QWidget(nullptr), form_(form), pictures_(pictures) {
  install_accessible_combo();
  setObjectName(form.name());
  setAccessibleName(accessible_text(form.name(), {}).name);
  setWindowTitle(form.design().caption);
  setFixedSize(twips_to_px(form.design().client_width), twips_to_px(form.design().client_height));
  setAttribute(Qt::WA_DeleteOnClose, false);
  // Controls inherit the form's font; only those with another font set their own,
  // so that no text is laid out twice at the start.
  setFont(font_for(form.design().default_font));

  for (int layer = 0; layer < 3; ++layer) {
    for (Control& c : form_.controls()) {
      const KindView& view = kind_view(c.design.kind);
      if (view.layer != layer) continue;
      QWidget* w = view.make(*this, c);
      // The key stays the object name (tests and automation find controls by
      // it); a screen reader gets the Japanese name and what the control does.
      w->setObjectName(c.key());
      const AccessibleText spoken = accessible_text(form.name(), c.key());
      w->setAccessibleName(spoken.name);
      if (!spoken.description.isEmpty()) w->setAccessibleDescription(spoken.description);
      // The text field inside an editable combo is what a screen reader lands
      // on: it carries the same name, not only its value.
      if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit())
        cb->lineEdit()->setAccessibleName(spoken.name);
      w->setGeometry(twips_to_px(c.design.left), twips_to_px(c.design.top), twips_to_px(c.design.width),
                     twips_to_px(c.design.height));
      widgets_.insert(c.key(), w);
    }
  }
  // Each caption labels its input for a screen reader.
  for (const auto& [caption, input] : captioned_inputs(form.name()))
    if (auto* label = qobject_cast<QLabel*>(widgets_.value(caption)))
      if (QWidget* target = widgets_.value(input)) label->setBuddy(target);
  refresh();
}

QFont FormView::font_for(const FontDesign& f) const {
  QFont font(f.family);
  font.setPixelSize(std::max(1, int(std::lround(f.points * 96.0 / 72.0))));
  font.setBold(f.bold);
  return font;
}

void FormView::apply_font(QWidget* w, const ControlDesign& design) const {
  if (design.font.family.isEmpty()) return;
  const QFont f = font_for(design.font);
  if (f != font()) w->setFont(f);
}

void FormView::entry_picked(const QString& key, int index) {
  if (pick) pick(key, index);
  if (after_command) after_command();
}

void FormView::button_pressed(const QString& key, QWidget* button) {
  if (press) press(key);
  if (after_command) after_command();
  // The keyboard focus goes back to the button that ran the command, so that
  // Space or Enter runs it again.
  if (form_.open && button->isEnabled()) button->setFocus(Qt::OtherFocusReason);
}

bool FormView::button_allowed(const QString& key, QWidget* button) {
  const bool enabled = !form_.open || (button_enabled && button_enabled(key));
  // A disabled button would hand the focus on to the next button that still
  // works (THE END, while a command runs); the window keeps it.
  if (!enabled && button->isEnabled() && focusWidget() == button) setFocus(Qt::OtherFocusReason);
  return enabled;
}

QSet<QString> FormView::shown_pictures() const {
  QSet<QString> files;
  if (!form_.background.isEmpty()) files << form_.background;
  for (const Control& c : form_.controls()) {
    if (c.picture.isEmpty()) continue;
    if (c.design.kind == Kind::Image) files << c.picture;
    if (c.design.kind == Kind::Button || c.design.kind == Kind::Option)
      files << c.picture << pressed_picture(c.picture);
  }
  return files;
}

void FormView::refresh() {
  for (Control& c : form_.controls()) {
    QWidget* w = widgets_.value(c.key());
    if (!w) continue;
    if (w->isVisibleTo(this) != c.visible) w->setVisible(c.visible);
    if (const auto refresh_kind = kind_view(c.design.kind).refresh) refresh_kind(*this, c, w);
  }
  if (shown_background_ != form_.background) {
    shown_background_ = form_.background;
    update();
  }
}

// ---- Window events -------------------------------------------------------------------

void FormView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (auto back = resolve(form_.design().back))
    p.fillRect(rect(), *back);
  else
    p.fillRect(rect(), QColor(16, 16, 32));
  const QPixmap pm = pictures_.get(form_.background);
  if (!pm.isNull()) p.drawPixmap(0, 0, pm);
  if (on_painted) on_painted();
  if (!painted_) {
    painted_ = true;
    if (on_first_paint) on_first_paint();
  }
}

bool FormView::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && on_activated) on_activated();
  return QWidget::event(e);
}

void FormView::closeEvent(QCloseEvent* e) {
  if (form_.open && on_closed) on_closed();
  e->accept();
}

void FormView::press_button(const QString& key) {
  if (auto* b = qobject_cast<QAbstractButton*>(widgets_.value(key)); b && b->isEnabled()) b->click();
}

void FormView::keyPressEvent(QKeyEvent* e) {
  if (e->key() != Qt::Key_Escape) return QWidget::keyPressEvent(e);
  e->accept();
  // Esc presses the window's back button, or skips the running staging.
  const QString& back = form_.design().escape_button;
  if (auto* b = qobject_cast<QAbstractButton*>(widgets_.value(back))) {
    if (b->isEnabled()) b->click();
  } else if (on_skip) {
    on_skip();
  }
}

void FormView::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && form_.design().escape_button.isEmpty() && on_skip) on_skip();
  QWidget::mousePressEvent(e);
}

}  // namespace quilo
