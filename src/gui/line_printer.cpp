#include "gui/line_printer.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace quilo {

PrintResult print_lines(QPrinter& printer, const QStringList& lines, const QString& printer_name) {
  auto failed = [&](const QString& what) {
    return PrintResult{PrintResult::Status::Failed,
                       QStringLiteral("プリンター「%1」%2").arg(printer_name, what)};
  };
  QPainter painter;
  if (!painter.begin(&printer)) return failed(QStringLiteral("で印刷を始められませんでした。"));
  // The painter's origin is the top-left corner of the printable area.
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  const int width = std::max(1, page.width());
  const int line_height = painter.fontMetrics().lineSpacing();
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere;
  int y = 0;
  for (const QString& line : lines) {
    const QRect need = painter.boundingRect(QRect(0, 0, width, page.height()), flags, line);
    const int height = std::max(line_height, need.height());
    if (y > 0 && y + height > page.height()) {
      if (!printer.newPage()) {
        painter.end();
        return failed(QStringLiteral("で次のページに進めませんでした。"));
      }
      y = 0;
    }
    painter.drawText(QRect(0, y, width, height), flags, line);
    y += height;
  }
  if (!painter.end()) return failed(QStringLiteral("で印刷を終えられませんでした。"));
  return {};
}

}  // namespace quilo
