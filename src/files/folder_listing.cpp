#include "files/folder_listing.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace quilo {
namespace {

// Case-blind order, ties broken by case so that the order is total.
void sort_names(QStringList& names) {
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
}

// A root ("/", "C:/") ends in the separator; every other folder does not.
bool contains_path(const QString& root, const QString& path) {
  if (root.endsWith(QLatin1Char('/'))) return path.startsWith(root);
  return path == root || path.startsWith(root + QLatin1Char('/'));
}

}  // namespace

QStringList drive_list() {
  // QStorageInfo already leaves out the special mounts under /dev, /proc and
  // /sys and the file systems without storage; single files mounted into the
  // tree (a container's /etc/hosts) are no drives either.
  QStringList roots;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
    if (v.isValid() && v.isReady() && QFileInfo(v.rootPath()).isDir()) roots << v.rootPath();
  return order_drives(roots);
}

QStringList order_drives(const QStringList& mount_points) {
  const QString root = QDir::rootPath();
  QStringList rest;
  for (const QString& m : mount_points) {
    const QString clean = QDir::cleanPath(m);
    if (clean.isEmpty() || clean == root || rest.contains(clean)) continue;
    rest << clean;
  }
  std::sort(rest.begin(), rest.end());
  return QStringList{root} + rest;
}

int drive_of(const QStringList& drives, const QString& folder) {
  int best = -1;
  for (int i = 0; i < drives.size(); ++i)
    if (contains_path(drives[i], folder) && (best < 0 || drives[i].size() > drives[best].size())) best = i;
  return best;
}

QStringList folder_entries(const QString& folder) {
  QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort);
  sort_names(names);
  if (!QDir(folder).isRoot()) names.prepend(QStringLiteral(".."));
  return names;
}

QStringList file_names(const QString& folder) {
  QStringList names = QDir(folder).entryList(QDir::Files, QDir::NoSort);
  sort_names(names);
  return names;
}

QString absolute_folder(const QString& path) {
  return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QString enter_folder(const QString& folder, const QString& entry) {
  return QDir::cleanPath(folder + QLatin1Char('/') + entry);
}

}  // namespace quilo
