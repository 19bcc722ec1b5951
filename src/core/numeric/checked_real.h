// Checked double arithmetic for the calculation core.
//
// Expressions over Real build RealExpr values that carry the first fault met in evaluation order
// (left operand before right, operands before their operator), independent of the order in which
// the C++ compiler happens to evaluate operands. The fault is raised as FloatingPointFault when
// the value is stored (converted to Real or double) or compared, so nothing is stored from a
// faulting expression and the message is always that of its first faulting operation.
//
// Write algorithms with Real locals: an expression with at least one Real or RealExpr operand is
// checked; one over plain doubles only is not (wrap a leaf in Real() where needed).
#pragma once

#include <cmath>
#include <concepts>
#include <cstdint>
#include <type_traits>

#include "mirelto/numeric/fault.h"

namespace mirelto::checked {

[[noreturn]] void Raise(FaultKind kind);

class RealExpr {
  public:
    constexpr RealExpr(double value, FaultKind fault = FaultKind::None) noexcept
        : value_(value), fault_(fault) {}

    // Converting to a plain double stores the value: a pending fault is raised here.
    operator double() const {
        if (fault_ != FaultKind::None) {
            Raise(fault_);
        }
        return value_;
    }

    constexpr double Unchecked() const noexcept { return value_; }
    constexpr FaultKind Fault() const noexcept { return fault_; }

  private:
    double value_;
    FaultKind fault_;
};

// A stored value: never carries a fault. Assigning a faulting expression to it raises.
class Real {
  public:
    constexpr Real() noexcept = default;
    constexpr Real(double value) noexcept : value_(value) {}
    Real(RealExpr expr) : value_(static_cast<double>(expr)) {}

    constexpr operator double() const noexcept { return value_; }
    constexpr operator RealExpr() const noexcept { return RealExpr(value_); }

