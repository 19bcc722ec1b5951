#include "calculator/printing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <stdexcept>
#include <string_view>

#include "desktop/platform.h"

namespace mirelto {

namespace {

[[noreturn]] void FailPrinting(const char* what, const QPrinter& printer) {
    const QString where = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                        : printer.printerName();
    throw std::runtime_error(QStringLiteral("Printer \"%1\" could not %2")
                                 .arg(where, QLatin1String(what))
                                 .toStdString());
}

// Ends the job and gives the printer font back whatever way the printing ends.
class JobCleanup {
  public:
    JobCleanup(QPainter& painter, QFont& font) : painter_(painter), font_(font), saved_(font) {}
    ~JobCleanup() {
        if (painter_.isActive()) {
            painter_.end();
        }
        font_ = saved_;
    }
    JobCleanup(const JobCleanup&) = delete;
    JobCleanup& operator=(const JobCleanup&) = delete;

  private:
    QPainter& painter_;
    QFont& font_;
    const QFont saved_;
};

// Writes the text through the text channel, from logical (0, 0) on; the channel's page is the
// printable area right of and below that point, so that no line runs off the sheet.
void WriteText(QPainter& painter, QPrinter& printer, const QString& text, PrintOrigin origin) {
    const QFontMetrics metrics = painter.fontMetrics();
    const QByteArray utf8 = text.toUtf8();
    const std::string_view all(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    const auto toQString = [](std::string_view piece) {
        return QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
    };
    const TextWidth width = [&](std::string_view piece) {
        return metrics.horizontalAdvance(toQString(piece));
    };
    const ChannelLayout layout = LayoutTextChannel(
        all, width, metrics.lineSpacing(), printer.width() - origin.x, printer.height() - origin.y);
    int page = 0;
    for (const ChannelPiece& piece : layout.pieces) {
        for (; page < piece.page; ++page) {
            if (!printer.newPage()) {
                FailPrinting("start a new page", printer);
            }
        }
        painter.drawText(QPoint(piece.x, piece.y + metrics.ascent()),
                         toQString(all.substr(piece.offset, piece.size)));
    }
}

}  // namespace

PhysicalOffset PrinterPhysicalOffset(const QPrinter& printer) {
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    return {printable.x(), printable.y()};
}

void PrintText(const QString& text, QPrintDialog& dialog, QPrinter& printer, QFont& font) {
    if (!CurrentPlatform().ExecPrintDialog(dialog)) {
        return;
    }
    printer.setDocName(QString::fromUtf16(kPrintJobName));
    QPainter painter;
    if (!painter.begin(&printer)) {
        FailPrinting("start the print job", printer);
    }
    bool closed = false;
    {
        JobCleanup cleanup(painter, font);
        const PrintOrigin origin =
            PrintOriginFor(printer.logicalDpiY(), PrinterPhysicalOffset(printer));
        font.setFamily(QString::fromUtf16(kPrintFontName));
        painter.setFont(font);
        painter.translate(origin.x, origin.y);
        WriteText(painter, printer, text + QStringLiteral("\r\n"), origin);
        closed = painter.end();
    }
    if (!closed) {
        FailPrinting("finish the print job", printer);
    }
}

}  // namespace mirelto
