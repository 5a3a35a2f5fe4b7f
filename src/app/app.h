// The program's behaviour: the main window's commands and engines, working
// only on the window model and the platform seam.
#pragma once

#include "app/random.h"
#include "app/startup_files.h"
#include "media/platform.h"
#include "model/form.h"
#include "model/ticket_design.h"
#include "model/shared_state.h"

#include <QString>

#include <functional>
#include <optional>
#include <span>

namespace quilo {

inline const QString kAppTitle = QStringLiteral("競馬予想 Quilo ピルピルθK");
inline const QString kOddsTitle = QStringLiteral("●Quilo ピルピルθK●");
// The title a message box gets when the program gives it none.
inline const QString kDefaultTitle = QStringLiteral("Quilo");

// Thrown by a pause when the main window has been closed meanwhile: the
// command that paused stops there.
struct RunAborted {};

class App {
 public:
  explicit App(Platform& platform);

  // The windows and the shared state: the one source of truth.
  Form form1;
  Form form2;
  Form form3;
  SharedState s;

  Platform& platform() { return platform_; }
  Lcg24Random& rng() { return rng_; }

  // Reveal thresholds: how many how-to-use presses a prediction must find,
  // and how many such predictions open the diagnostic column.
  static constexpr std::int16_t kRevealPressThreshold = 3;
  static constexpr std::int16_t kRevealStageThreshold = 2;

  // ---- Dispatch -----------------------------------------------------------
  // Presses a button (or option) of a window, as a user does. Returns false
  // when there is no such control. While a command runs (inside its pauses)
  // the buttons of the main window other than THE END do nothing, so that two
  // runs never interleave.
  bool click(const QString& form, const QString& control);
  // True when the window has such a button (or option).
  bool has_button(const QString& form, const QString& control) const;
  bool busy() const { return busy_ > 0; }

  // ---- Skipping a staging ------------------------------------------------------
  // The running command goes on without waiting: each of its later pauses
  // returns at once, so every remaining step still happens, in order. Does
  // nothing while no command runs.
  void skip_staging();
  // The next command runs as if skip_staging() came at its first pause.
  void skip_next_command() { skip_next_ = true; }
  bool skipping() const { return skipping_; }
  // True when the control is a button that a press would run now.
  bool accepts_click(const QString& form, const QString& control) const;

  // ---- Start-up and tables ---------------------------------------------------
  void Form_Load();
  void load_crt_file(const QString& file, int column);
  void load_waku_file(const QString& file, int column);
  // The files Form_Load reads; the output never writes into one of them.
  StartupFiles startup_files;

  // ---- Media -------------------------------------------------------------------
  void play_midi(const QString& file);
  void close_midi();
  void play_se(const QString& file);
  // target: an image control of the main window.
  void load_gf_picture(ControlName target, const QString& file);
  // The main window's background picture.
  void load_gf_background(const QString& file);
  // Pauses while the windows stay alive; throws RunAborted when the main
  // window was closed before or during the pause.
  void WaitTimer(float seconds);

  // ---- Shell commands ------------------------------------------------------------
  // Runs the blank-odds check; false when a message stopped the command.
  bool check_odds_entered();
  void Command5_Click();   // THE END
  void Command2_Click();   // how to use
  void advance_reveal_stage();
  void Form2_Form_Load();
  void Form2_Command2_Click();  // 戻る
  // The main window closed by the window system instead of THE END.
  void form1_closed_by_user();

  // ---- Odds -------------------------------------------------------------------------
  // The odds as a single-precision number, or a message and nullopt when the
  // text is not a number. which: 1 or 2.
  std::optional<float> odds_or_message(int which);
  // The odds as a number, or nullopt (no message).
  std::optional<float> odds(int which) const;

  // ---- Result card ----------------------------------------------------------------------
  // Shows result lines 0, 2 and 4 on the card over the ticket.
  void show_result_card();
  void hide_result_card();