  private:
    double value_ = 0.0;
};

template <class T>
concept CheckedOperand = std::same_as<T, Real> || std::same_as<T, RealExpr>;

template <class T>
concept Operand = CheckedOperand<T> || std::is_arithmetic_v<T>;

namespace detail {

constexpr RealExpr Lift(RealExpr x) noexcept {
    return x;
}
constexpr RealExpr Lift(Real x) noexcept {
    return RealExpr(static_cast<double>(x));
}
template <class T>
requires std::is_arithmetic_v<T>
constexpr RealExpr Lift(T x) noexcept {
    return RealExpr(static_cast<double>(x));
}

// The fault of an operation on a and b giving result, when the result or an operand is out of
// the ordinary: an operand's pending fault comes first.
inline RealExpr FinishUnusual(RealExpr a, RealExpr b, double result) noexcept {
    if (a.Fault() != FaultKind::None) {
        return RealExpr(result, a.Fault());
    }
    if (b.Fault() != FaultKind::None) {
        return RealExpr(result, b.Fault());
    }
    const double x = a.Unchecked();
    const double y = b.Unchecked();
    if (std::isnan(result) && !std::isnan(x) && !std::isnan(y)) {
        return RealExpr(result, FaultKind::InvalidOperation);
    }
    if (std::isinf(result) && std::isfinite(x) && std::isfinite(y)) {
        return RealExpr(result, FaultKind::Overflow);
    }
    return RealExpr(result);
}

// A finite result of fault-free operands is by far the common case: one test.
inline RealExpr Finish(RealExpr a, RealExpr b, double result) noexcept {
    if (a.Fault() == FaultKind::None && b.Fault() == FaultKind::None && std::isfinite(result))
        [[likely]] {
        return RealExpr(result);
    }
    return FinishUnusual(a, b, result);
}

inline RealExpr Divide(RealExpr a, RealExpr b) noexcept {
    const double x = a.Unchecked();
    const double y = b.Unchecked();
    const double result = x / y;
    if (a.Fault() == FaultKind::None && b.Fault() == FaultKind::None && y == 0.0 &&
        std::isfinite(x) && x != 0.0) {
        return RealExpr(result, FaultKind::DivisionByZero);
    }
    return Finish(a, b, result);
}

// Ordered comparisons raise a pending fault, then an invalid operation on a NaN operand.
inline void CheckOrdered(RealExpr a, RealExpr b) {
    const double x = a;
    const double y = b;
    if (std::isnan(x) || std::isnan(y)) {
        Raise(FaultKind::InvalidOperation);
    }
}

}  // namespace detail

template <Operand A, Operand B>
requires(CheckedOperand<A> || CheckedOperand<B>) inline RealExpr operator+(A a, B b) noexcept {
    const RealExpr x = detail::Lift(a), y = detail::Lift(b);
    return detail::Finish(x, y, x.Unchecked() + y.Unchecked());
}

template <Operand A, Operand B>
requires(CheckedOperand<A> || CheckedOperand<B>) inline RealExpr operator-(A a, B b) noexcept {
    const RealExpr x = detail::Lift(a), y = detail::Lift(b);
    return detail::Finish(x, y, x.Unchecked() - y.Unchecked());
}

template <Operand A, Operand B>
requires(CheckedOperand<A> || CheckedOperand<B>) inline RealExpr operator*(A a, B b) noexcept {
    const RealExpr x = detail::Lift(a), y = detail::Lift(b);
    return detail::Finish(x, y, x.Unchecked() * y.Unchecked());
}

template <Operand A, Operand B>
requires(CheckedOperand<A> || CheckedOperand<B>) inline RealExpr operator/(A a, B b) noexcept {
    return detail::Divide(detail::Lift(a), detail::Lift(b));
}

template <CheckedOperand A>
inline RealExpr operator-(A a) noexcept {
    const RealExpr x = detail::Lift(a);
    return RealExpr(-x.Unchecked(), x.Fault());
}

#define MIRELTO_CHECKED_COMPARISON(op, ordered)                                          \
    template <Operand A, Operand B>                                                      \
    requires(CheckedOperand<A> || CheckedOperand<B>) inline bool operator op(A a, B b) { \
        const RealExpr x = detail::Lift(a), y = detail::Lift(b);                         \
        if (ordered) {                                                                   \
            detail::CheckOrdered(x, y);                                                  \
        }                                                                                \
        return static_cast<double>(x) op static_cast<double>(y);                         \
    }
MIRELTO_CHECKED_COMPARISON(<, true)
MIRELTO_CHECKED_COMPARISON(<=, true)
MIRELTO_CHECKED_COMPARISON(>, true)
MIRELTO_CHECKED_COMPARISON(>=, true)
MIRELTO_CHECKED_COMPARISON(==, false)
MIRELTO_CHECKED_COMPARISON(!=, false)
#undef MIRELTO_CHECKED_COMPARISON

inline RealExpr Abs(RealExpr x) noexcept {
    return RealExpr(std::fabs(x.Unchecked()), x.Fault());
}

inline RealExpr Sqrt(RealExpr x) noexcept {
    const double v = x.Unchecked();
    if (x.Fault() == FaultKind::None && v < 0.0) {
        return RealExpr(std::sqrt(v), FaultKind::InvalidOperation);
    }
    return RealExpr(std::sqrt(v), x.Fault());
}

// Logarithms: of 0 a division by zero, of a negative an invalid operation.
inline FaultKind LogarithmFault(RealExpr x) noexcept {
    if (x.Fault() != FaultKind::None) {
        return x.Fault();
    }
    if (x.Unchecked() == 0.0) {
        return FaultKind::DivisionByZero;
    }
    return x.Unchecked() < 0.0 ? FaultKind::InvalidOperation : FaultKind::None;
}

inline RealExpr Ln(RealExpr x) noexcept {
    return RealExpr(std::log(x.Unchecked()), LogarithmFault(x));
}

inline RealExpr Log10(RealExpr x) noexcept {
    return RealExpr(std::log10(x.Unchecked()), LogarithmFault(x));
}

inline RealExpr Exp(RealExpr x) noexcept {
    const double v = x.Unchecked();
    const double result = std::exp(v);
    if (x.Fault() == FaultKind::None && std::isinf(result) && std::isfinite(v)) {
        return RealExpr(result, FaultKind::Overflow);
    }
    return RealExpr(result, x.Fault());
}

// Conversions to a 64-bit integer; a NaN or a value outside the range is an invalid operation.
std::int64_t RoundToInt64(RealExpr x);  // halves to even
std::int64_t TruncToInt64(RealExpr x);  // toward zero

}  // namespace mirelto::checked
