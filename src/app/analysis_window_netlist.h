// The analysis window's netlist tab: the SPICE netlist of the last calculation's result circuit
// (ngspice, LTspice), read-only in a fixed-pitch font, and a button that copies it.
#pragma once

#include <QObject>
#include <QString>

#include <mirelto/response/analysis.h>

namespace Ui {
class TFormAnalysis;
}

namespace mirelto {

class NetlistPanel : public QObject {
    Q_OBJECT

  public:
    NetlistPanel(Ui::TFormAnalysis& form, QObject* parent);

    // Shows the netlist of the result circuit of a successful calculation.
    void Follow(const AnalysisInput& input);
    // Puts the netlist on the clipboard, as shown.
    void Copy();

    const QString& Text() const { return text_; }

  private:
    Ui::TFormAnalysis& form_;
    QString text_;
};

}  // namespace mirelto
