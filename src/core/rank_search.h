// Exact order statistics of a stream of doubles that can be replayed but not kept (internal).
//
// Each value maps to an unsigned key in the same order. The first pass counts the values by the
// top bits of their keys; every later pass narrows each wanted rank to the keys below one
// count, then collects the values of that bracket once it is small enough to select from, or
// counts it by its next bits. So memory stays bounded by the counts and the collected values
// whatever the length of the stream, and the values found are the ones a full sort would give.
// Two passes suffice unless a bracket holds more values than may be collected.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

namespace mirelto::detail {

class RankSearch {
  public:
    // At most `mostCollected` values are held at once over all brackets of a pass.
    explicit RankSearch(std::int64_t mostCollected);

    // One value of the stream (never NaN), in the same order on every pass.
    void Add(double value);

    // After the first pass: the ranks wanted (from 0, among the values added in each pass).
    void Locate(std::span<const std::int64_t> ranks);
    // Before each further pass, and after it.
    void BeginPass();
    void EndPass();

    bool Done() const;
    // The value at a located rank once Done().
    double At(std::int64_t rank) const;

  private:
    struct Target {
        std::int64_t rank = 0;
        std::int64_t below = 0;   // values with keys below the bracket
        std::int64_t inside = 0;  // values in the bracket
        int known = 0;            // top bits of the key fixed by the bracket
        std::uint64_t prefix = 0;
        bool found = false;
        double value = 0;
    };
    // Zeroed counts from calloc: the pages no value falls on are never touched.
    struct FreeCounts {
        void operator()(std::uint32_t* counts) const { std::free(counts); }
    };
    struct Bracket {
        int known = 0;
        std::uint64_t prefix = 0;
        int bits = 0;  // counting: the next bits of the key; 0: collecting
        std::unique_ptr<std::uint32_t[], FreeCounts> counts;
        std::vector<double> values;
    };

    // Moves the open targets in a counting bracket into the cells of its counts that hold
    // their ranks, in one walk over the counts.
    void Narrow(const Bracket& bracket);
    Bracket& BracketOf(const Target& target);

    std::int64_t mostCollected_;
    std::vector<Target> targets_;
    std::vector<Bracket> brackets_;
};

}  // namespace mirelto::detail
