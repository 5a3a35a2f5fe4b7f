// The delimited-field reader on arbitrary text, with the rules of the file to
// print and of the teaching file.
#include "fuzz_support.h"
#include "text/field_reader.h"

using namespace quilo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = fuzz::text_of(data, size);
  const bool teaching = size > 0 && (data[0] & 0x80);
  const QStringList fields = read_fields(text, teaching ? kTeachingFileFields : kPrintedFileFields);
  qsizetype chars = 0;
  for (const QString& f : fields) {
    // Only a quoted teaching may hold a line end.
    FUZZ_CHECK(teaching || (!f.contains(QLatin1Char('\r')) && !f.contains(QLatin1Char('\n'))),
               "a field holds a line end");
    chars += f.size();
  }
  FUZZ_CHECK(chars <= text.size(), "fields longer than the text");
  // Every comma and line end of the text is accounted for: at most one
  // field more than there are delimiters.
  qsizetype delimiters = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char(',') || c == QLatin1Char('\n') ||
        (c == QLatin1Char('\r') && !(i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))))
      ++delimiters;
  }
  FUZZ_CHECK(fields.size() <= delimiters + 1, "%d fields, %d delimiters", int(fields.size()),
             int(delimiters));
  FUZZ_CHECK(text.isEmpty() == fields.isEmpty(), "fields of empty text");
  return 0;
}
