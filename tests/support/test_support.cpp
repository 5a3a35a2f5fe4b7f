#include "test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quilo::test {
namespace {

// The append journal of the tests (and of the programs they start) lives in
// the build folder, never in the home folder of whoever runs them.
const bool kJournalInBuildFolder = [] {
  if (!qEnvironmentVariableIsSet("XDG_STATE_HOME"))
    qputenv("XDG_STATE_HOME", QByteArray(QUILO_MEDIA_DIR) + "/test-state");
  return true;
}();

}  // namespace

Session::Session(Tables tables) {
  previous_dir_ = QDir::currentPath();
  if (tables == Tables::Committed) {
    const QDir data(QStringLiteral(QUILO_DATA_DIR));
    // Plain reads and writes: a test folder needs no syncing to disk.
    for (const QString& f : data.entryList({"*.txt"}, QDir::Files)) {
      QFile in(data.filePath(f)), out(dir_.filePath(f));
      if (in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly)) out.write(in.readAll());
    }
  }
  QDir::setCurrent(dir_.path());
}

Session::~Session() { QDir::setCurrent(previous_dir_); }

void Session::write_file(const QString& name, const QByteArray& bytes) {
  QFile f(dir_.filePath(name));
  QFile::remove(f.fileName());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

void Session::write_table(const QString& name, const std::vector<int>& values) {
  QByteArray bytes;
  for (int v : values) bytes += QByteArray::number(v) + "\r\n";
  write_file(name, bytes);
}

void Session::run(const QString& script) {
  const auto err = runner_.run_script(script);
  ASSERT_FALSE(err.has_value()) << err->toStdString();
}

QJsonObject Session::dump(const QString& script) {
  run(script);
  runner_.start();
  return runner_.dump();
}

std::vector<int> table_rows(const std::map<int, int>& values) {
  std::vector<int> column(values.empty() ? 0 : values.rbegin()->first + 1, 0);
  for (const auto& [row, v] : values) column[row] = v;
  return column;
}

QString program_folder() { return QFileInfo(QStringLiteral(QUILO_BINARY)).absolutePath(); }

QJsonObject control(const QJsonObject& dump, const QString& key) {
  const auto controls = dump.value("controls").toObject();
  EXPECT_TRUE(controls.contains(key)) << "no control " << key.toStdString();
  return controls.value(key).toObject();
}

QString caption(const QJsonObject& dump, const QString& key) {
  return control(dump, key).value("caption").toString();
}

bool visible(const QJsonObject& dump, const QString& key) {
  return control(dump, key).value("visible").toBool();
}

QJsonObject state(const QJsonObject& dump) { return dump.value("state").toObject(); }

QJsonArray events(const QJsonObject& dump) { return dump.value("events").toArray(); }

QJsonArray events_of(const QJsonObject& dump, const QString& kind) {
  QJsonArray out;
  for (const auto& e : events(dump))
    if (e.toObject().value("kind").toString() == kind) out.append(e);
  return out;
}

QStringList event_lines(const QJsonObject& dump) {
  QStringList out;
  for (const auto& v : events(dump)) {
    const QJsonObject e = v.toObject();
    const QString kind = e.value("kind").toString();
    if (kind == "se" || kind == "midi_open" || kind == "background")
      out << kind + " " + e.value("file").toString();
    else if (kind == "midi_close")
      out << kind;
    else if (kind == "picture")
      out << kind + " " + e.value("target").toString() + " " + e.value("file").toString();
    else if (kind == "pause")
      out << kind + " " + QString::number(e.value("seconds").toDouble());
    else if (kind == "message")
      out << kind + " " + e.value("text").toString();
    else if (kind == "print")
      out << kind + " " + strings(e.value("lines")).join("|");
    else
      out << kind;
  }
  return out;
}

QStringList strings(const QJsonValue& array) {
  QStringList out;
  for (const auto& v : array.toArray()) out << v.toString();
  return out;
}

QStringList messages(const QJsonObject& dump) {
  QStringList out;
  for (const auto& e : events_of(dump, "message")) out << e.toObject().value("text").toString();
  return out;
}

}  // namespace quilo::test
