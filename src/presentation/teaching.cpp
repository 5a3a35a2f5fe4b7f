// The Maharaja's teaching: one of 53 numbered maxims drawn at random, and the
// loader of the file that holds them.
#include "presentation/teaching.h"
#include "files/regular_file.h"
#include "presentation/result_card.h"
#include "text/field_reader.h"
#include "text/windows31j.h"

#include <QFile>

#include <algorithm>

namespace quilo {
namespace {

constexpr int kTeachings = 53;

}  // namespace

void Command13_Click(MainWindow& m) { teaching_command(m); }

void teaching_command(MainWindow& m) {
  for (int i = 0; i <= 5; ++i) m.set_result_line(i, QString());
  m.s.yosou_max = kTeachings;
  int k = -1;
  while (k < 0 || k > kTeachings - 1) k = static_cast<int>(m.rng.next() * kTeachings);

  m.set_result_line(0, QStringLiteral("      「マハラジャの教え」"));
  m.set_result_line(1, QString());
  m.set_result_line(2, QStringLiteral(" 第%1説").arg(k + 1));
  m.set_result_line(3, QString());
  m.set_result_line(4, QStringLiteral(" ") + m.s.teaching_list[k]);
  for (int i = 1; i <= 6; ++i) m.s.yosou_num[i].clear();

  m.s.output_lines[0] = QString(48, QLatin1Char('-'));
  m.s.output_lines[1] = m.result_line(0);
  m.s.output_lines[2] = m.result_line(2) + QStringLiteral(" ") + m.result_line(4);
  show_result_card(m);
}

void load_teaching_file(MainWindow& m, const QString& file, bool report) {
  const auto fail = [&] {
    if (report) m.platform().message(file + QStringLiteral("に異常発生！"), kAppTitle, Buttons::OK);
  };
  m.s.teaching_count = 0;
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
  for (int n = 0; n < kept; ++n) m.s.teaching_list[n] = fields[n];
  m.s.teaching_count = static_cast<std::int16_t>(kept);
  if (fields.size() > kTeachingEntries) return fail();
}

}  // namespace quilo
