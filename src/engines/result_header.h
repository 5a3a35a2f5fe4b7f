// The title line that the place and bracket predictions put first in the
// lines the output window saves.
#pragma once

#include <QString>

namespace quilo {

// Five white squares, the title, the version and five white squares, with a
// trailing blank.
inline const QString kResultHeader = QStringLiteral("□□□□□ 競馬予想 Quilo ピルピルθK Ver 1.0 2010 □□□□□ ");

}  // namespace quilo
