#include "files/startup_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quilo {
namespace {

// The file's identity, following links; nullopt when there is no such file.
std::optional<platform::FileId> identity(const QString& path) {
  const auto st = platform::file_status(QFile::encodeName(path), platform::Links::Follow);
  if (!st) return std::nullopt;
  return st->id;
}

// Where a path points: its folder with every link resolved, and its name.
QString location(const QString& path) {
  const QFileInfo info(QDir::current().absoluteFilePath(path));
  const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
  return QDir::cleanPath((folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') +
                         info.fileName());
}

}  // namespace

void StartupFiles::remember(const QString& name, Role role) {
  entries_.push_back({name, role, location(name), identity(name)});
}

const StartupFiles::Entry* StartupFiles::find(const QString& path) const {
  const auto id = identity(path);
  const QString place = location(path);
  for (const Entry& e : entries_) {
    if (id && e.id == id) return &e;
    if (place == e.location) return &e;
  }
  return nullptr;
}

bool StartupFiles::read_at_start(const QString& path) const {
  const Entry* e = find(path);
  return e && e->role == Role::Table;
}

std::optional<QString> StartupFiles::refusal(const QString& path) const {
  const Entry* e = find(path);
  if (!e) return std::nullopt;
  // A table with lines added would break every later start; a history file
  // written over would lose every entered result.
  if (e->role == Role::History)
    return QStringLiteral(
               "%1 は成績を記録しているファイルです。書き込むと成績が失われるため、"
               "書き込み先にはできません。別のファイル名を指定して下さい。")
        .arg(QFileInfo(e->name).fileName());
  return QStringLiteral(
             "%1 は起動時に読み込む参照用のファイルです。書き込むと次から正しく"
             "起動できなくなるため、出力先にはできません。別のファイル名を"
             "指定して下さい。")
      .arg(e->name);
}

}  // namespace quilo
