#include "app/CommandLine.h"

#include "app/BankTools.h"
#include "app/DataFile.h"
#include "app/HeadlessRender.h"
#include "app/Options.h"
#include "app/PatternJson.h"
#include "app/XScreenSaverList.h"
#include "app/idle/Autostart.h"
#include "app/idle/IdleCommand.h"
#include "patterns/StoreFile.h"
#include "patterns/Windows1252.h"
#include "view/HostWindow.h"

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>

#ifndef LUMIVANE_VERSION
#define LUMIVANE_VERSION "unknown"
#endif

namespace lumivane {
namespace {

struct ToolCall {
    const std::string& programName;
    const std::string& value;
    std::ostream& out;
    std::ostream& err;
};

// An option runs with its value (run), or with all the arguments that follow
// it, its "=" value first (runWithArguments: the tools with options of their
// own). --root and --window-id have neither: they run the saver, and main
// hands them to hackCallFrom before any tool; the table lists them for --help.
struct LongOption {
    std::string_view name;      // without the leading "--"
    std::string_view valueName; // empty when the option takes no value
    std::string_view summary;
    int (*run)(const ToolCall&) = nullptr;
    int (*runWithArguments)(const ToolCall&, const std::vector<std::string>&) = nullptr;
};

int showHelp(const ToolCall& call);

int usageError(const ToolCall& call, const std::string& problem) {
    call.err << call.programName << ": " << problem << " (try --help)\n";
    return EXIT_USAGE;
}

int showVersion(const ToolCall& call) {
    call.out << "Lumivane " << LUMIVANE_VERSION << '\n';
    return EXIT_DONE;
}

int listFile(const ToolCall& call) {
    if (!call.value.empty())
        return listPatterns(call.value, call.out, call.err);
    const Options options = toolOptions();
    const std::optional<DataFilePlace> found = foundDataFile(options);
    if (!found) {
        call.err << call.programName << ": there is no data file (looked in "
                 << options.dataFilePath() << ", the current folder and "
                 << systemDataDirectory(options.dataFileName) << ")\n";
        return EXIT_FAILED;
    }
    return listPatterns(found->path, call.out, call.err);
}

int dumpFile(const ToolCall& call) {
    return dumpStoreFile(call.value, call.out, call.err);
}

// "--render OUT [options]".
int renderFrames(const ToolCall& call, const std::vector<std::string>& arguments) {
    const std::optional<RenderRequest> request = parseRenderRequest(arguments, call.err);
    return request ? runRender(*request, call.err) : EXIT_USAGE;
}

// "--build OUT IN"; "--" ends the options: the file names may begin with "-".
int buildFile(const ToolCall& call, const std::vector<std::string>& arguments) {
    std::vector<std::string> files = arguments;
    if (const auto end = std::find(files.begin(), files.end(), "--"); end != files.end())
        files.erase(end);
    if (files.size() != 2)
        return usageError(call, "option '--build' needs OUT and IN");
    return buildStoreFile(files[0], files[1], call.err);
}

int mergeBank(const ToolCall& call, const std::vector<std::string>& arguments) {
    return runMergeBank(arguments, call.out, call.err);
}

int exportBank(const ToolCall& call, const std::vector<std::string>& arguments) {
    return runExportBank(arguments, call.out, call.err);
}

int addToXScreenSaverList(const ToolCall& call) {
    return addToXScreenSaver(userXScreenSaverFile(), XSCREENSAVER_DEFAULTS, call.out, call.err);
}

int idleWatcher(const ToolCall& call) {
    return runIdleWatcher(call.programName, call.value, call.out, call.err);
}

int idleAutostart(const ToolCall& call) {
    return runIdleAutostart(call.programName, call.value, call.out, call.err);
}

constexpr std::array<LongOption, 13> LONG_OPTIONS{{
    {"help", "", "show this help and exit", showHelp},
    {"version", "", "show the version and exit", showVersion},
    {"list", "[FILE]",
     "list the patterns of a data or bank file (default: the data file in use), "
     "one \"index<TAB>name\" a line",
     listFile},
    {"dump", "FILE", "write the patterns and settings of a data or bank file as JSON", dumpFile},
    {"build", "OUT IN", "write the data or bank file OUT from IN, JSON as --dump writes it",
     nullptr, buildFile},
    {"merge-bank", "BANK", "merge a bank into the data file by name ([--into FILE])", nullptr,
     mergeBank},
    {"export-bank", "OUT", "write stored patterns as the bank file OUT ([--data FILE] [NAME ...])",
     nullptr, exportBank},
    {"render", "OUT.png", "draw frames without a display and write the last one as PNG", nullptr,
     renderFrames},
    {"root", "", "draw into $XSCREENSAVER_WINDOW, else the root window (also -root)"},
    {"window-id", "ID", "draw into window ID, hexadecimal 0x... or decimal (also -window-id)"},
    {"add-to-xscreensaver", "", "add Lumivane to the display modes listed in ~/.xscreensaver",
     addToXScreenSaverList},
    {"idle", "TIME", "start the full-screen saver after each TIME without input (10m, 90s, 5 = 5m)",
     idleWatcher},
    {"idle-autostart", "on|off", "run --idle 10m with each session of this user, or stop that",
     idleAutostart},
}};

void writeOptionTable(std::ostream& out) {
    for (const LongOption& option : LONG_OPTIONS) {
        std::string left = "  --" + std::string(option.name);
        if (!option.valueName.empty())
            left += " " + std::string(option.valueName);
        left.resize(std::max<std::size_t>(left.size() + 2, 22), ' ');
        out << left << option.summary << '\n';
    }
}

int showHelp(const ToolCall& call) {
    std::ostream& out = call.out;
    out << "Usage: " << call.programName << " [SWITCH [HANDLE]]\n"
        << "       " << call.programName << " --OPTION [VALUE]\n\n"
        << "Switches (one letter, optionally after '-' or '/', in any case):\n"
        << "  (none), c           show the configuration dialog\n"
        << "  p HANDLE, l HANDLE  show the preview inside host window HANDLE (or p:HANDLE)\n"
        << "  s                   run the full-screen saver\n"
        << "  a [HANDLE]          change the screen-saver password (nothing to do here)\n\n"
        << "Options:\n";
    writeOptionTable(out);
    out << "\nWith --root, --window-id and the s switch, for that run only:\n"
        << "  --mode current|random|generate|cycle  what each reset shows\n"
        << "  --pattern NAME      start with this stored pattern (and --mode current)\n"
        << "  --no-antialias      hard edges\n"
        << "  --no-name           no pattern name over the image\n";
    out << "\nRender options (after OUT.png; a %d in OUT.png writes every frame):\n"
        << "  --data FILE  --pattern NAME | --index I | --random  --size WxH (800x600)\n"
        << "  --frames N (100)  --seed S (the time)  --no-antialias\n"
        << "  --shape circle|oval|rectangle|three-mirror (before --random)\n"
        << "  --symmetry N (3 to 20, after --random)\n";
    return EXIT_DONE;
}

const LongOption* findOption(std::string_view name) {
    for (const LongOption& option : LONG_OPTIONS)
        if (option.name == name)
            return &option;
    return nullptr;
}

// "--name" or "--name=value".
struct OptionCall {
    std::string name;
    std::optional<std::string> value;
};

OptionCall splitLongOption(std::string_view argument) {
    argument.remove_prefix(2);
    const auto equals = argument.find('=');
    if (equals == std::string_view::npos)
        return {std::string(argument), std::nullopt};
    return {std::string(argument.substr(0, equals)), std::string(argument.substr(equals + 1))};
}

// A value written "[VALUE]" in the table may be left out.
bool valueIsOptional(const LongOption& option) {
    return option.valueName.starts_with('[');
}

// Empty when the option got a value exactly when it takes one.
std::string valueProblem(const LongOption& option, const OptionCall& call) {
    const std::string shown = "option '--" + call.name + "'";
    if (option.valueName.empty() && call.value)
        return shown + " takes no value";
    if (!option.valueName.empty() && !valueIsOptional(option) && !call.value)
        return shown + " needs " + std::string(option.valueName);
    return {};
}

} // namespace

bool isLongOption(std::string_view argument) {
    return argument.starts_with("--");
}

int runLongOption(const std::string& programName, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err) {
    const std::string none;
    const ToolCall failure{programName, none, out, err};
    if (args.empty())
        return usageError(failure, "no option given");
    OptionCall call = splitLongOption(args[0]);
    const LongOption* option = findOption(call.name);
    if (!option)
        return usageError(failure, "unknown option '" + args[0] + "'");
    if (option->runWithArguments) {
        std::vector<std::string> arguments(args.begin() + 1, args.end());
        if (call.value)
            arguments.insert(arguments.begin(), *call.value);
        return option->runWithArguments(failure, arguments);
    }
    if (!option->run)
        return usageError(failure, "option '--" + call.name + "' runs the saver, not a tool");
    std::size_t used = 1;
    // "--" ends the options: the value that follows may begin with "-".
    const bool optionsEnded = args.size() > used && args[used] == "--";
    if (optionsEnded && !option->valueName.empty() && !call.value)
        ++used;
    if (!option->valueName.empty() && !call.value && args.size() > used)
        call.value = args[used++];
    if (const std::string problem = valueProblem(*option, call); !problem.empty())
        return usageError(failure, problem);
    if (args.size() > used)
        return usageError(failure, "unexpected argument '" + args[used] + "'");
    return option->run({programName, call.value.value_or(none), out, err});
}

namespace {

constexpr std::array<std::string_view, 4> MODE_WORDS{"current", "random", "generate", "cycle"};

// The classic single-dash words of screen-saver hacks count as their long forms.
std::string longFormOf(const std::string& argument) {
    if (argument == "-root" || argument == "-window-id")
        return "-" + argument;
    return argument;
}

// Reads one display override at args[i] (advancing i past its value); false
// when args[i] is not one. A bad value is reported in problem.
bool readOverride(const std::vector<std::string>& args, std::size_t& i, DisplayOverrides& overrides,
                  std::string& problem) {
    if (!isLongOption(args[i]))
        return false;
    OptionCall option = splitLongOption(args[i]);
    const auto value = [&]() -> std::optional<std::string> {
        if (option.value)
            return option.value;
        if (i + 1 < args.size())
            return args[++i];
        problem = "option '--" + option.name + "' needs a value";
        return std::nullopt;
    };
    if (option.name == "no-antialias" || option.name == "no-name") {
        if (option.value)
            problem = "option '--" + option.name + "' takes no value";
        (option.name == "no-name" ? overrides.noName : overrides.noAntiAlias) = true;
        return true;
    }
    if (option.name == "pattern") {
        if (const std::optional<std::string> name = value())
            overrides.patternName = *name;
        return true;
    }
    if (option.name == "mode") {
        const std::optional<std::string> word = value();
        if (!word)
            return true;
        for (std::size_t mode = 0; mode < MODE_WORDS.size(); ++mode)
            if (*word == MODE_WORDS[mode])
                overrides.fullScreenMode = static_cast<int>(mode);
        if (!overrides.fullScreenMode)
            problem = "--mode is one of current, random, generate and cycle, not '" + *word + "'";
        return true;
    }
    return false;
}

} // namespace

DisplayOverrides displayOverridesFrom(const std::vector<std::string>& args, std::string& problem) {
    DisplayOverrides overrides;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!optionsEnded && args[i] == "--") {
            optionsEnded = true;
            continue;
        }
        if ((optionsEnded || !readOverride(args, i, overrides, problem)) && problem.empty())
            problem = "unexpected argument '" + args[i] + "'";
    }
    return overrides;
}

