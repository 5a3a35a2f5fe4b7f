#include "gui/folder_widgets.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace quilo {

FolderList::FolderList(QWidget* parent)
    : QWidget(parent), path_label_(new QLabel(this)), list_(new QListWidget(this)) {
  path_label_->setObjectName(QStringLiteral("folder_path"));
  path_label_->setTextFormat(Qt::PlainText);
  path_label_->setAutoFillBackground(true);
  path_label_->setFrameShape(QFrame::StyledPanel);
  list_->setObjectName(QStringLiteral("folder_entries"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(path_label_);
  layout->addWidget(list_, 1);
  setFocusProxy(list_);
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { emit entry_activated(list_->row(item)); });
}

void FolderList::show_folder(const QString& path, const QStringList& entries) {
  if (path != path_) {
    path_ = path;
    show_path();
  }
  QStringList have;
  for (int i = 0; i < list_->count(); ++i) have << list_->item(i)->text();
  if (have == entries) return;
  const QSignalBlocker block(list_);
  list_->clear();
  const QIcon up = style()->standardIcon(QStyle::SP_FileDialogToParent);
  const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
  for (const QString& e : entries)
    list_->addItem(new QListWidgetItem(e == QLatin1String("..") ? up : folder, e));
  if (list_->count() > 0) list_->setCurrentRow(0);
}

void FolderList::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  show_path();
}

void FolderList::show_path() {
  // A long path keeps its end, the part that tells where the user is.
  const int room = std::max(0, path_label_->width() - 6);
  path_label_->setText(path_label_->fontMetrics().elidedText(path_, Qt::ElideLeft, room));
  path_label_->setToolTip(path_);
}

}  // namespace quilo
