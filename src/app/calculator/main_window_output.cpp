// The result output of the main window: the report of the value boxes, copied to the clipboard or
// printed.
#include <QLineEdit>

#include <mirelto/design/design_state.h>
#include <mirelto/output/report.h>

#include "calculator/main_window.h"
#include "calculator/printing.h"
#include "desktop/platform.h"

namespace mirelto {

QString TFormMain::BuildReport() const {
    ReportTexts texts;
    const std::pair<std::string*, const QLineEdit*> boxes[] = {
        {&texts.EditFa, EditFa},   {&texts.EditFo, EditFo},   {&texts.EditQ, EditQ},
        {&texts.EditR1, EditR1},   {&texts.EditR2, EditR2},   {&texts.EditR3, EditR3},
        {&texts.EditC1, EditC1},   {&texts.EditC2, EditC2},   {&texts.EditC3, EditC3},
        {&texts.EditFar, EditFar}, {&texts.EditFor, EditFor}, {&texts.EditQr, EditQr}};
    for (const auto& [text, box] : boxes) {
        *text = box->text().toStdString();
    }
    return QString::fromStdString(
        ComposeReport(DesignState.IsLpf, DesignState.ConstantMode, texts));
}

void TFormMain::ButtonCopyClick() {
    CurrentPlatform().SetClipboardText(BuildReport());
}

void TFormMain::ButtonPrintClick() {
    QPrinter& printer = Printer();  // makes PrintDialog1 on first use
    PrintText(BuildReport(), *PrintDialog1, printer, PrinterFont);
}

}  // namespace mirelto
