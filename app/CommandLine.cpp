#include "app/CommandLine.h"

#include "app/BankTools.h"
#include "app/HeadlessRender.h"
#include "patterns/StoreFile.h"
#include "patterns/Windows1252.h"
#include "view/HostWindow.h"

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

struct LongOption {
    std::string_view name;      // without the leading "--"
    std::string_view valueName; // empty when the option takes no value
    std::string_view summary;
    int (*run)(const ToolCall&);
};

int showHelp(const ToolCall& call);

int showVersion(const ToolCall& call) {
    call.out << "Lumivane " << LUMIVANE_VERSION << '\n';
    return EXIT_TOOL_OK;
}

int listFile(const ToolCall& call) {
    return listPatterns(call.value, call.out, call.err);
}

// Reached only when hackCallFrom refused the arguments.
int badHackCall(const ToolCall& call) {
    call.err << call.programName << ": '" << call.value
             << "' is not a window id (hexadecimal 0x... or decimal)\n";
    return EXIT_USAGE;
}

// Reached only through runRenderOption, which takes the arguments that follow.
int renderPlaceholder(const ToolCall&) {
    return EXIT_USAGE;
}

// Reached only through runBankOption, which takes the arguments that follow.
int bankPlaceholder(const ToolCall&) {
    return EXIT_USAGE;
}

constexpr std::array<LongOption, 8> LONG_OPTIONS{{
    {"help", "", "show this help and exit", showHelp},
    {"version", "", "show the version and exit", showVersion},
    {"list", "FILE", "list the patterns of a data or bank file, one \"index<TAB>name\" a line",
     listFile},
    {"merge-bank", "BANK", "merge a bank into the data file by name ([--into FILE])",
     bankPlaceholder},
    {"export-bank", "OUT", "write stored patterns as the bank file OUT ([--data FILE] [NAME ...])",
     bankPlaceholder},
    {"render", "OUT.png", "draw frames without a display and write the last one as PNG",
     renderPlaceholder},
    {"root", "", "draw into $XSCREENSAVER_WINDOW, else the root window (screen-saver hack)",
     badHackCall},
    {"window-id", "ID", "draw into window ID, hexadecimal 0x... or decimal (screen-saver hack)",
     badHackCall},
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
    out << "\nRender options (after OUT.png; a %d in OUT.png writes every frame):\n"
        << "  --data FILE  --pattern NAME | --index I | --random  --size WxH (800x600)\n"
        << "  --frames N (100)  --seed S (the time)  --no-antialias\n";
    return EXIT_TOOL_OK;
}

const LongOption* findOption(std::string_view name) {
    for (const LongOption& option : LONG_OPTIONS)
        if (option.name == name)
            return &option;
    return nullptr;
}

int usageError(const ToolCall& call, const std::string& problem) {
    call.err << call.programName << ": " << problem << " (try --help)\n";
    return EXIT_USAGE;
}

// "--render OUT [options]": the output and the render options follow.
int runRenderOption(const std::vector<std::string>& args, const std::optional<std::string>& value,
                    std::ostream& err) {
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (value)
        rest.insert(rest.begin(), *value);
    const std::optional<RenderRequest> request = parseRenderRequest(rest, err);
    return request ? runRender(*request, err) : EXIT_USAGE;
}

// "--merge-bank BANK [...]" and "--export-bank OUT [...]": their own
// arguments follow.
int runBankOption(const std::string& name, const std::vector<std::string>& args,
                  const std::optional<std::string>& value, std::ostream& out, std::ostream& err) {
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (value)
        rest.insert(rest.begin(), *value);
    return name == "merge-bank" ? runMergeBank(rest, out, err) : runExportBank(rest, out, err);
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

// Empty when the option got a value exactly when it takes one.
std::string valueProblem(const LongOption& option, const OptionCall& call) {
    const std::string shown = "option '--" + call.name + "'";
    if (option.valueName.empty() && call.value)
        return shown + " takes no value";
    if (!option.valueName.empty() && !call.value)
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
    if (call.name == "render")
        return runRenderOption(args, call.value, err);
    if (call.name == "merge-bank" || call.name == "export-bank")
        return runBankOption(call.name, args, call.value, out, err);
    std::size_t used = 1;
    if (!option->valueName.empty() && !call.value && args.size() > used)
        call.value = args[used++];
    if (const std::string problem = valueProblem(*option, call); !problem.empty())
        return usageError(failure, problem);
    if (args.size() > used)
        return usageError(failure, "unexpected argument '" + args[used] + "'");
    return option->run({programName, call.value.value_or(none), out, err});
}

std::optional<HackCall> hackCallFrom(const std::vector<std::string>& args) {
    HackCall call;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!isLongOption(args[i])) {
            return std::nullopt;
        }
        const OptionCall option = splitLongOption(args[i]);
        if (option.name == "root" && !option.value) {
            call.root = true;
            continue;
        }
        if (option.name != "window-id") {
            return std::nullopt;
        }
        const std::optional<std::string> text =
            option.value ? option.value
                         : (i + 1 < args.size() ? std::optional(args[++i]) : std::nullopt);
        const std::optional<long long> id = text ? parseWindowId(*text) : std::nullopt;
        if (!id) {
            return std::nullopt;
        }
        call.windowId = id;
    }
    if (!call.root && !call.windowId) {
        return std::nullopt;
    }
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
    try {
        loadStoreFile(path, store);
    } catch (const StoreFileError&) {
        err << STORE_FILE_ERROR_TEXT << '\n';
        return EXIT_TOOL_FAILED;
    }
    if (store.loadStatus() != LOAD_OK) {
        err << refusalText(store.loadStatus()) << '\n';
        return EXIT_TOOL_FAILED;
    }
    for (std::int32_t i = 0; i < store.count(); ++i)
        out << i << '\t' << listedName(store.patternAt(i)->nameText()) << '\n';
    return EXIT_TOOL_OK;
}

} // namespace lumivane
