#include "app/XScreenSaverList.h"

#include "app/ExitStatus.h"
#include "patterns/Archive.h"
#include "patterns/SafeFile.h"
#include "patterns/StoreFile.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <vector>

namespace lumivane {
namespace {

// The entry as XScreenSaver's own lists write them: tabs, the command, and the
// "\n" that ends every entry.
constexpr std::string_view ENTRY_LINE = "\t\t\t\t\"Lumivane\"  lumivane --root\t\t\t    \\n";
constexpr std::string_view PROGRAM = "lumivane";

struct Lines {
    std::vector<std::string> lines;
    bool endsWithNewline = true;
};

Lines splitLines(std::string_view text) {
    Lines result;
    result.endsWithNewline = text.empty() || text.back() == '\n';
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        result.lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

std::string joinLines(const Lines& text) {
    std::string joined;
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        joined += text.lines[i];
        if (i + 1 < text.lines.size() || text.endsWithNewline)
            joined += '\n';
    }
    return joined;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool continues(std::string_view line) {
    return !line.empty() && line.back() == '\\';
}

// The physical lines [first, last] of one resource.
struct Resource {
    std::size_t first;
    std::size_t last;
};

// The resource whose name is one of names, skipping comments and the
// continuation lines of other resources.
std::optional<Resource> findResource(const Lines& text,
                                     std::initializer_list<std::string_view> names) {
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        const std::size_t first = i;
        while (continues(text.lines[i]) && i + 1 < text.lines.size())
            ++i;
        const std::string_view line = trimmed(text.lines[first]);
        if (line.empty() || line.front() == '#' || line.front() == '!')
            continue;
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, colon));
        for (const std::string_view name : names)
            if (key == name)
                return Resource{first, i};
    }
    return std::nullopt;
}

// The resource's value with its line continuations joined.
std::string valueOf(const Lines& text, Resource resource) {
    std::string value;
    for (std::size_t i = resource.first; i <= resource.last; ++i) {
        std::string_view line = text.lines[i];
        if (i == resource.first)
            line.remove_prefix(line.find(':') + 1);
        if (continues(line))
            line.remove_suffix(1);
        value += line;
    }
    return value;
}

// An entry is [-] [VISUAL:] ["Name"] COMMAND ARGS; its program is the
// command's file name.
std::optional<ListedAs> entryRunsLumivane(std::string_view entry) {
    entry = trimmed(entry);
    const bool off = entry.starts_with('-');
    if (off)
        entry = trimmed(entry.substr(1));
    const std::string_view first = entry.substr(0, entry.find_first_of(" \t"));
    if (!first.starts_with('"') && first.ends_with(':'))
        entry = trimmed(entry.substr(first.size()));
    if (entry.starts_with('"')) {
        const auto close = entry.find('"', 1);
        entry =
            close == std::string_view::npos ? std::string_view{} : trimmed(entry.substr(close + 1));
    }
    std::string_view command = entry.substr(0, entry.find_first_of(" \t"));
    if (const auto slash = command.rfind('/'); slash != std::string_view::npos)
        command.remove_prefix(slash + 1);
    if (command != PROGRAM)
        return std::nullopt;
    return off ? ListedAs::Off : ListedAs::On;
}

ListedAs listedIn(const std::string& value) {
    ListedAs listed = ListedAs::Missing;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find("\\n", start);
        if (end == std::string::npos)
            end = value.size();
        if (const std::optional<ListedAs> entry =
                entryRunsLumivane(std::string_view(value).substr(start, end - start))) {
            if (*entry == ListedAs::On)
                return ListedAs::On;
            listed = ListedAs::Off;
        }
        start = end + 2;
    }
    return listed;
}

// Adds the entry after the resource's last line, which is made to continue.
void appendEntry(Lines& text, Resource resource) {
    std::string& last = text.lines[resource.last];
    if (!continues(last)) {
        const std::string_view content = trimmed(last);
        const bool emptyValue =
            resource.first == resource.last && trimmed(valueOf(text, resource)).empty();
        last.resize(last.find_last_not_of(" \t\r") + 1);
        if (emptyValue)
            last += "\t\\";
        else if (content.ends_with("\\n"))
            last += "\\";
        else
            last += " \\n\\";
    }
    text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(resource.last) + 1,
                      std::string(ENTRY_LINE));
}

