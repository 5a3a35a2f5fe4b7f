// Drawing a picture button from the cache, and its keys.
#include "gui/picture_button.h"

#include "gui/picture_cache.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>

namespace quilo {

QString pressed_picture(const QString& file) {
  const QFileInfo info(file);
  return info.completeBaseName() + QStringLiteral("_down.") + info.suffix();
}

namespace {

// What a screen reader sees of a picture button: a push button, or for an
// option a radio button with its checked state, pressed by its action.
class AccessiblePictureButton : public QAccessibleWidget {
 public:
  explicit AccessiblePictureButton(PictureButton* b)
      : QAccessibleWidget(b, b->is_option() ? QAccessible::RadioButton : QAccessible::Button) {}
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    const auto* b = static_cast<const PictureButton*>(widget());
    if (b->is_option()) {
      s.checkable = true;
      s.checked = b->latched();
    }
    return s;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& action) override {
    if (action == pressAction()) static_cast<PictureButton*>(widget())->click();
  }
};

QAccessibleInterface* accessible_picture_button(const QString& class_name, QObject* object) {
  if (class_name == QLatin1String(PictureButton::staticMetaObject.className()) && object->isWidgetType())
    return new AccessiblePictureButton(static_cast<PictureButton*>(object));
  return nullptr;
}

}  // namespace

PictureButton::PictureButton(PictureCache& pictures, const Control& control, QWidget* parent)
    : QAbstractButton(parent), pictures_(pictures), control_(control) {
  static const bool factory_installed = [] {
    QAccessible::installFactory(accessible_picture_button);
    return true;
  }();
  (void)factory_installed;
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QAbstractButton::pressed, this, [this] {
    if (on_approach) on_approach();
  });
}

void PictureButton::set_latched(bool latched) {
  if (latched_ == latched) return;
  latched_ = latched;
  update();
  if (is_option()) {
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
  }
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

void PictureButton::enterEvent(QEnterEvent* e) {
  if (on_approach) on_approach();
  QAbstractButton::enterEvent(e);
}

void PictureButton::leaveEvent(QEvent* e) {
  if (on_depart && !hasFocus()) on_depart();
  QAbstractButton::leaveEvent(e);
}

void PictureButton::focusInEvent(QFocusEvent* e) {
  if (on_approach) on_approach();
  QAbstractButton::focusInEvent(e);
}

void PictureButton::focusOutEvent(QFocusEvent* e) {
  if (on_depart && !underMouse()) on_depart();
  QAbstractButton::focusOutEvent(e);
}

}  // namespace quilo
