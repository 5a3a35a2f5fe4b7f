// The names of the files the program reads from its working folder: the
// twelve reference tables and the teaching file.
#pragma once

#include "model/shared_state.h"

#include <QString>
#include <QStringList>

namespace quilo {

// crt_table's columns 1..8 come from "crt_1.txt" .. "crt_8.txt".
inline QString crt_file_name(int column) { return QStringLiteral("crt_%1.txt").arg(column); }
// waku_table's columns 1..4 come from "waku_1.txt" .. "waku_4.txt".
inline QString waku_file_name(int column) { return QStringLiteral("waku_%1.txt").arg(column); }
inline const QString kTeachingFileName = QStringLiteral("maharaja.txt");

// The twelve tables, crt before waku.
inline QStringList table_file_names() {
  QStringList names;
  for (int n = 1; n < kCrtColumns; ++n) names << crt_file_name(n);
  for (int n = 1; n < kWakuColumns; ++n) names << waku_file_name(n);
  return names;
}

}  // namespace quilo
