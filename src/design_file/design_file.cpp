#include "design_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "design_reader.h"

#include "op_amp_setting.h"

namespace mirelto {

namespace {

using Json = DesignJson;

// Deeper than any design: a file nested further is not one, and is not built in memory.
constexpr int kMostDepth = 16;

// Whether the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points beyond
// U+10FFFF).
bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
        const unsigned char lead = byte(i);
        std::size_t length = 1;
        unsigned char low = 0x80, high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : low;
            high = lead == 0xED ? 0x9F : high;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : low;
            high = lead == 0xF4 ? 0x8F : high;
        } else {
            return false;
        }
        if (bytes.size() - i < length || byte(i + 1) < low || byte(i + 1) > high) {
            return false;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

template <std::size_t N>
Json BoxesJson(const std::array<std::string, N>& texts, const char* const (&names)[N]) {
    Json object = Json::object();
    for (std::size_t i = 0; i < N; ++i) {
        object[names[i]] = texts[i];
    }
    return object;
}

}  // namespace

const char* DesignPartName(std::size_t part) {
    return kPartKeys[part];
}

DesignFileRead ParseDesignFile(std::string_view bytes) {
    if (bytes.size() > kMostDesignFileBytes) {
        return DesignProblem(DesignFileProblem::TooLarge);
    }
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        return DesignProblem(DesignFileProblem::Empty);
    }
    if (!IsUtf8(bytes)) {
        return DesignProblem(DesignFileProblem::NotUtf8);
    }
    // nlohmann's reader takes a NUL byte for the end of the text: whatever follows would pass
    // unread.
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        DesignFileError error = DesignProblem(DesignFileProblem::NotJson);
        error.position = static_cast<std::int64_t>(nul) + 1;
        return error;
    }
    bool tooDeep = false;
    const Json::parser_callback_t depthGuard = [&tooDeep](int depth, Json::parse_event_t, Json&) {
        if (depth > kMostDepth) {
            tooDeep = true;
            return false;
        }
        return true;
    };
    Json json;
    try {
        json = Json::parse(bytes.begin(), bytes.end(), depthGuard);
    } catch (const Json::parse_error& e) {
        // The lexer names the end of the input when it ran out before the value was complete.
        const bool atEnd =
            e.byte >= bytes.size() &&
            std::string_view(e.what()).find("unexpected end of input") != std::string_view::npos;
        DesignFileError error =
            DesignProblem(atEnd ? DesignFileProblem::Truncated : DesignFileProblem::NotJson);
        error.position = static_cast<std::int64_t>(e.byte);
        return error;
    } catch (const Json::out_of_range&) {
        // A number beyond the doubles (1e400), anywhere: valid JSON, but no design holds one.
        return DesignProblem(DesignFileProblem::NotOurs);
    }
    if (tooDeep) {
        return DesignProblem(DesignFileProblem::NotOurs);
    }
    return ReadDesign(json);
}

