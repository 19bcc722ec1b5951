// How the long runs of the tools (the optimiser's search, the tolerance trials) are stopped and
// watched from another thread, and how they end.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace mirelto {

// How a long computation on a worker thread is stopped and watched.
struct RunControl {
    // Polled between steps; once it reads true the run stops and reports RunStatus::Cancelled.
    const std::atomic<bool>* cancel = nullptr;
    // Called on the running thread every few thousand steps and once at the end.
    std::function<void(std::int64_t done, std::int64_t total)> progress;
};

enum class RunStatus { Done, Cancelled, Invalid };

}  // namespace mirelto
