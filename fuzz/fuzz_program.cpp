// The whole program driven by random sessions: random small tables in the
// working folder, random picks, typed texts (full-width and control
// characters too), clicks on every button of every window, also during
// pauses, results typed into the 成績 window, random message-box answers and
// a virtual clock. After every action the state must stay within its bounds.
#include "app/app.h"
#include "fuzz_support.h"
#include "media/headless_platform.h"
#include "presentation/shell_commands.h"

#include <QStringList>

#include <array>
#include <limits>

using namespace quilo;

namespace {

// Every button and option of every window, from the program's own dispatch
// table: a new button is pressed here without an edit.
const std::vector<App::ButtonId>& buttons() {
  static const std::vector<App::ButtonId> all = App::buttons();
  return all;
}

const char* const kCombos[] = {"Combo1",  "Combo2",  "Combo3",  "Combo4",         "Combo5",
                               "Combo6",  "Combo7",  "Combo8",  "Combo9",         "Combo10",
                               "Combo11", "Combo13", "Combo14", "place_extra_box"};
const char* const kTexts[] = {"Text1", "Text2"};

// Pieces of typed text: what users type, and what they should not.
const char* const kPieces[] = {
    "1",
    "2.5",
    "0",
    "-3",
    "+4",
    ".",
    "1e40",
    "NaN",
    "inf",
    "99999999999999999999",
    "１",
    "２．５",
    "－１",
    "＋",
    "　",
    " ",
    "\t",
    "\r",
    "\n",
    "\x1b",
    "a",
    "頭",
    "Ｒ",
    "R",
    "12",
    "20",
    "0.0000000000000000000000000000000000000000001",
    "\"",
    ",",
    "/",
    "..",
    "東京",
    "\xef\xbf\xbd",
    "-0",
    "3.4",
    "1.6",
};

QString random_text(FuzzedDataProvider& in, bool file_name) {
  QString t;
  const int n = in.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < n; ++i) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0:  // a raw code unit, any at all (lone surrogates, NUL, ...)
        t += QChar(in.ConsumeIntegral<char16_t>());
        break;
      case 1:  // a long run
        t += QString(in.ConsumeIntegralInRange(1, 300), QChar(in.ConsumeIntegralInRange(0x20, 0xFF20)));
        break;
      default:
        t += QString::fromUtf8(kPieces[in.ConsumeIntegralInRange<size_t>(0, std::size(kPieces) - 1)]);
    }
  }
  // Output files stay in the working folder.
  if (file_name) t.remove(QLatin1Char('/'));
  return t;
}

QByteArray random_table(FuzzedDataProvider& in, int lowest, int highest) {
  QByteArray t;
  switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0:
      return QByteArray::fromStdString(in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 64)));
    case 1:
      return "x";  // unreadable
    default:
      break;
  }
  const int rows = in.ConsumeIntegralInRange(0, 60);
  for (int r = 0; r < rows; ++r) t += QByteArray::number(in.ConsumeIntegralInRange(lowest, highest)) + "\r\n";
  return t;
}

class Session {
 public:
  explicit Session(FuzzedDataProvider& in) : in_(in), app_(platform_) {
    platform_.clock = in.ConsumeIntegralInRange(0, 86399);
    platform_.printer_available = in.ConsumeBool();
    platform_.on_pause = [this](float) { during_pause(); };
  }

  void run() {
    app_.start();
    check();
    for (int step = 0; step < 48 && in_.remaining_bytes() > 0 && app_.main().form.open; ++step) {
      act(false);
      check();
    }
  }

 private:
  // A user who goes on pressing buttons while a command waits.
  void during_pause() {
    // Sometimes the user skips the rest of the staging.
    if (in_.ConsumeIntegralInRange(0, 7) == 0) app_.skip_staging();
    if (depth_ > 2 || !in_.ConsumeBool()) return;
    ++depth_;
    act(true);
    --depth_;
  }

