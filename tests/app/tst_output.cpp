// Result output through the real window: the report after the real commands, copying it, and
// printing it to PDF with the printer dialog replaced, read back with poppler's tools.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <memory>

#include <mirelto/design/design_state.h>

#include "app_test_support.h"
#include "calculator/main_window.h"
#include "calculator/printing.h"
#include "desktop/error_display.h"

using namespace Qt::StringLiterals;

using mirelto::TFormMain;

namespace {

enum class Steps { DefaultLowPass, ThenTransfer, DefaultHighPass, ExponentRequest, Cleared };

QString Lines(std::initializer_list<const char*> lines) {
    QString text;
    for (const char* line : lines) {
        text += QString::fromUtf8(line) + u"\r\n"_s;
    }
    return text;
}

const QString kDefaultLowPassReport =
    Lines({"3rd LPF", "[Input data]", "fa = 1.42kHz  fo = 1.42kHz   Q = 1.0",
           "R1 = 22kΩ  R2 = 22kΩ  R3 = 22kΩ", "", "[Result data]",
           "C1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF",
           "fa =   1.395kHz  fo =   1.631kHz   Q = 961.092m"});

constexpr double kPointsPerMillimetre = 72 / 25.4;

// Runs one of poppler's tools; its standard output.
QString Poppler(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("%s failed: %s", qPrintable(tool), process.readAllStandardError().constData());
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Lines with their runs of spaces made one space; a PDF keeps positions, not space counts.
QStringList Squeezed(const QString& text) {
    QStringList lines;
    for (const QString& line : text.split(QRegularExpression(u"\r?\n|\f"_s))) {
        const QString squeezed = line.simplified();
        if (!squeezed.isEmpty()) {
            lines.append(squeezed);
        }
    }
    return lines;
}

struct Word {
    int page;
    QRectF box;  // points, from the page's top-left corner
    QString text;
};

struct PdfLayout {
    QSizeF page;  // points
    QList<Word> words;
};

PdfLayout WordBoxes(const QString& pdf) {
    PdfLayout layout;
    QXmlStreamReader xml(Poppler(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s}));
    int page = -1;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto at = [&](const char* name) {
            return xml.attributes().value(QString::fromLatin1(name)).toDouble();
        };
        if (xml.name() == u"page"_s) {
            ++page;
            layout.page = QSizeF(at("width"), at("height"));
        } else if (xml.name() == u"word"_s) {
            const QRectF box(QPointF(at("xMin"), at("yMin")), QPointF(at("xMax"), at("yMax")));
            layout.words.append({page, box, xml.readElementText()});
        }
    }
    return layout;
}

}  // namespace

Q_DECLARE_METATYPE(Steps)

