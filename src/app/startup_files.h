// The files the program reads at start-up (the reference tables and the
// teaching file), remembered so that the output window never appends to one
// of them, whatever spelling, link or folder the user reaches it by.
#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace quilo {

class StartupFiles {
 public:
  // Remembers a file named relative to the current folder, present or not.
  void remember(const QString& name);
  // The name of the start-up file that `path` is (the same file by device and
  // inode, or the same place when either is missing), or nullopt.
  std::optional<QString> match(const QString& path) const;

 private:
  struct Entry {
    QString name;      // as the program opens it: "crt_1.txt"
    QString location;  // its place: the real folder and the name
    bool exists = false;
    unsigned long long device = 0, inode = 0;
  };
  std::vector<Entry> entries_;
};

}  // namespace quilo
