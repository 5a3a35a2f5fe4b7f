#include "text/windows31j.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace quilo {
namespace {

const char kEncoding[] = "Windows-31J";

QByteArray encode_strict(const QString& text, bool* failed) {
  QStringEncoder encoder(kEncoding);
  QByteArray bytes = encoder.encode(text);
  *failed = !encoder.isValid() || encoder.hasError();
  return bytes;
}

bool is_lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool is_trail(unsigned char b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
bool is_half_width_kana(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }

}  // namespace

QByteArray encode_windows31j(const QString& text) {
  bool failed = false;
  QByteArray bytes = encode_strict(text, &failed);
  if (!failed) return bytes;
  // Character by character, so that each one the encoding lacks becomes a
  // single "?" (the encoder itself would put its own two-byte substitute).
  bytes.clear();
  for (int i = 0; i < text.size();) {
    const int len = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
    const QByteArray one = encode_strict(text.mid(i, len), &failed);
    bytes += failed || one.isEmpty() ? QByteArray("?") : one;
    i += len;
  }
  return bytes;
}

QString decode_windows31j(const QByteArray& bytes) {
  // The converter is given only well-formed runs of non-ASCII characters
  // (where a pair it has no character for reads as U+FFFD); the structure,
  // ASCII and broken bytes are handled here, as the converter would swallow
  // the byte after a lone lead byte and maps a few control characters oddly.
  QString out;
  out.reserve(bytes.size());
  QStringDecoder converter(kEncoding);
  QByteArray run;
  auto flush = [&] {
    if (run.isEmpty()) return;
    converter.resetState();
    out += converter.decode(run);
    run.clear();
  };
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n;) {
    if (b[i] < 0x80) {
      flush();
      out += QChar(char16_t(b[i++]));
    } else if (is_half_width_kana(b[i])) {
      run += char(b[i++]);
    } else if (is_lead(b[i]) && i + 1 < n && is_trail(b[i + 1])) {
      run += char(b[i]);
      run += char(b[i + 1]);
      i += 2;
    } else {
      flush();
      out += QChar(0xFFFD);
      ++i;
    }
  }
  flush();
  return out;
}

}  // namespace quilo
