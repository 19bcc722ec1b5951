// CubicRealRoot for a few monic cubics at once (internal): their iterations interleaved, so that
// the divisions of one wait on those of another instead of on their own. The same roots, bit for
// bit, wherever it gives one.
#pragma once

#include <cstddef>

namespace mirelto::cubic {

inline constexpr std::size_t kBatch = 4;

struct Monic {
    double k2 = 0, k1 = 0, k0 = 0;  // x^3 + k2 x^2 + k1 x + k0
};

// root[i] = CubicRealRoot(1, k2, k1, k0) of in[i] for i < count (<= kBatch) where found[i];
// where not (an iteration that faulted, did not converge, or ended beside a root), the caller
// runs CubicRealRoot itself. Leaves the module-level arrays of polinom3.h alone.
void CubicRealRoots(const Monic* in, std::size_t count, double* root, bool* found);

}  // namespace mirelto::cubic