// A FIFO or a device in a file's place is refused, not waited on.
std::optional<std::string> readWhole(const std::string& path, std::string& problem) {
    constexpr std::size_t LARGEST = std::size_t{16} << 20;
    try {
        const std::vector<std::uint8_t> bytes = readRegularFile(path, LARGEST);
        return std::string(bytes.begin(), bytes.end());
    } catch (const StoreFileError& error) {
        problem = error.reason();
        return std::nullopt;
    }
}

} // namespace

std::string userXScreenSaverFile() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* entry = ::getpwuid(::getuid());
        home = entry != nullptr ? entry->pw_dir : "";
    }
    return std::string(home) + "/.xscreensaver";
}

ListedAs lumivaneListed(std::string_view userText) {
    const Lines text = splitLines(userText);
    const std::optional<Resource> programs = findResource(text, {"programs"});
    return programs ? listedIn(valueOf(text, *programs)) : ListedAs::Missing;
}

std::optional<std::string> withLumivaneAdded(std::string_view userText,
                                             std::string_view defaultsText) {
    Lines text = splitLines(userText);
    if (const std::optional<Resource> programs = findResource(text, {"programs"})) {
        appendEntry(text, *programs);
        return joinLines(text);
    }
    Lines defaults = splitLines(defaultsText);
    const std::optional<Resource> found =
        findResource(defaults, {"*programs", "XScreenSaver.programs", "XScreenSaver*programs"});
    if (!found)
        return std::nullopt;
    Lines block;
    block.lines.assign(defaults.lines.begin() + static_cast<std::ptrdiff_t>(found->first),
                       defaults.lines.begin() + static_cast<std::ptrdiff_t>(found->last) + 1);
    std::string& head = block.lines.front();
    head.replace(0, head.find(':'), "programs");
    appendEntry(block, Resource{0, block.lines.size() - 1});
    if (!text.lines.empty() && !text.endsWithNewline)
        text.endsWithNewline = true;
    std::string result = joinLines(text);
    if (!result.empty() && !result.ends_with("\n\n"))
        result += '\n';
    return result + joinLines(block);
}

int addToXScreenSaver(const std::string& userFile, const std::string& defaultsFile,
                      std::ostream& out, std::ostream& err) {
    struct stat status {};
    const bool exists = ::stat(userFile.c_str(), &status) == 0;
    std::string problem;
    std::string userText;
    if (exists) {
        const std::optional<std::string> read = readWhole(userFile, problem);
        if (!read) {
            err << "lumivane: cannot read " << userFile << " (" << problem << ")\n";
            return EXIT_FAILED;
        }
        userText = *read;
        if (const ListedAs listed = lumivaneListed(userText); listed != ListedAs::Missing) {
            out << userFile << " already lists Lumivane"
                << (listed == ListedAs::Off
                        ? " (switched off; xscreensaver-settings switches it on)"
                        : "")
                << "; nothing changed.\n";
            return EXIT_DONE;
        }
        // Read-only says "leave this file alone", to root as well.
        if ((status.st_mode & S_IWUSR) == 0 || ::access(userFile.c_str(), W_OK) != 0) {
            err << "lumivane: " << userFile << " is read-only; nothing changed\n";
            return EXIT_USAGE;
        }
    }
    std::string defaultsText;
    if (!exists || !findResource(splitLines(userText), {"programs"})) {
        const std::optional<std::string> read = readWhole(defaultsFile, problem);
        if (!read) {
            err << "lumivane: cannot read XScreenSaver's defaults " << defaultsFile << " ("
                << problem << "); is XScreenSaver installed?\n";
            return EXIT_FAILED;
        }
        defaultsText = *read;
    }
    if (!exists)
        userText = "# XScreenSaver's list of display modes, taken from " + defaultsFile +
                   "\n# by \"lumivane --add-to-xscreensaver\"; the other settings keep their "
                   "defaults.\n\n";
    const std::optional<std::string> added = withLumivaneAdded(userText, defaultsText);
    if (!added) {
        err << "lumivane: " << defaultsFile << " holds no list of display modes (\"*programs:\")\n";
        return EXIT_FAILED;
    }
    try {
        replaceFile(userFile, std::vector<std::uint8_t>(added->begin(), added->end()));
    } catch (const StoreFileError& error) {
        err << "lumivane: " << error.what() << "; " << userFile << " was not changed\n";
        return EXIT_USAGE;
    }
    out << "Added Lumivane to the display modes in " << userFile
        << (exists ? "" : ", made from XScreenSaver's defaults") << ".\n";
    return EXIT_DONE;
}

} // namespace lumivane