  // ---- Ticket and effects ------------------------------------------------------------
  void show_ticket(TicketKind kind);
  // Sets chance_level from yosou_num and the first favourite's odds: one for
  // each lucky value that matches, one for each threshold the odds are at or
  // below.
  void count_chance_level(std::span<const float> thresholds);
  // The makai count: its thresholds are those of the makai escalation, and
  // each one passed plays its sound and shows its window picture.
  void count_makai_chance_level();
  void show_background(int level, bool level0_caption);
  void show_exacta_chance(int level);
  void play_makai_staging();
  void play_onibaku_staging();

  // ---- Predictions ---------------------------------------------------------------------
  void Command8_Click();  // trifecta
  void yosou_loto6_Q();
  void yosou_loto6_crt();
  void Command1_Click();  // makai trifecta
  void yosou_numbers3_Q();
  void yosou_numbers3_crt();
  void Command3_Click();  // exacta
  void yosou_numbers_mini_Q();
  void yosou_numbers_mini_crt();
  void Command6_Click();  // onibaku exacta
  void yosou_numbers4_Q();
  void yosou_numbers4_crt();

  // ---- Advice ---------------------------------------------------------------------------
  void Command4_Click();
  void apply_course_picks(const QString& context);

  // ---- Place, bracket, teaching -----------------------------------------------------------
  void Command11_Click();  // place
  void place_command();
  void yosou_mini_loto_Q();
  void yosou_mini_loto_crt();
  void Command12_Click();  // bracket
  void yosou_WAKU_Q();
  void yosou_WAKU_crt();
  // False when the latest yosou_WAKU_Q ran out of table rows before it drew
  // every bracket; the bracket command then skips the result stage.
  bool waku_draw_complete = false;
  void Command13_Click();  // teaching
  void teaching_command();
  // report: a file that cannot be read gets its message.
  void load_teaching_file(const QString& file, bool report = true);

  // ---- Output window ---------------------------------------------------------------------
  void Command10_Click();
  void Form3_Form_Load();
  void Form3_Command1_Click();  // 出力実行
  void Form3_Command2_Click();  // 戻る
  void Form3_Option1_Click();
  void Form3_Option2_Click();
  // Points the folder list at a path, as a user choosing a folder does.
  void Form3_set_folder(const QString& path);
  // Picks entry index of a list of the output window (Drive1, File1); false
  // when the control has no entries to pick.
  bool Form3_select(const QString& control, int index);
  // The file the output writes to: Dir1's folder, a separator and the text
  // of Text1 as it stands.
  QString Form3_output_path() const;
  // The folder the output window starts in when it loads; empty: the
  // program's current folder.
  QString form3_start_folder;

  // ---- Model helpers ---------------------------------------------------------------------
  Control& c(ControlName name) { return form1[name]; }
  const Control& c(ControlName name) const { return form1[name]; }
  Control& label(ControlArray array, int index) { return form1(array, index); }
  QString text(ControlName name) const { return form1[name].text; }
  int selected(ControlName name) const { return form1[name].selected; }
  // By a key made at run time ("Label1(37)"), as tests and the views do.
  Control& c(const QString& key) { return form1[key]; }
  const Control& c(const QString& key) const { return form1[key]; }
  Control& label(const QString& name, int index) { return form1.at(name, index); }
  QString text(const QString& key) const { return form1[key].text; }
  void set_result_line(int i, const QString& line) { set_list_line(form1[form1::List1], i, line); }
  QString result_line(int i) const { return list_line(form1[form1::List1], i); }

 private:
  // A table column reader shared by the crt and waku loaders.
  void load_table_file(const QString& file, int rows, std::int16_t* dest);

  Platform& platform_;
  Lcg24Random rng_;
  int busy_ = 0;
  bool skipping_ = false;
  bool skip_next_ = false;
};

}  // namespace quilo
