#include "mirelto/tools/signal_limits.h"

#include <algorithm>
#include <cmath>

#include "mirelto/response/op_amp.h"
#include "mirelto/response/peak.h"
#include "mirelto/response/transfer.h"
#include "numeric/constants.h"

namespace mirelto {

namespace {

FrequencyResponse ResponseOf(const Circuit& circuit, const OpAmp& opAmp) {
    if (HasDynamics(opAmp)) {
        return [circuit, opAmp](double f) { return CircuitResponseWithOpAmp(circuit, opAmp, f); };
    }
    const Rational3 h = CircuitTransfer(circuit);
    return [h](double f) { return Evaluate(h, f); };
}

double Magnitude(const Peak& peak) {
    return std::pow(10.0, peak.gainDb / 20);
}

// A limit needs every figure named; the missing ones are listed once.
void Need(const OpAmp& o, std::initializer_list<OpAmpFigure> figures,
          std::vector<OpAmpFigure>& missing) {
    for (const OpAmpFigure f : figures) {
        if (!IsGiven(FigureOf(o, f)) &&
            std::find(missing.begin(), missing.end(), f) == missing.end()) {
            missing.push_back(f);
        }
    }
}

}  // namespace

std::string_view SignalWarningCode(SignalWarning warning) {
    switch (warning) {
        case SignalWarning::NotUnityGainStable:
            return "unity-gain-stability";
        case SignalWarning::OutputSwing:
            return "output-swing";
        case SignalWarning::SlewRate:
            return "slew-rate";
        case SignalWarning::CommonMode:
            return "common-mode";
    }
    return "";
}

SignalLimits SignalLimitsOf(const SignalLimitsInput& input) {
    const OpAmp& o = input.opAmp;
    SignalLimits r;
    if (!o.unityGainStable) {
        r.warnings.push_back(SignalWarning::NotUnityGainStable);
    }
    FrequencyRange range = input.range;
    if (range.low == 0 && range.high == 0) {
        AnalysisInput window;
        window.isLpf = input.circuit.isLpf;
        window.hasRequest = false;
        window.built = input.circuit;
        range = PlotRange(window);
    }
    const double a = input.amplitude > 0 ? input.amplitude : kNaN;
    const FrequencyResponse h = ResponseOf(input.circuit, o);
    const Peak gain = PeakGain(h, range.low, range.high);
    const Peak slew = PeakGain([&h](double f) { return kTwoPi * f * h(f); }, range.low, range.high);
    r.largestOutput = Magnitude(gain) * a;
    r.outputFrequency = gain.frequency;
    r.largestSlew = Magnitude(slew) * a;
    r.slewFrequency = slew.frequency;

    Need(o, {OpAmpFigure::Supply, OpAmpFigure::SwingLow, OpAmpFigure::SwingHigh}, r.missing);
    Need(o, {OpAmpFigure::SlewRate}, r.missing);
    Need(o, {OpAmpFigure::CommonModeLow, OpAmpFigure::CommonModeHigh}, r.missing);
    r.swingLimit = std::min(o.supply - o.swingLow, o.supply - o.swingHigh);
    r.commonModeLimit = std::min(o.supply - o.cmLow, o.supply - o.cmHigh);
    r.swingMargin = r.swingLimit - r.largestOutput;
    r.commonModeMargin = r.commonModeLimit - r.largestOutput;
    r.slewMargin = o.slewRate - r.largestSlew;
    r.fullPowerBandwidth = o.slewRate / (kTwoPi * r.swingLimit);
    // A NaN margin compares false: no warning for a figure not given.
    if (r.swingMargin < 0) {
        r.warnings.push_back(SignalWarning::OutputSwing);
    }
    if (r.slewMargin < 0) {
        r.warnings.push_back(SignalWarning::SlewRate);
    }
    if (r.commonModeMargin < 0) {
        r.warnings.push_back(SignalWarning::CommonMode);
    }
    return r;
}

}  // namespace mirelto