class TestOutput : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<mirelto::test::FakePlatform> platform_;
    std::unique_ptr<TFormMain> form_;
    std::unique_ptr<QTemporaryDir> dir_;

    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QString PdfPath(const QString& name) const { return dir_->filePath(name); }

    // The user picks a PDF printer writing to `path`, A4, with the given printable-area margins.
    void ChoosePdfPrinter(const QString& path, QMarginsF margins = {}) {
        platform_->confirmPrint = true;
        platform_->choosePrinter = [path, margins](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                              margins, QPageLayout::Millimeter));
        };
    }

    // Prints as the main window's print button does, with its dialog, printer and font.
    void PrintWithMainWindow(const QString& text) {
        QPrinter& printer = form_->Printer();
        mirelto::PrintText(text, *form_->PrintDialog1, printer, form_->PrinterFont);
    }

    void Calculate() {
        Click(form_->ButtonCalc);
        QVERIFY(form_->ButtonPrint->isEnabled());
    }

  private slots:
    void init() {
        mirelto::DesignState.ResultValid = false;
        platform_ = std::make_unique<mirelto::test::FakePlatform>();
        form_ = std::make_unique<TFormMain>();
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void cleanup() {
        form_.reset();
        platform_.reset();
        dir_.reset();
    }

    // The window after the real commands; build the report and press "コピー"; the report is
    // the expected text byte for byte, and it is what went to the clipboard.
    void reportAfterCommands_data() {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("default LPF, 定数計算") << Steps::DefaultLowPass << kDefaultLowPassReport;
        QTest::newRow("then 伝達関数") << Steps::ThenTransfer << Lines({"3rd LPF", "[Input data]", "R1 = 22kΩ  R2 = 22kΩ  R3 = 22kΩ", "C1 =   6.800nF  C2 =  15.000nF  C3 =   1.000nF", "", "[Result data]", "fa =   1.395kHz  fo =   1.631kHz   Q = 961.092m"});
        QTest::newRow("default HPF, 定数計算") << Steps::DefaultHighPass << Lines({"3rd HPF", "[Input data]", "fa = 1.42kHz  fo = 1.42kHz   Q = 1.0", "C1 = 3.3nF  C2 = 3.3nF  C3 = 3.3nF", "", "[Result data]", "R1 =  24.000kΩ  R2 =  10.000kΩ  R3 = 160.000kΩ", "fa =   1.463kHz  fo =   1.413kHz   Q = 974.097m"});
        // Only the request line is known here: the exponent text is copied as typed.
        QTest::newRow("fa typed as 1.2e3") << Steps::ExponentRequest << u"fa = 1.2e3Hz  fo = 1.42kHz   Q = 1.0"_s;
        QTest::newRow("after クリア") << Steps::Cleared << Lines({"3rd LPF", "[Input data]", "fa = Hz  fo = Hz   Q = ", "R1 = Ω  R2 = Ω  R3 = Ω", "", "[Result data]", "C1 = F  C2 = F  C3 = F", "fa = Hz  fo = Hz   Q = "});
        // clang-format on
    }
    void reportAfterCommands() {
        QFETCH(Steps, steps);
        QFETCH(QString, expected);
        if (steps == Steps::DefaultHighPass) {
            QTest::mouseClick(form_->RadioButtonHPF, Qt::LeftButton);
        }
        if (steps == Steps::ExponentRequest) {
            form_->EditFa->clear();
            QTest::keyClicks(form_->EditFa, u"1.2e3"_s);
        }
        Calculate();
        if (steps == Steps::ThenTransfer) {
            Click(form_->ButtonTF);
        }
        if (steps == Steps::Cleared) {
            Click(form_->ButtonClr);
        }
        QVERIFY(form_->ButtonCopy->isEnabled());
        Click(form_->ButtonCopy);
        QCOMPARE(platform_->copied.size(), 1);
        const QString report = form_->BuildReport();
        QCOMPARE(platform_->copied.first(), report);
        if (steps == Steps::ExponentRequest) {
            QCOMPARE(report.split(u"\r\n"_s).at(2), expected);
        } else {
            QCOMPARE(report, expected);
        }
        QVERIFY(platform_->boxes.isEmpty());
    }

    // Edit a box after the calculation; copy; the report shows the edited text, not the result.
    void reportFollowsEditedBoxes() {
        Calculate();
        form_->EditC2->setText(u"hand-made"_s);
        Click(form_->ButtonCopy);
        QVERIFY(platform_->copied.first().contains(u"C2 = hand-madeF"_s));
    }

    // The desktop's own clipboard (offscreen platform); copy something, then the report twice;
    // it holds the report alone, as plain text, with CR LF.
    void clipboardHoldsOnlyTheReport() {
        mirelto::QtPlatform desktop;
        desktop.SetClipboardText(u"earlier"_s);
        desktop.SetClipboardText(kDefaultLowPassReport);
        desktop.SetClipboardText(kDefaultLowPassReport);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
        QVERIFY(data);
        QCOMPARE(data->formats(), QStringList{u"text/plain"_s});
        QCOMPARE(data->text(), kDefaultLowPassReport);
    }

    // Default calculation; "印刷" on a PDF printer whose printable area starts at the given
    // margins; the PDF holds the report's lines, job name and print font, and its first line's
    // top-left lies 20 mm (within 0.5 mm) from the sheet's top and left edges.
    void printsReportTwentyMillimetresIn_data() {
        QTest::addColumn<QMarginsF>("margins");
        QTest::newRow("printable area at the corner") << QMarginsF(0, 0, 0, 0);
        QTest::newRow("printable area 6.35 mm in") << QMarginsF(6.35, 6.35, 6.35, 6.35);
        QTest::newRow("printable area 10 by 12 mm in") << QMarginsF(10, 12, 10, 12);
    }
    void printsReportTwentyMillimetresIn() {
        QFETCH(QMarginsF, margins);
        Calculate();
        const QString pdf = PdfPath(u"report.pdf"_s);
        ChoosePdfPrinter(pdf, margins);
        const QFont before = form_->PrinterFont;
        Click(form_->ButtonPrint);
        QVERIFY2(platform_->boxes.isEmpty(),
                 qPrintable(platform_->boxes.isEmpty() ? QString() : platform_->boxes[0].text));
        QCOMPARE(platform_->printDialogs, 1);
        QVERIFY(QFile::exists(pdf));

        const QString text = Poppler(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        QCOMPARE(Squeezed(text), Squeezed(kDefaultLowPassReport));
        const QString info = Poppler(u"pdfinfo"_s, {pdf});
        QVERIFY2(info.contains(QRegularExpression(u"Title: +3va_Vuruda\n"_s)), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(u"Pages: +1\n"_s)), qPrintable(info));
        const QString fonts = Poppler(u"pdffonts"_s, {pdf});
        QVERIFY2(fonts.contains(u"IPAMincho"_s), qPrintable(fonts));

        const PdfLayout layout = WordBoxes(pdf);
        QVERIFY(!layout.words.isEmpty());
        const Word& first = layout.words.first();
        QCOMPARE(first.text, u"3rd"_s);
        qInfo("first word at %.3f mm from the left, %.3f mm from the top, %.2f pt high",
              first.box.left() / kPointsPerMillimetre, first.box.top() / kPointsPerMillimetre,
              first.box.height());
        QVERIFY2(qAbs(first.box.left() / kPointsPerMillimetre - 20) <= 0.5,
                 qPrintable(QString::number(first.box.left() / kPointsPerMillimetre)));
        QVERIFY2(qAbs(first.box.top() / kPointsPerMillimetre - 20) <= 0.5,
                 qPrintable(QString::number(first.box.top() / kPointsPerMillimetre)));
        // 9 points: the line is about that high.
        QVERIFY2(first.box.height() > 7 && first.box.height() < 12,
                 qPrintable(QString::number(first.box.height())));
        QCOMPARE(form_->PrinterFont, before);
        QCOMPARE(form_->PrinterFont.pointSize(), 9);
    }

    // A line far wider than the page; print it; it comes back whole, broken into several lines,
    // none of them past the sheet's right edge.
    void wideLineWraps() {
        QString line;
        for (int i = 0; i < 60; ++i) {
            line += u"%1"_s.arg(i, 4, 10, QLatin1Char('0'));
        }
        const QString pdf = PdfPath(u"wide.pdf"_s);
        ChoosePdfPrinter(pdf, QMarginsF(5, 5, 5, 5));
        PrintWithMainWindow(line);
        QVERIFY(platform_->boxes.isEmpty());
        const QStringList lines = Squeezed(Poppler(u"pdftotext"_s, {pdf, u"-"_s}));
        QVERIFY2(lines.size() > 1, qPrintable(lines.join(QLatin1Char('|'))));
        QCOMPARE(lines.join(QString()), line);
        const PdfLayout layout = WordBoxes(pdf);
        for (const Word& word : layout.words) {
            QVERIFY2(word.box.right() <= layout.page.width(),
                     qPrintable(QString::number(word.box.right())));
        }
    }

    // More lines than a page holds; print them; every line comes back once, in order, the
    // later ones on page 2.
    void longTextContinuesOnPageTwo() {
        QStringList lines;
        for (int i = 1; i <= 120; ++i) {
            lines.append(u"line %1"_s.arg(i, 3, 10, QLatin1Char('0')));
        }
        const QString pdf = PdfPath(u"long.pdf"_s);
        ChoosePdfPrinter(pdf, QMarginsF(5, 5, 5, 5));
        PrintWithMainWindow(lines.join(u"\r\n"_s));
        QVERIFY(platform_->boxes.isEmpty());
        const QString info = Poppler(u"pdfinfo"_s, {pdf});
        QVERIFY2(info.contains(QRegularExpression(u"Pages: +2\n"_s)), qPrintable(info));
        QCOMPARE(Squeezed(Poppler(u"pdftotext"_s, {pdf, u"-"_s})), lines);
        const QStringList second =
            Squeezed(Poppler(u"pdftotext"_s, {u"-f"_s, u"2"_s, pdf, u"-"_s}));
        QVERIFY(!second.isEmpty());
        QCOMPARE(second.last(), u"line 120"_s);
        // Every page's bottom line stays on the sheet.
        const PdfLayout layout = WordBoxes(pdf);
        for (const Word& word : layout.words) {
            QVERIFY(word.box.bottom() <= layout.page.height());
        }
    }

    // Cancel the printer dialog; nothing is printed, no file is made, nothing changes.
    void cancelledDialogPrintsNothing() {
        Calculate();
        const QString pdf = PdfPath(u"cancelled.pdf"_s);
        ChoosePdfPrinter(pdf);
        platform_->confirmPrint = false;
        const QFont before = form_->PrinterFont;
        Click(form_->ButtonPrint);
        QCOMPARE(platform_->printDialogs, 1);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(platform_->boxes.isEmpty());
        QCOMPARE(form_->PrinterFont, before);
        QVERIFY(form_->ButtonPrint->isEnabled());
    }

    // A printer that cannot start the job (its output cannot be written); "印刷"; the general
    // error box, the font back as before, the window as it was; a second try on a good printer
    // prints.
    void failedJobShowsErrorAndCanBeRetried() {
        Calculate();
        const QString before = form_->BuildReport();
        const QFont font = form_->PrinterFont;
        ChoosePdfPrinter(PdfPath(u"no-such-folder/report.pdf"_s));
        Click(form_->ButtonPrint);
        QCOMPARE(platform_->boxes.size(), 1);
        const mirelto::test::ShownBox& box = platform_->boxes.first();
        QCOMPARE(box.caption, mirelto::ApplicationTitle());
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.text, u"Printer \"%1\" could not start the print job."_s.arg(
                               PdfPath(u"no-such-folder/report.pdf"_s)));
        QCOMPARE(form_->PrinterFont, font);
        QCOMPARE(form_->BuildReport(), before);
        QVERIFY(form_->ButtonPrint->isEnabled());
        QVERIFY(form_->ButtonCopy->isEnabled());

        const QString pdf = PdfPath(u"retry.pdf"_s);
        ChoosePdfPrinter(pdf);
        Click(form_->ButtonPrint);
        QCOMPARE(platform_->boxes.size(), 1);
        QVERIFY(QFile::exists(pdf));
    }

    // Print twice; the second job starts from the same font as the first and prints the same.
    void secondPrintStartsFromTheSameFont() {
        Calculate();
        ChoosePdfPrinter(PdfPath(u"first.pdf"_s));
        Click(form_->ButtonPrint);
        const QFont afterFirst = form_->PrinterFont;
        ChoosePdfPrinter(PdfPath(u"second.pdf"_s));
        Click(form_->ButtonPrint);
        QCOMPARE(form_->PrinterFont, afterFirst);
        QCOMPARE(Poppler(u"pdftotext"_s, {PdfPath(u"second.pdf"_s), u"-"_s}),
                 Poppler(u"pdftotext"_s, {PdfPath(u"first.pdf"_s), u"-"_s}));
        QVERIFY(platform_->boxes.isEmpty());
    }

    // PDF printer at 1200 dpi whose printable area starts half an inch from the left and a
    // quarter inch from the top; read the physical offset; 600 and 300 device pixels.
    void physicalOffsetFromPageLayout() {
        QPrinter& printer = form_->Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(36, 18, 36, 18), QPageLayout::Point));
        QCOMPARE(printer.resolution(), 1200);
        const mirelto::PhysicalOffset offset = mirelto::PrinterPhysicalOffset(printer);
        QCOMPARE(offset.x, 600);
        QCOMPARE(offset.y, 300);
    }
};

MIRELTO_QTEST_MAIN(TestOutput)
#include "tst_output.moc"
