// The analysis window's netlist tab: the SPICE netlist of the last calculation's result circuit
// (ngspice, LTspice) with the response tab's op-amp when a GBW is set, read-only in a fixed-pitch
// font, and buttons that copy it and save it as a .cir file.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

#include <mirelto/response/analysis.h>

namespace Ui {
class TFormAnalysis;
}

class QWidget;

namespace mirelto {

class NetlistPanel : public QObject {
    Q_OBJECT

  public:
    NetlistPanel(Ui::TFormAnalysis& form, QWidget* window);

    // Shows the netlist of the result circuit of a successful calculation.
    void Follow(const AnalysisInput& input);
    // The op-amp of the netlist: a single-pole model of this gain-bandwidth product (Hz), or the
    // ideal follower for 0.
    void SetOpAmpGbw(double gbw);
    // Puts the netlist on the clipboard, as shown.
    void Copy();
    // Asks for a file name and writes the netlist as shown; a failed write leaves any old file
    // as it was and says why.
    void Save();

    const QString& Text() const { return text_; }

  private:
    void Show();

    Ui::TFormAnalysis& form_;
    QWidget* window_;
    std::optional<AnalysisInput> input_;
    double gbw_ = 0;
    QString text_;
};

}  // namespace mirelto
