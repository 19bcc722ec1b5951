#include "mirelto/output/report.h"

namespace mirelto {

namespace {

constexpr const char* kEndOfLine = "\r\n";

void AppendFrequencyLine(std::string& out, const std::string& fa, const std::string& fo,
                         const std::string& q) {
    out += "fa = " + fa + "Hz  fo = " + fo + "Hz   Q = " + q + kEndOfLine;
}

void AppendResistorLine(std::string& out, const ReportTexts& t) {
    out += "R1 = " + t.EditR1 + "Ω  R2 = " + t.EditR2 + "Ω  R3 = " + t.EditR3 + "Ω" + kEndOfLine;
}

void AppendCapacitorLine(std::string& out, const ReportTexts& t) {
    out += "C1 = " + t.EditC1 + "F  C2 = " + t.EditC2 + "F  C3 = " + t.EditC3 + "F" + kEndOfLine;
}

void AppendResultHeading(std::string& out) {
    out += kEndOfLine;
    out += "[Result data]";
    out += kEndOfLine;
}

}  // namespace

std::string ComposeReport(bool isLpf, bool constantMode, const ReportTexts& t) {
    std::string out;
    out += isLpf ? "3rd LPF" : "3rd HPF";
    out += kEndOfLine;
    out += "[Input data]";
    out += kEndOfLine;
    if (constantMode) {
        AppendFrequencyLine(out, t.EditFa, t.EditFo, t.EditQ);
        if (isLpf) {
            AppendResistorLine(out, t);
        } else {
            AppendCapacitorLine(out, t);
        }
        AppendResultHeading(out);
        if (isLpf) {
            AppendCapacitorLine(out, t);
        } else {
            AppendResistorLine(out, t);
        }
    } else {
        AppendResistorLine(out, t);
        AppendCapacitorLine(out, t);
        AppendResultHeading(out);
    }
    AppendFrequencyLine(out, t.EditFar, t.EditFor, t.EditQr);
    return out;
}

}  // namespace mirelto
