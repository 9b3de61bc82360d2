#include "app/BankTools.h"

#include "app/CommandLine.h"
#include "app/DataFile.h"
#include "app/DataFileLock.h"
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
bool readStore(const std::string& path, DataStore& store, std::ostream& err,
               FileSeen* seen = nullptr) {
    store.clear();
    return readStoreForTool(path, store, err, seen);
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

int saveOutput(const std::string& path, const DataStore& store, const char* what, std::ostream& err,
               const FileSeen* readAs = nullptr) {
    try {
        saveStoreFile(path, store, readAs);
    } catch (const StoreFileError& error) {
        err << "lumivane: " << path << ": " << what << " could not be saved: " << error.reason()
            << '\n';
        return EXIT_USAGE;
    }
    return EXIT_DONE;
}

// Where a merge without --into saves: where the configuration dialog's OK
// would, after the search start-up makes.
std::string defaultMergeTarget(const Options& options) {
    const std::optional<DataFilePlace> found = foundDataFile(options);
    return found && found->source == DataSource::CurrentDirectory ? found->path
                                                                  : options.dataFilePath();
}

// Reads the data file of a merge while its lock is held: the file named with
// --into, or the default one as start-up finds it. A file that is there but
// could not be taken is reported and not written over.
bool readMergeTarget(const std::optional<std::string>& into, Options& options,
                     const std::string& target, DataStore& data, FileSeen& seen,
                     std::ostream& err) {
    if (into)
        return readStore(*into, data, err, &seen);
    data.currentIndex = 0;
    if (!readDataFileForTool(options, data, err, &seen))
        return false;
    if (options.dataFilePath() != target) {
        err << "lumivane: the data file moved while it was being merged into; nothing was "
               "written\n";
        return false;
    }
    // As the configuration dialog opens on an empty set.
    if (data.count() == 0)
        data.resetToDefaults();
    return true;
}

} // namespace

int runMergeBank(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // "--" ends the options, before BANK (a name that begins with "--") or after it.
    bool optionsEnded = !args.empty() && args[0] == "--";
    std::size_t next = optionsEnded ? 1 : 0;
    if (next >= args.size())
        return usage(err, "--merge-bank needs BANK");
    const std::string& bankPath = args[next++];
    std::optional<std::string> into;
    while (next < args.size()) {
        const std::string& argument = args[next++];
        if (argument == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || (argument != "--into" && !argument.starts_with("--into=")))
            return usage(err, "unexpected argument '" + argument + "' after --merge-bank");
        into = valueOf(argument, "--into", args, next);
        if (!into || into->empty())
            return usage(err, "--into needs FILE");
    }

    DataStore bank;
    if (!readStore(bankPath, bank, err))
        return EXIT_FAILED;
    Options options = toolOptions();
    const std::string target = into ? *into : defaultMergeTarget(options);
    if (!into)
        makeDataFolder(options); // a failure shows up as the lock's below
    // Read, merged and saved under the file's lock, so that merges running at
    // the same moment (and the dialog's OK) never lose each other's patterns.
    // A file named with --into that is not there is reported by the read
    // below; no lock file is left beside its name.
    std::optional<DataFileLock> lock;
    try {
        if (!into || lookAtFile(*into).present)
            lock.emplace(target);
    } catch (const StoreFileError& error) {
        err << "lumivane: " << target << ": the data file could not be saved: " << error.what()
            << '\n';
        return EXIT_USAGE;
    }
    DataStore data;
    FileSeen seen;
    if (!readMergeTarget(into, options, target, data, seen, err))
        return EXIT_FAILED;

    // The selection and the working pattern stay as they were.
    const std::int32_t before = data.count();
    const std::int32_t selected = data.currentIndex;
    data.mergeAll(bank);
    data.currentIndex = selected;
    const std::int32_t added = data.count() - before;
    if (added > 0) {
        if (const int status = saveOutput(target, data, "the data file", err, &seen); status != 0)
            return status;
    }
    out << "merged " << added << " of " << patternsText(bank.count()) << " into " << target << '\n';
    return EXIT_DONE;
}

int runExportBank(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // "--" ends the options, before OUT (a name that begins with "--") or after it.
    bool onlyNames = !args.empty() && args[0] == "--";
    std::size_t next = onlyNames ? 1 : 0;
    if (next >= args.size() || args[next].empty())
        return usage(err, "--export-bank needs OUT.pat");
    const std::string& output = args[next++];
    std::optional<std::string> dataPath;
    std::vector<std::string> names;
    while (next < args.size()) {
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
    if (dataPath ? !readStore(*dataPath, data, err) : !readDataFileForTool(data, err))
        return EXIT_FAILED;

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
    return EXIT_DONE;
}

} // namespace lumivane
