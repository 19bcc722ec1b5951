// A small dense linear solver: LU factors with partial pivoting of an N x N matrix, real or
// complex, solved for as many right-hand sides as wanted. Internal to the core; sizes are fixed
// at compile time and nothing is allocated.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <utility>

#include "mirelto/numeric/finite.h"

namespace mirelto {

template <class T, int N>
class DenseLu {
  public:
    using Matrix = T[N][N];
    using Vector = T[N];

    // False when a pivot vanishes or is not a number.
    bool Factor(const Matrix& m) {
        for (int i = 0; i < N; ++i) {
            std::copy(m[i], m[i] + N, lu_[i]);
            rowScale_[i] = 1;
            order_[i] = i;
        }
        return Eliminate();
    }

    // The same with each row first divided by its largest magnitude, for rows whose units differ
    // by many decades. False also when a row is zero or not finite.
    bool FactorEquilibrated(const Matrix& m) {
        for (int i = 0; i < N; ++i) {
            double largest = 0;
            for (int j = 0; j < N; ++j) {
                largest = std::max(largest, static_cast<double>(std::abs(m[i][j])));
            }
            if (!IsPositiveFinite(largest)) {
                return false;
            }
            rowScale_[i] = 1 / largest;
            for (int j = 0; j < N; ++j) {
                lu_[i][j] = m[i][j] * rowScale_[i];
            }
            order_[i] = i;
        }
        return Eliminate();
    }

    void Solve(const Vector& rhs, Vector& x) const {
        for (int i = 0; i < N; ++i) {
            x[i] = rhs[order_[i]] * rowScale_[order_[i]];
            for (int j = 0; j < i; ++j) {
                x[i] -= lu_[i][j] * x[j];
            }
        }
        for (int i = N - 1; i >= 0; --i) {
            for (int j = i + 1; j < N; ++j) {
                x[i] -= lu_[i][j] * x[j];
            }
            x[i] /= lu_[i][i];
        }
    }

  private:
    bool Eliminate() {
        for (int k = 0; k < N; ++k) {
            int pivot = k;
            for (int i = k + 1; i < N; ++i) {
                if (std::abs(lu_[i][k]) > std::abs(lu_[pivot][k])) {
                    pivot = i;
                }
            }
            if (!(std::abs(lu_[pivot][k]) > 0)) {
                return false;
            }
            std::swap(lu_[pivot], lu_[k]);
            std::swap(order_[pivot], order_[k]);
            for (int i = k + 1; i < N; ++i) {
                lu_[i][k] /= lu_[k][k];
                for (int j = k + 1; j < N; ++j) {
                    lu_[i][j] -= lu_[i][k] * lu_[k][j];
                }
            }
        }
        return true;
    }

    Matrix lu_;
    double rowScale_[N];
    int order_[N];
};

}  // namespace mirelto
