// Whole results of the search, the tolerance trials and the constant calculation, written as
// hexadecimal floats and compared with a file recorded once: a faster path must give every bit
// and every fault as before. MIRELTO_WRITE_GOLDEN=1 rewrites the file instead of comparing.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <mirelto/core.h>

#include "numeric/parallel.h"

namespace mirelto {
namespace {

std::string Hex(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%a", v);
    return text;
}

void Write(std::ostream& out, const PoleSet& p) {
    out << ' ' << Hex(p.fa) << ' ' << Hex(p.fo) << ' ' << Hex(p.q);
}

void Write(std::ostream& out, const Candidate& c) {
    for (const double v : ComponentsOf(c.circuit)) {
        out << ' ' << Hex(v);
    }
    Write(out, c.built);
    Write(out, c.error);
    out << ' ' << Hex(c.worstError) << ' ' << Hex(c.rmsError) << ' ' << Hex(c.cutoff) << ' '
        << Hex(c.cutoffError) << ' ' << Hex(c.responseDb) << ' ' << c.index << ' '
        << c.plainRounding << '\n';
}

void WriteSearch(std::ostream& out, bool isLpf, std::int32_t series, int steps, Ranking ranking,
                 double q) {
    const PoleSet request{1420, 1000, q};
    const IdealDesign ideal = DesignIdeal(
        request, isLpf, isLpf ? std::array{22e3, 22e3, 22e3} : std::array{3.3e-9, 3.3e-9, 1e-9});
    OptimiseInput input;
    input.requested = request;
    input.ideal = ideal.circuit;
    input.series = isLpf ? std::array<std::int32_t, 6>{series, series, series, 6, 12, 6}
                         : std::array<std::int32_t, 6>{24, 24, 12, series, series, series};
    input.steps = steps;
    input.ranking = ranking;
    const OptimiseResult r = OptimiseValues(input);
    out << "search " << isLpf << ' ' << series << ' ' << steps << ' ' << RankingName(ranking) << ' '
        << Hex(q) << ": " << r.combinations << ' ' << r.evaluated << ' ' << r.unrealisable << ' '
        << Hex(r.requestedCutoff) << ' ' << r.plainRank << '\n';
    for (const Candidate& c : r.best) {
        Write(out, c);
    }
    out << " plain";
    Write(out, r.plain);
}

void Write(std::ostream& out, const Spread& s) {
    out << ' ' << Hex(s.nominal) << ' ' << s.count << ' ' << Hex(s.mean) << ' '
        << Hex(s.standardDeviation) << ' ' << Hex(s.minimum) << ' ' << Hex(s.maximum) << ' '
        << Hex(s.p1) << ' ' << Hex(s.p50) << ' ' << Hex(s.p99) << ' ' << Hex(s.histogram.low) << ' '
        << Hex(s.histogram.high);
    for (const std::int64_t n : s.histogram.counts) {
        out << ' ' << n;
    }
    out << '\n';
}

void WriteTolerance(std::ostream& out, const Circuit& nominal, Distribution distribution,
                    std::int64_t trials, std::int64_t kept, std::int64_t collected, double gbw) {
    ToleranceInput input;
    input.nominal = nominal;
    input.distribution = distribution;
    input.trials = trials;
    input.trialsKept = kept;
    input.valuesCollected = collected;
    input.opAmpGbw = gbw;
    input.seed = 7;
    input.tolerance = {0.05, 0.02, 0.05, 0.1, 0.05, 0.1};
    const ToleranceResult r = AnalyseTolerance(input);
    out << "tolerance " << nominal.isLpf << ' ' << (distribution == Distribution::Normal) << ' '
        << trials << ' ' << kept << ' ' << collected << ' ' << Hex(gbw) << ": " << r.trials << ' '
        << Hex(r.cutoffRange.low) << ' ' << Hex(r.cutoffRange.high) << '\n';
    for (const Spread* s : {&r.fa, &r.fo, &r.q, &r.cutoff}) {
        Write(out, *s);
    }
    for (const ComponentValues* s : {&r.sensitivity.fa, &r.sensitivity.fo, &r.sensitivity.q}) {
        for (const double v : *s) {
            out << ' ' << Hex(v);
        }
    }
    out << '\n';
}

// Requests and parts from ordinary to the edges of the double range, where the arithmetic faults.
void WriteConstants(std::ostream& out) {
    const double scales[] = {1e-300, 1e-160, 1e-9, 1, 3.3, 22e3, 1e150, 1e300};
    const double ratios[] = {0.01, 0.5, 1, 1.42, 7, 1e6};
    const double qs[] = {1e-6, 0.3, 1, 2.2, 50};
    std::int32_t series = 0;
    for (const bool isLpf : {true, false}) {
        for (const double scale : scales) {
            for (const double ratio : ratios) {
                for (const double q : qs) {
                    ConstantRequest request;
                    request.request = {1420 * ratio, 1420, q};
                    request.isLpf = isLpf;
                    request.given = {scale, scale * ratio, scale / 3};
                    request.series = {series % 25, (series + 6) % 25, (series + 12) % 25};
                    series += 7;
                    const ConstantOutcome o = CalculateConstants(DesignRecord{}, request);
                    const DesignRecord& s = o.record;
                    out << "constant " << static_cast<int>(o.stop) << ' '
                        << static_cast<int>(o.fault);
                    for (const double v :
                         {s.FaResult, s.FoResult, s.QResult, s.ResR1, s.ResR2, s.ResR3, s.ResC1,
                          s.ResC2, s.ResC3, s.R1, s.R2, s.R3, s.C1, s.C2, s.C3}) {
                        out << ' ' << Hex(v);
                    }
                    out << ' ' << s.ResultValid << '\n';
                    Circuit c = o.built;
                    c.R2 = c.R2 * ratio;
                    Write(out << "poles", CircuitPoles(c));
                    out << '\n';
                }
            }
        }
    }
}

std::string AllRuns() {
    std::ostringstream out;
    WriteConstants(out);
    for (const Ranking ranking : kRankings) {
        WriteSearch(out, true, 24, 2, ranking, 1);
        WriteSearch(out, false, 12, 3, ranking, 2.5);
    }
    WriteSearch(out, true, 0, 3, Ranking::Poles, 0.7);
    WriteSearch(out, true, 96, 1, Ranking::Cutoff, 8);
    const Circuit lowPass{22e3, 22e3, 22e3, 6.8e-9, 15e-9, 1e-9, true};
    const Circuit highPass{10e3, 47e3, 4.7e3, 3.3e-9, 3.3e-9, 1e-9, false};
    WriteTolerance(out, lowPass, Distribution::Uniform, 3000, kTrialsKept, kValuesCollected, 0);
    WriteTolerance(out, lowPass, Distribution::Uniform, 3000, 0, 400, 0);
    WriteTolerance(out, lowPass, Distribution::Normal, 2500, kTrialsKept, kValuesCollected, 1e5);
    WriteTolerance(out, lowPass, Distribution::Normal, 2500, 100, 4000, 1e5);
    WriteTolerance(out, highPass, Distribution::Uniform, 2000, kTrialsKept, kValuesCollected, 0);
    WriteTolerance(out, highPass, Distribution::Normal, 2000, 0, 64, 0);
    return out.str();
}

TEST(GoldenRuns, EveryBitAsRecorded) {
    const std::string path = std::string(MIRELTO_GOLDEN_DIR) + "/runs.txt";
    const std::string runs = AllRuns();
    if (std::getenv("MIRELTO_WRITE_GOLDEN") != nullptr) {
        std::ofstream(path, std::ios::binary) << runs;
        GTEST_SKIP() << "written " << path;
    }
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    std::stringstream recorded;
    recorded << file.rdbuf();
    std::istringstream expected(recorded.str()), actual(runs);
    std::string want, got;
    for (int line = 1; std::getline(expected, want); ++line) {
        ASSERT_TRUE(std::getline(actual, got)) << "ends before line " << line;
        ASSERT_EQ(got, want) << "line " << line;
    }
    EXPECT_FALSE(std::getline(actual, got)) << "longer than recorded";
}

// Circuits from ordinary to ones whose analysis faults, overflows or finds no pair; poles of all
// at once; each as CircuitPoles gives it alone, bit for bit.
TEST(GoldenRuns, PolesTogetherAsAlone) {
    const double values[] = {1e-300, 1e-200, 1e-12, 4.7e-9, 1, 22e3, 1e12, 1e200, 1e300};
    std::vector<Circuit> circuits;
    for (const bool isLpf : {true, false}) {
        for (const double a : values) {
            for (const double b : values) {
                for (const double c : {1e-9, 0.5, 3.0, 1e9}) {
                    circuits.push_back({a, 22e3, a * c, b, b * c, 1e-9, isLpf});
                    circuits.push_back({1e3, a, 1e3 / c, 1e-8, b, b / c, isLpf});
                }
            }
        }
    }
    std::vector<PoleSet> together(circuits.size());
    CircuitPolesOf(circuits, together);
    int withPoles = 0;
    for (std::size_t i = 0; i < circuits.size(); ++i) {
        const PoleSet alone = CircuitPoles(circuits[i]);
        withPoles += std::isnan(alone.fa) ? 0 : 1;
        ASSERT_EQ(Hex(together[i].fa) + Hex(together[i].fo) + Hex(together[i].q),
                  Hex(alone.fa) + Hex(alone.fo) + Hex(alone.q))
            << "circuit " << i;
    }
    EXPECT_GT(withPoles, 100);
    EXPECT_LT(withPoles, static_cast<int>(circuits.size()));
}

// Items split into shares; every item in exactly one share, in order, the sizes within one.
TEST(GoldenRuns, SharesCoverTheItemsInOrder) {
    // clang-format off
    const std::pair<std::int64_t, int> splits[] = {
        {1, 1}, {7, 2}, {15625, 2}, {117649, 3}, {16384, 16}, {100'000'000, 7}, {5, 5},
    };
    // clang-format on
    for (const auto& [items, shares] : splits) {
        EXPECT_EQ(parallel::ShareStart(items, 0, shares), 0);
        EXPECT_EQ(parallel::ShareStart(items, shares, shares), items);
        for (int share = 0; share < shares; ++share) {
            const std::int64_t size = parallel::ShareStart(items, share + 1, shares) -
                                      parallel::ShareStart(items, share, shares);
            EXPECT_TRUE(size == items / shares || size == items / shares + 1)
                << items << " in " << shares << ": share " << share << " holds " << size;
        }
    }
    EXPECT_EQ(parallel::ShareCount(100, 2048), 1);
    EXPECT_GE(parallel::ShareCount(1'000'000, 2048), 1);
}

}  // namespace
}  // namespace mirelto
