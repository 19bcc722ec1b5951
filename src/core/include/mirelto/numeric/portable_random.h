// Random numbers that repeat from their seed on every platform: the engine is std::mt19937_64,
// whose output the standard fixes, and the transforms to uniform and normal numbers are our own,
// using + - * / and sqrt only (IEEE-exact everywhere). The <random> distributions are not used
// because each standard library implements them differently.
#pragma once

#include <cstdint>
#include <random>

namespace mirelto {

// Portable random numbers from a seed.
class PortableRandom {
  public:
    explicit PortableRandom(std::uint64_t seed) : engine_(seed) {}
    // [0, 1): the top 53 bits of one engine output, times 2^-53.
    double Uniform();
    // Standard normal, by Marsaglia's polar method with PortableLog; values come in pairs.
    double Normal();

  private:
    std::mt19937_64 engine_;
    double spare_ = 0;
    bool hasSpare_ = false;
};

// The natural logarithm of a positive finite x from frexp, + - * / only: the same bits on every
// IEEE platform, within a few units in the last place of std::log.
double PortableLog(double x);

}  // namespace mirelto
