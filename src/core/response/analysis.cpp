#include "mirelto/response/analysis.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

#include "mirelto/design/filter.h"
#include "mirelto/numeric/polynomial.h"
#include "mirelto/response/cutoff.h"
#include "mirelto/response/op_amp.h"
#include "mirelto/response/step.h"
#include "mirelto/response/transfer.h"
#include "numeric/constants.h"
#include "response/step_times.h"

namespace mirelto {

namespace {

constexpr double kDegreesPerRadian = 180 / std::numbers::pi;

OpAmp OpAmpOf(const AnalysisInput& input) {
    OpAmp opAmp = OpAmp::WithGbw(input.opAmpGbw);
    opAmp.a0 = input.opAmpA0;
    opAmp.outputResistance = input.opAmpOutputResistance;
    return opAmp;
}

constexpr double kSearchDecades = 3;     // the -3 dB search reaches this far beyond fa and fo
constexpr double kPaddingDecades = 1.5;  // plotted beyond the outermost figure at each end
constexpr FrequencyRange kFallbackRange{10, 100e3};
// The band added around a resonance: this many half-widths either side, this many points to one.
// A peak of |H|^2 or of the delay is Lorentzian there, so a sample at most 1/16 half-width off
// the top reads 0.4 % (0.02 dB) low.
constexpr int kResonanceHalfWidths = 8;
constexpr int kPointsPerHalfWidth = 8;

bool PositiveFinite(double x) {
    return x > 0 && std::isfinite(x);
}

bool UsablePoles(const PoleSet& p) {
    return PositiveFinite(p.fa) && PositiveFinite(p.fo) && PositiveFinite(p.q);
}

bool UsableParts(const Circuit& c) {
    return PositiveFinite(c.R1) && PositiveFinite(c.R2) && PositiveFinite(c.R3) &&
           PositiveFinite(c.C1) && PositiveFinite(c.C2) && PositiveFinite(c.C3);
}

double Decibels(Complex h) {
    return 20 * std::log10(std::abs(h));
}

// The geometric mean of the poles' sizes, in Hz.
double MeanPoleFrequency(const Rational3& h) {
    return std::cbrt(std::fabs(h.den[0] / h.den[3])) / kTwoPi;
}

// Down (or up) to the nearest 1, 2, 5 times a power of ten.
double Round125(double x, bool up) {
    const double decade = std::pow(10.0, std::floor(std::log10(x)));
    const double mantissa = x / decade;
    if (up) {
        return decade * (mantissa <= 1 ? 1 : mantissa <= 2 ? 2 : mantissa <= 5 ? 5 : 10);
    }
    return decade * (mantissa >= 5 ? 5 : mantissa >= 2 ? 2 : 1);
}

// What both PlotRange and Analyse need: which responses exist, their transfer functions and
// -3 dB frequencies, and the range.
struct Plan {
    bool request = false, built = false, opAmp = false;
    Rational3 requestedH, builtH;
    PoleSet builtPoles{kNaN, kNaN, kNaN};
    double requestedCutoff = kNaN, builtCutoff = kNaN, opAmpCutoff = kNaN;
    FrequencyRange range = kFallbackRange;
};

Plan MakePlan(const AnalysisInput& input) {
    Plan plan;
    plan.request = input.hasRequest && UsablePoles(input.requested);
    plan.built = UsableParts(input.built);
    plan.opAmp = plan.built && input.opAmpGbw > 0;

    double lowest = HUGE_VAL, highest = 0;
    const auto include = [&](double f) {
        if (PositiveFinite(f)) {
            lowest = std::min(lowest, f);
            highest = std::max(highest, f);
        }
    };
    if (plan.request) {
        plan.requestedH = RequestedTransfer(input.requested, input.isLpf);
        include(input.requested.fa);
        include(input.requested.fo);
    }
    if (plan.built) {
        plan.builtH = CircuitTransfer(input.built);
        plan.builtPoles = CircuitPoles(input.built);
        if (UsablePoles(plan.builtPoles)) {
            include(plan.builtPoles.fa);
            include(plan.builtPoles.fo);
        } else {
            include(MeanPoleFrequency(plan.builtH));
        }
    }
    if (!(highest > 0)) {
        return plan;
    }

    const double searchLow = lowest * std::pow(10.0, -kSearchDecades);
    const double searchHigh = highest * std::pow(10.0, kSearchDecades);
    if (plan.request) {
        const Rational3& h = plan.requestedH;
        plan.requestedCutoff = CutoffFrequency([&h](double f) { return Evaluate(h, f); },
                                               input.isLpf, searchLow, searchHigh);
        include(plan.requestedCutoff);
    }
    if (plan.built) {
        const Rational3& h = plan.builtH;
        plan.builtCutoff = CutoffFrequency([&h](double f) { return Evaluate(h, f); }, input.isLpf,
                                           searchLow, searchHigh);
        include(plan.builtCutoff);
    }
    if (plan.opAmp) {
        const Circuit& c = input.built;
        const OpAmp opAmp = OpAmpOf(input);
        plan.opAmpCutoff = CutoffFrequency(
            [&c, &opAmp](double f) { return CircuitResponseWithOpAmp(c, opAmp, f); }, input.isLpf,
            searchLow, searchHigh);
        include(plan.opAmpCutoff);
    }
    const double padding = std::pow(10.0, kPaddingDecades);
    plan.range = {Round125(lowest / padding, false), Round125(highest * padding, true)};
    return plan;
}

std::vector<double> LogSpaced(FrequencyRange range, int count) {
    std::vector<double> f(count);
    const double start = std::log(range.low);
    const double step = (std::log(range.high) - start) / (count - 1);
    for (int i = 0; i < count; ++i) {
        f[i] = std::exp(start + i * step);
    }
    f.front() = range.low;
    f.back() = range.high;
    return f;
}

// The angle of (j omega - r), continuous over omega > 0 for any r off the positive imaginary
// axis: in (-90, 90) degrees for a left-half-plane root, in (90, 360) for a right-half-plane one.
double FactorAngle(double omega, Complex r) {
    const double re = -r.real();
    const double angle = std::atan2(omega - r.imag(), re);
    return re < 0 && angle < 0 ? angle + kTwoPi : angle;
}

double LeadingCoefficient(const double (&c)[4]) {
    for (int k = 3; k >= 0; --k) {
        if (c[k] != 0) {
            return c[k];
        }
    }
    return 0;
}

// Magnitude, phase and group delay of a rational response over the grid. The continuous phase
// from the factors only chooses the branch; the value is the angle of H itself.
Trace RationalTrace(const Rational3& h, const std::vector<double>& frequency) {
    const Roots zeros = PolynomialRoots(h.num);
    const Roots poles = PolynomialRoots(h.den);
    const double constant =
        LeadingCoefficient(h.num) / LeadingCoefficient(h.den) < 0 ? std::numbers::pi : 0;
    Trace trace;
    trace.magnitudeDb.resize(frequency.size());
    trace.phaseDeg.resize(frequency.size());
    trace.groupDelay.resize(frequency.size());
    for (std::size_t i = 0; i < frequency.size(); ++i) {
        const double omega = kTwoPi * frequency[i];
        double branch = constant;
        for (int k = 0; k < zeros.count; ++k) {
            branch += FactorAngle(omega, zeros.root[k]);
        }
        for (int k = 0; k < poles.count; ++k) {
            branch -= FactorAngle(omega, poles.root[k]);
        }
        const Complex value = Evaluate(h, frequency[i]);
        const double angle = std::arg(value);
        const double phase = angle + kTwoPi * std::round((branch - angle) / kTwoPi);
        trace.magnitudeDb[i] = Decibels(value);
        trace.phaseDeg[i] = phase * kDegreesPerRadian;
        trace.groupDelay[i] = GroupDelay(h, frequency[i]);
    }
    return trace;
}

// The op-amp response over the grid; its phase follows the built one plus the continuous angle
// of their ratio, which changes slowly even where the filter's own phase turns quickly.
Trace OpAmpTrace(const Circuit& circuit, const OpAmp& opAmp, const Rational3& built,
                 const Trace& builtTrace, const std::vector<double>& frequency) {
    Trace trace;
    trace.magnitudeDb.resize(frequency.size());
    trace.phaseDeg.resize(frequency.size());
    trace.groupDelay.resize(frequency.size());
    double previous = 0;
    for (std::size_t i = 0; i < frequency.size(); ++i) {
        const ResponseWithSlope r = CircuitResponseWithOpAmpSlope(circuit, opAmp, frequency[i]);
        double ratioAngle = std::arg(r.h / Evaluate(built, frequency[i]));
        if (i > 0) {
            ratioAngle += kTwoPi * std::round((previous - ratioAngle) / kTwoPi);
        }
        previous = ratioAngle;
        trace.magnitudeDb[i] = Decibels(r.h);
        trace.phaseDeg[i] = builtTrace.phaseDeg[i] + ratioAngle * kDegreesPerRadian;
        trace.groupDelay[i] = -(r.dhds / r.h).real();
    }
    return trace;
}

// Adds the band of frequencies around each complex pole of h that lies within the range.
void AddResonanceBands(const Rational3& h, FrequencyRange range, std::vector<double>& f) {
    const Roots poles = PolynomialRoots(h.den);
    for (int k = 0; k < poles.count; ++k) {
        const double halfWidth = -poles.root[k].real(), centre = poles.root[k].imag();
        if (!(halfWidth > 0 && centre > 0 && std::isfinite(centre))) {
            continue;
        }
        const int n = kResonanceHalfWidths * kPointsPerHalfWidth;
        for (int i = -n; i <= n; ++i) {
            const double x = (centre + i * halfWidth / kPointsPerHalfWidth) / kTwoPi;
            if (x > range.low && x < range.high) {
                f.push_back(x);
            }
        }
    }
}

Figures NoFigures() {
    return {kNaN, kNaN, kNaN, kNaN, kNaN, {kNaN, kNaN}};
}

Figures FiguresOf(const FrequencyResponse& h, const PoleSet& poles, double fo, double cutoff,
                  FrequencyRange range) {
    Figures figures{poles.fa, poles.fo, poles.q, cutoff, kNaN, PeakGain(h, range.low, range.high)};
    if (PositiveFinite(fo)) {
        figures.gainAtFoDb = Decibels(h(fo));
    }
    return figures;
}

// True when `changed` moved more than `limit` from `reference`, or lost a value it had.
bool MovedBeyond(double reference, double changed, double limit) {
    if (std::isnan(reference)) {
        return false;
    }
    return !(std::fabs(changed - reference) <= limit);
}

}  // namespace

FrequencyRange PlotRange(const AnalysisInput& input) {
    return MakePlan(input).range;
}

namespace {

// The figures come first: the grid takes in their peaks.
void AddFigures(const Plan& plan, const AnalysisInput& input, AnalysisResult& result) {
    result.requestedFigures = result.builtFigures = result.opAmpFigures = NoFigures();
    if (plan.request) {
        const Rational3& h = plan.requestedH;
        result.requestedFigures =
            FiguresOf([&h](double x) { return Evaluate(h, x); }, input.requested,
                      input.requested.fo, plan.requestedCutoff, plan.range);
    }
    if (plan.built) {
        const Rational3& h = plan.builtH;
        result.builtFigures = FiguresOf([&h](double x) { return Evaluate(h, x); }, plan.builtPoles,
                                        plan.builtPoles.fo, plan.builtCutoff, plan.range);
    }
    if (plan.opAmp) {
        const Circuit& c = input.built;
        const OpAmp opAmp = OpAmpOf(input);
        result.opAmpFigures =
            FiguresOf([&c, &opAmp](double x) { return CircuitResponseWithOpAmp(c, opAmp, x); },
                      {kNaN, kNaN, kNaN}, plan.builtPoles.fo, plan.opAmpCutoff, plan.range);
    }
}

std::vector<double> FrequencyGrid(const Plan& plan, int points, const AnalysisResult& result) {
    std::vector<double> f = LogSpaced(plan.range, std::max(points, 2));
    for (const Figures* figures :
         {&result.requestedFigures, &result.builtFigures, &result.opAmpFigures}) {
        const double peak = figures->peak.frequency;
        if (peak > plan.range.low && peak < plan.range.high) {
            f.push_back(peak);
        }
    }
    if (plan.request) {
        AddResonanceBands(plan.requestedH, plan.range, f);
    }
    if (plan.built) {
        AddResonanceBands(plan.builtH, plan.range, f);
    }
    std::sort(f.begin(), f.end());
    f.erase(std::unique(f.begin(), f.end()), f.end());
    return f;
}

void AddTraces(const Plan& plan, const AnalysisInput& input, AnalysisResult& result) {
    const std::vector<double>& f = result.frequency;
    if (plan.request) {
        result.requested = RationalTrace(plan.requestedH, f);
    }
    if (plan.built) {
        result.built = RationalTrace(plan.builtH, f);
    }
    if (plan.opAmp) {
        result.opAmp = OpAmpTrace(input.built, OpAmpOf(input), plan.builtH, result.built, f);
        const Figures& ideal = result.builtFigures;
        const Figures& real = result.opAmpFigures;
        result.opAmpWarning = MovedBeyond(ideal.cutoff, real.cutoff, 0.01 * ideal.cutoff) ||
                              MovedBeyond(ideal.peak.gainDb, real.peak.gainDb, 0.5);
    }
}

}  // namespace

AnalysisResult Analyse(const AnalysisInput& input) {
    const Plan plan = MakePlan(input);
    AnalysisResult result;
    AddFigures(plan, input, result);
    result.frequency = FrequencyGrid(plan, input.points, result);
    AddTraces(plan, input, result);
    if (plan.request || plan.built) {
        const StepTimes t = StepTimesOf(plan.request ? &plan.requestedH : nullptr,
                                        plan.built ? &plan.builtH : nullptr);
        result.stepShortened = t.shortened;
        if (!t.times.empty() && plan.request) {
            result.requestedStep = {t.times, StepResponse(plan.requestedH, t.times)};
        }
        if (!t.times.empty() && plan.built) {
            result.builtStep = {t.times, StepResponse(plan.builtH, t.times)};
        }
    }
    return result;
}

double RelativeErrorPercent(double requested, double built) {
    if (requested == 0) {
        return kNaN;
    }
    return 100 * (built - requested) / requested;
}

}  // namespace mirelto
