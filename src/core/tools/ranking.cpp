#include "mirelto/tools/ranking.h"

#include <cmath>

#include "mirelto/response/cutoff.h"
#include "mirelto/response/transfer.h"
#include "numeric/constants.h"

namespace mirelto {

namespace {

// The built circuit's -3 dB point lies within this factor of the requested one.
constexpr double kCutoffSearchSpan = 100;

// |D|^2 of the normalised all-pole form at f^2, with xa = (f/fa)^2 and xo = (f/fo)^2 for the LPF
// and their reciprocals for the HPF: 1 / |H|^2.
double Denominator(double xa, double xo, double inverseSquaredQ) {
    const double d = 1 - xo;
    return (1 + xa) * (d * d + xo * inverseSquaredQ);
}

bool IsPositiveFinite(double v) {
    return v > 0 && std::isfinite(v);
}

// fmin and fmax as the comparisons they are on a NaN-free low and high: the library calls cost
// the response figure a fifth of its time.
void Widen(double& low, double& high, double ratio) {
    low = ratio < low ? ratio : low;
    high = ratio > high ? ratio : high;
}

}  // namespace

std::string_view RankingName(Ranking ranking) {
    switch (ranking) {
        case Ranking::Poles:
            return "poles";
        case Ranking::Cutoff:
            return "cutoff";
        case Ranking::Response:
            return "response";
    }
    return {};
}

std::optional<Ranking> ParseRanking(std::string_view name) {
    for (const Ranking ranking : kRankings) {
        if (RankingName(ranking) == name) {
            return ranking;
        }
    }
    return std::nullopt;
}

ResponseReference::ResponseReference(const PoleSet& requested, bool isLpf)
    : isLpf_(isLpf), cutoff_(kNaN) {
    if (!IsPositiveFinite(requested.fa) || !IsPositiveFinite(requested.fo) ||
        !IsPositiveFinite(requested.q)) {
        return;
    }
    const Rational3 h = RequestedTransfer(requested, isLpf);
    const double guess = std::sqrt(requested.fa * requested.fo);
    cutoff_ = CutoffFrequency(h, isLpf, guess / (kCutoffSearchSpan * kCutoffSearchSpan),
                              guess * kCutoffSearchSpan * kCutoffSearchSpan);
    if (!IsPositiveFinite(cutoff_)) {
        cutoff_ = kNaN;
        return;
    }
    const double low = cutoff_ * (isLpf ? kResponseBandLow : 1 / kResponseBandHigh);
    const double high = cutoff_ * (isLpf ? kResponseBandHigh : 1 / kResponseBandLow);
    const double step = std::log(high / low) / (kResponsePoints - 1);
    for (int i = 0; i < kResponsePoints; ++i) {
        const double f = i == kResponsePoints - 1 ? high : low * std::exp(step * i);
        squaredFrequency_[static_cast<std::size_t>(i)] = f * f;
    }
    const double a = requested.fa * requested.fa, o = requested.fo * requested.fo;
    const double iq = 1 / (requested.q * requested.q);
    for (std::size_t i = 0; i < squaredFrequency_.size(); ++i) {
        const double f2 = squaredFrequency_[i];
        requestedDenominator_[i] =
            isLpf ? Denominator(f2 / a, f2 / o, iq) : Denominator(a / f2, o / f2, iq);
    }
}

double ResponseReference::CutoffOf(const PoleSet& built) const {
    if (std::isnan(cutoff_) || !IsPositiveFinite(built.fa) || !IsPositiveFinite(built.fo) ||
        !IsPositiveFinite(built.q)) {
        return kNaN;
    }
    return CutoffFrequency(RequestedTransfer(built, isLpf_), isLpf_, cutoff_ / kCutoffSearchSpan,
                           cutoff_ * kCutoffSearchSpan);
}

double ResponseReference::DeviationDb(const PoleSet& built) const {
    if (std::isnan(cutoff_) || !IsPositiveFinite(built.fa) || !IsPositiveFinite(built.fo) ||
        !IsPositiveFinite(built.q)) {
        return kNaN;
    }
    // |H_built|^2 / |H_requested|^2 = D_requested / D_built; only its extremes need a logarithm.
    double lowest = 1, highest = 1;
    const double iq = 1 / (built.q * built.q);
    if (isLpf_) {
        const double ia = 1 / (built.fa * built.fa), io = 1 / (built.fo * built.fo);
        for (std::size_t i = 0; i < squaredFrequency_.size(); ++i) {
            const double f2 = squaredFrequency_[i];
            const double ratio = requestedDenominator_[i] / Denominator(f2 * ia, f2 * io, iq);
            Widen(lowest, highest, ratio);
        }
    } else {
        const double a = built.fa * built.fa, o = built.fo * built.fo;
        for (std::size_t i = 0; i < squaredFrequency_.size(); ++i) {
            const double inverse = 1 / squaredFrequency_[i];
            const double ratio =
                requestedDenominator_[i] / Denominator(a * inverse, o * inverse, iq);
            Widen(lowest, highest, ratio);
        }
    }
    return 10 * std::log10(std::fmax(highest, 1 / lowest));
}

}  // namespace mirelto
