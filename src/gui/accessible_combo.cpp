#include "gui/accessible_combo.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace quilo {
namespace {

class AccessibleCombo : public QAccessibleWidget {
 public:
  explicit AccessibleCombo(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
  QString text(QAccessible::Text t) const override {
    const auto* box = static_cast<const QComboBox*>(widget());
    if (t == QAccessible::Value) return box->currentText();
    if (t == QAccessible::Name && !box->accessibleName().isEmpty()) return box->accessibleName();
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = static_cast<const QComboBox*>(widget())->isEditable();
    s.expandable = true;
    return s;
  }
  QStringList actionNames() const override { return {showMenuAction()}; }
  void doAction(const QString& action) override {
    if (action == showMenuAction()) static_cast<QComboBox*>(widget())->showPopup();
  }
};

QAccessibleInterface* accessible_combo(const QString& class_name, QObject* object) {
  if (class_name == QLatin1String("QComboBox") && object->isWidgetType())
    return new AccessibleCombo(static_cast<QComboBox*>(object));
  return nullptr;
}

}  // namespace

void install_accessible_combo() {
  static const bool installed = [] {
    QAccessible::installFactory(accessible_combo);
    return true;
  }();
  (void)installed;
}

}  // namespace quilo
