// "--dump" and "--build": the text form of store files on the command line.
#include "app/PatternJson.h"

#include "app/CommandLine.h"
#include "app/DataFile.h"
#include "patterns/StoreFile.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane {
namespace {

// The whole text of path, which may be a pipe or a FIFO too; false after a
// message on err. Never reads more than MAX_JSON_BYTES (/dev/zero included).
bool readJsonText(const std::string& path, std::string& text, std::ostream& err) {
    const auto fail = [&](const std::string& problem) {
        err << "lumivane: " << path << ": cannot read it: " << problem << '\n';
        return false;
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(std::strerror(errno));
    const std::string tooLarge = "it is larger than " + std::to_string(MAX_JSON_BYTES) + " bytes";
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uintmax_t>(info.st_size) > MAX_JSON_BYTES) {
        ::close(fd);
        return fail(tooLarge);
    }
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || text.size() + static_cast<std::size_t>(got) > MAX_JSON_BYTES) {
            const int error = errno;
            ::close(fd);
            if (got < 0)
                return fail(std::strerror(error));
            if (got > 0)
                return fail(tooLarge);
            return true;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

int dumpStoreFile(const std::string& path, std::ostream& out, std::ostream& err) {
    DataStore store;
    if (!readStoreForTool(path, store, err))
        return EXIT_FAILED;
    out << storeToJson(store);
    return EXIT_DONE;
}

int buildStoreFile(const std::string& outPath, const std::string& jsonPath, std::ostream& err) {
    std::string text;
    if (!readJsonText(jsonPath, text, err))
        return EXIT_FAILED;
    if (text.empty()) {
        err << "lumivane: " << jsonPath << ": it is empty; a JSON object was expected\n";
        return EXIT_USAGE;
    }
    DataStore store;
    const std::vector<std::string> problems = storeFromJson(text, store);
    for (const std::string& problem : problems)
        err << "lumivane: " << jsonPath << ": " << problem << '\n';
    if (!problems.empty())
        return EXIT_USAGE;
    try {
        saveStoreFile(outPath, store);
    } catch (const StoreFileError& error) {
        err << "lumivane: " << outPath << ": cannot write it: " << error.reason() << '\n';
        return EXIT_USAGE;
    }
    return EXIT_DONE;
}

} // namespace lumivane
