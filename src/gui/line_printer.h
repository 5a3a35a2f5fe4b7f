// Prints lines of text, one per line, on a printer (or a PDF file).
#pragma once

#include "media/platform.h"

#include <QStringList>

class QPrinter;

namespace quilo {

// Prints the lines in order as one document, top to bottom, in the printer's
// default font, starting a new page when one is full. A line wider than the
// page continues on the next printed line. printer_name names the printer in
// the message of a failure.
PrintResult print_lines(QPrinter& printer, const QStringList& lines, const QString& printer_name);

}  // namespace quilo
