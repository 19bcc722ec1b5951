// The analysis window's op-amp: a part of the op-amp table (the shipped one, then the user's own
// in the config directory, as mirelto-cli reads them) or the figures typed in the GBW box, the
// input sine's amplitude and the supply, and the warnings they give under the GBW box. Choosing a
// part puts its GBW in the GBW box, so the response curves follow it (with its DC gain and output
// resistance); typing another GBW goes back to typed figures.
#pragma once

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

#include <mirelto/response/analysis.h>
#include <mirelto/response/op_amp_model.h>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace Ui {
class TFormAnalysis;
}

namespace mirelto {

class ResponsePanel;

class OpAmpPanel : public QObject {
    Q_OBJECT

  public:
    // Adds its row to the response tab of `form`, over the GBW box of `response`.
    OpAmpPanel(Ui::TFormAnalysis& form, ResponsePanel& response, QWidget& window);

    // Takes the circuit of a successful calculation, for its signal limits.
    void Follow(const AnalysisInput& input);

    // The op-amp in use: the chosen part or the typed GBW, with the supply box's figure if given.
    OpAmp Current() const;
    // The amplitude box's figure, V peak; NaN when empty or not a value.
    double Amplitude() const;

    // Chooses the part of that name (empty: the figures typed in); false when the table has
    // none (the choice is kept).
    bool ChoosePart(const QString& name);
    // Fills the amplitude and supply boxes and takes them as if typed there.
    void SetSignalTexts(const QString& amplitude, const QString& supply);

    QComboBox& PartBox() const { return *parts_; }
    QLineEdit& AmplitudeBox() const { return *amplitude_; }
    QLineEdit& SupplyBox() const { return *supply_; }
    QLabel& WarningLabel() const { return *warnings_; }
    QLabel& MarginLabel() const { return *margins_; }

  signals:
    // The op-amp in use changed.
    void Changed();

  private:
    void PartChosen(int index);
    void GbwChanged(double gbw);
    void ShowWarnings();
    void LoadUserParts();
    // The chosen part's DC gain and output resistance to the response curves.
    void PassExtras();

    ResponsePanel& response_;
    std::vector<OpAmp> table_;  // the parts box's entries after the first
    QString tableProblem_;      // what is wrong with the user's table, "" when nothing
    QComboBox* parts_;
    QLineEdit* amplitude_;
    QLineEdit* supply_;
    QLabel* warnings_;
    QLabel* margins_;  // with an amplitude: what it asks against what the op-amp gives
    std::optional<Circuit> circuit_;
};

}  // namespace mirelto