std::string SerialiseDesignFile(const DesignFile& design) {
    Json json = Json::object();
    json["format"] = kDesignFileFormat;
    json["version"] = kDesignFileVersion;
    json["mode"] = design.isLpf ? "LPF" : "HPF";
    json["request"] = BoxesJson(design.request, kPoleKeys);
    json["parts"] = BoxesJson(design.parts, kPartKeys);
    json["result"] = BoxesJson(design.result, kPoleKeys);
    if (design.command != ResultCommand::Unknown) {
        json["command"] = kCommandNames[static_cast<std::size_t>(design.command)];
    }
    json["series"] = BoxesJson(design.series, kPartKeys);
    if (design.analysis) {
        const AnalysisSettings& a = *design.analysis;
        Json analysis = Json::object();
        analysis["preset"] = {{"response", a.preset.response}, {"fc", a.preset.fc}};
        analysis["opAmpGbw"] = a.opAmpGbw;
        Json tolerance = BoxesJson(a.tolerance.tolerances, kPartKeys);
        tolerance["distribution"] = a.tolerance.normal ? "normal" : "uniform";
        tolerance["trials"] = a.tolerance.trials;
        tolerance["seed"] = a.tolerance.seed;
        analysis["tolerance"] = std::move(tolerance);
        analysis["optimiser"] = {{"steps", a.optimiser.steps},
                                 {"givenSeries", a.optimiser.givenSeries}};
        if (!a.ranking.empty()) {
            analysis["optimiser"]["ranking"] = a.ranking;
        }
        json["analysis"] = std::move(analysis);
    }
    if (design.opAmp) {
        json["opAmp"] = OpAmpSettingJson(*design.opAmp);
    }
    json["note"] = design.note;
    // Texts are written as they are (µ, ∞, Japanese), not as escapes; bytes that are not UTF-8
    // cannot come from a box, and are replaced rather than written.
    return json.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

DesignFileRead LoadDesignFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT) {
            return DesignProblem(DesignFileProblem::NotFound);
        }
        DesignFileError problem = DesignProblem(DesignFileProblem::Unreadable);
        problem.reason = std::strerror(error);
        return problem;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        DesignFileError problem = DesignProblem(DesignFileProblem::Unreadable);
        problem.reason = std::strerror(errno);
        return problem;
    }
    if (S_ISDIR(status.st_mode)) {
        return DesignProblem(DesignFileProblem::IsDirectory);
    }
    if (S_ISREG(status.st_mode) &&
        static_cast<std::uint64_t>(status.st_size) > kMostDesignFileBytes) {
        return DesignProblem(DesignFileProblem::TooLarge);
    }
    if (!S_ISREG(status.st_mode)) {
        // A pipe or device could block or never end: only plain files are designs.
        DesignFileError problem = DesignProblem(DesignFileProblem::Unreadable);
        problem.reason = "not a regular file";
        return problem;
    }
    // One byte more than the limit tells a file that grew while being read.
    std::string bytes(kMostDesignFileBytes + 1, '\0');
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            DesignFileError problem = DesignProblem(DesignFileProblem::Unreadable);
            problem.reason = std::strerror(errno);
            return problem;
        }
        if (got == 0) {
            break;
        }
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    return ParseDesignFile(bytes);
}

std::string DescribeInEnglish(const DesignFileError& error) {
    const auto kind = [&] {
        switch (error.expected) {
            case JsonKind::Text:
                return "a text";
            case JsonKind::WholeNumber:
                return "a whole number";
            case JsonKind::Object:
                return "an object";
        }
        return "";
    };
    switch (error.problem) {
        case DesignFileProblem::NotFound:
            return "no such file";
        case DesignFileProblem::IsDirectory:
            return "a directory, not a design file";
        case DesignFileProblem::Unreadable:
            return "cannot be read: " + error.reason;
        case DesignFileProblem::TooLarge:
            return "too large for a design file (over 1 MiB)";
        case DesignFileProblem::Empty:
            return "the file is empty";
        case DesignFileProblem::NotUtf8:
            return "not UTF-8 text";
        case DesignFileProblem::Truncated:
            return "the file ends before its JSON is complete";
        case DesignFileProblem::NotJson:
            return "not JSON (at byte " + std::to_string(error.position) + ")";
        case DesignFileProblem::NotOurs:
            return "not a Mirelto design file";
        case DesignFileProblem::NewerVersion:
            return "saved in format version " + std::to_string(error.position) +
                   " by a newer Mirelto; this one reads version " +
                   std::to_string(kDesignFileVersion);
        case DesignFileProblem::Missing:
            return "\"" + error.key + "\" is missing";
        case DesignFileProblem::WrongType:
            return "\"" + error.key + "\" must be " + kind();
        case DesignFileProblem::BadValue:
            return "\"" + error.key + "\" has a value no design has";
    }
    return "not a Mirelto design file";
}

std::string_view DesignFileProblemCode(DesignFileProblem problem) {
    switch (problem) {
        case DesignFileProblem::NotFound:
            return "design-file-not-found";
        case DesignFileProblem::IsDirectory:
            return "design-file-is-directory";
        case DesignFileProblem::Unreadable:
            return "design-file-unreadable";
        case DesignFileProblem::TooLarge:
            return "design-file-too-large";
        case DesignFileProblem::Empty:
            return "design-file-empty";
        case DesignFileProblem::NotUtf8:
            return "design-file-not-utf8";
        case DesignFileProblem::Truncated:
            return "design-file-truncated";
        case DesignFileProblem::NotJson:
            return "design-file-not-json";
        case DesignFileProblem::NotOurs:
            return "design-file-not-ours";
        case DesignFileProblem::NewerVersion:
            return "design-file-newer-version";
        case DesignFileProblem::Missing:
            return "design-file-missing-key";
        case DesignFileProblem::WrongType:
            return "design-file-wrong-type";
        case DesignFileProblem::BadValue:
            return "design-file-bad-value";
    }
    return "design-file";
}

}  // namespace mirelto
