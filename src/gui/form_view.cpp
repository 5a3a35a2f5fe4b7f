#include "gui/form_view.h"

#include "app/app.h"
#include "gui/folder_widgets.h"
#include "gui/frame_trace.h"
#include "gui/picture_cache.h"
#include "model/accessible_texts.h"
#include "model/window_design.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTimer>

#include <cmath>

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

QString pressed_picture(const QString& file) {
  const QFileInfo info(file);
  return info.completeBaseName() + QStringLiteral("_down.") + info.suffix();
}

// A rectangle frame drawn over the background.
class ShapeFrame : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(QPen(QColor(200, 160, 64), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
};

// A bordered label (the ticket's bet cells) draws its box a little inside its
// place, so that the ◆ markers between neighbouring cells stay clear of it.
class BoxedLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* e) override {
    QLabel::paintEvent(e);
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(2, 1, -3, -2));
  }
};

// The result card: a dark panel with a gold frame over the ticket; its first
// line is the heading, the others are centred below it and wrap to the panel.
class ResultCard : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor base = palette().color(QPalette::Window);
    const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
    QLinearGradient fill(outer.topLeft(), outer.bottomLeft());
    fill.setColorAt(0, base.lighter(170));
    fill.setColorAt(1, base);
    p.setPen(QPen(QColor(214, 176, 84), 2));
    p.setBrush(fill);
    p.drawRoundedRect(outer, 9, 9);
    p.setPen(QPen(QColor(255, 230, 150, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(outer.adjusted(4, 4, -4, -4), 6, 6);

    // Result lines carry blanks for the file's layout; centred, they would
    // only push the text aside.
    QStringList lines = text().split(QLatin1Char('\n'));
    for (QString& line : lines) line = line.trimmed();
    const QString heading = lines.value(0);
    const QString body = lines.mid(1).join(QLatin1Char('\n'));
    QRect area = rect().adjusted(12, 10, -12, -10);
    const int heading_height = fontMetrics().height() + 6;
    p.setPen(QColor(255, 214, 90));
    p.drawText(QRect(area.left(), area.top(), area.width(), heading_height),
               Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, heading);
    p.setPen(QColor(200, 160, 64, 160));
    p.drawLine(area.left() + 16, area.top() + heading_height + 2, area.right() - 16,
               area.top() + heading_height + 2);
    area.setTop(area.top() + heading_height + 6);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, body);
  }
};

}  // namespace

