// The output window (Form3): pick a folder and a file name, append the
// stored result lines to the file, and print the file.
#pragma once

#include "files/startup_files.h"
#include "media/platform.h"
#include "model/form.h"

#include <QHash>
#include <QString>

#include <vector>

namespace quilo {

class MainWindow;

class OutputWindow {
 public:
  // output_lines: what an output writes (lines 0..3); startup_files: the
  // files it must never write into.
  OutputWindow(Platform& platform, const std::vector<QString>& output_lines,
               const StartupFiles& startup_files);
  OutputWindow(const OutputWindow&) = delete;
  OutputWindow& operator=(const OutputWindow&) = delete;

  Form form;
  // The folder the window starts in when it loads; empty: the program's
  // current folder.
  QString start_folder;

  void Form_Load();
  void Command1_Click();  // 出力実行
  void Command2_Click();  // 戻る
  void Option1_Click();   // ファイル出力
  void Option2_Click();   // ファイル&印刷: the whole file
  void Option3_Click();   // 今回分を印刷: what this session appended to it
  // Points the folder list at a path, as a user choosing a folder does.
  void set_folder(const QString& path);
  // Picks entry index of a list (Drive1, Dir1, File1); false when the control
  // has no entries to pick or the window is not open.
  bool select(const QString& control, int index);
  // The file the output writes to: the text of Text1 as it stands, in Dir1's
  // folder unless it is an absolute path.
  QString output_path() const;

 private:
  void choose_option(const ControlName& option);
  // The entries this session appended, per file, as they were written.
  QHash<QString, QByteArray> appended_;
  Platform& platform_;
  const std::vector<QString>& output_lines_;
  const StartupFiles& startup_files_;
};

// The output command of the main window (出力): its sound and music, then
// the output window.
void Command10_Click(MainWindow& main, OutputWindow& output);

}  // namespace quilo
