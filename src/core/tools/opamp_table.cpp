#include "mirelto/tools/opamp_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "mirelto/values/value_text.h"
#include "tools/opamps_csv.h"

namespace mirelto {

namespace {

// A column holding a figure, and the power of ten from its unit to SI (kFromDecibels: decibels
// to V/V). Divided by the power, not multiplied by its inverse, so that 0.7 pA reads as 7e-13.
struct FigureColumn {
    std::string_view name;
    OpAmpFigure figure;
    int toSi;
};
constexpr int kFromDecibels = 100;
constexpr std::array<FigureColumn, 14> kColumns{{
    {"gbw_hz", OpAmpFigure::Gbw, 0},
    {"a0_db", OpAmpFigure::DcGain, kFromDecibels},
    {"a0", OpAmpFigure::DcGain, 0},
    {"slew_v_per_us", OpAmpFigure::SlewRate, 6},
    {"en_nv_rthz", OpAmpFigure::VoltageNoise, -9},
    {"en_corner_hz", OpAmpFigure::VoltageNoiseCorner, 0},
    {"in_pa_rthz", OpAmpFigure::CurrentNoise, -12},
    {"in_corner_hz", OpAmpFigure::CurrentNoiseCorner, 0},
    {"swing_low_v", OpAmpFigure::SwingLow, 0},
    {"swing_high_v", OpAmpFigure::SwingHigh, 0},
    {"cm_low_v", OpAmpFigure::CommonModeLow, 0},
    {"cm_high_v", OpAmpFigure::CommonModeHigh, 0},
    {"supply_v", OpAmpFigure::Supply, 0},
    {"ro_ohm", OpAmpFigure::OutputResistance, 0},
}};

// One record's fields, RFC 4180 quoting ("" inside quotes is one quote); `at` moves past the
// record's line end. False when a quote is left open.
bool NextRecord(std::string_view text, std::size_t& at, std::vector<std::string>& fields,
                std::size_t& lines) {
    fields.assign(1, std::string());
    bool quoted = false;
    while (at < text.size()) {
        const char c = text[at++];
        if (quoted) {
            if (c == '"' && at < text.size() && text[at] == '"') {
                fields.back() += '"';
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else {
                lines += c == '\n' ? 1 : 0;
                fields.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '\n') {
            ++lines;
            break;
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    return !quoted;
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

bool SameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// The figure of one cell; false when it is neither empty nor a finite number.
bool ReadFigure(const FigureColumn& column, const std::string& cell, OpAmp& opAmp) {
    if (cell.empty()) {
        return true;
    }
    const double value = ParseValue(cell);
    if (!std::isfinite(value)) {
        return false;
    }
    double& figure = FigureOf(opAmp, column.figure);
    if (column.toSi == kFromDecibels) {
        figure = std::pow(10.0, value / 20);
    } else {
        const double power = std::pow(10.0, std::abs(column.toSi));
        figure = column.toSi < 0 ? value / power : value * power;
    }
    return true;
}

struct Header {
    std::vector<std::string> names;
    std::size_t Index(std::string_view name) const {
        const auto at = std::find(names.begin(), names.end(), name);
        return static_cast<std::size_t>(at - names.begin());
    }
};

// One row into `opAmp`; the problem of its first bad cell.
OpAmpTableProblem ReadRow(const Header& header, const std::vector<std::string>& fields,
                          OpAmp& opAmp, std::string_view& column) {
    const auto cell = [&](std::string_view name) {
        const std::size_t i = header.Index(name);
        return i < fields.size() ? Trimmed(fields[i]) : std::string();
    };
    opAmp.name = cell("part");
    if (opAmp.name.empty()) {
        return OpAmpTableProblem::NoName;
    }
    for (const FigureColumn& c : kColumns) {
        if (!ReadFigure(c, cell(c.name), opAmp)) {
            column = c.name;
            return OpAmpTableProblem::BadNumber;
        }
    }
    const std::string stable = cell("unity_gain_stable");
    if (!stable.empty() && !SameName(stable, "yes") && !SameName(stable, "no")) {
        column = "unity_gain_stable";
        return OpAmpTableProblem::BadFlag;
    }
    opAmp.unityGainStable = !SameName(stable, "no");
    const std::string maker = cell("maker");
    opAmp.source = cell("source");
    if (!maker.empty() && opAmp.source.find(maker) == std::string::npos) {
        opAmp.source = opAmp.source.empty() ? maker : maker + "; " + opAmp.source;
    }
    opAmp.notes = cell("notes");
    return OpAmpTableProblem::None;
}

}  // namespace

OpAmpTableRead ParseOpAmpTable(std::string_view csv) {
    OpAmpTableRead read;
    std::size_t at = 0, lines = 0;
    std::vector<std::string> fields;
    Header header;
    while (at < csv.size()) {
        const std::size_t line = lines + 1;
        if (!NextRecord(csv, at, fields, lines)) {
            read.problem = OpAmpTableProblem::Unterminated;
            read.line = line;
            return read;
        }
        const std::string first = Trimmed(fields.front());
        if ((fields.size() == 1 && first.empty()) || first.starts_with('#')) {
            continue;
        }
        if (header.names.empty()) {
            for (const std::string& f : fields) {
                header.names.push_back(Trimmed(f));
            }
            if (header.Index("part") == header.names.size()) {
                read.problem = OpAmpTableProblem::NoPartColumn;
                read.line = line;
                return read;
            }
            continue;
        }
        OpAmp opAmp;
        read.problem = ReadRow(header, fields, opAmp, read.column);
        if (read.problem != OpAmpTableProblem::None) {
            read.line = line;
            return read;
        }
        read.opAmps.push_back(std::move(opAmp));
    }
    return read;
}

std::span<const OpAmp> BuiltInOpAmps() {
    static const std::vector<OpAmp> table = ParseOpAmpTable(kBuiltInOpAmpsCsv).opAmps;
    return table;
}

const OpAmp* FindOpAmp(std::span<const OpAmp> opAmps, std::string_view name) {
    const auto at = std::find_if(opAmps.rbegin(), opAmps.rend(),
                                 [name](const OpAmp& o) { return SameName(o.name, name); });
    return at == opAmps.rend() ? nullptr : &*at;
}

}  // namespace mirelto
