// Start-up of the main window and the reference tables.
#include "app/startup.h"

#include "files/regular_file.h"
#include "files/table_files.h"
#include "presentation/teaching.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <string_view>

namespace quilo {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }

// The bytes of a file, read in large blocks: the tables are read one
// character at a time, and a QFile call per character would cost more than
// the parsing itself.
class ByteSource {
 public:
  explicit ByteSource(QFile& file) : file_(file) {}

  // A file that grows past the largest table while it is read counts as
  // unreadable.
  static constexpr qint64 kLimit = kMaxTableFileBytes;

  bool get(char& c) {
    if (!peek(c)) return false;
    ++pos_;
    return true;
  }

  bool peek(char& c) {
    if (pos_ == len_ && !fill()) return false;
    c = buffer_[pos_];
    return true;
  }

  // The file could not be read to its end.
  bool failed() const { return failed_; }

  // Steps over a UTF-8 byte-order mark at the start, which editors may put
  // before the numbers.
  void skip_byte_order_mark() {
    if (pos_ == 0 && len_ == 0 && fill() && len_ >= 3 && buffer_[0] == '\xEF' && buffer_[1] == '\xBB' &&
        buffer_[2] == '\xBF')
      pos_ = 3;
  }

 private:
  bool fill() {
    const qint64 n = file_.read(buffer_, sizeof buffer_);
    total_ += n > 0 ? n : 0;
    failed_ = failed_ || n < 0 || total_ > kLimit;
    pos_ = 0;
    len_ = n > 0 && !failed_ ? n : 0;
    return len_ > 0;
  }

  QFile& file_;
  bool failed_ = false;
  char buffer_[16384];
  qint64 pos_ = 0;
  qint64 len_ = 0;
  qint64 total_ = 0;
};

// Reads the values of a table file one at a time: values are separated by
// line ends, commas or blanks, leading blanks are skipped, blank lines are
// allowed. Each value must be a whole number in the 16-bit range.
class TableReader {
 public:
  explicit TableReader(QFile& file) : in_(file) { in_.skip_byte_order_mark(); }

  enum class Next { Value, End, Bad };

  Next next(std::int16_t& value) {
    char c;
    // Skip blanks and line ends before a value.
    for (;;) {
      // A read error is no end: the table would be kept half read.
      if (!in_.get(c)) return in_.failed() ? Next::Bad : Next::End;
      if (!is_blank(c) && !is_line_end(c)) break;
    }
    Field field;
    if (c == '"') {
      for (;;) {
        if (!in_.get(c)) return Next::Bad;
        if (c == '"') break;
        if (!field.add(c)) return Next::Bad;
      }
      if (in_.get(c) && !end_of_field(c)) return Next::Bad;
    } else {
      field.add(c);
      while (in_.get(c)) {
        if (end_of_field(c)) break;
        if (!field.add(c)) return Next::Bad;
      }
    }
    return parse(field.trimmed(), value) ? Next::Value : Next::Bad;
  }

 private:
  // A value's characters; longer than any number the tables can hold is bad.
  struct Field {
    char text[34];
    int size = 0;
    bool add(char c) {
      if (size > 32) return false;
      text[size++] = c;
      return true;
    }
    std::string_view trimmed() const {
      auto space = [](char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); };
      int b = 0, e = size;
      while (b < e && space(text[b])) ++b;
      while (e > b && space(text[e - 1])) --e;
      return {text + b, size_t(e - b)};
    }
  };

  // A value ends at a comma, a blank or a line end; a comma after blanks
  // belongs to the same value.
  bool end_of_field(char c) {
    if (c == ',' || is_line_end(c)) return true;
    if (!is_blank(c)) return false;
    char d;
    while (in_.peek(d) && is_blank(d)) in_.get(d);
    if (in_.peek(d) && d == ',') in_.get(d);
    return true;
  }

  static bool parse(std::string_view field, std::int16_t& value) {
    size_t i = 0;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    if (i >= field.size()) return false;
    long v = 0;
    for (; i < field.size(); ++i) {
      if (field[i] < '0' || field[i] > '9') return false;
      v = v * 10 + (field[i] - '0');
      if (v > 40000) return false;
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
      return false;
    value = static_cast<std::int16_t>(v);
    return true;
  }

  ByteSource in_;
};

// An entry of that name is in the folder (a file, or something that the
// loader will report as broken).
bool file_present(const QString& name) {
  const QFileInfo info(name);
  return info.exists() || info.isSymLink();
}

