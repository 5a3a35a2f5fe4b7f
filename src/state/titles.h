// The titles of the program's message boxes.
#pragma once

#include <QString>

namespace quilo {

inline const QString kAppTitle = QStringLiteral("競馬予想 Quilo ピルピルθK");
inline const QString kOddsTitle = QStringLiteral("●Quilo ピルピルθK●");
// The title a message box gets when the program gives it none.
inline const QString kDefaultTitle = QStringLiteral("Quilo");

}  // namespace quilo
