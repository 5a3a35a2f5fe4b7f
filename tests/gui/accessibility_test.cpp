// What a screen reader finds in the four windows, through Qt's accessibility
// interfaces (the ones the AT-SPI bridge hands on): every control named,
// with its role and state, every caption labelling its input, the option
// buttons as radio buttons, the chart in words.
#include "desktop_fixture.h"
#include "model/accessible_texts.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>

using namespace quilo;

namespace {

using test::Desktop;

QAccessible::Role role_of(Kind kind) {
  switch (kind) {
    case Kind::Button:
      return QAccessible::Button;
    case Kind::Option:
      return QAccessible::RadioButton;
    case Kind::Combo:
    case Kind::DriveList:
      return QAccessible::ComboBox;
    case Kind::Text:
      return QAccessible::EditableText;
    case Kind::Label:
    case Kind::Card:
      return QAccessible::StaticText;
    default:
      return QAccessible::NoRole;  // not checked
  }
}

}  // namespace

TEST(Accessibility, EveryControlOfEveryWindowHasItsNameRoleStateAndCaption) {
  Desktop d;
  for (int n : {1, 2, 3, 4}) {
    Form& form = *d.shell.app().form(QString("Form%1").arg(n));
    FormView& view = d.shell.view(n);
    std::map<QString, QString> caption_of;
    for (const auto& [caption, input] : captioned_inputs(form.name())) caption_of[input] = caption;
    for (const Control& c : form.controls()) {
      const std::string where = (form.name() + "." + c.key()).toStdString();
      QWidget* w = view.findChild<QWidget*>(c.key());
      ASSERT_NE(w, nullptr) << where;
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
      ASSERT_NE(a, nullptr) << where;
      EXPECT_EQ(a->text(QAccessible::Name), accessible_text(form.name(), c.key()).name) << where;
      if (role_of(c.design.kind) != QAccessible::NoRole) {
        EXPECT_EQ(a->role(), role_of(c.design.kind)) << where;
      }
      if (c.design.kind == Kind::Option) {
        EXPECT_TRUE(a->state().checkable) << where;
        EXPECT_EQ(bool(a->state().checked), c.checked) << where;
      }
      // The field inside a combo is not announced by its value alone.
      if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit()) {
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(cb->lineEdit());
        EXPECT_EQ(field->text(QAccessible::Name), a->text(QAccessible::Name)) << where;
      }
      const auto caption = caption_of.find(c.key());
      if (caption != caption_of.end()) {
        const auto labels = a->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1u) << where;
        EXPECT_EQ(labels[0].first->object(), view.findChild<QWidget*>(caption->second)) << where;
      }
    }
  }
}

TEST(Accessibility, AnOptionChosenIsCheckedForTheScreenReader) {
  Desktop d;
  d.shell.app().click("Form1", "Command10");
  d.shell.refresh_all();
  auto checked = [&](const char* key) {
    return bool(QAccessible::queryAccessibleInterface(d.view(3).findChild<QWidget*>(key))->state().checked);
  };
  EXPECT_TRUE(checked("Option1"));
  QAccessible::queryAccessibleInterface(d.view(3).findChild<QWidget*>("Option2"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_FALSE(checked("Option1"));
  EXPECT_TRUE(checked("Option2"));
  EXPECT_TRUE(d.shell.app().output().form["Option2"].checked);
}

TEST(Accessibility, TheChartIsToldInWords) {
  EXPECT_EQ(chart_in_words({}), "結果を入れたレースはまだありません");
  const std::vector<ChartSeries> series{
      {"全体", false, {{QDate(2010, 4, 3), -500}, {QDate(2010, 4, 10), 3000}, {QDate(2010, 4, 17), 1200}}}};
  EXPECT_EQ(chart_in_words(series),
            "全体: 2010/04/17 の収支 +1,200円、最高 +3,000円（2010/04/10）、最低 -500円（2010/04/03）");
}
