// Shared by the fuzz targets: a private working folder, texts from fuzz
// bytes, and a check that stops the run with a message.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quilo::fuzz {

// A failed invariant is a finding: report it and abort so that libFuzzer
// keeps the input.
#define FUZZ_CHECK(cond, ...)                                                           \
  do {                                                                                  \
    if (!(cond)) {                                                                      \
      std::fprintf(stderr, "invariant failed: %s (%s:%d) ", #cond, __FILE__, __LINE__); \
      std::fprintf(stderr, __VA_ARGS__);                                                \
      std::fputc('\n', stderr);                                                         \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)

// A temporary folder made current for the whole process; files the targets
// write (tables, output files) land there and nowhere else. Removed at exit.
inline QDir work_folder() {
  static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/quilo-fuzz-XXXXXX"));
  static const bool current = dir.isValid() && QDir::setCurrent(dir.path()) &&
                              // The append journal stays in the working folder too.
                              qputenv("XDG_STATE_HOME", QFile::encodeName(dir.path() + "/.state"));
  if (!current) {
    std::fprintf(stderr, "cannot make a working folder\n");
    std::abort();
  }
  return QDir(dir.path());
}

inline void write_file(const QString& name, const QByteArray& bytes) {
  QFile f(work_folder().filePath(name));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  f.write(bytes);
}

// The bytes as text: UTF-8, UTF-16 or Latin-1, chosen by the first byte, so
// that every code unit (including unpaired surrogates) can be reached.
inline QString text_of(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return {};
  const char* p = reinterpret_cast<const char*>(data + 1);
  const qsizetype n = qsizetype(size - 1);
  switch (data[0] % 3) {
    case 0:
      return QString::fromUtf8(p, n);
    case 1: {
      QString t(n / 2, Qt::Uninitialized);
      std::memcpy(t.data(), p, std::size_t(n / 2) * 2);
      return t;
    }
    default:
      return QString::fromLatin1(p, n);
  }
}

}  // namespace quilo::fuzz
