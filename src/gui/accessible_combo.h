// What a screen reader hears of a combo box: on Linux Qt gives an editable
// combo its value as its name, so that "01" or " 1" is all that is said.
// This interface keeps the combo's own name (its caption) and gives the value
// as the value.
#pragma once

namespace quilo {

// Installs the interface for every combo box of the program; once is enough.
void install_accessible_combo();

}  // namespace quilo
