// The analysis window's presets tab: a classic response type and a cutoff fc give fa, fo and Q
// (from the core's presets), shown first and written into the main window's request boxes when
// the user applies them.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include <mirelto/tools/presets.h>

namespace Ui {
class TFormAnalysis;
}

namespace mirelto {

// The preset's name as the selector lists it, in Japanese; `all` tells which presets share a
// family and parameter and so need their normalisation named.
QString PresetDisplayName(const Preset& preset, const std::vector<Preset>& all);

// What fc means under the normalisation, one line.
QString FcMeaning(Normalisation normalisation);

class PresetsPanel : public QObject {
    Q_OBJECT

  public:
    // Where the values go: the main window's mode, and its fa, fo and Q boxes.
    struct Target {
        std::function<bool()> isLpf;
        std::function<void(const QString& fa, const QString& fo, const QString& q)> apply;
    };

    PresetsPanel(Ui::TFormAnalysis& form, Target target, QObject* parent);

    // Recomputes what is shown from the selector, fc and the main window's mode.
    void Update();
    // Writes the shown fa, fo and Q into the main window's boxes.
    void Apply();

  private:
    // fa, fo and Q for the current choice, or none when fc is not a positive value.
    std::optional<PoleSet> Poles() const;

    Ui::TFormAnalysis& form_;
    Target target_;
};

}  // namespace mirelto
