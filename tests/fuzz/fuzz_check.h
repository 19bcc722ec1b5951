// What a fuzz target asserts: a failed check stops the run as a crash, keeping the input.
#pragma once

#include <cstdlib>

inline void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}