QString no_tables_message(const QString& folder) {
  return QStringLiteral(
             "参照表のファイル（%2～%3、%4～%5）が見つかりません。\n"
             "探したフォルダ: %1\n\n"
             "次のどちらかの方法で起動し直して下さい。\n"
             "・参照表のあるフォルダに移動してから quilo を起動する\n"
             "・quilo --user-folder で起動する（アプリケーションメニューからの起動と同じく、"
             "参照表を自分用の作業フォルダにコピーして使います）\n\n"
             "このまま参照表なしで続けると、予想はすべて 0 の表から作られます。")
      .arg(QDir::toNativeSeparators(folder), crt_file_name(1), crt_file_name(kCrtColumns - 1),
           waku_file_name(1), waku_file_name(kWakuColumns - 1));
}

}  // namespace

namespace {

void load_table_file(Platform& platform, const QString& file, int rows, std::int16_t* dest) {
  // Only a regular file of a sensible size is read: a pipe would hang the
  // start, a device would fill the memory.
  QFile f;
  bool ok = open_regular_file(f, file, kMaxTableFileBytes) == OpenRefusal::None;
  if (ok) {
    TableReader reader(f);
    int row = 0;
    std::int16_t value = 0;
    for (;;) {
      const auto next = reader.next(value);
      if (next == TableReader::Next::End) break;
      if (next == TableReader::Next::Bad || row > rows - 1) {
        ok = false;
        break;
      }
      dest[row++] = value;
    }
    f.close();
  }
  if (!ok) platform.message(file + QStringLiteral("に異常発生！"), kAppTitle, Buttons::OK);
}

}  // namespace

void load_crt_file(MainWindow& m, const QString& file, int column) {
  load_table_file(m.platform(), file, kCrtRows, m.s.crt_table[column].data());
}

void load_waku_file(MainWindow& m, const QString& file, int column) {
  load_table_file(m.platform(), file, kWakuRows, m.s.waku_table[column].data());
}

void Form_Load(MainWindow& m) {
  m.close_midi();
  m.rng.seed(m.platform().time_of_day());

  for (int i = 0; i <= 15; ++i) m.label(form1::Label4, i).visible = false;
  m.c(form1::List1).visible = false;
  for (int i = 37; i <= 44; ++i) m.label(form1::Label1, i).visible = false;
  for (int i = 0; i <= 7; ++i) m.label(form1::Label3, i).visible = false;

  // The year list runs on to next year, so that today's races can be picked.
  Control& years = m.c(form1::Combo6);
  const int last_year = m.platform().now().date().year() + 1;
  for (int y = years.items.isEmpty() ? last_year + 1 : years.items.last().toInt() + 1; y <= last_year; ++y)
    years.items << QString::number(y);

  for (ControlName name : {form1::Combo3, form1::Combo4}) {
    Control& box = m.c(name);
    box.selected = 0;
    box.text = box.items.value(0);
  }

  m.play_midi(QStringLiteral("nakipop.mid"));

  const QStringList tables = table_file_names();
  for (const QString& f : tables + QStringList{kTeachingFileName}) m.startup_files.remember(f);

  // Started in a folder without tables (a wrong folder, or from a terminal):
  // one message that says where the tables were looked for and how to start,
  // instead of one for each file.
  if (std::none_of(tables.cbegin(), tables.cend(), file_present)) {
    QString text = no_tables_message(QDir::currentPath());
    if (!m.user_folder_offer.isEmpty()) {
      text += QStringLiteral(
                  "\n\nOK を押すと、quilo --user-folder と同じく、参照表を作業フォルダ %1 に"
                  "コピーして始め直します。キャンセルを押すと、このまま続けます。")
                  .arg(QDir::toNativeSeparators(m.user_folder_offer));
      if (m.platform().message(text, kAppTitle, Buttons::OKCancel) == Answer::OK) {
        m.start_over_requested = true;
        return;
      }
    } else {
      m.platform().message(text, kAppTitle, Buttons::OK);
    }
    load_teaching_file(m, kTeachingFileName, false);
  } else {
    for (int n = 1; n < kCrtColumns; ++n) load_crt_file(m, crt_file_name(n), n);
    for (int n = 1; n < kWakuColumns; ++n) load_waku_file(m, waku_file_name(n), n);
    load_teaching_file(m, kTeachingFileName);
  }

  m.form.open = true;
}

}  // namespace quilo
