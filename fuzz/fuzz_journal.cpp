// The append journal's records on arbitrary bytes: the parser takes only
// whole records and gives back what was written; and whatever a record says,
// the start-up's look at it never cuts a file to anything but the record's
// start, and only when what follows that start is a beginning of the
// record's entry.
#include "files/append_journal.h"
#include "fuzz_support.h"

#include <sys/stat.h>

using namespace quilo;

namespace {

QByteArray read_all(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const QDir dir = fuzz::work_folder();

  // The parser alone: anything it takes is one record, written back alike.
  const QByteArray raw = QByteArray::fromStdString(in.ConsumeRandomLengthString(512));
  if (const auto r = parse_append_record(raw))
    FUZZ_CHECK(encode_append_record(*r) == raw, "a record read back differs from its bytes");

  // A file, and a record about it made of fuzz bytes.
  const QString path = dir.filePath(QStringLiteral("out.txt"));
  const QByteArray before = QByteArray::fromStdString(in.ConsumeRandomLengthString(256));
  fuzz::write_file(QStringLiteral("out.txt"), before);
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) std::abort();
  AppendRecord record{
      {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)},
      QFile::encodeName(path),
      in.ConsumeIntegralInRange<long long>(-1, 300),
      QByteArray::fromStdString(in.ConsumeRandomLengthString(256))};
  if (in.ConsumeIntegralInRange(0, 7) == 0) record.id.inode ^= 1;
  if (in.ConsumeIntegralInRange(0, 7) == 0) record.path += 'x';
  QByteArray bytes = encode_append_record(record);
  if (in.ConsumeBool() && !bytes.isEmpty()) {
    const auto at = in.ConsumeIntegralInRange<qsizetype>(0, bytes.size() - 1);
    bytes[at] = char(in.ConsumeIntegral<unsigned char>());
  }
  const QString folder = append_journal_folder();
  QDir().mkpath(folder);
  ::chmod(QFile::encodeName(folder).constData(), 0700);
  const QString name = folder + QStringLiteral("/%1-%2.pending").arg(st.st_dev, 0, 16).arg(st.st_ino, 0, 16);
  QFile rec(name);
  if (!rec.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  rec.write(bytes);
  rec.close();
  ::chmod(QFile::encodeName(name).constData(), 0600);

  recover_unfinished_appends();
  take_append_notices();
  const QByteArray after = read_all(path);
  if (after != before) {
    const auto r = parse_append_record(bytes);
    FUZZ_CHECK(r && r->start >= 0 && after == before.left(qsizetype(r->start)) &&
                   r->entry.startsWith(before.mid(qsizetype(r->start))) && r->path == QFile::encodeName(path),
               "a file cut that was not the record's own (%lld -> %lld bytes)", (long long)before.size(),
               (long long)after.size());
  }
  FUZZ_CHECK(!QFile::exists(name), "a record outlived the start");
  return 0;
}
