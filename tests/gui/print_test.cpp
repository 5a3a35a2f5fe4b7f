// Printing: the printed page holds every field, one per line, in order; read
// back from a PDF that a QPrinter writes.
#include "gui/desktop_platform.h"
#include "gui/line_printer.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace quilo;

namespace {

// The PDF's text as pdftotext reads it, one string per page.
QStringList pdf_pages(const QString& pdf) {
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  EXPECT_FALSE(tool.isEmpty()) << "pdftotext (poppler-utils) is needed";
  QProcess p;
  p.start(tool, {"-enc", "UTF-8", pdf, "-"});
  EXPECT_TRUE(p.waitForFinished(30000));
  QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// A printed text as lines that hold something, without their blanks: the
// text extraction drops or adds blanks between glyphs of mixed widths.
QStringList non_blank_lines(const QString& text) {
  QStringList out;
  for (const QString& line : text.split('\n')) {
    QString kept;
    for (QChar c : line)
      if (!c.isSpace()) kept += c;
    if (!kept.isEmpty()) out << kept;
  }
  return out;
}

std::string lines_text(const QStringList& lines) { return lines.join('\n').toStdString(); }

struct PdfPrinter {
  QTemporaryDir dir;
  QPrinter printer{QPrinter::HighResolution};
  PdfPrinter() {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("out.pdf"));
  }
};

}  // namespace

TEST(Print, EveryFieldOnItsOwnLineInOrder) {
  PdfPrinter pdf;
  const QStringList fields{
      "□□□□□ 競馬予想 Quilo ピルピルθK Ver 1.0 2010 □□□□□ ", "1-2-3", "本命 1", "穴 ⑦", "", "　",
      "□□□□□ 競馬予想 Quilo ピルピルθK Ver 1.0 2010 □□□□□ ", "5-6"};
  const PrintResult r = print_lines(pdf.printer, fields, "PDF");
  ASSERT_TRUE(r.ok()) << r.error.toStdString();
  const QStringList pages = pdf_pages(pdf.printer.outputFileName());
  ASSERT_EQ(pages.size(), 1);
  EXPECT_EQ(lines_text(non_blank_lines(pages[0])), lines_text(non_blank_lines(fields.join('\n'))));
}

TEST(Print, FullPagesContinueOnTheNextAndLongLinesWrap) {
  PdfPrinter pdf;
  QStringList fields;
  for (int i = 1; i <= 150; ++i) fields << QString("line %1").arg(i, 3, 10, QChar('0'));
  const QString long_line = QString(300, 'x');
  fields << long_line << "end";
  ASSERT_TRUE(print_lines(pdf.printer, fields, "PDF").ok());
  const QStringList pages = pdf_pages(pdf.printer.outputFileName());
  EXPECT_GE(pages.size(), 2);
  QStringList lines;
  for (const QString& page : pages) lines << non_blank_lines(page);
  ASSERT_GE(lines.size(), 152);
  EXPECT_EQ(lines_text(lines.mid(0, 150)), lines_text(non_blank_lines(fields.mid(0, 150).join('\n'))));
  EXPECT_EQ(lines.last(), "end");
  // Nothing of the long line is cut off: it goes on over several lines.
  const QStringList wrapped = lines.mid(150, lines.size() - 151);
  EXPECT_GE(wrapped.size(), 2);
  EXPECT_EQ(wrapped.join("").toStdString(), long_line.toStdString());
}

TEST(Print, WithoutAPrinterTheUserIsTold) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a printer";
  DesktopPlatform platform(QFileInfo(QStringLiteral(QUILO_BINARY)).absolutePath());
  const PrintResult r = platform.print({"a"});
  EXPECT_EQ(r.status, PrintResult::Status::NoPrinter);
}
