#include "model/control_names.h"

#include "model/form.h"

#include <stdexcept>

namespace quilo {

QString ControlArray::key(int index) const {
  if (!has(index))
    throw std::logic_error(
        QStringLiteral("no control %1(%2)").arg(QLatin1String(name)).arg(index).toStdString());
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

namespace {

void require(const Form& form, const QString& key) {
  if (!form.find(key))
    throw std::logic_error(("the window design of " + form.name() + " has no control " + key).toStdString());
}

void require_array(const Form& form, const ControlArray& array) {
  for (int i = 0; i < 64; ++i) {
    const QString key = QStringLiteral("%1(%2)").arg(QLatin1String(array.name)).arg(i);
    if (array.has(i))
      require(form, key);
    else if (form.find(key))
      throw std::logic_error(("the names of " + form.name() + " lack " + key).toStdString());
  }
}

}  // namespace

void check_control_names(const Form& form1, const Form& form2, const Form& form3, const Form& form4) {
#define QUILO_REQUIRE1(n) require(form1, form1::n.text());
#define QUILO_REQUIRE2(n) require(form2, form2::n.text());
#define QUILO_REQUIRE3(n) require(form3, form3::n.text());
#define QUILO_REQUIRE4(n) require(form4, form4::n.text());
  QUILO_FORM1_CONTROLS(QUILO_REQUIRE1)
  QUILO_FORM2_CONTROLS(QUILO_REQUIRE2)
  QUILO_FORM3_CONTROLS(QUILO_REQUIRE3)
  QUILO_FORM4_CONTROLS(QUILO_REQUIRE4)
#undef QUILO_REQUIRE1
#undef QUILO_REQUIRE2
#undef QUILO_REQUIRE3
#undef QUILO_REQUIRE4
  for (const ControlArray& array :
       {form1::Label1, form1::Label2, form1::Label3, form1::Label4, form1::Label5, form1::unbuyable_mark})
    require_array(form1, array);
  require_array(form4, form4::Label1);
}

}  // namespace quilo