  void act(bool in_pause) {
    switch (in_.ConsumeIntegralInRange(0, in_pause ? 3 : 7)) {
      case 0:
      case 1: {
        const App::ButtonId& b = buttons()[in_.ConsumeIntegralInRange<size_t>(0, buttons().size() - 1)];
        const bool was_open = app_.main().form.open;
        FUZZ_CHECK(app_.click(b.form, b.control), "no button %s.%s", qPrintable(b.form),
                   qPrintable(b.control));
        if (was_open && !app_.main().form.open)
          FUZZ_CHECK(platform_.music_playing.isEmpty(), "music plays after the end");
        break;
      }
      case 2:
        platform_.answers.push_back(in_.ConsumeBool() ? Answer::OK : Answer::Cancel);
        break;
      case 3:
        if (app_.history().form.open && in_.ConsumeBool()) {
          history_input();
        } else if (app_.output().form.open) {
          Control& files = app_.output().form["File1"];
          if (!files.items.isEmpty())
            app_.output().select(QStringLiteral("File1"),
                                 in_.ConsumeIntegralInRange<int>(0, int(files.items.size()) - 1));
          else
            app_.output().form["Text1"].text = random_text(in_, true);
        }
        break;
      case 4: {  // pick an entry of a list box
        Control& box = app_.main().c(
            QLatin1String(kCombos[in_.ConsumeIntegralInRange<size_t>(0, std::size(kCombos) - 1)]));
        if (box.items.isEmpty()) break;
        box.selected = in_.ConsumeIntegralInRange<int>(0, int(box.items.size()) - 1);
        box.text = box.items[box.selected];
        break;
      }
      case 5: {  // type into a list box
        Control& box = app_.main().c(
            QLatin1String(kCombos[in_.ConsumeIntegralInRange<size_t>(0, std::size(kCombos) - 1)]));
        box.text = random_text(in_, false);
        box.selected = -1;
        break;
      }
      case 6:
        app_.main().c(QLatin1String(kTexts[in_.ConsumeBool()])).text = random_text(in_, false);
        break;
      case 7:
        if (app_.output().form.open) app_.output().form["Text1"].text = random_text(in_, true);
        platform_.clock = in_.ConsumeIntegralInRange(0, 86399);
        if (in_.ConsumeBool()) app_.skip_next_command();
        break;
    }
  }

  // The 成績 window: a result typed in, a race or a chart picked.
  void history_input() {
    HistoryWindow& h = app_.history();
    switch (in_.ConsumeIntegralInRange(0, 2)) {
      case 0:
        h.select(QStringLiteral("Grid1"), in_.ConsumeIntegralInRange(-1, 6));
        break;
      case 1:
        h.select(QStringLiteral("Combo1"), in_.ConsumeIntegralInRange(-1, 5));
        break;
      default: {
        // Any of the window's text boxes, whichever its design has.
        QStringList boxes;
        for (const Control& c : h.form.controls())
          if (c.design.kind == Kind::Text) boxes << c.key();
        const QString box = boxes.value(in_.ConsumeIntegralInRange(0, int(boxes.size()) - 1));
        h.form[box].text = in_.ConsumeBool() ? QString::number(in_.ConsumeIntegralInRange(-5, 3000))
                                             : random_text(in_, false);
      }
    }
  }

  void check() {
    const SharedState& s = app_.main().s;
    FUZZ_CHECK(!app_.main().c("List1").visible, "List1 shown");
    FUZZ_CHECK(app_.main().c("List1").lines.size() <= kOutputLines, "%d result lines",
               int(app_.main().c("List1").lines.size()));
    FUZZ_CHECK(s.output_lines.size() == std::size_t(kOutputLines), "output lines resized");
    FUZZ_CHECK(s.chance_level >= 0 && s.chance_level <= 8, "chance level %d", int(s.chance_level));
    FUZZ_CHECK(s.reveal_press_count >= 0, "press count %d", int(s.reveal_press_count));
    FUZZ_CHECK(s.reveal_stage >= 0 && s.reveal_stage <= kRevealStageThreshold, "stage %d",
               int(s.reveal_stage));
    // The advice command stores the sum of the month and day entries, -1 each when typed.
    FUZZ_CHECK(s.crt_row >= -2 && s.crt_row < kCrtRows, "crt_row %d", int(s.crt_row));
    FUZZ_CHECK(s.teaching_count >= 0 && s.teaching_count <= kTeachingEntries, "teachings %d",
               int(s.teaching_count));
    FUZZ_CHECK(s.yosou_max >= 0, "yosou_max %d", int(s.yosou_max));
    const Control& card = app_.main().c("result_card");
    // Three result lines (a quoted teaching may hold line ends of its own).
    FUZZ_CHECK(!card.visible || card.text.count(QLatin1Char('\n')) >= 2, "result card of %d lines",
               int(card.text.count(QLatin1Char('\n')) + 1));
    FUZZ_CHECK(app_.busy() || !app_.skipping(), "a skip outlives its command");
    // The headless log grows with every effect; keep it short.
    platform_.drop_events();
  }

  FuzzedDataProvider& in_;
  HeadlessPlatform platform_;
  App app_;
  int depth_ = 0;
};

void write_tables(FuzzedDataProvider& in) {
  QDir dir = fuzz::work_folder();
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) dir.remove(name);
  for (int n = 1; n <= 8; ++n)
    fuzz::write_file(QStringLiteral("crt_%1.txt").arg(n), random_table(in, -2, 21));
  for (int n = 1; n <= 4; ++n)
    fuzz::write_file(QStringLiteral("waku_%1.txt").arg(n), random_table(in, -1, 9));
  if (in.ConsumeBool())
    fuzz::write_file(QStringLiteral("maharaja.txt"),
                     QByteArray::fromStdString(in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 80))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  write_tables(in);
  Session session(in);
  session.run();
  return 0;
}
