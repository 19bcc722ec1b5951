// The result report: the plain-text summary that is copied and printed. Composed from the texts
// the twelve value boxes hold, character for character, and two flags; the numbers of the design
// record are not used. UTF-8, every line ended by CR LF, "Ω" as U+03A9.
#pragma once

#include <string>

namespace mirelto {

// The current texts of the window's value boxes, named after the boxes.
struct ReportTexts {
    std::string EditFa, EditFo, EditQ;     // request
    std::string EditR1, EditR2, EditR3;    // resistors
    std::string EditC1, EditC2, EditC3;    // capacitors
    std::string EditFar, EditFor, EditQr;  // result fa, fo, Q
};

// 8 lines after a constant calculation (constantMode), 7 after a transfer-function calculation.
std::string ComposeReport(bool isLpf, bool constantMode, const ReportTexts& texts);

}  // namespace mirelto
