// An outside program: binds every public name with its exact type, then runs the default
// low-pass design through them.
#include <mirelto/core.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

int main() {
    using Array6 = std::array<double, 6>;
    [[maybe_unused]] double (*parseValue)(std::string_view) = &mirelto::ParseValue;
    [[maybe_unused]] std::string (*formatFixed)(double, int, int) = &mirelto::FormatFixed;
    [[maybe_unused]] std::string (*formatSI)(double, int, int) = &mirelto::FormatSI;
    [[maybe_unused]] double (*seriesValue)(std::int32_t, std::int32_t) = &mirelto::SeriesValue;
    [[maybe_unused]] double (*roundToSeries)(double, std::int32_t) = &mirelto::RoundToSeries;
    [[maybe_unused]] std::int32_t (*parseSeries)(std::string_view) = &mirelto::ParseSeries;
    [[maybe_unused]] std::int32_t* polyDegree = &mirelto::PolyDegree;
    [[maybe_unused]] Array6* arrays[] = {&mirelto::PolyCoef, &mirelto::RootRe, &mirelto::RootIm};
    [[maybe_unused]] double (*cubeRoot)(double) = &mirelto::CubeRoot;
    [[maybe_unused]] double (*cardanoRoot)(double, double, double) = &mirelto::CardanoRoot;
    [[maybe_unused]] void (*bairstow)(std::int32_t, Array6&, Array6&, Array6&) = &mirelto::Bairstow;
    [[maybe_unused]] double (*cubicRealRoot)(double, double, double, double) =
        &mirelto::CubicRealRoot;
    [[maybe_unused]] void (*analyzeTransfer)(double, double, double, double, double, double) =
        &mirelto::AnalyzeTransfer;
    [[maybe_unused]] void (*synthesizeFilter)(double, double, double, std::int32_t, std::int32_t,
                                              std::int32_t, bool) = &mirelto::SynthesizeFilter;
    [[maybe_unused]] mirelto::PrintOrigin (*printOrigin)(int, mirelto::PhysicalOffset) =
        &mirelto::PrintOriginFor;
    [[maybe_unused]] mirelto::ChannelLayout (*layoutText)(
        std::string_view, const mirelto::TextWidth&, int, int, int) = &mirelto::LayoutTextChannel;
    [[maybe_unused]] double* margins[] = {&mirelto::PrintMarginTop, &mirelto::PrintMarginLeft};

    mirelto::DesignRecord& state = mirelto::DesignState;
    state.IsLpf = true;
    state.R1 = state.R2 = state.R3 = mirelto::ParseValue("22k");
    state.ResultValid = true;
    mirelto::SynthesizeFilter(mirelto::ParseValue("1.42k"), mirelto::ParseValue("1.42k"), 1,
                              mirelto::ParseSeries("6"), 6, 6, true);
    const std::string shown = mirelto::FormatSI(state.FoResult, 8, 3);
    std::printf("fo = %s\n", shown.c_str());
    return shown == "  1.631k" ? 0 : 1;
}
