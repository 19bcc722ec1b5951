#include "analysis/analysis_settings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

#include <mirelto/tools/presets.h>
#include <mirelto/tools/ranking.h>
#include <mirelto/tools/tolerance.h>

#include "analysis/analysis_window.h"
#include "analysis/response/analysis_window_response.h"
#include "analysis/response/noise_panel.h"
#include "analysis/response/op_amp_panel.h"
#include "analysis/tools/analysis_window_tolerance.h"

namespace mirelto {

namespace {

int IndexOfData(const QComboBox& box, qint64 value) {
    for (int i = 0; i < box.count(); ++i) {
        if (box.itemData(i).toLongLong() == value) {
            return i;
        }
    }
    return -1;
}

}  // namespace

void ApplyAnalysisSettings(TFormAnalysis& analysis, const AnalysisSettings& settings) {
    const std::vector<Preset>& presets = Presets();
    for (std::size_t i = 0; i < presets.size(); ++i) {
        if (presets[i].name == settings.preset.response) {
            analysis.ComboBoxPreset->setCurrentIndex(static_cast<int>(i));
        }
    }
    analysis.EditFc->setText(QString::fromStdString(settings.preset.fc));
    analysis.Response().SetOpAmpGbwText(QString::fromStdString(settings.opAmpGbw));
    const auto tolerances = ToleranceBoxes(analysis);
    for (std::size_t i = 0; i < kDesignParts; ++i) {
        tolerances[i]->setText(QString::fromStdString(settings.tolerance.tolerances[i]));
    }
    analysis.ComboBoxDistribution->setCurrentIndex(
        IndexOfData(*analysis.ComboBoxDistribution,
                    static_cast<int>(settings.tolerance.normal ? Distribution::Normal
                                                               : Distribution::Uniform)));
    analysis.SpinTrials->setValue(static_cast<int>(settings.tolerance.trials));
    analysis.EditSeed->setText(QString::fromStdString(settings.tolerance.seed));
    analysis.ComboBoxSteps->setCurrentIndex(
        IndexOfData(*analysis.ComboBoxSteps, settings.optimiser.steps));
    analysis.ComboBoxGivenSeries->setCurrentIndex(
        IndexOfData(*analysis.ComboBoxGivenSeries, settings.optimiser.givenSeries));
    if (const std::optional<Ranking> ranking = ParseRanking(settings.ranking)) {
        analysis.ComboBoxRanking->setCurrentIndex(
            IndexOfData(*analysis.ComboBoxRanking, static_cast<int>(*ranking)));
    }
}

AnalysisSettings AnalysisSettingsShown(const TFormAnalysis& analysis) {
    AnalysisSettings settings;
    const int preset = analysis.ComboBoxPreset->currentIndex();
    if (preset >= 0 && static_cast<std::size_t>(preset) < Presets().size()) {
        settings.preset.response = std::string(Presets()[static_cast<std::size_t>(preset)].name);
    }
    settings.preset.fc = analysis.EditFc->text().toStdString();
    settings.opAmpGbw = analysis.EditGbw->text().toStdString();
    const auto tolerances = ToleranceBoxes(analysis);
    for (std::size_t i = 0; i < kDesignParts; ++i) {
        settings.tolerance.tolerances[i] = tolerances[i]->text().toStdString();
    }
    settings.tolerance.normal = analysis.ComboBoxDistribution->currentData().toInt() ==
                                static_cast<int>(Distribution::Normal);
    settings.tolerance.trials = analysis.SpinTrials->value();
    settings.tolerance.seed = analysis.EditSeed->text().toStdString();
    settings.optimiser.steps = analysis.ComboBoxSteps->currentData().toLongLong();
    settings.optimiser.givenSeries = analysis.ComboBoxGivenSeries->currentData().toLongLong();
    settings.ranking = std::string(
        RankingName(static_cast<Ranking>(analysis.ComboBoxRanking->currentData().toInt())));
    return settings;
}

std::optional<OpAmpSetting> OpAmpSettingShown(const TFormAnalysis& analysis) {
    const OpAmpPanel& opAmp = analysis.OpAmpRow();
    const NoisePanel& noise = analysis.NoiseTab();
    OpAmpSetting setting;
    if (opAmp.PartBox().currentIndex() > 0) {
        setting.name = opAmp.PartBox().currentText().toStdString();
    }
    setting.figures[static_cast<std::size_t>(OpAmpFigure::Gbw)] =
        analysis.EditGbw->text().toStdString();
    setting.figures[static_cast<std::size_t>(OpAmpFigure::Supply)] =
        opAmp.SupplyBox().text().toStdString();
    setting.amplitude = opAmp.AmplitudeBox().text().toStdString();
    setting.bandLow = noise.BandLowBox().text().toStdString();
    setting.bandHigh = noise.BandHighBox().text().toStdString();
    if (setting.name.empty() && setting.amplitude.empty() && setting.bandLow.empty() &&
        setting.bandHigh.empty() && opAmp.SupplyBox().text().isEmpty()) {
        return std::nullopt;
    }
    return setting;
}

void ApplyOpAmpSetting(TFormAnalysis& analysis, const std::optional<OpAmpSetting>& setting) {
    const OpAmpSetting shown = setting.value_or(OpAmpSetting{});
    const auto text = [](const std::string& utf8) { return QString::fromStdString(utf8); };
    OpAmpPanel& opAmp = analysis.OpAmpRow();
    if (!opAmp.ChoosePart(text(shown.name))) {
        opAmp.ChoosePart(QString());
    }
    const std::string& gbw = shown.figures[static_cast<std::size_t>(OpAmpFigure::Gbw)];
    if (setting && (shown.name.empty() || !gbw.empty())) {
        analysis.Response().SetOpAmpGbwText(text(gbw));
    }
    opAmp.SetSignalTexts(text(shown.amplitude),
                         text(shown.figures[static_cast<std::size_t>(OpAmpFigure::Supply)]));
    analysis.NoiseTab().SetBandTexts(text(shown.bandLow), text(shown.bandHigh));
}

}  // namespace mirelto
