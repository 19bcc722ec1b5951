// The calculations allocate nothing on the heap: every operator new in this test program is
// counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "mirelto/design/design_state.h"
#include "mirelto/design/filter.h"
#include "mirelto/design/messages.h"
#include "mirelto/numeric/polinom3.h"

namespace {
std::atomic<long> allocations{0};
}

// The replacement pair below is malloc/free on both sides; GCC flags free() on memory from
// operator new once it inlines them into each other, without seeing that they are a pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace mirelto {
namespace {

template <class Fn>
long AllocationsDuring(Fn fn) {
    const long before = allocations.load();
    fn();
    return allocations.load() - before;
}

TEST(Allocation, CalculationsAllocateNothing) {
    // state, action, expected: a design, its analysis and a rejection, none allocating
    const MessageSink previous = SetMessageSink([](MessageId) {});
    EXPECT_EQ(AllocationsDuring([] { CubicRealRoot(1, -100, 1, -1); }), 0);
    EXPECT_EQ(AllocationsDuring([] { CubicRealRoot(1, -0.5, 0.001, -0.0001); }), 0);
    EXPECT_EQ(AllocationsDuring([] {
                  DesignState.IsLpf = true;
                  AnalyzeTransfer(22000, 22000, 22000, 33e-9, 100e-9, 2.2e-9);
              }),
              0);
    EXPECT_EQ(AllocationsDuring([] {
                  DesignState.IsLpf = true;
                  DesignState.R1 = DesignState.R2 = DesignState.R3 = 22000;
                  DesignState.ResultValid = true;
                  SynthesizeFilter(1420, 1420, 1, 6, 6, 6, true);
              }),
              0);
    EXPECT_EQ(AllocationsDuring([] {
                  DesignState.C1 = DesignState.C2 = DesignState.C3 = 3.3e-9;
                  DesignState.IsLpf = false;
                  DesignState.ResultValid = true;
                  SynthesizeFilter(1420, 1420, 1, 24, 24, 24, false);
              }),
              0);
    EXPECT_EQ(AllocationsDuring([] {
                  DesignState.R1 = 22000;
                  DesignState.R2 = DesignState.R3 = 4700;
                  DesignState.IsLpf = true;
                  DesignState.ResultValid = true;
                  SynthesizeFilter(1420, 1420, 1, 6, 6, 6, true);
              }),
              0);
    SetMessageSink(previous);
}

}  // namespace
}  // namespace mirelto
