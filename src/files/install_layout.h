// Where the program finds what it brings along, worked out from the folder
// that holds the program itself (with symbolic links resolved):
//
//   where                      program and sound module   media (GF/, se/, music/)   tables
//   build tree                 <build>                    <build>                    <build>/data
//   installed under <prefix>   <prefix>/lib/quilo         <prefix>/share/quilo <prefix>/share/quilo/data
//
// The package installs with the prefix /usr. Only the program and its sound
// module depend on the machine; everything else is shared data.
#pragma once

#include <QString>

namespace quilo {

struct InstallLayout {
  QString program_folder;  // the program and its sound module
  QString media_folder;    // GF/, se/ and music/midi/
  QString data_folder;     // the installed tables and teaching file; empty when there are none
};

// The layout around program_folder. The media folder is the program's own
// folder unless that has no GF/ and <prefix>/share/quilo has; the tables are
// looked for in the same two places.
InstallLayout locate_install(const QString& program_folder);

}  // namespace quilo
