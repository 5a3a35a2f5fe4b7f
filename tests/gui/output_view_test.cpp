// The output window on screen: its widgets at their places, and the drive,
// folder and file lists driven as a user drives them.
#include "desktop_fixture.h"
#include "files/folder_listing.h"
#include "gui/folder_widgets.h"
#include "gui/picture_button.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace quilo;

namespace {

// The program in a working folder with a few sub-folders and a file.
struct Desktop : test::Desktop {
  Desktop()
      : test::Desktop([](test::Session& s) {
          QDir(s.path("")).mkpath("sub/deeper");
          QFile(s.path("sub/a.txt")).open(QIODevice::WriteOnly);
        }) {}
  FormView& form3() { return shell.view(3); }
  template <typename W>
  W* find(const char* name) {
    W* w = form3().findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void open_output() {
    QTest::mouseClick(shell.view(1).findChild<QAbstractButton*>("Command10"), Qt::LeftButton);
  }
};

QStringList texts(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

QStringList texts(const QComboBox* combo) {
  QStringList out;
  for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
  return out;
}

void double_click(QListWidget* list, const QString& entry) {
  const auto found = list->findItems(entry, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << entry.toStdString();
  const QPoint at = list->visualItemRect(found[0]).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

TEST(OutputView, OpensAtItsPlaceShowingTheCurrentFolder) {
  Desktop d;
  EXPECT_FALSE(d.form3().isVisible());
  d.open_output();
  ASSERT_TRUE(d.form3().isVisible());
  EXPECT_EQ(d.form3().windowTitle(), "出力画面");
  EXPECT_EQ(d.form3().pos(), QPoint(400 / 15, 900 / 15));

  const QString here = QDir::currentPath();
  auto* drive = d.find<QComboBox>("Drive1");
  auto* dir = d.find<FolderList>("Dir1");
  auto* files = d.find<QListWidget>("File1");
  auto* name = d.find<QLineEdit>("Text1");
  ASSERT_TRUE(drive && dir && files && name);
  EXPECT_EQ(texts(drive), drive_list());
  EXPECT_EQ(drive->currentIndex(), drive_of(drive_list(), here));
  EXPECT_EQ(dir->path(), here);
  EXPECT_EQ(texts(dir->entries()), (QStringList{"..", "sub"}));
  EXPECT_EQ(texts(files), file_names(here));
  EXPECT_TRUE(texts(files).contains("crt_1.txt"));
  EXPECT_EQ(name->text(), "Text1");
  // The folder list's parts lie inside its place.
  EXPECT_EQ(dir->geometry(), QRect(360 / 15, 1080 / 15, 3015 / 15, 2610 / 15));
  EXPECT_TRUE(dir->rect().contains(dir->entries()->geometry()));
}

TEST(OutputView, FolderAndFileListsPickTheOutputPath) {
  Desktop d;
  d.open_output();
  App& app = d.shell.app();
  const QString here = QDir::currentPath();
  auto* dir = d.find<FolderList>("Dir1");
  auto* files = d.find<QListWidget>("File1");
  auto* name = d.find<QLineEdit>("Text1");
  ASSERT_TRUE(dir && files && name);

  // A single click only points at a folder; a double click enters it.
  const QPoint sub = dir->entries()->visualItemRect(dir->entries()->item(1)).center();
  QTest::mouseClick(dir->entries()->viewport(), Qt::LeftButton, {}, sub);
  EXPECT_EQ(dir->path(), here);
  double_click(dir->entries(), "sub");
  EXPECT_EQ(dir->path(), here + "/sub");
  EXPECT_EQ(app.output().form["Dir1"].text, here + "/sub");
  EXPECT_EQ(texts(dir->entries()), (QStringList{"..", "deeper"}));
  EXPECT_EQ(texts(files), QStringList{"a.txt"});

  // Clicking a file puts its name into the name box.
  QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
  EXPECT_EQ(name->text(), "a.txt");
  EXPECT_EQ(app.output().output_path(), here + "/sub/a.txt");
  // Typing changes the name; clicking the same file again puts it back.
  name->selectAll();
  QTest::keyClicks(name, "b.txt");
  EXPECT_EQ(app.output().output_path(), here + "/sub/b.txt");
  QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
  EXPECT_EQ(name->text(), "a.txt");

  // Enter on ".." goes back up.
  dir->entries()->setCurrentRow(0);
  QTest::keyClick(dir->entries(), Qt::Key_Return);
  EXPECT_EQ(dir->path(), here);
  EXPECT_EQ(texts(files), file_names(here));
  EXPECT_EQ(app.output().output_path(), here + "/a.txt");
}

TEST(OutputView, DriveListMovesTheFolderList) {
  Desktop d;
  d.open_output();
  auto* drive = d.find<QComboBox>("Drive1");
  auto* dir = d.find<FolderList>("Dir1");
  ASSERT_TRUE(drive && dir);
  const QString here = QDir::currentPath();
  // The drive already shown: nothing moves.
  emit drive->activated(drive->currentIndex());
  EXPECT_EQ(dir->path(), here);
  // Another drive: its top folder.
  const int other = drive->currentIndex() == 0 ? drive->count() - 1 : 0;
  if (other == drive->currentIndex()) GTEST_SKIP() << "one drive only";
  emit drive->activated(other);
  EXPECT_EQ(drive->currentIndex(), other);
  EXPECT_EQ(dir->path(), drive->itemText(other));
  EXPECT_EQ(texts(d.find<QListWidget>("File1")), file_names(drive->itemText(other)));
}

TEST(OutputView, OptionsLatchAndBackCloses) {
  Desktop d;
  d.open_output();
  auto* option1 = d.find<PictureButton>("Option1");
  auto* option2 = d.find<PictureButton>("Option2");
  ASSERT_TRUE(option1 && option2);
  EXPECT_TRUE(option1->latched());
  EXPECT_FALSE(option2->latched());
  QTest::mouseClick(option2, Qt::LeftButton);
  EXPECT_FALSE(option1->latched());
  EXPECT_TRUE(option2->latched());
  EXPECT_TRUE(d.shell.app().output().form["Option2"].checked);
  QTest::mouseClick(option1, Qt::LeftButton);
  EXPECT_TRUE(option1->latched());
  EXPECT_FALSE(option2->latched());

  // The main window stays usable while the output window is open.
  EXPECT_TRUE(d.shell.view(1).findChild<QAbstractButton*>("Command8")->isEnabled());
  QTest::mouseClick(d.find<QAbstractButton>("Command2"), Qt::LeftButton);
  EXPECT_FALSE(d.form3().isVisible());
  EXPECT_FALSE(d.shell.app().output().form.open);
}
