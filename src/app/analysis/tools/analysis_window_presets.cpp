#include "analysis/tools/analysis_window_presets.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include <mirelto/values/value_text.h>

#include "analysis/shared/analysis_window_table.h"
#include "desktop/error_display.h"
#include "desktop/value_text_qt.h"
#include "ui_analysis_window.h"

namespace mirelto {

namespace {

QString FamilyName(const Preset& preset) {
    const QString parameter = QString::number(preset.parameter, 'g', 6);
    switch (preset.family) {
        case ResponseFamily::Butterworth:
            return PresetsPanel::tr("バターワース");
        case ResponseFamily::Bessel:
            return PresetsPanel::tr("ベッセル");
        case ResponseFamily::Chebyshev:
            return PresetsPanel::tr("チェビシェフ %1 dB").arg(parameter);
        case ResponseFamily::LinearPhase:
            return PresetsPanel::tr("線形位相 %1°").arg(parameter);
        case ResponseFamily::Legendre:
            return PresetsPanel::tr("ルジャンドル");
    }
    return QString::fromUtf8(preset.name.data(), static_cast<qsizetype>(preset.name.size()));
}

QString NormalisationName(Normalisation normalisation) {
    switch (normalisation) {
        case Normalisation::Cutoff3dB:
            return QStringLiteral("−3 dB");
        case Normalisation::Delay:
            return PresetsPanel::tr("群遅延");
        case Normalisation::RippleEdge:
            return PresetsPanel::tr("リプル端");
    }
    return {};
}

}  // namespace

QString PresetDisplayName(const Preset& preset, const std::vector<Preset>& all) {
    const auto sameKind = std::count_if(all.begin(), all.end(), [&](const Preset& other) {
        return other.family == preset.family && other.parameter == preset.parameter;
    });
    QString name = FamilyName(preset);
    if (sameKind > 1) {
        name += QStringLiteral(" (%1)").arg(NormalisationName(preset.normalisation));
    }
    return name;
}

QString FcMeaning(Normalisation normalisation) {
    switch (normalisation) {
        case Normalisation::Cutoff3dB:
            return PresetsPanel::tr("fc: −3 dB となる周波数");
        case Normalisation::Delay:
            return PresetsPanel::tr("fc: 低域での群遅延が 1/(2π·fc) となる周波数");
        case Normalisation::RippleEdge:
            return PresetsPanel::tr("fc: リプル帯域の端の周波数");
    }
    return {};
}

PresetsPanel::PresetsPanel(Ui::TFormAnalysis& form, Target target, QObject* parent)
    : QObject(parent), form_(form), target_(std::move(target)) {
    const std::vector<Preset>& presets = Presets();
    for (const Preset& preset : presets) {
        form_.ComboBoxPreset->addItem(PresetDisplayName(preset, presets));
        form_.ComboBoxPreset->setItemData(
            form_.ComboBoxPreset->count() - 1,
            QString::fromUtf8(preset.name.data(), static_cast<qsizetype>(preset.name.size())),
            Qt::ToolTipRole);
    }
    connect(form_.ComboBoxPreset, &QComboBox::currentIndexChanged, this, [this] { Update(); });
    connect(form_.EditFc, &QLineEdit::textChanged, this, [this] { Update(); });
    connect(form_.ButtonApply, &QPushButton::clicked, this,
            [this] { RunGuarded([this] { Apply(); }); });
    Update();
}

std::optional<PoleSet> PresetsPanel::Poles() const {
    const int index = form_.ComboBoxPreset->currentIndex();
    const std::vector<Preset>& presets = Presets();
    if (index < 0 || static_cast<std::size_t>(index) >= presets.size()) {
        return std::nullopt;
    }
    const double fc = ParseText(form_.EditFc->text());
    if (!std::isfinite(fc) || fc <= 0) {
        return std::nullopt;
    }
    const PoleSet poles =
        PresetPoles(presets[static_cast<std::size_t>(index)], fc, target_.isLpf());
    if (!std::isfinite(poles.fa) || !std::isfinite(poles.fo) || !std::isfinite(poles.q)) {
        return std::nullopt;
    }
    return poles;
}

void PresetsPanel::Update() {
    const int index = form_.ComboBoxPreset->currentIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < Presets().size()) {
        form_.LabelFcMeaning->setText(
            FcMeaning(Presets()[static_cast<std::size_t>(index)].normalisation));
    }
    form_.LabelPresetMode->setText(target_.isLpf() ? QStringLiteral("LPF")
                                                   : tr("HPF (fa, fo は LPF 形の逆数で換算)"));
    const std::optional<PoleSet> poles = Poles();
    form_.LabelPresetMessage->setText(tr("fc に正の値を入力してください (例: 1k)"));
    form_.LabelPresetMessage->setVisible(!poles);
    // The texts 適用 writes: full precision, so the request boxes read back the preset's values.
    const auto text = [](double value) { return QString::fromStdString(PresetValueText(value)); };
    form_.EditPresetFa->setText(poles ? text(poles->fa) : QString());
    form_.EditPresetFo->setText(poles ? text(poles->fo) : QString());
    form_.EditPresetQ->setText(poles ? text(poles->q) : QString());
    form_.ButtonApply->setEnabled(poles.has_value());
}

void PresetsPanel::Apply() {
    // Recomputed here: the main window's mode may have changed since the preview was drawn.
    Update();
    if (form_.ButtonApply->isEnabled()) {
        target_.apply(form_.EditPresetFa->text(), form_.EditPresetFo->text(),
                      form_.EditPresetQ->text());
    }
}

}  // namespace mirelto
