// Floating-point faults. Every calculation of the core stops at its first invalid operation,
// division by zero or overflow and throws FloatingPointFault; underflow and inexact results pass.
// Values stored before the fault keep what they had; nothing after the faulting operation runs.
#pragma once

#include <cstdint>
#include <exception>

namespace mirelto {

enum class FaultKind : std::uint8_t {
    None,
    InvalidOperation,  // 0/0, inf - inf, 0 * inf, sqrt or log of a negative, NaN in < or >=, ...
    DivisionByZero,    // finite non-zero / 0, log(0)
    Overflow,          // a finite operation whose result leaves the double range
};

// The user-facing text of a fault, e.g. "Floating point overflow".
const char* FaultText(FaultKind kind) noexcept;
// Its stable kebab-case name, e.g. "floating-point-overflow" (mirelto-cli's --json); "" for None.
const char* FaultCode(FaultKind kind) noexcept;

class FloatingPointFault : public std::exception {
  public:
    explicit FloatingPointFault(FaultKind kind) noexcept : kind_(kind) {}
    FaultKind Kind() const noexcept { return kind_; }
    const char* what() const noexcept override { return FaultText(kind_); }

  private:
    FaultKind kind_;
};

}  // namespace mirelto
