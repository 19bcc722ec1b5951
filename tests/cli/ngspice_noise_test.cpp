// The noise of mirelto-cli against ngspice: the netlist that `netlist --noise` exports, run by
// ngspice -b with its .noise analysis, gives the total output noise and each source's share
// (R1..R3 thermal; en and in as the exported generators, 1/f corners included) within 1 % of
// `noise --json` over the same band, for LPF and HPF, ideal follower and single-pole op-amp (with
// DC gain and output resistance in one row). Runs in the ngspice check's program.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "process.h"

namespace mirelto::test {

namespace {

constexpr double kTolerance = 0.01;  // relative

struct NoiseCase {
    std::string name;
    std::vector<std::string> args;  // mode, parts, op-amp figures, band
};

void PrintTo(const NoiseCase& c, std::ostream* os) {
    *os << c.name;
}

// The value of a "name = X" line that ngspice's print prints; NaN without one.
double Printed(const std::string& log, const std::string& name) {
    std::istringstream lines(log);
    std::string line;
    const std::string key = name + " = ";
    while (std::getline(lines, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::strtod(line.c_str() + key.size(), nullptr);
        }
    }
    return std::nan("");
}

class NgspiceNoiseTest : public testing::TestWithParam<NoiseCase> {};

TEST_P(NgspiceNoiseTest, TotalAndEachSourceWithinOnePercent) {
    const NoiseCase& c = GetParam();
    std::vector<std::string> noiseArgs{"noise", "--json"};
    noiseArgs.insert(noiseArgs.end(), c.args.begin(), c.args.end());
    const Outcome analysed = RunCli(noiseArgs);
    ASSERT_EQ(analysed.status, 0) << analysed.err;
    const auto json = nlohmann::json::parse(analysed.out);
    const auto& noise = json.at("noise");

    const std::string path = ScratchDirectory() + "/" + c.name + "_noise.cir";
    std::vector<std::string> netlistArgs{"netlist", "--noise", "--output", path};
    netlistArgs.insert(netlistArgs.end(), c.args.begin(), c.args.end());
    const Outcome written = RunCli(netlistArgs);
    ASSERT_EQ(written.status, 0) << written.err;
    std::string netlist = ReadFile(path);
    // The integrated figures as name = value lines rather than the batch run's wide tables.
    const std::size_t end = netlist.rfind(".end\n");
    ASSERT_NE(end, std::string::npos);
    netlist.insert(end, ".control\nset numdgt=9\nrun\nsetplot noise2\nprint all\nquit 0\n.endc\n");
    const std::string deck = ScratchDirectory() + "/" + c.name + "_noise_probe.cir";
    {
        std::FILE* file = std::fopen(deck.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(netlist.data(), 1, netlist.size(), file);
        std::fclose(file);
    }
    const Outcome run = RunProgram("ngspice", {"-b", deck});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::string log = run.out + run.err;

    const double total = Printed(log, "onoise_total");
    EXPECT_NEAR(noise.at("outputRms").get<double>(), total, kTolerance * total) << log;
    const char* sources[][2] = {{"R1", "onoise_total_r1"},
                                {"R2", "onoise_total_r2"},
                                {"R3", "onoise_total_r3"},
                                {"en", "onoise_total_ren"},
                                {"in", "onoise_total_rin"}};
    for (const auto& [ours, spice] : sources) {
        const double mirelto = noise.at("contributions").at(ours).get<double>();
        double simulated = Printed(log, spice);
        if (std::isnan(simulated)) {
            simulated = 0;  // a source the op-amp does not have is not in the netlist
        }
        EXPECT_NEAR(mirelto, simulated, kTolerance * simulated) << ours;
        std::printf("%s %s: ngspice %.6g V, mirelto %.6g V\n", c.name.c_str(), ours, simulated,
                    mirelto);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Designs, NgspiceNoiseTest, testing::Values(
    NoiseCase{"IdealLowPass", {"--lpf", "--r1", "22k", "--r2", "22k", "--r3", "22k", "--c1", "470p", "--c2", "1.5n", "--c3", "68p", "--en", "10n", "--in", "1p", "--band", "20:20k"}},
    NoiseCase{"OpAmpLowPassCorners", {"--lpf", "--r1", "10k", "--r2", "22k", "--r3", "47k", "--c1", "15n", "--c2", "27n", "--c3", "390p", "--gbw", "100k", "--a0", "1e5", "--en", "8n", "--en-corner", "100", "--in", "2p", "--in-corner", "300", "--band", "10:10k"}},
    NoiseCase{"IdealHighPassCorners", {"--hpf", "--r1", "24k", "--r2", "10k", "--r3", "160k", "--c1", "3.3n", "--c2", "3.3n", "--c3", "3.3n", "--en", "5n", "--en-corner", "50", "--in", "0.5p", "--in-corner", "200", "--band", "20:20k"}},
    NoiseCase{"OpAmpHighPassOutputResistance", {"--hpf", "--r1", "24k", "--r2", "10k", "--r3", "160k", "--c1", "3.3n", "--c2", "3.3n", "--c3", "3.3n", "--gbw", "200k", "--ro", "100", "--en", "18n", "--in", "10p", "--band", "100:1M"}}),
    [](const auto& info) { return info.param.name; });
// clang-format on

}  // namespace
}  // namespace mirelto::test
