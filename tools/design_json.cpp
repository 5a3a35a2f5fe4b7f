// Prints the window designs as JSON: for each window, each control's place in
// pixels ([left, top, width, height]). Tests that drive the real window take
// their click points from it instead of copying them.
#include "model/window_design.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

int main() {
  using namespace quilo;
  QJsonObject windows;
  for (const FormDesign& form : all_form_designs()) {
    QJsonObject controls;
    for (const ControlDesign& c : form.controls)
      controls.insert(c.key(), QJsonArray{twips_to_px(c.left), twips_to_px(c.top), twips_to_px(c.width),
                                          twips_to_px(c.height)});
    windows.insert(form.name, controls);
  }
  const QByteArray json = QJsonDocument(windows).toJson(QJsonDocument::Compact);
  std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
  std::fputc('\n', stdout);
  return 0;
}
