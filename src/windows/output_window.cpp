// The output command and the output window: pick a folder and a file name,
// append the stored result lines to the file, and print the file.
#include "windows/output_window.h"

#include "state/main_window.h"

#include "files/append_journal.h"
#include "files/folder_listing.h"
#include "files/output_file.h"
#include "model/window_design.h"
#include "text/field_reader.h"
#include "text/numbers.h"

#include <QDir>
#include <QFileInfo>

namespace quilo {
namespace {

// Points the folder list at a folder: the file list shows its files and the
// drive list the drive that holds it.
void show_folder(Form& form3, const QString& path) {
  const QString folder = absolute_folder(path);
  Control& dir = form3[form3::Dir1];
  dir.text = folder;
  dir.items = folder_entries(folder);
  dir.selected = -1;
  Control& files = form3[form3::File1];
  files.items = file_names(folder);
  files.selected = -1;
  Control& drive = form3[form3::Drive1];
  const int d = drive_of(drive.items, folder);
  if (d >= 0) {
    drive.selected = d;
    drive.text = drive.items[d];
  }
}

}  // namespace

OutputWindow::OutputWindow(Platform& platform, const std::vector<QString>& output_lines,
                           const StartupFiles& startup_files)
    : form(form3_design()), platform_(platform), output_lines_(output_lines), startup_files_(startup_files) {}

void Command10_Click(MainWindow& main, OutputWindow& output) {
  main.play_se(QStringLiteral("fm009.wav"));
  main.close_midi();
  main.play_midi(QStringLiteral("nakipops.mid"));
  if (!output.form.open) output.Form_Load();
}

void OutputWindow::Form_Load() {
  Form& form3 = form;
  form3.reset();
  form3[form3::Drive1].items = drive_list();
  show_folder(form3, start_folder.isEmpty() ? QDir::currentPath() : start_folder);
  choose_option(form3::Option1);
  form3.open = true;
}

QString OutputWindow::output_path() const {
  return QDir(form[form3::Dir1].text).filePath(form[form3::Text1].text);
}

void OutputWindow::Command1_Click() {
  Form& form3 = form;
  const QString name = form3[form3::Text1].text;
  if (trim_blanks(name).isEmpty()) {
    platform_.message(QStringLiteral("ファイル名を入力して下さい！"), kAppTitle, Buttons::OK);
    return;
  }
  // A name may be an absolute path, or lead into a sub-folder of the one shown.
  const QString path = output_path();
  const QFileInfo target(path);
  const QString folder = target.absolutePath();
  auto refused = [&](const QString& what, const QString& reason) {
    platform_.message(QStringLiteral("「%1」%2\n%3").arg(path, what, reason), kAppTitle, Buttons::OK);
  };
  const QString not_written = QStringLiteral("に出力できませんでした。");
  // What speaks against the file is said before the question, not after it.
  if (auto reason = check_output_target(folder, target.fileName())) return refused(not_written, *reason);
  // The program's own files: its tables and its history.
  if (const auto own = startup_files_.refusal(path)) return refused(not_written, *own);
  const Answer go = platform_.message(QStringLiteral("予想結果をファイル出力します。\rよろしいですか？"),
                                      kAppTitle, Buttons::OKCancel);
  if (go == Answer::Cancel) return;

  const QByteArray entry = output_entry_bytes(output_lines_);
  const auto failure = append_to_file(path, entry);
  // A record of an earlier, unfinished append that was not this file's own.
  for (const QString& notice : take_append_notices()) platform_.message(notice, kAppTitle, Buttons::OK);
  if (failure) return refused(not_written, *failure);
  appended_[QFileInfo(path).absoluteFilePath()] += entry;

  // The file list shows the file, new or not, as the one picked.
  Control& files = form3[form3::File1];
  files.items = file_names(form3[form3::Dir1].text);
  files.selected = int(files.items.indexOf(name));

  const bool whole = form3[form3::Option2].checked;
  if (!whole && !form3[form3::Option3].checked) return;
  // Paper is asked for only when there is a printer to put it in.
  if (!platform_.has_printer()) {
    platform_.message(QStringLiteral("プリンターが見つかりません。既定のプリンターを設定して下さい。"),
                      kAppTitle, Buttons::OK);
    return;
  }
  platform_.message(QStringLiteral("印刷出力をします。プリンターに用紙をセットして下さい！"), kAppTitle,
                    Buttons::OK);
  QString text;
  if (!whole)
    text = decode_windows31j(appended_.value(QFileInfo(path).absoluteFilePath()));
  else if (auto reason = read_windows31j_file(path, text))
    return refused(QStringLiteral("を印刷のために読み込めませんでした。"), *reason);
  const PrintResult printed = platform_.print(read_fields(text, kPrintedFileFields));
  if (printed.status == PrintResult::Status::NoPrinter)
    platform_.message(QStringLiteral("プリンターが見つかりません。既定のプリンターを設定して下さい。"),
                      kAppTitle, Buttons::OK);
  else if (!printed.ok())
    platform_.message(printed.error, kAppTitle, Buttons::OK);
}

void OutputWindow::Command2_Click() { form.open = false; }

// The three options are one group: the one chosen is checked, the others not.
void OutputWindow::choose_option(const ControlName& option) {
  for (const ControlName* o : {&form3::Option1, &form3::Option2, &form3::Option3})
    form[*o].checked = qstrcmp(o->key, option.key) == 0;
}

void OutputWindow::Option1_Click() { choose_option(form3::Option1); }

void OutputWindow::Option2_Click() { choose_option(form3::Option2); }

void OutputWindow::Option3_Click() { choose_option(form3::Option3); }

void OutputWindow::set_folder(const QString& path) {
  start_folder = absolute_folder(path);
  if (form.open) show_folder(form, start_folder);
}

bool OutputWindow::select(const QString& control, int index) {
  Form& form3 = form;
  if (!form3.open) return false;
  Control* c = form3.find(control);
  if (!c || index < 0 || index >= c->items.size()) return false;
  switch (c->design.kind) {
    case Kind::DriveList: {
      if (index == c->selected) return true;  // the same drive: nothing changes
      const QString root = c->items[index];
      if (!QFileInfo(root).isDir()) {
        platform_.message(QStringLiteral("ドライブ「%1」を使えません。").arg(root), kAppTitle, Buttons::OK);
        return true;
      }
      c->selected = index;
      c->text = root;
      show_folder(form3, root);
      return true;
    }
    case Kind::DirList:
      show_folder(form3, enter_folder(c->text, c->items[index]));
      return true;
    case Kind::FileList:
      c->selected = index;
      form3[form3::Text1].text = c->items[index];
      return true;
    default:
      return false;
  }
}

}  // namespace quilo
