// The designs of the main window, the explanation window and the output window.
#pragma once

#include "model/form.h"

#include <vector>

namespace quilo {

// The font families the window design names; the views map each onto a
// font the machine has.
namespace design_fonts {
inline const QString kGothic = QStringLiteral("ＭＳ ゴシック");
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kMincho = QStringLiteral("ＭＳ 明朝");
inline const QString kPMincho = QStringLiteral("ＭＳ Ｐ明朝");
inline const QString kSylfaen = QStringLiteral("Sylfaen");
}  // namespace design_fonts

FormDesign form1_design();
FormDesign form2_design();
FormDesign form3_design();
FormDesign form4_design();
// Every window of the program, in the order of their names.
std::vector<FormDesign> all_form_designs();

}  // namespace quilo
