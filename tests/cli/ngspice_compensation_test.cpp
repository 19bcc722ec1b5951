// Compensation checked by simulation: the compensated parts (before rounding) exported with the
// single-pole op-amp; ngspice's pole-zero analysis (.pz) finds the requested fa, fo, Q (within
// 0.1 %) among its poles, the op-amp's own far apart; and for the low-pass, whose DC gain pins the
// pass band, .ac gives |V(out)| at fo/2, fo and 2 fo within 0.05 dB of the requested ideal
// response, where the ideal design with the same op-amp is off by more. (A high-pass keeps a
// pass-band factor 2 pi GBW / p4 below GBW, p4 the op-amp's moved pole: three parts place three
// poles, not that gain.) Runs in the ngspice check's program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <mirelto/core.h>

#include "process.h"

namespace mirelto::test {

namespace {

constexpr double kToleranceDb = 0.05;

struct CompensatedCase {
    std::string name;
    bool isLpf;
    PoleSet request;
    std::array<double, 3> given;
    double gbw;
};

void PrintTo(const CompensatedCase& c, std::ostream* os) {
    *os << c.name;
}

// The output of ngspice -b on the netlist of `circuit` with the op-amp, the control lines run in
// place of the netlist's analyses.
std::string Simulate(const std::string& name, const Circuit& circuit, const OpAmp& opAmp,
                     const std::string& commands) {
    NetlistOptions options;
    options.opAmp = opAmp;
    std::string netlist = SpiceNetlist(circuit, options);
    for (const char* analysis : {"\n.meas ", "\n.print ", "\n.ac "}) {
        for (std::size_t at = netlist.find(analysis); at != std::string::npos;
             at = netlist.find(analysis, at)) {
            netlist.erase(at + 1, netlist.find('\n', at + 1) - at);
        }
    }
    netlist.insert(netlist.rfind(".end\n"),
                   ".control\nset numdgt=12\n" + commands + "quit 0\n.endc\n");
    const std::string deck = ScratchDirectory() + "/" + name + "_compensated.cir";
    std::FILE* file = std::fopen(deck.c_str(), "wb");
    std::fwrite(netlist.data(), 1, netlist.size(), file);
    std::fclose(file);
    return RunProgram("ngspice", {"-b", deck}).out;
}

// Every number after `key` in the log, in order (for "pole(n) = re,im" both parts).
std::vector<double> Values(const std::string& log, const std::string& key) {
    std::vector<double> values;
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t at = line.find(key);
        if (at == std::string::npos) {
            continue;
        }
        const char* text = line.c_str() + line.find('=', at) + 1;
        char* end = nullptr;
        values.push_back(std::strtod(text, &end));
        if (*end == ',') {
            values.push_back(std::strtod(end + 1, nullptr));
        }
    }
    return values;
}

std::vector<double> Magnitudes(const std::string& name, const Circuit& circuit, const OpAmp& opAmp,
                               const std::vector<double>& frequencies) {
    std::string commands;
    for (const double f : frequencies) {
        char line[128];
        std::snprintf(line, sizeof line, "ac lin 1 %.17g %.17g\nprint vdb(out)\n", f, f);
        commands += line;
    }
    return Values(Simulate(name, circuit, opAmp, commands), "vdb(out) = ");
}

class NgspiceCompensationTest : public testing::TestWithParam<CompensatedCase> {};

TEST_P(NgspiceCompensationTest, SimulatedResponseIsTheRequestedOne) {
    const CompensatedCase& c = GetParam();
    const IdealDesign ideal = DesignIdeal(c.request, c.isLpf, c.given);
    ASSERT_TRUE(ideal.realisable);
    CompensationInput input;
    input.requested = c.request;
    input.ideal = ideal.circuit;
    input.opAmp = OpAmp::WithGbw(c.gbw);
    const Compensation done = Compensate(input);
    ASSERT_TRUE(done.solved);

    // The three poles nearest the origin, read back as fa, fo, Q.
    const std::vector<double> parts = Values(
        Simulate(c.name + "_pz", done.circuit, input.opAmp, "pz in 0 out 0 vol pol\nprint all\n"),
        "pole(");
    ASSERT_EQ(parts.size(), 8u);
    std::vector<Complex> poles;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        poles.emplace_back(parts[i], parts[i + 1]);
    }
    std::sort(poles.begin(), poles.end(),
              [](Complex a, Complex b) { return std::abs(a) < std::abs(b); });
    EXPECT_GT(std::abs(poles[3]), 10 * std::abs(poles[2]));
    const Complex three[3] = {poles[0], poles[1], poles[2]};
    const PoleSet found = PolesFromRoots(three);
    const double twoPi = 2 * std::acos(-1.0);
    EXPECT_NEAR(found.fa / twoPi / c.request.fa, 1, 1e-3);
    EXPECT_NEAR(found.fo / twoPi / c.request.fo, 1, 1e-3);
    EXPECT_NEAR(found.q / c.request.q, 1, 1e-3);
    if (!c.isLpf) {
        return;
    }
    const Rational3 requested = RequestedTransfer(c.request, c.isLpf);
    const std::vector<double> frequencies{c.request.fo / 2, c.request.fo, 2 * c.request.fo};
    const std::vector<double> compensated =
        Magnitudes(c.name, done.circuit, input.opAmp, frequencies);
    const std::vector<double> plain =
        Magnitudes(c.name + "_plain", ideal.circuit, input.opAmp, frequencies);
    ASSERT_EQ(compensated.size(), frequencies.size());
    ASSERT_EQ(plain.size(), frequencies.size());
    double worstPlain = 0;
    for (std::size_t i = 0; i < frequencies.size(); ++i) {
        const double wanted = 20 * std::log10(std::abs(Evaluate(requested, frequencies[i])));
        EXPECT_NEAR(compensated[i], wanted, kToleranceDb) << frequencies[i];
        worstPlain = std::max(worstPlain, std::abs(plain[i] - wanted));
        std::printf(
            "%s at %.6g Hz: requested %.4f dB, compensated %.4f dB, uncompensated %.4f dB\n",
            c.name.c_str(), frequencies[i], wanted, compensated[i], plain[i]);
    }
    EXPECT_GT(worstPlain, kToleranceDb);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Designs, NgspiceCompensationTest, testing::Values(
    CompensatedCase{"ButterworthLowPass", true,  {20e3, 20e3, 1},  {22e3, 22e3, 22e3},    1e6},
    CompensatedCase{"NearLowestGbw",      true,  {20e3, 20e3, 1},  {22e3, 22e3, 22e3},    50e3},
    CompensatedCase{"PeakingHighPass",    false, {800, 1.2e3, 2},  {10e-9, 10e-9, 10e-9}, 200e3}),
    [](const auto& info) { return info.param.name; });
