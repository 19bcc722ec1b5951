// What the best-standard-values search ranks by: the three rankings, their names, the figures
// beside the pole errors (the -3 dB frequency and the response deviation), and the requested
// response sampled once so that many built circuits compare with it cheaply. No state.
//
// The response figure, defined here only: the largest deviation, in dB, of the built circuit's
// magnitude |H(f)| from the requested one over the band kResponseBandLow..kResponseBandHigh times
// the requested -3 dB frequency (LPF; mirrored for the HPF: 1/kResponseBandHigh..1/
// kResponseBandLow times it), sampled at kResponsePoints frequencies equally spaced on a log
// scale, ends included. Both responses are the all-pole forms of their fa, fo, Q with the
// follower's unity pass-band gain (RequestedTransfer), so the figure is
// max over the samples of |20 log10(|H_built(f)| / |H_requested(f)|)|.
//
// The group-delay figure, defined here only: the largest relative deviation of the built
// circuit's group delay from the requested one over the pass band, kResponseBandLow..1 times
// the requested -3 dB frequency (LPF; HPF: 1..1/kResponseBandLow times it), sampled at
// kGroupDelayPoints frequencies equally spaced on a log scale, ends included:
// max over the samples of |tau_built(f) - tau_requested(f)| / tau_requested(f), a fraction
// (0.01 = 1 %) like the pole and cutoff errors. Both delays are those of the all-pole forms of
// their fa, fo, Q; the high-pass's zeros at the origin add no delay, so both forms share
// tau = wa / (wa^2 + w^2) + (wo/Q)(wo^2 + w^2) / ((wo^2 - w^2)^2 + (w wo/Q)^2).
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "mirelto/design/circuit.h"

namespace mirelto {

enum class Ranking {
    Poles,       // the worst relative error of fa, fo and Q
    Cutoff,      // the relative error of the -3 dB frequency; ties by Poles
    Response,    // the response figure above; ties by Poles
    GroupDelay,  // the group-delay figure above; ties by Poles
};

inline constexpr std::array<Ranking, 4> kRankings{Ranking::Poles, Ranking::Cutoff,
                                                  Ranking::Response, Ranking::GroupDelay};

// "poles", "cutoff", "response", "group-delay": the names mirelto-cli takes and writes.
std::string_view RankingName(Ranking ranking);
std::optional<Ranking> ParseRanking(std::string_view name);

// The pass band and the transition, in multiples of the requested -3 dB frequency (LPF).
inline constexpr double kResponseBandLow = 0.1;
inline constexpr double kResponseBandHigh = 3;
// 64 samples over the 1.5 decades: about 2.5 % apart, closer than any third-order ripple's width.
inline constexpr int kResponsePoints = 64;
// 32 samples over the pass band's decade: about 7.5 % apart; the delay's peak near the band edge
// is wider than that.
inline constexpr int kGroupDelayPoints = 32;

// Group delay, seconds, at angular frequency w of the all-pole third-order form of fa, fo, Q (Hz):
// the formula above.
double AllPoleGroupDelay(const PoleSet& poles, double w);

// The requested response, its -3 dB frequency and its magnitude at the band's samples.
class ResponseReference {
  public:
    ResponseReference(const PoleSet& requested, bool isLpf);

    // The requested -3 dB frequency, Hz; NaN when the request has none.
    double Cutoff() const { return cutoff_; }
    // The -3 dB frequency of a built circuit's fa, fo, Q (searched within two decades either
    // side of the requested one); NaN when it has none there.
    double CutoffOf(const PoleSet& built) const;
    // The response figure of a built circuit's fa, fo, Q, dB; NaN without a requested cutoff or
    // when the built poles are not finite and positive.
    double DeviationDb(const PoleSet& built) const;
    // The group-delay figure of a built circuit's fa, fo, Q, a fraction; NaN as DeviationDb.
    double GroupDelayDeviation(const PoleSet& built) const;

  private:
    bool isLpf_ = true;
    double cutoff_;
    // Per sample: f^2 (Hz^2) and the requested denominator |D(j 2 pi f)|^2 over the pass-band
    // gain, in the normalised form (1 + xa)((1 - xo)^2 + xo / Q^2).
    std::array<double, kResponsePoints> squaredFrequency_{};
    std::array<double, kResponsePoints> requestedDenominator_{};
    // Per pass-band sample: its angular frequency and the requested group delay there.
    std::array<double, kGroupDelayPoints> delayOmega_{};
    std::array<double, kGroupDelayPoints> requestedDelay_{};
};

}  // namespace mirelto
