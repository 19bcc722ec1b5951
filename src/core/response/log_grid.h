// The log-frequency grid along which the measures look for a crossing or a peak before they
// refine it. Internal to the core.
#pragma once

#include <algorithm>
#include <cmath>

namespace mirelto {

// The scans' density: steps of 6 %. A unimodal peak is always bracketed by the neighbours of the
// highest sample; two -3 dB crossings closer than one step may go unseen.
inline constexpr double kGridPerDecade = 40;

// Points of a log grid over [low, high] by ln f.
class LogGrid {
  public:
    LogGrid(double low, double high)
        : start_(std::log(low)),
          end_(std::log(high)),
          count_(std::max(2, static_cast<int>(std::ceil(Decades(low, high) * kGridPerDecade)) + 1)),
          step_((end_ - start_) / (count_ - 1)) {}
    int Count() const { return count_; }
    // The last point is the end of the range exactly, not a sum of steps.
    double At(int i) const { return i == count_ - 1 ? end_ : start_ + i * step_; }

  private:
    // log10(high / low), also where that ratio overflows (1e-300 to 1e300): at most 632.
    static double Decades(double low, double high) {
        const double ratio = high / low;
        return std::isfinite(ratio) ? std::log10(ratio) : std::log10(high) - std::log10(low);
    }

    double start_, end_;
    int count_;
    double step_;
};

// A range the measures can search: positive, finite, not empty.
inline bool ValidRange(double low, double high) {
    return low > 0 && high > low && std::isfinite(high);
}

}  // namespace mirelto
