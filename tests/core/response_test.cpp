// Responses of circuits: the thread-safe analysis against the back-calculation, and the circuit's
// own transfer function against the one its fa, fo and Q describe.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "mirelto/design_state.h"
#include "mirelto/filter.h"
#include "mirelto/response.h"
#include "test_support.h"

namespace mirelto {
namespace {

Circuit RandomCircuit(test::Random& random, bool isLpf) {
    Circuit c;
    c.isLpf = isLpf;
    c.R1 = random.LogUniform(100, 1e6);
    c.R2 = random.LogUniform(100, 1e6);
    c.R3 = random.LogUniform(100, 1e6);
    c.C1 = random.LogUniform(1e-11, 1e-5);
    c.C2 = random.LogUniform(1e-11, 1e-5);
    c.C3 = random.LogUniform(1e-11, 1e-5);
    return c;
}

// Random circuits of both forms; analyse both ways; AnalyzeCircuit gives AnalyzeTransfer's
// doubles exactly, or NaN where the back-calculation faults or finds no pole pair.
TEST(AnalyzeCircuitTest, EqualsTheBackCalculationBitForBit) {
    test::Random random(20261209);
    int compared = 0;
    for (int i = 0; i < 4000; ++i) {
        const Circuit c = RandomCircuit(random, i % 2 == 0);
        const PoleSet poles = AnalyzeCircuit(c);
        DesignState.IsLpf = c.isLpf;
        const std::string fault =
            test::FaultMessage([&] { AnalyzeTransfer(c.R1, c.R2, c.R3, c.C1, c.C2, c.C3); });
        if (!fault.empty() || !(DesignState.QResult > 0)) {
            EXPECT_TRUE(std::isnan(poles.fa) && std::isnan(poles.fo) && std::isnan(poles.q));
            continue;
        }
        ++compared;
        ASSERT_EQ(poles.fa, DesignState.FaResult);
        ASSERT_EQ(poles.fo, DesignState.FoResult);
        ASSERT_EQ(poles.q, DesignState.QResult);
    }
    EXPECT_GT(compared, 3000);
}

// Parts that are zero, negative or not finite; analyse; NaN, never a fault.
TEST(AnalyzeCircuitTest, ImpossiblePartsGiveNaN) {
    const Circuit good{22e3, 22e3, 22e3, 6.8e-9, 15e-9, 1e-9, true};
    for (double bad : {0.0, -1.0, std::nan(""), HUGE_VAL}) {
        for (int part = 0; part < 6; ++part) {
            Circuit c = good;
            double* parts[] = {&c.R1, &c.R2, &c.R3, &c.C1, &c.C2, &c.C3};
            *parts[part] = bad;
            const PoleSet poles = AnalyzeCircuit(c);
            EXPECT_TRUE(std::isnan(poles.fa)) << "part " << part << " = " << bad;
        }
    }
}

// The same circuits analysed on four threads at once; each thread's results equal the
// single-threaded ones (the root finder's work arrays are per thread).
TEST(AnalyzeCircuitTest, RunsOnManyThreadsAtOnce) {
    test::Random random(7);
    std::vector<Circuit> circuits;
    for (int i = 0; i < 2000; ++i) {
        circuits.push_back(RandomCircuit(random, i % 3 != 0));
    }
    std::vector<PoleSet> expected;
    for (const Circuit& c : circuits) {
        expected.push_back(AnalyzeCircuit(c));
    }
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t i = 0; i < circuits.size(); ++i) {
                const PoleSet p = AnalyzeCircuit(circuits[i]);
                const PoleSet& e = expected[i];
                const bool same = (std::isnan(e.fa) && std::isnan(p.fa)) ||
                                  (p.fa == e.fa && p.fo == e.fo && p.q == e.q);
                mismatches[t] += !same;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

// Random circuits with a pole pair; the circuit's transfer function at 50 frequencies equals the
// one rebuilt from its fa, fo, Q, within 1e-9 relative.
TEST(CircuitTransferTest, MatchesTheResponseOfItsPoles) {
    test::Random random(42);
    int compared = 0;
    for (int i = 0; i < 400; ++i) {
        const Circuit c = RandomCircuit(random, i % 2 == 0);
        const PoleSet poles = AnalyzeCircuit(c);
        if (std::isnan(poles.q) || poles.q < 0.55) {
            continue;
        }
        ++compared;
        const Rational3 circuit = CircuitTransfer(c);
        const Rational3 request = RequestedTransfer(poles, c.isLpf);
        for (int k = 0; k < 50; ++k) {
            const double f = poles.fo * std::pow(10.0, -2 + 4.0 * k / 49);
            const Complex a = Evaluate(circuit, f);
            const Complex b = Evaluate(request, f);
            ASSERT_LE(std::abs(a - b), 1e-9 * std::abs(b)) << "circuit " << i << " at " << f;
        }
    }
    EXPECT_GT(compared, 100);
}

// The default designs; evaluate at the pass band's far end; gain 1.
TEST(CircuitTransferTest, PassBandGainIsOne) {
    const Circuit lpf{22e3, 22e3, 22e3, 6.8e-9, 15e-9, 1e-9, true};
    const Circuit hpf{24e3, 10e3, 160e3, 3.3e-9, 3.3e-9, 3.3e-9, false};
    EXPECT_NEAR(std::abs(Evaluate(CircuitTransfer(lpf), 1e-3)), 1.0, 1e-12);
    EXPECT_NEAR(std::abs(Evaluate(CircuitTransfer(hpf), 1e9)), 1.0, 1e-12);
    EXPECT_NEAR(std::abs(Evaluate(RequestedTransfer({1420, 1420, 1}, true), 1e-3)), 1.0, 1e-12);
    EXPECT_NEAR(std::abs(Evaluate(RequestedTransfer({1420, 1420, 1}, false), 1e9)), 1.0, 1e-12);
}

}  // namespace
}  // namespace mirelto
