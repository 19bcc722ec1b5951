// The netlist mirelto-cli writes, simulated by ngspice in batch mode: |V(out)| at fa and fo
// equals the analysis window's magnitude, 20 log10 |Evaluate(CircuitTransfer(...))|, within
// 0.01 dB; the netlist as written measures the analysis window's -3 dB frequency within 0.1 %,
// with the ideal follower and with the single-pole op-amp. Exits with 77 (skipped) when ngspice
// is not installed.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <mirelto/core.h>

#include "process.h"
#include "test_support.h"

namespace mirelto::test {

// The exit status ctest counts as skipped.
constexpr int kSkipped = 77;

namespace {

using test::PrintTo;  // found by the printer through this namespace

constexpr double kToleranceDb = 0.01;

struct SpiceCase {
    std::string name;
    bool isLpf;
    std::vector<std::string> parts;  // --r1 22k ... as a user types them
};

Circuit CircuitOfTexts(const SpiceCase& c) {
    ComponentValues parts{};
    for (std::size_t i = 0; i + 1 < c.parts.size(); i += 2) {
        const std::string& name = c.parts[i];
        const auto part = static_cast<std::size_t>(name[3] - '1') + (name[2] == 'c' ? 3 : 0);
        parts[part] = ParseValue(c.parts[i + 1]);
    }
    return CircuitOf(parts, c.isLpf);
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// The values of every "vdb(out) = X" line ngspice prints, in order.
std::vector<double> PrintedMagnitudes(const std::string& log) {
    std::vector<double> values;
    std::istringstream lines(log);
    std::string line;
    const std::string key = "vdb(out) = ";
    while (std::getline(lines, line)) {
        const std::size_t at = line.find(key);
        if (at != std::string::npos) {
            values.push_back(std::strtod(line.c_str() + at + key.size(), nullptr));
        }
    }
    return values;
}

class NgspiceTest : public testing::TestWithParam<SpiceCase> {};

// The netlist of a circuit from mirelto-cli with an AC analysis at exactly fa and at exactly fo
// added; ngspice -b; both magnitudes within 0.01 dB of the window's.
TEST_P(NgspiceTest, ReproducesTheWindowsMagnitudeAtFaAndFo) {
    const SpiceCase& c = GetParam();
    const std::string path = ScratchDirectory() + "/" + c.name + ".cir";
    std::vector<std::string> args{"netlist", c.isLpf ? "--lpf" : "--hpf", "--output", path};
    args.insert(args.end(), c.parts.begin(), c.parts.end());
    const Outcome written = RunCli(args);
    ASSERT_EQ(written.status, 0) << written.err;
    std::string netlist = ReadFile(path);
    // The measurements would run again on each single-point analysis below, out of their interval.
    for (std::size_t at = netlist.find("\n.meas "); at != std::string::npos;
         at = netlist.find("\n.meas ", at)) {
        netlist.erase(at + 1, netlist.find('\n', at + 1) - at);
    }
    const std::size_t end = netlist.rfind(".end\n");
    ASSERT_NE(end, std::string::npos) << netlist;
    ASSERT_NE(netlist.find("\n.ac dec "), std::string::npos);

    const Circuit circuit = CircuitOfTexts(c);
    const PoleSet poles = CircuitPoles(circuit);
    ASSERT_FALSE(std::isnan(poles.fa));
    const Rational3 h = CircuitTransfer(circuit);
    const double frequencies[] = {poles.fa, poles.fo};

    std::string control = ".control\nset numdgt=12\n";
    for (double f : frequencies) {
        control += "ac lin 1 " + Number(f) + " " + Number(f) + "\nprint vdb(out)\n";
    }
    // Batch mode exits with 1 when the deck itself runs nothing; the control block is the run.
    control += "quit 0\n.endc\n";
    netlist.insert(end, control);
    const std::string deck = ScratchDirectory() + "/" + c.name + "_probe.cir";
    {
        std::FILE* file = std::fopen(deck.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(netlist.data(), 1, netlist.size(), file);
        std::fclose(file);
    }
    const Outcome run = RunProgram("ngspice", {"-b", deck});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string log = run.out + run.err;
    EXPECT_EQ(log.find("rror"), std::string::npos) << log;
    const std::vector<double> simulated = PrintedMagnitudes(log);
    ASSERT_EQ(simulated.size(), 2u) << run.out << run.err;
    const char* names[] = {"fa", "fo"};
    for (std::size_t i = 0; i < 2; ++i) {
        const double window = 20 * std::log10(std::abs(Evaluate(h, frequencies[i])));
        EXPECT_NEAR(simulated[i], window, kToleranceDb) << names[i];
        std::printf("%s %s = %.6f Hz: ngspice %.9f dB, window %.9f dB, difference %.3g dB\n",
                    c.name.c_str(), names[i], frequencies[i], simulated[i], window,
                    simulated[i] - window);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Circuits, NgspiceTest, testing::Values(
    SpiceCase{"DefaultLowPass", true, kDefaultLowPassCircuit},
    SpiceCase{"DefaultHighPass", false, kDefaultHighPassParts},
    SpiceCase{"PeakingLowPass", true, {"--r1", "10k", "--r2", "22k", "--r3", "47k", "--c1", "15n", "--c2", "27n", "--c3", "390p"}}),
    [](const auto& info) { return info.param.name; });
// clang-format on

struct CutoffCase {
    std::string name;
    bool isLpf;
    std::vector<std::string> parts;
    std::string gbw;  // empty: the ideal follower
};

// The value of the first "name = X" line of a batch run's measurements; NaN without one.
double Measured(const std::string& log, const std::string& name) {
    std::istringstream lines(log);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(name + ' ', 0) == 0) {
            const std::size_t at = line.find('=');
            if (at != std::string::npos) {
                return std::strtod(line.c_str() + at + 1, nullptr);
            }
        }
    }
    return std::nan("");
}

class NgspiceCutoffTest : public testing::TestWithParam<CutoffCase> {};

// The netlist of a circuit from mirelto-cli (with --gbw where given), unchanged; ngspice -b; it
// prints the response table and an f3db within 0.1 % of the analysis window's -3 dB frequency
// of the same circuit and op-amp.
TEST_P(NgspiceCutoffTest, MeasuresTheWindowsCutoffAsExported) {
    const CutoffCase& c = GetParam();
    const std::string path = ScratchDirectory() + "/" + c.name + "_cutoff.cir";
    std::vector<std::string> args{"netlist", c.isLpf ? "--lpf" : "--hpf", "--output", path};
    args.insert(args.end(), c.parts.begin(), c.parts.end());
    if (!c.gbw.empty()) {
        args.insert(args.end(), {"--gbw", c.gbw});
    }
    const Outcome written = RunCli(args);
    ASSERT_EQ(written.status, 0) << written.err;

    const Outcome run = RunProgram("ngspice", {"-b", path});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string log = run.out + run.err;
    EXPECT_EQ(log.find("rror"), std::string::npos) << log;
    EXPECT_NE(log.find("vdb(out)"), std::string::npos) << log;  // the printed table's heading

    AnalysisInput input;
    input.isLpf = c.isLpf;
    input.hasRequest = false;
    input.built = CircuitOfTexts({c.name, c.isLpf, c.parts});
    input.opAmpGbw = c.gbw.empty() ? 0 : ParseValue(c.gbw);
    const AnalysisResult analysis = Analyse(input);
    const double window =
        c.gbw.empty() ? analysis.builtFigures.cutoff : analysis.opAmpFigures.cutoff;
    ASSERT_TRUE(std::isfinite(window));
    const double simulated = Measured(log, "f3db");
    EXPECT_NEAR(simulated, window, window * 1e-3) << log;
    std::printf("%s: ngspice f3db %.6g Hz, window %.6g Hz, difference %.3g %%\n", c.name.c_str(),
                simulated, window, 100 * (simulated - window) / window);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Circuits, NgspiceCutoffTest, testing::Values(
    CutoffCase{"IdealLowPass", true, kDefaultLowPassCircuit, ""},
    CutoffCase{"IdealHighPass", false, kDefaultHighPassParts, ""},
    CutoffCase{"OpAmpLowPass", true, kDefaultLowPassCircuit, "20k"},
    CutoffCase{"OpAmpHighPass", false, kDefaultHighPassParts, "100k"}),
    [](const auto& info) { return info.param.name; });
// clang-format on

}  // namespace
}  // namespace mirelto::test

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    if (std::system("command -v ngspice >/dev/null 2>&1") != 0) {
        std::printf("ngspice is not installed: skipped\n");
        return mirelto::test::kSkipped;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
