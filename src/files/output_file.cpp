#include "files/output_file.h"

#include "files/append_journal.h"
#include "files/regular_file.h"
#include "platform/file_names.h"
#include "platform/file_ops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <thread>

namespace quilo {
namespace {

qint64 write_chunk(QFile& file, const char* data, qint64 size) { return file.write(data, size); }

}  // namespace

QStringList output_entry(const std::vector<QString>& output_lines) {
  // A line break typed or pasted into a box would start a line of its own in
  // the file, and other control characters (NUL, ESC, ...) would reach the
  // printer and other programs raw: each is written as one blank, CR LF too.
  // A tab is text.
  auto line = [&](std::size_t i) {
    QString text = i < output_lines.size() ? output_lines[i] : QString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (QChar& c : text)
      if (c != QLatin1Char('\t') && (c.category() == QChar::Other_Control)) c = QLatin1Char(' ');
    return text;
  };
  const QString indent(4, QLatin1Char(' '));
  return {line(0), indent + line(1), indent + line(2), indent + line(3), QStringLiteral("　")};
}

QByteArray output_entry_bytes(const std::vector<QString>& output_lines) {
  QByteArray bytes;
  for (const QString& line : output_entry(output_lines)) bytes += encode_windows31j(line) + "\r\n";
  return bytes;
}

std::optional<QString> check_output_target(const QString& folder, const QString& name) {
  if (const auto c = platform::reserved_name_character(name))
    return QStringLiteral("ファイル名に「%1」は使えません。").arg(*c);
  if (name.contains(QChar(0))) return QStringLiteral("ファイル名に使えない文字が含まれています。");
  if (platform::name_too_long(name)) return QStringLiteral("ファイル名が長すぎます。");
  const QFileInfo dir(folder);
  if (!dir.isDir()) return QStringLiteral("フォルダーが見つかりません。");
  const QFileInfo file(QDir(folder).filePath(name));
  if (file.isDir()) return QStringLiteral("同じ名前のフォルダーがあります。");
  if (file.exists() && !file.isFile()) return QStringLiteral("通常のファイルではないため書き込めません。");
  if (file.exists() && !file.isWritable())
    return QStringLiteral("ファイルへの書き込みが許可されていません。");
  if (!file.exists() && !dir.isWritable())
    return QStringLiteral("フォルダーへの書き込みが許可されていません。");
  return std::nullopt;
}

namespace {

// How long an append waits for another instance's append to the same file.
constexpr int kLockWaitMs = 5000;

// Takes the advisory lock on the file, waiting a while for another append.
bool lock_file(int fd) {
  for (int waited = 0;; waited += 20) {
    const platform::Lock lock = platform::try_lock(fd);
    if (lock == platform::Lock::Taken) return true;
    if (lock == platform::Lock::Failed) return false;
    if (waited >= kLockWaitMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

QString os_error() { return platform::SystemError::last().text(); }

}  // namespace

std::optional<QString> append_to_file(const QString& path, const QByteArray& bytes,
                                      const ChunkWriter& writer) {
  const ChunkWriter& write = writer ? writer : ChunkWriter(write_chunk);
  const QByteArray name = QFile::encodeName(path);
  // The descriptor of the file being appended to, closed on every way out
  // (which also lets go of its lock). Opened without waiting: a pipe put under
  // the name fails at once instead of waiting for a reader.
  platform::File file;
  bool created = false;
  std::optional<platform::FileStatus> st;
  for (int attempt = 0;; ++attempt) {
    file.close();
    file = platform::open_to_append(name, created);
    if (!file.is_open()) {
      if (platform::SystemError::last().kind() == platform::SystemError::Kind::SpecialFile)
        return QStringLiteral("通常のファイルではないため書き込めません。");
      return QStringLiteral("ファイルを開けません（%1）。").arg(os_error());
    }
    st = platform::file_status(file.descriptor());
    if (!st) return QStringLiteral("ファイルを開けません（%1）。").arg(os_error());
    if (st->kind != platform::FileKind::Regular)
      return QStringLiteral("通常のファイルではないため書き込めません。");

    // No other Quilo appends to this file until this append has ended.
    if (!lock_file(file.descriptor()))
      return QStringLiteral(
          "ほかの Quilo がこのファイルに書き込み中のため、出力できませんでした。"
          "少し待ってからもう一度出力して下さい。ファイルは元のままです。");
    // While this append waited, the one before may have removed the file it
    // had created: the name must still lead to the file that is locked.
    const auto now = platform::file_status(name, platform::Links::Follow);
    if (now && now->id == st->id) break;
    if (attempt >= 3)
      return QStringLiteral("ファイルが書き込みの最中に置き換えられたため、出力できませんでした。");
  }
  const FileId id = st->id;
  // An append that an ended program left half done is taken back first.
  if (!roll_back_unfinished_append(file.descriptor(), path, id))
    return QStringLiteral("前回の書きかけの出力を取り除けなかったため、出力できませんでした（%1）。")
        .arg(os_error());
  st = platform::file_status(file.descriptor());
  if (!st) return QStringLiteral("ファイルを開けません（%1）。").arg(os_error());
  const qint64 former = st->size;
  // Without a durable record a kill could leave half an entry: better none.
  if (!record_append({id, QFile::encodeName(QDir::current().absoluteFilePath(path)), former, bytes})) {
    if (created && former == 0) platform::remove_file(name);
    return QStringLiteral(
               "書き込みの記録（%1）を作れないため、出力できませんでした。ファイルは元のままです。")
        .arg(append_journal_folder());
  }

  QFile out;
  // Unbuffered: every byte that write() accepts is in the file, so a failure
  // is seen here and not at close.
  out.open(file.descriptor(), QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
           QFileDevice::DontCloseHandle);
  qint64 done = 0;
  while (done < bytes.size()) {
    const qint64 n = write(out, bytes.constData() + done, bytes.size() - done);
    if (n <= 0) break;
    done += n;
  }
  const platform::SystemError write_error = platform::SystemError::last();
  if (done == bytes.size() && platform::sync_data(file.descriptor())) {
    finish_append(id);
    return std::nullopt;
  }

  QString reason =
      write_error.kind() == platform::SystemError::Kind::DiskFull
          ? QStringLiteral("ディスクの空き容量が足りません。")
          : QStringLiteral("書き込みに失敗しました（%1）。")
                .arg(out.error() != QFileDevice::NoError ? out.errorString() : write_error.text());
  // Take back exactly what this append wrote; the lock kept every other
  // Quilo out, so the bytes past the former end are ours.
  st = platform::file_status(file.descriptor());
  const bool only_ours = st && st->size == former + done;
  if (!only_ours) {
    finish_append(id);
    return reason + QStringLiteral(
                        "ほかのプログラムも同時にこのファイルに書き込んだため、"
                        "書きかけの部分を取り除けませんでした。");
  }
  if (created && former == 0) {
    platform::remove_file(name);
    finish_append(id);
    return reason;
  }
  if (!platform::cut_back(file.descriptor(), former))
    // The record stays: the next append or start-up cuts the file back.
    return reason + QStringLiteral("ファイルを元の長さに戻せませんでした。");
  finish_append(id);
  return reason + QStringLiteral("ファイルは元のままです。");
}

std::optional<QString> read_windows31j_file(const QString& path, QString& text) {
  QFile file;
  switch (open_regular_file(file, path, kMaxPrintedFileBytes)) {
    case OpenRefusal::None:
      break;
    case OpenRefusal::NotRegular:
      return QStringLiteral("通常のファイルではないため読み込めません。");
    case OpenRefusal::TooLarge:
      return QStringLiteral("ファイルが大きすぎます（印刷できるのは %1 MB までです）。")
          .arg(kMaxPrintedFileBytes / (1024 * 1024));
    case OpenRefusal::Missing:
    case OpenRefusal::Unreadable:
      return QStringLiteral("ファイルを読み込めません（%1）。").arg(os_error());
  }
  QByteArray bytes;
  if (!read_bounded(file, kMaxPrintedFileBytes, bytes))
    return file.error() != QFileDevice::NoError
               ? QStringLiteral("ファイルを読み込めません（%1）。").arg(file.errorString())
               : QStringLiteral("ファイルが大きすぎます（印刷できるのは %1 MB までです）。")
                     .arg(kMaxPrintedFileBytes / (1024 * 1024));
  text = decode_windows31j(bytes);
  return std::nullopt;
}

}  // namespace quilo
