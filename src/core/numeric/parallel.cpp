#include "numeric/parallel.h"

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace mirelto::parallel {

int ShareCount(std::int64_t items, std::int64_t minItems) {
    const auto cores = static_cast<std::int64_t>(std::max(1u, std::thread::hardware_concurrency()));
    const std::int64_t bySize = items / std::max<std::int64_t>(minItems, 1);
    return static_cast<int>(std::clamp<std::int64_t>(std::min(cores, bySize), 1, kMaxShares));
}

std::int64_t ShareStart(std::int64_t items, int share, int shares) {
    // items * share / shares without overflow for any item count a run allows.
    const std::int64_t whole = items / shares, rest = items % shares;
    return whole * share + rest * share / shares;
}

void RunShares(int shares, const std::function<void(int share)>& work) {
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(shares));
    const auto guarded = [&work, &failures](int share) {
        try {
            work(share);
        } catch (...) {
            failures[static_cast<std::size_t>(share)] = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        threads.reserve(static_cast<std::size_t>(shares));
        for (int share = 1; share < shares; ++share) {
            threads.emplace_back(guarded, share);
        }
        guarded(0);
    }  // the threads join here
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

}  // namespace mirelto::parallel
