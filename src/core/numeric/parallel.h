// Work split over the machine's cores by index: each share is a fixed part of the work, so a
// result merged share by share in order is the same whatever the number of cores.
#pragma once

#include <cstdint>
#include <functional>

namespace mirelto::parallel {

// How many shares `items` items split into: one per core (at most kMaxShares), none with fewer
// than `minItems` items, at least one.
int ShareCount(std::int64_t items, std::int64_t minItems);

// The first item of share `share` of `shares` over `items` items; share `shares` gives `items`.
std::int64_t ShareStart(std::int64_t items, int share, int shares);

// Runs work(share) for every share, share 0 on the calling thread and each other one on a thread
// of its own; returns when all have finished, rethrowing the first share's exception if any.
void RunShares(int shares, const std::function<void(int share)>& work);

inline constexpr int kMaxShares = 16;

}  // namespace mirelto::parallel
