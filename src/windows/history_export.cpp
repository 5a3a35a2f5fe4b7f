// The 成績 window's CSV export: the file's name and encoding, and the export.
#include "windows/history_export.h"

#include "engines/prediction_commands.h"
#include "files/output_file.h"
#include "model/control_names.h"
#include "state/titles.h"

#include <QDir>
#include <QFileInfo>

namespace quilo {
namespace {

QString folder_of(const QString& export_folder) {
  return export_folder.isEmpty() ? QDir::currentPath() : export_folder;
}

}  // namespace

QString default_csv_file(const QString& export_folder) {
  return QDir::toNativeSeparators(QDir(folder_of(export_folder)).filePath(QStringLiteral("quilo-成績.csv")));
}

void choose_csv_file(Form& form, Platform& platform, const QString& export_folder) {
  const QString folder = folder_of(export_folder);
  const QString typed = form[form4::Text14].text.trimmed();
  const QString suggested =
      typed.isEmpty() ? folder : QDir(folder).absoluteFilePath(QDir::fromNativeSeparators(typed));
  if (const auto chosen =
          platform.choose_save_file(QStringLiteral("CSVファイルの保存先"), suggested,
                                    QStringLiteral("CSVファイル (*.csv);;すべてのファイル (*)")))
    form[form4::Text14].text = QDir::toNativeSeparators(*chosen);
}

void show_csv_encoding(Form& form, CsvEncoding encoding) {
  form[form4::Option1].checked = encoding == CsvEncoding::Windows31J;
  form[form4::Option2].checked = encoding == CsvEncoding::Utf8WithBom;
}

bool export_history_csv(const Form& form, Platform& platform, const StartupFiles& own_files,
                        const HistoryStore& store, const QString& export_folder) {
  const QString typed = form[form4::Text14].text.trimmed();
  if (typed.isEmpty()) {
    platform.message(QStringLiteral("CSVファイルの名前を入力して下さい！"), kAppTitle, Buttons::OK);
    return true;
  }
  const QString path = QDir(folder_of(export_folder)).absoluteFilePath(QDir::fromNativeSeparators(typed));
  const QFileInfo info(path);
  const auto refused = [&](const QString& reason) {
    platform.message(QStringLiteral("「%1」に書き出せませんでした。\n%2").arg(path, reason), kAppTitle,
                     Buttons::OK);
    return true;
  };
  if (auto reason = check_output_target(info.absolutePath(), info.fileName())) return refused(*reason);
  // The program's own files: its tables and this history.
  if (auto reason = own_files.refusal(path)) return refused(*reason);
  if (info.exists() &&
      platform.message(QStringLiteral("「%1」はすでにあります。\r上書きしますか？").arg(path), kAppTitle,
                       Buttons::OKCancelSafe) == Answer::Cancel)
    return true;
  const CsvEncoding encoding =
      form[form4::Option2].checked ? CsvEncoding::Utf8WithBom : CsvEncoding::Windows31J;
  const auto contents = store.read();
  if (!contents) return false;
  if (auto reason = write_history_csv(path, contents->runs, contents->results, encoding, prediction_name))
    return refused(*reason);
  platform.message(QStringLiteral("成績を「%1」に書き出しました。").arg(path), kAppTitle, Buttons::OK);
  return true;
}

}  // namespace quilo
