#include "mirelto/response/op_amp_model.h"

#include <array>
#include <cmath>

#include "numeric/constants.h"

namespace mirelto {

namespace {

struct FigureEntry {
    OpAmpFigure figure;
    std::string_view name;
    double OpAmp::*member;
};

constexpr std::array<FigureEntry, kOpAmpFigureCount> kFigures{{
    {OpAmpFigure::Gbw, "gbw", &OpAmp::gbw},
    {OpAmpFigure::DcGain, "a0", &OpAmp::a0},
    {OpAmpFigure::VoltageNoise, "en", &OpAmp::en},
    {OpAmpFigure::VoltageNoiseCorner, "enCorner", &OpAmp::enCorner},
    {OpAmpFigure::CurrentNoise, "in", &OpAmp::in},
    {OpAmpFigure::CurrentNoiseCorner, "inCorner", &OpAmp::inCorner},
    {OpAmpFigure::SlewRate, "slewRate", &OpAmp::slewRate},
    {OpAmpFigure::SwingLow, "swingLow", &OpAmp::swingLow},
    {OpAmpFigure::SwingHigh, "swingHigh", &OpAmp::swingHigh},
    {OpAmpFigure::CommonModeLow, "commonModeLow", &OpAmp::cmLow},
    {OpAmpFigure::CommonModeHigh, "commonModeHigh", &OpAmp::cmHigh},
    {OpAmpFigure::Supply, "supply", &OpAmp::supply},
    {OpAmpFigure::OutputResistance, "outputResistance", &OpAmp::outputResistance},
}};

const FigureEntry& EntryOf(OpAmpFigure figure) {
    return kFigures[static_cast<std::size_t>(figure)];
}

double WithCorner(double density, double corner, double frequency) {
    if (!IsGiven(density)) {
        return 0;
    }
    const double flicker = IsGiven(corner) ? corner / frequency : 0;
    return density * std::sqrt(1 + flicker);
}

}  // namespace

OpAmp::OpAmp() {
    for (const FigureEntry& entry : kFigures) {
        this->*entry.member = kNaN;
    }
}

OpAmp OpAmp::WithGbw(double gbw) {
    OpAmp opAmp;
    opAmp.gbw = gbw;
    return opAmp;
}

std::string_view OpAmpFigureName(OpAmpFigure figure) {
    return EntryOf(figure).name;
}

bool IsGiven(double figure) {
    return !std::isnan(figure);
}

double FigureOf(const OpAmp& opAmp, OpAmpFigure figure) {
    return opAmp.*EntryOf(figure).member;
}

double& FigureOf(OpAmp& opAmp, OpAmpFigure figure) {
    return opAmp.*EntryOf(figure).member;
}

OpAmp Overlaid(OpAmp base, const OpAmp& over) {
    for (const FigureEntry& entry : kFigures) {
        if (IsGiven(over.*entry.member)) {
            base.*entry.member = over.*entry.member;
        }
    }
    if (!over.name.empty()) {
        base.name = over.name;
    }
    return base;
}

bool HasDynamics(const OpAmp& opAmp) {
    return opAmp.gbw > 0 && std::isfinite(opAmp.gbw);
}

double VoltageNoiseDensity(const OpAmp& opAmp, double frequency) {
    return WithCorner(opAmp.en, opAmp.enCorner, frequency);
}

double CurrentNoiseDensity(const OpAmp& opAmp, double frequency) {
    return WithCorner(opAmp.in, opAmp.inCorner, frequency);
}

}  // namespace mirelto