// clang-format on

// The op-amp's DC gain and output resistance in the exported subcircuit and in the nodal solve
// alike: |V(out)| from the pass band into the low-pass's stop band, where the follower's
// feed-through through C2 and Ro sets the floor, within 0.01 dB of CircuitResponseWithOpAmp.
TEST(NgspiceOpAmpModel, DcGainAndOutputResistanceAsSimulated) {
    for (const bool isLpf : {true, false}) {
        const Circuit circuit{22e3, 22e3, 22e3, 470e-12, 1.5e-9, 68e-12, isLpf};
        OpAmp opAmp = OpAmp::WithGbw(1e6);
        opAmp.a0 = 1e4;
        opAmp.outputResistance = 300;
        const std::vector<double> frequencies{10, 20e3, 200e3, 2e6, 20e6};
        const std::vector<double> simulated =
            Magnitudes(isLpf ? "RoLowPass" : "RoHighPass", circuit, opAmp, frequencies);
        ASSERT_EQ(simulated.size(), frequencies.size());
        for (std::size_t i = 0; i < frequencies.size(); ++i) {
            const double ours =
                20 * std::log10(std::abs(CircuitResponseWithOpAmp(circuit, opAmp, frequencies[i])));
            EXPECT_NEAR(simulated[i], ours, 0.01) << frequencies[i];
            std::printf("%s at %.6g Hz: ngspice %.4f dB, mirelto %.4f dB\n", isLpf ? "LPF" : "HPF",
                        frequencies[i], simulated[i], ours);
        }
    }
}

}  // namespace
}  // namespace mirelto::test