namespace {

bool isHackWord(const std::string& argument) {
    const std::string word = longFormOf(argument);
    if (!isLongOption(word))
        return false;
    const std::string name = splitLongOption(word).name;
    return name == "root" || name == "window-id";
}

bool isOverrideWord(const std::string& argument) {
    if (!isLongOption(argument))
        return false;
    const std::string name = splitLongOption(argument).name;
    return name == "mode" || name == "pattern" || name == "no-antialias" || name == "no-name";
}

} // namespace

// Only a command line that begins with a hack option is a hack call; within
// it, the hack options may come in any order, and "--" ends them. Elsewhere
// (a tool's value, a file name after "--") the words mean nothing special.
std::optional<HackCall> hackCallFrom(const std::vector<std::string>& args) {
    if (args.empty() || !(isHackWord(args[0]) || isOverrideWord(args[0])))
        return std::nullopt;
    HackCall call;
    bool named = false;
    bool optionsEnded = false;
    const auto fail = [&call](const std::string& problem) {
        if (call.problem.empty())
            call.problem = problem;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!optionsEnded && args[i] == "--") {
            optionsEnded = true;
            continue;
        }
        const std::string argument = longFormOf(args[i]);
        const OptionCall option = isLongOption(argument) ? splitLongOption(argument) : OptionCall{};
        if (optionsEnded) {
            fail("unexpected argument '" + args[i] + "'");
        } else if (isLongOption(argument) && option.name == "root") {
            if (option.value)
                fail("option '--root' takes no value");
            call.root = named = true;
        } else if (isLongOption(argument) && option.name == "window-id") {
            named = true;
            const std::optional<std::string> text =
                option.value ? option.value
                             : (i + 1 < args.size() ? std::optional(args[++i]) : std::nullopt);
            call.windowId = text ? parseWindowId(*text) : std::nullopt;
            if (!call.windowId)
                fail("'" + text.value_or("") +
                     "' is not a window id (hexadecimal 0x... or decimal)");
        } else {
            std::string problem;
            if (!readOverride(args, i, call.overrides, problem))
                problem = "unexpected argument '" + args[i] + "'";
            if (!problem.empty())
                fail(problem);
        }
    }
    if (!named)
        return std::nullopt;
    return call;
}

std::vector<std::string> previewArgsFor(const HackCall& call) {
    if (call.windowId) {
        return {"/p", std::to_string(*call.windowId)};
    }
    return {"/p"};
}

namespace {

// A stored name as one field of a "--list" row: the bytes are decoded as
// Windows-1252, except that a byte whose character is a control (C0, DEL and
// the five C1 controls of the code page) is written as \xHH and a backslash as
// \\, so no name can act on a terminal or add a tab or a line to the output.
std::string listedName(std::string_view bytes) {
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        const char32_t character = windows1252CodePoint(byte);
        if (character < 0x20 || (character >= 0x7F && character < 0xA0)) {
            out += "\\x";
            out += HEX[byte >> 4];
            out += HEX[byte & 0xF];
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += windows1252ToUtf8(std::string_view(&c, 1));
        }
    }
    return out;
}

} // namespace

int listPatterns(const std::string& path, std::ostream& out, std::ostream& err) {
    DataStore store;
    if (!readStoreForTool(path, store, err))
        return EXIT_FAILED;
    for (std::int32_t i = 0; i < store.count(); ++i)
        out << i << '\t' << listedName(store.patternAt(i)->nameText()) << '\n';
    return EXIT_DONE;
}

} // namespace lumivane