PictureButton::PictureButton(PictureCache& pictures, const Control& control, QWidget* parent)
    : QAbstractButton(parent), pictures_(pictures), control_(control) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::set_latched(bool latched) {
  if (latched_ == latched) return;
  latched_ = latched;
  update();
}

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const bool down = isDown() || latched_;
  QPixmap pm = down ? pictures_.get(pressed_picture(control_.picture)) : QPixmap();
  if (pm.isNull()) pm = pictures_.get(control_.picture);
  const QColor dim(0, 0, 0, 110);
  if (!pm.isNull()) {
    if (!isEnabled()) {
      // Dimmed where the picture is, not in its see-through corners.
      QPainter d(&pm);
      d.setCompositionMode(QPainter::CompositionMode_SourceAtop);
      d.fillRect(QRectF(QPointF(0, 0), pm.deviceIndependentSize()), dim);
    }
    p.drawPixmap(0, 0, pm);
  } else {
    // Without its picture the button still shows what it does.
    p.fillRect(rect(), down ? QColor(60, 60, 90) : QColor(90, 90, 140));
    p.setPen(Qt::white);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawText(rect(), Qt::AlignCenter, control_.design.text);
    if (!isEnabled()) p.fillRect(rect(), dim);
  }
  if (hasFocus()) {
    p.setPen(QPen(QColor(255, 255, 255, 160), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

void PictureButton::keyPressEvent(QKeyEvent* e) {
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat()) {
    e->accept();
    click();
    return;
  }
  QAbstractButton::keyPressEvent(e);
}

void install_font_substitutions() {
  QFont::insertSubstitutions(design_fonts::kGothic, {QStringLiteral("IPAGothic")});
  QFont::insertSubstitutions(design_fonts::kPGothic, {QStringLiteral("IPAPGothic")});
  QFont::insertSubstitutions(design_fonts::kMincho, {QStringLiteral("IPAMincho")});
  QFont::insertSubstitutions(design_fonts::kPMincho, {QStringLiteral("IPAPMincho")});
  // A serif whose narrow bold digits leave two-digit numbers room in the bet cells.
  QFont::insertSubstitutions(design_fonts::kSylfaen,
                             {QStringLiteral("Liberation Serif"), QStringLiteral("IPAMincho")});
}

FormView::FormView(App& app, Form& form, PictureCache& pictures)
    : QWidget(nullptr), app_(app), form_(form), pictures_(pictures) {
  setObjectName(form.name());
  setAccessibleName(accessible_text(form.name(), {}).name);
  setWindowTitle(form.design().caption);
  setFixedSize(twips_to_px(form.design().client_width), twips_to_px(form.design().client_height));
  setAttribute(Qt::WA_DeleteOnClose, false);
  // Controls inherit the form's font; only those with another font set their own,
  // so that no text is laid out twice at the start.
  setFont(font_for(form.design().default_font));

  // Pictures and frames lie lowest, labels over them, windowed controls on top.
  auto layer = [](Kind k) {
    switch (k) {
      case Kind::Image:
      case Kind::Shape:
        return 0;
      case Kind::Label:
      case Kind::Card:
        return 1;
      default:
        return 2;
    }
  };
  for (int pass = 0; pass < 3; ++pass) {
    for (Control& c : form_.controls()) {
      if (layer(c.design.kind) != pass) continue;
      QWidget* w = make_widget(c);
      // The key stays the object name (tests and automation find controls by
      // it); a screen reader gets the Japanese name and what the control does.
      w->setObjectName(c.key());
      const AccessibleText spoken = accessible_text(form.name(), c.key());
      w->setAccessibleName(spoken.name);
      if (!spoken.description.isEmpty()) w->setAccessibleDescription(spoken.description);
      w->setGeometry(twips_to_px(c.design.left), twips_to_px(c.design.top),
                     twips_to_px(c.design.width), twips_to_px(c.design.height));
      widgets_.insert(c.key(), w);
    }
  }
  refresh();
}

QFont FormView::font_for(const FontDesign& f) const {
  QFont font(f.family);
  font.setPixelSize(std::max(1, int(std::lround(f.points * 96.0 / 72.0))));
  font.setBold(f.bold);
  return font;
}

QWidget* FormView::make_widget(Control& c) {
  const ControlDesign& design = c.design;
  const QString key = c.key();
  auto set_font = [&](QWidget* w) {
    if (!design.font.family.isEmpty()) {
      const QFont f = font_for(design.font);
      if (f != font()) w->setFont(f);
    }
  };
  auto colour = [&](QWidget* w, QPalette::ColorRole back_role, QPalette::ColorRole fore_role) {
    QPalette pal = w->palette();
    if (auto b = resolve(design.back)) pal.setColor(back_role, *b);
    if (auto f = resolve(design.fore)) pal.setColor(fore_role, *f);
    w->setPalette(pal);
  };

  switch (design.kind) {
    case Kind::Combo: {
      auto* cb = new QComboBox(this);
      // Font and colours first: the line edit made next inherits them.
      set_font(cb);
      colour(cb, QPalette::Base, QPalette::Text);
      cb->setEditable(true);
      colour(cb->lineEdit(), QPalette::Base, QPalette::Text);
      cb->setInsertPolicy(QComboBox::NoInsert);
      cb->setCompleter(nullptr);
      cb->addItems(c.items);
      cb->setMaxVisibleItems(12);
      connect(cb->lineEdit(), &QLineEdit::textEdited, this, [&c](const QString& t) {
        c.text = t;
        c.selected = -1;
      });
      connect(cb, &QComboBox::activated, this, [&c, cb](int i) {
        c.selected = i;
        c.text = cb->itemText(i);
      });
      return cb;
    }
    case Kind::Text: {
      auto* le = new QLineEdit(this);
      set_font(le);
      colour(le, QPalette::Base, QPalette::Text);
      connect(le, &QLineEdit::textEdited, this, [&c](const QString& t) { c.text = t; });
      return le;
    }
    case Kind::Label: {
      auto* lb = design.border ? new BoxedLabel(this) : new QLabel(this);
      lb->setTextFormat(Qt::PlainText);
      set_font(lb);
      lb->setAlignment((design.align == Align::Center ? Qt::AlignHCenter : Qt::AlignLeft) |
                       Qt::AlignVCenter);
      lb->setAttribute(Qt::WA_TransparentForMouseEvents);
      // Labels with a colour of their own are opaque; ticket cells, which the
      // design gives the window colour, stay transparent over the ticket face.
      lb->setAutoFillBackground(design.back.type == ColorDesign::Type::Rgb);
      colour(lb, QPalette::Window, QPalette::WindowText);
      return lb;
    }
    case Kind::Card: {
      auto* card = new ResultCard(this);
      card->setTextFormat(Qt::PlainText);
      set_font(card);
      card->setAttribute(Qt::WA_TransparentForMouseEvents);
      colour(card, QPalette::Window, QPalette::WindowText);
      return card;
    }
    case Kind::Image: {
      auto* im = new QLabel(this);
      im->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      im->setAttribute(Qt::WA_TransparentForMouseEvents);
      return im;
    }
    case Kind::Shape: {
      auto* sh = new ShapeFrame(this);
      sh->setAttribute(Qt::WA_TransparentForMouseEvents);
      return sh;
    }
    case Kind::List: {
      auto* lw = new QListWidget(this);
      set_font(lw);
      return lw;
    }
    case Kind::Button:
    case Kind::Option: {
      auto* b = new PictureButton(pictures_, c, this);
      b->setText(design.text);
      b->setToolTip(design.text);
      connect(b, &QAbstractButton::clicked, this, [this, key, b] {
        app_.click(form_.name(), key);
        if (after_command) after_command();
        // The keyboard focus goes back to the button that ran the command, so
        // that Space or Enter runs it again.
        if (form_.open && b->isEnabled()) b->setFocus(Qt::OtherFocusReason);
      });
      return b;
    }
    case Kind::DriveList: {
      auto* cb = new QComboBox(this);
      set_font(cb);
      connect(cb, &QComboBox::activated, this, [this, key](int i) {
        app_.Form3_select(key, i);
        if (after_command) after_command();
      });
      return cb;
    }
    case Kind::DirList: {
      auto* fl = new FolderList(this);
      set_font(fl);
      connect(fl, &FolderList::entry_activated, this, [this, key](int row) {
        app_.Form3_select(key, row);
        if (after_command) after_command();
      });
      return fl;
    }
    case Kind::FileList: {
      auto* lw = new QListWidget(this);
      set_font(lw);
      // A click puts the name into the file-name box, also when the clicked
      // file is the one already picked; arrow keys pick as well.
      auto pick = [this, key](int row) {
        if (row < 0) return;
        app_.Form3_select(key, row);
        if (after_command) after_command();
      };
      connect(lw, &QListWidget::currentRowChanged, this, pick);
      connect(lw, &QListWidget::itemClicked, this,
              [lw, pick](QListWidgetItem* item) { pick(lw->row(item)); });
      return lw;
    }
  }
  return new QWidget(this);
}

void FormView::refresh_control(Control& c, QWidget* w) {
  if (w->isVisibleTo(this) != c.visible) w->setVisible(c.visible);
  switch (c.design.kind) {
    case Kind::Combo: {
      auto* cb = static_cast<QComboBox*>(w);
      const QSignalBlocker block(cb);
      if (cb->currentIndex() != c.selected) cb->setCurrentIndex(c.selected);
      if (cb->currentText() != c.text) cb->setEditText(c.text);
      break;
    }
    case Kind::Text: {
      auto* le = static_cast<QLineEdit*>(w);
      if (le->text() != c.text) {
        const QSignalBlocker block(le);
        le->setText(c.text);
      }
      break;
    }
    case Kind::Card: {
      auto* card = static_cast<QLabel*>(w);
      if (card->text() != c.text) {
        card->setText(c.text);
        card->setAccessibleDescription(c.text);
      }
      break;
    }
    case Kind::Label: {
      auto* lb = static_cast<QLabel*>(w);
      // The accessible name says what the label is; its caption, which a
      // screen reader would otherwise read as the name, goes with it.
      if (lb->text() != c.text) {
        lb->setText(c.text);
        lb->setAccessibleDescription(c.text);
      }
      if (c.back || c.fore) {
        QPalette pal = lb->palette();
        if (c.back) pal.setColor(QPalette::Window, to_qcolor(*c.back));
        if (c.fore) pal.setColor(QPalette::WindowText, to_qcolor(*c.fore));
        lb->setPalette(pal);
      }
      break;
    }
    case Kind::Image: {
      auto* im = static_cast<QLabel*>(w);
      if (im->property("picture").toString() != c.picture) {
        im->setProperty("picture", c.picture);
        im->setPixmap(pictures_.get(c.picture));
      }
      break;
    }
    case Kind::DirList:
      static_cast<FolderList*>(w)->show_folder(c.text, c.items);
      break;
    case Kind::List:
    case Kind::FileList: {
      auto* lw = static_cast<QListWidget*>(w);
      const QStringList& want = c.design.kind == Kind::List ? c.lines : c.items;
      QStringList have;
      for (int i = 0; i < lw->count(); ++i) have << lw->item(i)->text();
      if (have != want) {
        const QSignalBlocker block(lw);
        lw->clear();
        lw->addItems(want);
      }
      if (c.design.kind != Kind::List && lw->currentRow() != c.selected) {
        const QSignalBlocker block(lw);
        lw->setCurrentRow(c.selected);
      }
      if (c.design.kind == Kind::List && (c.back || c.fore)) {
        QPalette pal = lw->palette();
        if (c.back) pal.setColor(QPalette::Base, to_qcolor(*c.back));
        if (c.fore) pal.setColor(QPalette::Text, to_qcolor(*c.fore));
        lw->setPalette(pal);
      }
      break;
    }
    case Kind::DriveList: {
      auto* cb = static_cast<QComboBox*>(w);
      const QSignalBlocker block(cb);
      QStringList have;
      for (int i = 0; i < cb->count(); ++i) have << cb->itemText(i);
      if (have != c.items) {
        cb->clear();
        cb->addItems(c.items);
      }
      if (cb->currentIndex() != c.selected) cb->setCurrentIndex(c.selected);
      break;
    }
    case Kind::Button:
    case Kind::Option: {
      auto* b = static_cast<PictureButton*>(w);
      const bool enabled = !form_.open || app_.accepts_click(form_.name(), c.key());
      if (b->isEnabled() != enabled) {
        // A disabled button would hand the focus on to the next button that
        // still works (THE END, while a command runs); the window keeps it.
        if (!enabled && focusWidget() == b) setFocus(Qt::OtherFocusReason);
        b->setEnabled(enabled);
      }
      if (c.design.kind == Kind::Option) b->set_latched(c.checked);
      break;
    }
    case Kind::Shape:
      break;
  }
}

void FormView::refresh() {
  for (Control& c : form_.controls()) {
    if (QWidget* w = widgets_.value(c.key())) refresh_control(c, w);
  }
  if (shown_background_ != form_.background) {
    shown_background_ = form_.background;
    update();
  }
}

void FormView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (auto back = resolve(form_.design().back))
    p.fillRect(rect(), *back);
  else
    p.fillRect(rect(), QColor(16, 16, 32));
  const QPixmap pm = pictures_.get(form_.background);
  if (!pm.isNull()) p.drawPixmap(0, 0, pm);
  if (form_.name() == QLatin1String("Form1") && frame_trace::enabled()) {
    // Reported once the whole window, its controls too, has gone to the screen.
    QTimer::singleShot(0, this, [file = form_.background] { frame_trace::painted(file); });
  }
  if (!painted_) {
    painted_ = true;
    if (on_first_paint) on_first_paint();
  }
}

void FormView::closeEvent(QCloseEvent* e) {
  if (form_.open && on_closed) on_closed();
  e->accept();
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
