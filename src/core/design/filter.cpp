#include "mirelto/design/filter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "mirelto/design/design_state.h"
#include "mirelto/design/messages.h"
#include "mirelto/numeric/polinom3.h"
#include "mirelto/values/eseries.h"
#include "numeric/checked_real.h"
#include "numeric/constants.h"
#include "numeric/cubic_batch.h"

namespace mirelto {

using checked::Real;
using checked::Sqrt;

namespace {

// The normalised denominator x^3 + P2 x^2 + P1 x + P0 of a circuit, in the time unit R2*C2.
template <class Num>
struct Denominator {
    Num P2, P1, P0;
};

// Over checked reals, or over plain doubles where the ratios keep every term in range.
template <class Num>
Denominator<Num> LowPassDenominator(Num r1, Num r3, Num c1, Num c3) {
    using Real = Num;
    const Real P2 = (r3 * (r1 + 1) + (c1 * r1) * (1 + r3)) / ((r1 * r3) * c1);
    const Real P1 = (c3 * ((r1 + 1) + r3) + r1 * c1) / (((r1 * r3) * c1) * c3);
    const Real P0 = 1 / (((r1 * r3) * c1) * c3);
    return {P2, P1, P0};
}

template <class Num>
Denominator<Num> HighPassDenominator(Num r1, Num r3, Num c1, Num c3) {
    using Real = Num;
    const Real P2 = (1 / r3) * ((1 / c1 + 1) + 1 / c3) + 1 / (c1 * r1);
    const Real P1 = ((1 / c3) * (1 / c1 + 1) + (1 / (r1 * c1)) * (1 + 1 / c3)) / r3;
    const Real P0 = 1 / (((r1 * r3) * c1) * c3);
    return {P2, P1, P0};
}

// The three coefficients a synthesis has to meet, and the cubic whose root gives the first
// computed component, normalised to fo = 1 Hz.
struct Target {
    Real T1, T2, T3;  // LPF: A1, A2, A3; HPF: B2, B1, B0
};

// lambda and rho are the ratios of the given components (R2/R1, R3/R1 or C1/C2, C1/C3).
Real SolveDesignCubic(const Target& target, Real lambda, Real rho) {
    const Real t = 1 / (lambda + rho) + 1;
    const Real k = 1 / lambda + 1;
    const Real k2 = -target.T1;
    const Real k1 = target.T2 * t;
    const Real k0 = ((-target.T3) * t) * k;
    return CubicRealRoot(1, k2, k1, k0);
}

// C1..C3 from R1..R3; the unscaled values go into the record as they are computed.
bool ComputeCapacitors(DesignRecord& st, Real wa, Real wo, Real Q) {
    const Real R1 = st.R1, R2 = st.R2, R3 = st.R3;
    const Real lambda = R2 / R1;
    const Real rho = R3 / R1;
    const Real A1 = 1 / wa + 1 / (wo * Q);
    const Real A2 = (1 / wo) * (1 / wo + 1 / (wa * Q));
    const Real A3 = 1 / ((wa * wo) * wo);
    const Real x = SolveDesignCubic({A1, A2, A3}, lambda, rho);  // x = R1*C1
    if (x > 0) {
        st.C1 = x / R1;
        st.C2 = (rho / lambda + 1) / (R1 * ((A2 / A3) * rho - ((rho / lambda) * (lambda + 1)) / x));
        st.C3 = A3 / ((((((lambda * rho) * R1) * R1) * R1) * st.C1) * st.C2);
    } else {
        st.C1 = 0;
    }
    return !(Real(st.C1) <= 0 || Real(st.C2) <= 0 || Real(st.C3) <= 0);
}

// R1..R3 from C1..C3: the LPF design with every R and 1/C exchanged.
bool ComputeResistors(DesignRecord& st, Real wa, Real wo, Real Q) {
    const Real C1 = st.C1, C2 = st.C2, C3 = st.C3;
    const Real lambda = C1 / C2;
    const Real rho = C1 / C3;
    const Real B2 = wa + wo / Q;
    const Real B1 = wo * (wo + wa / Q);
    const Real B0 = (wa * wo) * wo;
    const Real x = SolveDesignCubic({B2, B1, B0}, lambda, rho);  // x = 1/(R1*C1)
    if (x > 0) {
        st.R1 = 1 / (C1 * x);
        st.R2 = ((B1 / B0) * rho - ((rho / lambda) * (lambda + 1)) / x) / (C1 * (rho / lambda + 1));
        st.R3 = (lambda * rho) / (((((C1 * C1) * C1) * st.R1) * st.R2) * B0);
    } else {
        st.R1 = 0;
    }
    return !(Real(st.R1) <= 0 || Real(st.R2) <= 0 || Real(st.R3) <= 0);
}

}  // namespace

namespace {

// fa, fo and Q of the circuit into the three result fields of `out`, each written as soon as it
// is known (a fault leaves the earlier ones written).
template <class Results>
void AnalyseInto(Results& out, bool isLpf, double R1, double R2, double R3, double C1, double C2,
                 double C3) {
    const Real r1 = Real(R1) / R2;
    const Real r3 = Real(R3) / R2;
    const Real c1 = Real(C1) / C2;
    const Real c3 = Real(C3) / C2;
    const Denominator<Real> d =
        isLpf ? LowPassDenominator(r1, r3, c1, c3) : HighPassDenominator(r1, r3, c1, c3);

    // The roots of x^3 - P2 x^2 + P1 x - P0 are the normalised poles with the sign reversed:
    // P0 = xa * xo^2 and P2 = xa + xo / Q.
    out.FaResult = CubicRealRoot(1, -d.P2, d.P1, -d.P0);
    out.FoResult = Sqrt(d.P0 / out.FaResult);
    out.QResult = Real(out.FoResult) / (d.P2 - out.FaResult);

    out.FaResult = Real(out.FaResult) / kTwoPi;
    out.FoResult = Real(out.FoResult) / kTwoPi;
    out.FaResult = Real(out.FaResult) / (Real(R2) * C2);
    out.FoResult = Real(out.FoResult) / (Real(R2) * C2);
}

}  // namespace

void AnalyzeTransfer(double R1, double R2, double R3, double C1, double C2, double C3) {
    AnalyseTransferInto(DesignState, R1, R2, R3, C1, C2, C3);
}

void AnalyseTransferInto(DesignRecord& record, double R1, double R2, double R3, double C1,
                         double C2, double C3) {
    AnalyseInto(record, record.IsLpf, R1, R2, R3, C1, C2, C3);
}

namespace {

// Within these ratios of the parts no term of the denominator leaves the normal range, so plain
// doubles compute it as the checked reals do, without a fault.
constexpr double kPlainRatioLow = 0x1p-100;
constexpr double kPlainRatioHigh = 0x1p100;

bool PlainRatio(double ratio) {
    return ratio >= kPlainRatioLow && ratio <= kPlainRatioHigh;
}

// The steps of AnalyseInto in plain doubles for up to kBatch circuits, their cubics solved
// together; false for a circuit whose result this way might differ from CircuitPoles'.
void PlainPoles(const Circuit* circuits, std::size_t count, PoleSet* out, bool* done) {
    std::array<Denominator<double>, cubic::kBatch> d{};
    std::array<cubic::Monic, cubic::kBatch> cubics{};
    for (std::size_t i = 0; i < count; ++i) {
        const Circuit& c = circuits[i];
        const double r1 = c.R1 / c.R2, r3 = c.R3 / c.R2, c1 = c.C1 / c.C2, c3 = c.C3 / c.C2;
        done[i] = PlainRatio(r1) && PlainRatio(r3) && PlainRatio(c1) && PlainRatio(c3);
        d[i] = c.isLpf ? LowPassDenominator(r1, r3, c1, c3) : HighPassDenominator(r1, r3, c1, c3);
        cubics[i] = {-d[i].P2, d[i].P1, -d[i].P0};
    }
    std::array<double, cubic::kBatch> root{};
    std::array<bool, cubic::kBatch> found{};
    cubic::CubicRealRoots(cubics.data(), count, root.data(), found.data());
    for (std::size_t i = 0; i < count; ++i) {
        const Circuit& c = circuits[i];
        const double fo = std::sqrt(d[i].P0 / root[i]);
        const double q = fo / (d[i].P2 - root[i]);
        const double fa = (root[i] / kTwoPi) / (c.R2 * c.C2);
        out[i] = {fa, (fo / kTwoPi) / (c.R2 * c.C2), q};
        // A fault leaves an infinity or a NaN, or a zero after dividing by one: never a
        // positive finite set.
        done[i] = done[i] && found[i] && out[i].fa > 0 && out[i].fo > 0 && out[i].q > 0 &&
                  std::isfinite(out[i].fa + out[i].fo + out[i].q);
    }
}

}  // namespace

void CircuitPolesOf(std::span<const Circuit> circuits, std::span<PoleSet> poles) {
    for (std::size_t first = 0; first < circuits.size(); first += cubic::kBatch) {
        const std::size_t count = std::min(cubic::kBatch, circuits.size() - first);
        std::array<bool, cubic::kBatch> done{};
        PlainPoles(&circuits[first], count, &poles[first], done.data());
        for (std::size_t i = 0; i < count; ++i) {
            if (!done[i]) {
                poles[first + i] = CircuitPoles(circuits[first + i]);
            }
        }
    }
}

PoleSet CircuitPoles(const Circuit& c) {
    struct {
        double FaResult = 0, FoResult = 0, QResult = 0;
    } out;
    try {
        AnalyseInto(out, c.isLpf, c.R1, c.R2, c.R3, c.C1, c.C2, c.C3);
    } catch (const FloatingPointFault&) {
        return {kNaN, kNaN, kNaN};
    }
    if (!(out.FaResult > 0 && out.FoResult > 0 && out.QResult > 0) ||
        !std::isfinite(out.FaResult + out.FoResult + out.QResult)) {
        return {kNaN, kNaN, kNaN};
    }
    return {out.FaResult, out.FoResult, out.QResult};
}

bool SynthesiseInto(DesignRecord& st, double Fa, double Fo, double Q, std::int32_t Series1,
                    std::int32_t Series2, std::int32_t Series3, bool IsLpf) {
    // Designed for fo = 1 Hz; dividing the computed components by Fo moves every pole by Fo.
    const Real wa = (Real(Fa) / Fo) * kTwoPi;
    const Real wo = Real(1.0) * kTwoPi;

    const bool realisable =
        IsLpf ? ComputeCapacitors(st, wa, wo, Q) : ComputeResistors(st, wa, wo, Q);
    if (!realisable) {
        return false;
    }

    // The LPF computes the capacitors from the given resistors, the HPF the other way round.
    using Parts = std::array<double*, 3>;
    const Parts resistors{&st.R1, &st.R2, &st.R3}, capacitors{&st.C1, &st.C2, &st.C3};
    const Parts resultResistors{&st.ResR1, &st.ResR2, &st.ResR3};
    const Parts resultCapacitors{&st.ResC1, &st.ResC2, &st.ResC3};
    const Parts& computed = IsLpf ? capacitors : resistors;
    const Parts& given = IsLpf ? resistors : capacitors;
    const Parts& computedResult = IsLpf ? resultCapacitors : resultResistors;
    const Parts& givenResult = IsLpf ? resultResistors : resultCapacitors;
    const std::array<std::int32_t, 3> series{Series1, Series2, Series3};

    for (double* part : computed) {
        *part = Real(*part) / Fo;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        *computedResult[i] = RoundToSeries(*computed[i], series[i]);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        *givenResult[i] = *given[i];
    }

    return true;
}

void SynthesizeFilter(double Fa, double Fo, double Q, std::int32_t Series1, std::int32_t Series2,
                      std::int32_t Series3, bool IsLpf) {
    DesignRecord& st = DesignState;
    if (!SynthesiseInto(st, Fa, Fo, Q, Series1, Series2, Series3, IsLpf)) {
        ShowMessage(IsLpf ? MessageId::UnrealisableLpf : MessageId::UnrealisableHpf);
        st.ResultValid = false;
        return;
    }
    if (st.ResultValid) {
        AnalyzeTransfer(st.ResR1, st.ResR2, st.ResR3, st.ResC1, st.ResC2, st.ResC3);
    }
}

}  // namespace mirelto
