// The controls of the program's windows by name, as typed constants. Code
// names a control only through these, so a misspelt name does not compile,
// and check_control_names() proves when the program starts that each of them
// is a control of its window's design: an unknown name fails at start-up,
// never at a user's click.
#pragma once

#include <QString>

#include <cstdint>
#include <initializer_list>

namespace quilo {

class Form;

// A single control: "Combo8".
struct ControlName {
  const char* key;
  QString text() const { return QString::fromLatin1(key); }
};

// A control array and the members it has: "Label1" with 0..44.
struct ControlArray {
  const char* name;
  std::uint64_t members;  // bit i set: member i exists

  bool has(int index) const { return index >= 0 && index < 64 && (members >> index & 1u); }
  // "Label1(37)"; a member the array does not have is a programming error
  // (std::logic_error).
  QString key(int index) const;
};

constexpr std::uint64_t member_range(int first, int last) {
  std::uint64_t bits = 0;
  for (int i = first; i <= last; ++i) bits |= std::uint64_t(1) << i;
  return bits;
}

constexpr std::uint64_t member_list(std::initializer_list<int> indexes) {
  std::uint64_t bits = 0;
  for (int i : indexes) bits |= std::uint64_t(1) << i;
  return bits;
}

// The controls of each window, one name a line: clang-format keeps that
// layout, where it breaks a packed list differently on every run.

// The main window.
#define QUILO_FORM1_CONTROLS(X) \
  X(Combo1)                     \
  X(Combo2)                     \
  X(Combo3)                     \
  X(Combo4)                     \
  X(Combo5)                     \
  X(Combo6)                     \
  X(Combo7)                     \
  X(Combo8)                     \
  X(Combo9)                     \
  X(Combo10)                    \
  X(Combo11)                    \
  X(Combo13)                    \
  X(Combo14)                    \
  X(place_extra_box)            \
  X(Text1)                      \
  X(Text2)                      \
  X(Command1)                   \
  X(Command2)                   \
  X(Command3)                   \
  X(Command4)                   \
  X(Command5)                   \
  X(Command6)                   \
  X(Command8)                   \
  X(Command10)                  \
  X(Command11)                  \
  X(Command12)                  \
  X(Command13)                  \
  X(Command14)                  \
  X(List1)                      \
  X(Image1)                     \
  X(Image2)                     \
  X(Image3)                     \
  X(Image4)                     \
  X(Label7)                     \
  X(Label14)                    \
  X(result_card)

// The explanation window.
#define QUILO_FORM2_CONTROLS(X) X(Command2)

// The output window.
#define QUILO_FORM3_CONTROLS(X) \
  X(Drive1) X(Dir1) X(File1) X(Text1) X(Option1) X(Option2) X(Option3) X(Command1) X(Command2)

// The history window.
#define QUILO_FORM4_CONTROLS(X) \
  X(Grid1)                      \
  X(Grid2)                      \
  X(Grid3)                      \
  X(Grid4)                      \
  X(Chart1)                     \
  X(Combo1)                     \
  X(Combo2)                     \
  X(Combo3)                     \
  X(Text1)                      \
  X(Text2)                      \
  X(Text3)                      \
  X(Text4)                      \
  X(Text5)                      \
  X(Text6)                      \
  X(Text7)                      \
  X(Text8)                      \
  X(Text9)                      \
  X(Text12)                     \
  X(Text13)                     \
  X(Text14)                     \
  X(Text15)                     \
  X(Option1)                    \
  X(Option2)                    \
  X(Command1)                   \
  X(Command2)                   \
  X(Command3)                   \
  X(Command4)                   \
  X(Command5)                   \
  X(Command6)                   \
  X(Command7)                   \
  X(Command8)                   \
  X(Command9)

#define QUILO_CONTROL_NAME(n) inline constexpr ControlName n{#n};

namespace form1 {
QUILO_FORM1_CONTROLS(QUILO_CONTROL_NAME)
// The ticket's fields and bet cells.
inline constexpr ControlArray Label1{"Label1", member_range(0, 44)};
// The step markers ②, ① and ③.
inline constexpr ControlArray Label2{"Label2", member_range(0, 2)};
// The ◆ markers between a ticket row's positions.
inline constexpr ControlArray Label3{"Label3", member_range(0, 7)};
// The diagnostic column: table rows 0..7, values 8..15.
inline constexpr ControlArray Label4{"Label4", member_range(0, 15)};
// The captions of the inputs.
inline constexpr ControlArray Label5{"Label5", member_list({0, 1, 2, 3, 4, 6, 7, 10})};
// The marks over ticket rows 1..4 (members 0..3) whose bet cannot be bought.
inline constexpr ControlArray unbuyable_mark{"unbuyable_mark", member_range(0, 3)};
}  // namespace form1

namespace form2 {
QUILO_FORM2_CONTROLS(QUILO_CONTROL_NAME)
}  // namespace form2

namespace form3 {
QUILO_FORM3_CONTROLS(QUILO_CONTROL_NAME)
}  // namespace form3

namespace form4 {
QUILO_FORM4_CONTROLS(QUILO_CONTROL_NAME)
// The captions; 19 tells which race the result inputs belong to, 20 how
// many races there are, 22 which ledger and period the figures are of, 18
// the streaks and 23 the lowest chance level that paid.
inline constexpr ControlArray Label1{"Label1", member_range(0, 24)};
}  // namespace form4

#undef QUILO_CONTROL_NAME

// Throws std::logic_error naming the first constant above that is not a
// control of its window's design (for an array: a member it names that the
// design lacks, or one the design has that it does not name).
void check_control_names(const Form& form1, const Form& form2, const Form& form3, const Form& form4);

}  // namespace quilo
