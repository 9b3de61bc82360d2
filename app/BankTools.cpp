#include "app/BankTools.h"

#include "app/CommandLine.h"
#include "app/DataFile.h"
#include "app/Options.h"
#include "patterns/BankFile.h"
#include "patterns/StoreFile.h"

#include <filesystem>
#include <optional>
#include <ostream>

namespace lumivane {
namespace {

std::string patternsText(std::int32_t n) {
    return std::to_string(n) + (n == 1 ? " pattern" : " patterns");
}

int usage(std::ostream& err, const std::string& problem) {
    err << "lumivane: " << problem << " (try --help)\n";
    return EXIT_USAGE;
}

// Reads a store the user named; false after a message.
bool readStore(const std::string& path, DataStore& store, std::ostream& err) {
    store.clear();
    return readStoreForTool(path, store, err);
}

// The option's value: "--name=value", or the next argument.
std::optional<std::string> valueOf(const std::string& argument, const std::string& name,
                                   const std::vector<std::string>& args, std::size_t& next) {
    if (argument.starts_with(name + "="))
        return argument.substr(name.size() + 1);
    if (next < args.size())
        return args[next++];
    return std::nullopt;
}

int saveOutput(const std::string& path, const DataStore& store, const char* what,
               std::ostream& err) {
    try {
        saveStoreFile(path, store);
    } catch (const StoreFileError& error) {
        err << "lumivane: " << path << ": " << what << " could not be saved: " << error.reason()
            << '\n';
        return EXIT_USAGE;
    }
    return EXIT_TOOL_OK;
}

// The default data file for a merge, as start-up reads it. A file that is
// there but could not be taken is not written over.
bool readDataFile(Options& options, DataStore& store, std::ostream& err) {
    options.dataDirectory = userDataDirectory();
    store.currentIndex = 0;
    std::vector<std::string> unread;
    loadDataFile(options, store, &unread);
    const std::string target = options.dataFilePath();
    for (const std::string& path : unread) {
        std::error_code error;
        if (path == target || std::filesystem::equivalent(path, target, error)) {
            DataStore refused;
            const std::string problem = loadBank(path, refused);
            err << "lumivane: " << path << ": " << problem << '\n';
            return false;
        }
    }
    // As the configuration dialog opens on an empty set.
    if (store.count() == 0)
        store.resetToDefaults();
    return true;
}

} // namespace

int runMergeBank(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty())
        return usage(err, "--merge-bank needs BANK");
    const std::string& bankPath = args[0];
    std::optional<std::string> into;
    for (std::size_t next = 1; next < args.size();) {
        const std::string& argument = args[next++];
        if (argument != "--into" && !argument.starts_with("--into="))
            return usage(err, "unexpected argument '" + argument + "' after --merge-bank");
        into = valueOf(argument, "--into", args, next);
        if (!into || into->empty())
            return usage(err, "--into needs FILE");
    }

    DataStore bank;
    if (!readStore(bankPath, bank, err))
        return EXIT_TOOL_FAILED;
    Options options;
    DataStore data;
    if (into) {
        if (!readStore(*into, data, err))
            return EXIT_TOOL_FAILED;
    } else if (!readDataFile(options, data, err)) {
        return EXIT_TOOL_FAILED;
    }
    const std::string target = into ? *into : options.dataFilePath();

    // The selection and the working pattern stay as they were.
    const std::int32_t before = data.count();
    const std::int32_t selected = data.currentIndex;
    data.mergeAll(bank);
    data.currentIndex = selected;
    const std::int32_t added = data.count() - before;
    if (added > 0) {
        if (!into) {
            std::error_code error;
            std::filesystem::create_directories(options.dataDirectory, error);
            // A failure shows up as the failure to save below.
        }
        if (const int status = saveOutput(target, data, "the data file", err); status != 0)
            return status;
    }
    out << "merged " << added << " of " << patternsText(bank.count()) << " into " << target << '\n';
    return EXIT_TOOL_OK;
}

int runExportBank(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0].empty())
        return usage(err, "--export-bank needs OUT.pat");
    const std::string& output = args[0];
    std::optional<std::string> dataPath;
    std::vector<std::string> names;
    bool onlyNames = false;
    for (std::size_t next = 1; next < args.size();) {
        const std::string& argument = args[next++];
        if (onlyNames || !argument.starts_with("--")) {
            names.push_back(argument);
        } else if (argument == "--") {
            onlyNames = true;
        } else if (argument == "--data" || argument.starts_with("--data=")) {
            dataPath = valueOf(argument, "--data", args, next);
            if (!dataPath || dataPath->empty())
                return usage(err, "--data needs FILE");
        } else {
            return usage(err, "unexpected argument '" + argument + "' after --export-bank");
        }
    }

    DataStore data;
    if (dataPath) {
        if (!readStore(*dataPath, data, err))
            return EXIT_TOOL_FAILED;
    } else {
        Options options;
        options.dataDirectory = userDataDirectory();
        loadDataFile(options, data);
    }

    // A bank as the banks dialog assembles one.
    DataStore bank;
    bank.clear();
    if (names.empty())
        bank.appendAll(data);
    for (const std::string& name : names) {
        const Pattern* found = data.patternAt(findStoredPattern(data, name));
        if (!found) {
            err << "lumivane: no stored pattern is named \"" << name << "\"\n";
            return EXIT_USAGE;
        }
        bank.addPattern(*found);
    }
    if (const int status = saveOutput(output, bank, "the bank", err); status != 0)
        return status;
    out << "wrote " << patternsText(bank.count()) << " to " << output << '\n';
    return EXIT_TOOL_OK;
}

} // namespace lumivane
