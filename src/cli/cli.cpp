#include "cli.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <string_view>
#include <variant>
#include <vector>

#include "common.h"
#include "json.h"
#include "refusal.h"

#ifndef MIRELTO_VERSION
#define MIRELTO_VERSION "unknown"
#endif

namespace mirelto::cli {

namespace {

constexpr std::string_view kProgram = "mirelto-cli";

const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> commands{
        DesignCommand(),  AnalyseCommand(), OptimiseCommand(), ToleranceCommand(),
        NetlistCommand(), PresetsCommand(), NoiseCommand(),    OpAmpsCommand()};
    return commands;
}

// Other words that run a command, and how its messages and usage line then name it.
struct Alias {
    std::string_view word;
    std::string_view command;
    std::string_view shownAs;
};
constexpr Alias kAliases[] = {
    // The command's name before it took our spelling: what scripts written against it read
    // stays the same, byte for byte.
    {"analyze", "analyse", "analyze"},
    {"optimize", "optimise", "optimise"},
};

const Alias* AliasOf(std::string_view word) {
    const auto alias = std::find_if(std::begin(kAliases), std::end(kAliases),
                                    [word](const Alias& a) { return a.word == word; });
    return alias == std::end(kAliases) ? nullptr : alias;
}

std::string MainHelp() {
    std::string text =
        "Usage: mirelto-cli COMMAND [options]\n\n"
        "Third-order single-op-amp active filters (unity-gain follower) from the command line.\n\n"
        "Commands:\n";
    for (const CommandInfo& command : Commands()) {
        std::string name = Concat("  ", command.name);
        name.resize(14, ' ');
        text += name + std::string(command.summary) + "\n";
    }
    text +=
        "\n'mirelto-cli COMMAND --help' lists the options of one command; every command takes\n"
        "--json for machine-readable output. Values are SI texts: 22k, 3.3n, 4k7, 1.2e-6.\n\n"
        "Exit status: 0 done, 1 the calculation refused the input or failed, or the output\n"
        "could not be written (message on standard error), 2 bad command line (one line\n"
        "naming the option). --output writes a file whole or leaves it as it was. With\n"
        "--json a refusal also prints {\"error\": {\"code\": ..., \"message\": ...}} on standard\n"
        "output: the same message, and a code that names the case (\"usage\", "
        "\"unrealisable-lpf\").\n\n"
        "Every command takes --design FILE: mode, request, parts and series come from the\n"
        "design file the calculator saves (.mirelto); options given as well override it.\n";
    return text;
}

bool AsksForHelp(std::span<const std::string> words) {
    return std::any_of(words.begin(), words.end(),
                       [](const std::string& w) { return w == "--help" || w == "-h"; });
}

bool AsksForJson(std::span<const std::string> words) {
    return std::any_of(words.begin(), words.end(),
                       [](const std::string& w) { return w == "--json"; });
}

// A refusal: one line on standard error, and with --json the same message as a JSON object on
// standard output, so that a script reading the document learns why there is none.
int Refusal(std::span<const std::string> words, std::ostream& out, std::ostream& err,
            std::string_view where, std::string_view code, std::string_view message, int status) {
    err << kProgram << where << ": " << message << "\n";
    if (AsksForJson(words)) {
        out << ErrorJsonText(code, message);
    }
    return status;
}

int Usage(std::span<const std::string> words, std::ostream& out, std::ostream& err,
          std::string_view where, std::string_view message) {
    return Refusal(words, out, err, where, kUsageCode, message, kExitUsage);
}

// Reads the design file into the arguments, or refuses it saying why.
void UseDesignFile(Arguments& args, const std::string& path) {
    DesignFileRead read = LoadDesignFile(path);
    if (const auto* error = std::get_if<DesignFileError>(&read)) {
        throw Refused(std::string(DesignFileProblemCode(error->problem)),
                      Concat("--design: ", Printable(path), ": ", DescribeInEnglish(*error)));
    }
    args.UseDesign(std::get<DesignFile>(std::move(read)));
}

// The command the words name, run; its exit status.
int Dispatch(std::span<const std::string> words, std::ostream& out, std::ostream& err) {
    if (words.empty()) {
        return Usage(words, out, err, "", "no command (see mirelto-cli --help)");
    }
    const std::string_view first = words.front();
    if (first == "--help" || first == "-h" || first == "help") {
        if (words.size() > 1 && first == "help") {
            return Dispatch(std::vector<std::string>{words[1], "--help"}, out, err);
        }
        out << MainHelp();
        return kExitDone;
    }
    if (first == "--version") {
        out << kProgram << " " << MIRELTO_VERSION << "\n";
        return kExitDone;
    }
    const Alias* const alias = AliasOf(first);
    const std::string_view name = alias ? alias->command : first;
    const auto& commands = Commands();
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [name](const CommandInfo& c) { return c.name == name; });
    if (command == commands.end()) {
        return Usage(words, out, err, "",
                     Concat("unknown command ", Quoted(first), " (see mirelto-cli --help)"));
    }
    const std::string_view shownAs = alias ? alias->shownAs : command->name;
    const std::string where = Concat(" ", shownAs);
    const std::span<const std::string> rest = words.subspan(1);
    const std::vector<Option> options = Join({kDesignOptions, command->options});
    const auto help = [&] {
        out << HelpText(shownAs, command->description, options, command->notes);
        return kExitDone;
    };
    try {
        Arguments args(options, rest);
        if (args.Has("--help")) {
            return help();
        }
        if (const auto path = args.Text("--design")) {
            UseDesignFile(args, *path);
        }
        command->run(args, out);
    } catch (const UsageError& e) {
        // Asking for help on a line with a mistake still gets the help.
        if (AsksForHelp(rest)) {
            return help();
        }
        return Usage(words, out, err, where, e.what());
    } catch (const std::exception& e) {
        // Refused, FloatingPointFault, or the system out of memory: the calculation failed.
        return Refusal(words, out, err, where, CodeOf(e), OneLine(e.what()), kExitRefused);
    }
    return kExitDone;
}

}  // namespace

int Run(std::span<const std::string> words, std::ostream& out, std::ostream& err) {
    errno = 0;
    int status = Dispatch(words, out, err);
    // Output that did not arrive (a full disk, a closed pipe or descriptor) is a failure, not a
    // result: say why, and never exit 0.
    if (!out.flush()) {
        const int error = errno;
        err << kProgram << ": cannot write standard output: "
            << (error != 0 ? std::strerror(error) : "write error") << "\n";
        status = status == kExitDone ? kExitRefused : status;
    }
    return status;
}

}  // namespace mirelto::cli
