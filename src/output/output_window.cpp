// The output command and the output window: pick a folder and a file name,
// append the stored result lines to the file, and print the file.
#include "app/app.h"

#include "app/numbers.h"
#include "app/field_reader.h"
#include "output/folder_listing.h"
#include "output/output_file.h"

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

void App::Command10_Click() {
  play_se(QStringLiteral("fm009.wav"));
  close_midi();
  play_midi(QStringLiteral("nakipops.mid"));
  if (!form3.open) Form3_Form_Load();
}

void App::Form3_Form_Load() {
  form3.reset();
  form3[form3::Drive1].items = drive_list();
  show_folder(form3, form3_start_folder.isEmpty() ? QDir::currentPath() : form3_start_folder);
  form3[form3::Option1].checked = true;
  form3[form3::Option2].checked = false;
  form3.open = true;
}

QString App::Form3_output_path() const {
  QString folder = form3[form3::Dir1].text;
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder + form3[form3::Text1].text;
}

void App::Form3_Command1_Click() {
  const Answer go = platform_.message(
      QStringLiteral("予想結果をファイル出力します。\rよろしいですか？"), kAppTitle, Buttons::OKCancel);
  if (go == Answer::Cancel) return;
  const QString name = form3[form3::Text1].text;
  if (trim_blanks(name).isEmpty()) {
    platform_.message(QStringLiteral("ファイル名を入力して下さい！"), kAppTitle, Buttons::OK);
    return;
  }

  const QString folder = form3[form3::Dir1].text;
  const QString path = Form3_output_path();
  auto refused = [&](const QString& what, const QString& reason) {
    platform_.message(QStringLiteral("「%1」%2\n%3").arg(path, what, reason), kAppTitle, Buttons::OK);
  };
  const QString not_written = QStringLiteral("に出力できませんでした。");
  if (auto reason = check_output_target(folder, name)) return refused(not_written, *reason);
  // The program's own tables: five result lines in one of them would break
  // every later start.
  if (const auto own = startup_files.match(path))
    return refused(not_written,
                   QStringLiteral("%1 は起動時に読み込む参照用のファイルです。書き込むと次から正しく"
                                  "起動できなくなるため、出力先にはできません。別のファイル名を"
                                  "指定して下さい。")
                       .arg(*own));
  if (auto reason = append_to_file(path, output_entry_bytes(s.output_lines)))
    return refused(not_written, *reason);

  // The file list shows the file, new or not, as the one picked.
  Control& files = form3[form3::File1];
  files.items = file_names(folder);
  files.selected = int(files.items.indexOf(name));

  if (!form3[form3::Option2].checked) return;
  platform_.message(QStringLiteral("印刷出力をします。プリンターに用紙をセットして下さい！"), kAppTitle,
                    Buttons::OK);
  QString text;
  if (auto reason = read_windows31j_file(path, text))
    return refused(QStringLiteral("を印刷のために読み込めませんでした。"), *reason);
  const PrintResult printed = platform_.print(read_fields(text, kPrintedFileFields));
  if (printed.status == PrintResult::Status::NoPrinter)
    platform_.message(QStringLiteral("プリンターが見つかりません。既定のプリンターを設定して下さい。"),
                      kAppTitle, Buttons::OK);
  else if (!printed.ok())
    platform_.message(printed.error, kAppTitle, Buttons::OK);
}

void App::Form3_Command2_Click() { form3.open = false; }

void App::Form3_Option1_Click() {
  form3[form3::Option1].checked = true;
  form3[form3::Option2].checked = false;
}

void App::Form3_Option2_Click() {
  form3[form3::Option1].checked = false;
  form3[form3::Option2].checked = true;
}

void App::Form3_set_folder(const QString& path) {
  form3_start_folder = absolute_folder(path);
  if (form3.open) show_folder(form3, form3_start_folder);
}

bool App::Form3_select(const QString& control, int index) {
  if (!form3.open) return false;
  Control* c = form3.find(control);
  if (!c || index < 0 || index >= c->items.size()) return false;
  switch (c->design.kind) {
    case Kind::DriveList: {
      if (index == c->selected) return true;  // the same drive: nothing changes
      const QString root = c->items[index];
      if (!QFileInfo(root).isDir()) {
        platform_.message(QStringLiteral("ドライブ「%1」を使えません。").arg(root), kAppTitle,
                          Buttons::OK);
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
