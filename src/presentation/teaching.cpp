// The Maharaja's teaching: one of 53 numbered maxims drawn at random, and the
// loader of the file that holds them.
#include "app/app.h"
#include "app/field_reader.h"
#include "app/regular_file.h"
#include "app/windows31j.h"

#include <QFile>

#include <algorithm>

namespace quilo {
namespace {

constexpr int kTeachings = 53;

}  // namespace

void App::Command13_Click() { teaching_command(); }

void App::teaching_command() {
  for (int i = 0; i <= 5; ++i) set_result_line(i, QString());
  s.yosou_max = kTeachings;
  int k = -1;
  while (k < 0 || k > kTeachings - 1) k = static_cast<int>(rng().next() * kTeachings);

  set_result_line(0, QStringLiteral("      「マハラジャの教え」"));
  set_result_line(1, QString());
  set_result_line(2, QStringLiteral(" 第%1説").arg(k + 1));
  set_result_line(3, QString());
  set_result_line(4, QStringLiteral(" ") + s.teaching_list[k]);
  for (int i = 1; i <= 6; ++i) s.yosou_num[i].clear();

  s.output_lines[0] = QString(48, QLatin1Char('-'));
  s.output_lines[1] = result_line(0);
  s.output_lines[2] = result_line(2) + QStringLiteral(" ") + result_line(4);
  show_result_card();
}

void App::load_teaching_file(const QString& file, bool report) {
  const auto fail = [&] {
    if (report) platform().message(file + QStringLiteral("に異常発生！"), kAppTitle, Buttons::OK);
  };
  s.teaching_count = 0;
  QFile f;
  if (open_regular_file(f, file, kMaxTeachingFileBytes) != OpenRefusal::None) return fail();
  QByteArray bytes;
  const bool read_ok = read_bounded(f, kMaxTeachingFileBytes, bytes);
  f.close();
  if (!read_ok) return fail();

  // The file is in the Windows Japanese code page; bytes that are no
  // character read as replacement characters.
  const QStringList fields = read_fields(decode_windows31j(bytes), kTeachingFileFields);
  // The entries that fit are kept; more than fit is a broken file.
  const int kept = std::min<int>(int(fields.size()), kTeachingEntries);
  for (int n = 0; n < kept; ++n) s.teaching_list[n] = fields[n];
  s.teaching_count = static_cast<std::int16_t>(kept);
  if (fields.size() > kTeachingEntries) return fail();
}

}  // namespace quilo
