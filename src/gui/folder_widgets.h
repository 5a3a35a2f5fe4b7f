// The folder list of the output window: the folder's path above the entries
// the user can enter ("..", then the sub-folders). A double click or Enter on
// an entry enters it.
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;

namespace quilo {

class FolderList : public QWidget {
  Q_OBJECT
 public:
  explicit FolderList(QWidget* parent);

  // Shows a folder and its entries (unchanged ones are left alone).
  void show_folder(const QString& path, const QStringList& entries);
  QString path() const { return path_; }
  QListWidget* entries() const { return list_; }

 signals:
  // The user entered the entry at this index.
  void entry_activated(int index);

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  void show_path();

  QString path_;
  QLabel* path_label_;
  QListWidget* list_;
};

}  // namespace quilo
