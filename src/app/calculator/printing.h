// Printing the report: the printer dialog, then the text drawn through the printer's text channel
// in the print font, its first line 20 mm from the sheet's top and left edges.
#pragma once

#include <QString>

#include <mirelto/output/print_layout.h>

class QFont;
class QPrintDialog;
class QPrinter;

namespace mirelto {

// The job name under which prints are listed in the printer's queue.
inline constexpr char16_t kPrintJobName[] = u"3va_Vuruda";
// The font name the printer's text is drawn in; its size stays the printer font's own.
inline constexpr char16_t kPrintFontName[] = u"ＭＳ 明朝";

// Asks for a printer with `dialog` (which chooses `printer`) and prints `text` there followed by
// one line break, in `font` renamed for the job. Cancelling prints nothing. A printer that cannot
// take the job raises an error for the general error display, after the job is closed and `font`
// is back as it was.
void PrintText(const QString& text, QPrintDialog& dialog, QPrinter& printer, QFont& font);

// Offset of the printer's printable area from the sheet's top-left corner, in device pixels, as
// its page layout gives it.
PhysicalOffset PrinterPhysicalOffset(const QPrinter& printer);

}  // namespace mirelto
