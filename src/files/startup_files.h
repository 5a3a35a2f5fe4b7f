// The files the program reads at start-up (the reference tables and the
// teaching file) and the history file it keeps, remembered so that neither the
// output window nor the history's CSV export ever writes into one of them,
// whatever spelling, link or folder the user reaches it by.
#pragma once

#include "platform/file_ops.h"

#include <QString>

#include <optional>
#include <vector>

namespace quilo {

class StartupFiles {
 public:
  enum class Role { Table, History };
  // Remembers a file named relative to the current folder, present or not.
  void remember(const QString& name, Role role = Role::Table);
  // Why `path` must not be written to, for the user, when it is one of the
  // remembered files (the same file by device and inode, or the same place
  // when either is missing).
  std::optional<QString> refusal(const QString& path) const;
  // Whether `path` is one of the files read at start-up (a table or the
  // teaching file), by the same identity.
  bool read_at_start(const QString& path) const;

 private:
  struct Entry {
    QString name;  // as the program opens it: "crt_1.txt"
    Role role = Role::Table;
    QString location;                    // its place: the real folder and the name
    std::optional<platform::FileId> id;  // none when the file is missing
  };
  const Entry* find(const QString& path) const;

  std::vector<Entry> entries_;
};

}  // namespace quilo
