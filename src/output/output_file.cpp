#include "output/output_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace quilo {
namespace {

const char kEncoding[] = "Windows-31J";
constexpr int kMaxNameBytes = 255;  // longest file name the file systems here take

QByteArray encode_strict(const QString& text, bool* failed) {
  QStringEncoder encoder(kEncoding);
  QByteArray bytes = encoder.encode(text);
  *failed = !encoder.isValid() || encoder.hasError();
  return bytes;
}

qint64 write_chunk(QFile& file, const char* data, qint64 size) { return file.write(data, size); }

}  // namespace

QByteArray encode_windows31j(const QString& text) {
  bool failed = false;
  QByteArray bytes = encode_strict(text, &failed);
  if (!failed) return bytes;
  // Character by character, so that each one the encoding lacks becomes a
  // single "?" (the encoder itself would put its own two-byte substitute).
  bytes.clear();
  for (int i = 0; i < text.size();) {
    const int len = text[i].isHighSurrogate() && i + 1 < text.size() &&
                            text[i + 1].isLowSurrogate()
                        ? 2
                        : 1;
    const QByteArray one = encode_strict(text.mid(i, len), &failed);
    bytes += failed || one.isEmpty() ? QByteArray("?") : one;
    i += len;
  }
  return bytes;
}

QString decode_windows31j(const QByteArray& bytes) {
  QStringDecoder decoder(kEncoding);
  return decoder.decode(bytes);
}

QStringList output_entry(const std::vector<QString>& output_lines) {
  auto line = [&](std::size_t i) { return i < output_lines.size() ? output_lines[i] : QString(); };
  const QString indent(4, QLatin1Char(' '));
  return {line(0), indent + line(1), indent + line(2), indent + line(3), QStringLiteral("　")};
}

QByteArray output_entry_bytes(const std::vector<QString>& output_lines) {
  QByteArray bytes;
  for (const QString& line : output_entry(output_lines)) bytes += encode_windows31j(line) + "\r\n";
  return bytes;
}

std::optional<QString> check_output_target(const QString& folder, const QString& name) {
  if (name.contains(QLatin1Char('/')))
    return QStringLiteral("ファイル名に「/」は使えません。");
  if (name.contains(QChar(0)))
    return QStringLiteral("ファイル名に使えない文字が含まれています。");
  if (QFile::encodeName(name).size() > kMaxNameBytes)
    return QStringLiteral("ファイル名が長すぎます。");
  const QFileInfo dir(folder);
  if (!dir.isDir()) return QStringLiteral("フォルダーが見つかりません。");
  const QFileInfo file(QDir(folder).filePath(name));
  if (file.isDir()) return QStringLiteral("同じ名前のフォルダーがあります。");
  if (file.exists() && !file.isFile())
    return QStringLiteral("通常のファイルではないため書き込めません。");
  if (file.exists() && !file.isWritable())
    return QStringLiteral("ファイルへの書き込みが許可されていません。");
  if (!file.exists() && !dir.isWritable())
    return QStringLiteral("フォルダーへの書き込みが許可されていません。");
  return std::nullopt;
}

std::optional<QString> append_to_file(const QString& path, const QByteArray& bytes,
                                      const ChunkWriter& writer) {
  const ChunkWriter& write = writer ? writer : ChunkWriter(write_chunk);
  const bool existed = QFileInfo::exists(path);
  QFile file(path);
  // Unbuffered: every byte that write() accepts is in the file, so a failure
  // is seen here and not at close.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
    return QStringLiteral("ファイルを開けません（%1）。").arg(file.errorString());
  const qint64 former = file.size();

  qint64 done = 0;
  while (done < bytes.size()) {
    const qint64 n = write(file, bytes.constData() + done, bytes.size() - done);
    if (n <= 0) break;
    done += n;
  }
  if (done == bytes.size()) return std::nullopt;

  QString reason = file.error() == QFileDevice::ResourceError
                       ? QStringLiteral("ディスクの空き容量が足りません。")
                       : QStringLiteral("書き込みに失敗しました（%1）。").arg(file.errorString());
  // Take back what did get written: the file stays as it was.
  if (!existed) {
    file.close();
    if (!QFile::remove(path)) reason += QStringLiteral("書きかけのファイルが残っています。");
  } else if (!file.resize(former)) {
    reason += QStringLiteral("ファイルを元の長さに戻せませんでした。");
  } else {
    reason += QStringLiteral("ファイルは元のままです。");
  }
  return reason;
}

std::optional<QString> read_windows31j_file(const QString& path, QString& text) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return QStringLiteral("ファイルを読み込めません（%1）。").arg(file.errorString());
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    return QStringLiteral("ファイルを読み込めません（%1）。").arg(file.errorString());
  text = decode_windows31j(bytes);
  return std::nullopt;
}

}  // namespace quilo
