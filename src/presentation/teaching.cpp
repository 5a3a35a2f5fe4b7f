// The Maharaja's teaching: one of 53 numbered maxims drawn at random, and the
// loader of the file that holds them.
#include "app/app.h"
#include "app/regular_file.h"
#include "app/windows31j.h"

#include <QFile>

namespace quilo {
namespace {

constexpr int kTeachings = 53;

// Reads delimited text fields: a field ends at a comma or a line end (CR LF,
// CR or LF), leading blanks are skipped, and a field in double quotes may hold
// commas and line ends; the quotes are dropped and anything between the
// closing quote and the next delimiter is ignored.
class FieldReader {
 public:
  explicit FieldReader(QString text) : text_(std::move(text)) {}

  bool at_end() const { return pos_ >= text_.size(); }

  QString next() {
    while (pos_ < text_.size() && text_[pos_] == QLatin1Char(' ')) ++pos_;
    QString field;
    if (pos_ < text_.size() && text_[pos_] == QLatin1Char('"')) {
      const qsizetype close = text_.indexOf(QLatin1Char('"'), pos_ + 1);
      const qsizetype end = close < 0 ? text_.size() : close;
      field = text_.mid(pos_ + 1, end - pos_ - 1);
      pos_ = close < 0 ? text_.size() : close + 1;
      while (pos_ < text_.size() && !is_delimiter(text_[pos_])) ++pos_;
    } else {
      const qsizetype start = pos_;
      while (pos_ < text_.size() && !is_delimiter(text_[pos_])) ++pos_;
      field = text_.mid(start, pos_ - start);
    }
    skip_delimiter();
    return field;
  }

 private:
  static bool is_delimiter(QChar c) {
    return c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
  }

  void skip_delimiter() {
    if (pos_ >= text_.size()) return;
    const QChar c = text_[pos_++];
    if (c == QLatin1Char('\r') && pos_ < text_.size() && text_[pos_] == QLatin1Char('\n')) ++pos_;
  }

  QString text_;
  qsizetype pos_ = 0;
};

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
  FieldReader reader(decode_windows31j(bytes));

  int n = 0;
  while (!reader.at_end()) {
    if (n >= kTeachingEntries) return fail();
    s.teaching_list[n] = reader.next();
    ++n;
    s.teaching_count = static_cast<std::int16_t>(n);
  }
}

}  // namespace quilo
