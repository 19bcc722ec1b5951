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
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "mirelto/design/circuit.h"

namespace mirelto {

enum class Ranking {
    Poles,     // the worst relative error of fa, fo and Q
    Cutoff,    // the relative error of the -3 dB frequency; ties by Poles
    Response,  // the response figure above; ties by Poles
};

inline constexpr std::array<Ranking, 3> kRankings{Ranking::Poles, Ranking::Cutoff,
                                                  Ranking::Response};

// "poles", "cutoff", "response": the names mirelto-cli takes and writes.
std::string_view RankingName(Ranking ranking);
std::optional<Ranking> ParseRanking(std::string_view name);

// The pass band and the transition, in multiples of the requested -3 dB frequency (LPF).
inline constexpr double kResponseBandLow = 0.1;
inline constexpr double kResponseBandHigh = 3;
// 64 samples over the 1.5 decades: about 2.5 % apart, closer than any third-order ripple's width.
inline constexpr int kResponsePoints = 64;

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

  private:
    bool isLpf_ = true;
    double cutoff_;
    // Per sample: f^2 (Hz^2) and the requested denominator |D(j 2 pi f)|^2 over the pass-band
    // gain, in the normalised form (1 + xa)((1 - xo)^2 + xo / Q^2).
    std::array<double, kResponsePoints> squaredFrequency_{};
    std::array<double, kResponsePoints> requestedDenominator_{};
};

}  // namespace mirelto
