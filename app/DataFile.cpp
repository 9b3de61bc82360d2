#include "app/DataFile.h"

#include "app/Environment.h"
#include "app/Options.h"
#include "patterns/BankFile.h"
#include "patterns/StoreFile.h"
#include "patterns/Windows1252.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>
#include <system_error>
#include <vector>

namespace lumivane {
namespace {

constexpr const char* PROGRAM_FOLDER = "lumivane/";
constexpr const char* DEFAULT_DATA_DIRS = "/usr/local/share:/usr/share";

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::vector<std::string> candidatesFrom(std::string_view list) {
    std::vector<std::string> candidates;
    while (!list.empty()) {
        const auto colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (!entry.empty() && entry.front() == '/')
            candidates.push_back(withSlash(std::string(entry)) + PROGRAM_FOLDER);
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    return candidates;
}

std::vector<std::string> systemDataCandidates() {
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    std::vector<std::string> candidates = candidatesFrom(dirs ? dirs : "");
    return candidates.empty() ? candidatesFrom(DEFAULT_DATA_DIRS) : candidates;
}

// Reads path into the store; false on a file error (the store is then as it was).
// A regular file that is there but was not taken is noted in unread; what was
// found at path goes to seen.
bool readFrom(const std::string& path, DataStore& store, std::vector<std::string>* unread,
              FileSeen& seen) {
    try {
        loadStoreFile(path, store, &seen);
        if (unread != nullptr && store.loadStatus() != LOAD_OK)
            unread->push_back(path);
        return true;
    } catch (const StoreFileError&) {
        if (unread != nullptr && seen.present && seen.regular)
            unread->push_back(path);
        return false;
    }
}

bool holdsAnything(const std::string& path) {
    std::error_code error;
    return std::filesystem::status(path, error).type() != std::filesystem::file_type::not_found &&
           !error;
}

} // namespace

std::string userDataDirectory() {
    std::string base = absoluteEnv("XDG_DATA_HOME");
    if (base.empty())
        base = withSlash(homeDirectory()) + ".local/share";
    return withSlash(base) + PROGRAM_FOLDER;
}

std::string systemDataDirectory(const std::string& fileName) {
    const std::vector<std::string> candidates = systemDataCandidates();
    for (const std::string& folder : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(folder + fileName, error))
            return folder;
    }
    return candidates.front();
}

std::array<DataFilePlace, 3> dataFilePlaces(const Options& options) {
    return {{{DataSource::DataDirectory, options.dataFilePath()},
             {DataSource::CurrentDirectory, options.dataFileName},
             {DataSource::SystemDirectory,
              systemDataDirectory(options.dataFileName) + options.dataFileName}}};
}

Options toolOptions() {
    Options options;
    options.dataDirectory = userDataDirectory();
    return options;
}

DataSource loadDataFile(Options& options, DataStore& store, std::vector<std::string>* unread,
                        FileSeen* saveTarget) {
    const std::array<DataFilePlace, 3> places = dataFilePlaces(options);
    std::array<FileSeen, 3> seen;
    std::size_t read = 0;
    while (read < places.size() && !readFrom(places[read].path, store, unread, seen[read]))
        ++read;
    const DataSource source = read < places.size() ? places[read].source : DataSource::Defaults;
    if (source == DataSource::Defaults)
        store.resetToDefaults();
    if (source == DataSource::CurrentDirectory)
        options.dataDirectory.clear();
    // What the file a save replaces was when it was read (or looked for):
    // the user folder's, unless the save goes to the current directory.
    if (saveTarget != nullptr)
        *saveTarget = seen[source == DataSource::CurrentDirectory ? read : 0];
    if (source != DataSource::Defaults)
        copyPersistedOptionWords(store, options.dialogs);
    return source;
}

bool readDataFileForTool(Options& options, DataStore& store, std::ostream& err,
                         FileSeen* saveTarget) {
    const std::optional<DataFilePlace> found = foundDataFile(options);
    FileSeen seen;
    if (!found) {
        store.resetToDefaults();
        seen = lookAtFile(options.dataFilePath());
    } else {
        if (!readStoreForTool(found->path, store, err, &seen))
            return false;
        if (found->source == DataSource::CurrentDirectory)
            options.dataDirectory.clear();
        else if (found->source == DataSource::SystemDirectory)
            seen = lookAtFile(options.dataFilePath());
    }
    if (saveTarget != nullptr)
        *saveTarget = seen;
    return true;
}

bool readDataFileForTool(DataStore& store, std::ostream& err) {
    Options options = toolOptions();
    return readDataFileForTool(options, store, err);
}

bool readStoreForTool(const std::string& path, DataStore& store, std::ostream& err,
                      FileSeen* seen) {
    std::string reason;
    const std::string problem = loadBank(path, store, &reason, seen);
    if (problem.empty())
        return true;
    err << "lumivane: " << path << ": " << problem;
    if (!reason.empty())
        err << " (" << reason << ')';
    err << '\n';
    return false;
}

std::optional<DataFilePlace> foundDataFile(const Options& options) {
    for (const DataFilePlace& place : dataFilePlaces(options))
        if (holdsAnything(place.path))
            return place;
    return std::nullopt;
}

int findStoredPattern(const DataStore& store, const std::string& name) {
    const std::optional<std::string> bytes = utf8ToWindows1252(name);
    if (!bytes)
        return -1;
    int spaced = -1;
    int spacedMatches = 0;
    for (int i = 0; i < store.count(); ++i) {
        const std::string stored = store.patternAt(i)->nameText();
        if (stored == *bytes)
            return i;
        if (stored == *bytes + " ") {
            spaced = i;
            ++spacedMatches;
        }
    }
    return spacedMatches == 1 ? spaced : -1;
}

bool backUpDataFile(const std::string& path, std::ostream& err, const FileSeen* readAs) {
    const std::string backup = path + ".bak";
    try {
        // A link planted at the backup's name is replaced, never followed.
        replaceFile(backup, readStoreFileBytes(path, nullptr, readAs), LinkHandling::ReplaceLink);
        return true;
    } catch (const StoreFileError& error) {
        err << "lumivane: " << path << " could not be kept as " << backup << ": " << error.reason()
            << '\n';
        return false;
    }
}

bool makeDataFolder(const Options& options) {
    std::error_code error;
    return options.dataDirectory.empty() ||
           std::filesystem::create_directories(options.dataDirectory, error) || !error;
}

bool saveDataFile(const Options& options, const DataStore& store, std::ostream& err,
                  const FileSeen* readAs) {
    const std::string path = options.dataFilePath();
    try {
        makeDataFolder(options); // a failure shows up as the failure to save below
        saveStoreFile(path, store, readAs);
        return true;
    } catch (const StoreFileError& error) {
        err << "lumivane: the data file was not saved: " << error.what() << '\n';
        return false;
    }
}

} // namespace lumivane
