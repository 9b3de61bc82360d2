// Where the data file is looked for and written, and reading and writing it.
//
// The per-user data folder ($XDG_DATA_HOME/lumivane/) plays the part of the
// Windows directory: the data file is read from there first and saved there.
// Then the bare file name in the current directory is tried, and last the
// system-wide folders under $XDG_DATA_DIRS. The environment is read on every
// call so that start-up sees the values it runs with.
#pragma once

#include "patterns/SafeFile.h"

#include <array>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lumivane {

class DataStore;
struct Options;

// $XDG_DATA_HOME/lumivane/ (default ~/.local/share/lumivane/), ending in '/'.
std::string userDataDirectory();

// The first lumivane/ folder under $XDG_DATA_DIRS (default
// /usr/local/share:/usr/share) that holds fileName, or the first candidate
// when none does; ending in '/'.
std::string systemDataDirectory(const std::string& fileName);

enum class DataSource { DataDirectory, CurrentDirectory, SystemDirectory, Defaults };

// One place the data file is looked for.
struct DataFilePlace {
    DataSource source;
    std::string path;
};

// Where the data file is looked for, in order: options.dataFilePath() (the
// user data folder), the bare file name in the current directory, and the
// system-wide folder that holds it (systemDataDirectory).
std::array<DataFilePlace, 3> dataFilePlaces(const Options& options);

// The options a tool given no file starts from: the data file where start-up
// looks for it first, everything else at its default.
Options toolOptions();

// Fills the store from the first source that reads without a file error and
// copies the store's option words into options after that read. Reading from
// the current directory empties options.dataDirectory so that a later save
// goes there too. With no readable file the store gets its defaults and the
// working option words stay as they are. Something that is not a regular file
// (a FIFO, a device) counts as a file that cannot be opened. Files that were
// there but were refused (a later version, not a pattern file) or damaged are
// added to unread, so that a save does not silently destroy them. saveTarget
// gets what options.dataFilePath() led to when the store was read, for the
// checks of a later save.
DataSource loadDataFile(Options& options, DataStore& store,
                        std::vector<std::string>* unread = nullptr, FileSeen* saveTarget = nullptr);

// The data file a tool uses when it is given none: the one start-up reads, but
// a file that is there and cannot be taken (refused, damaged, unreadable, not
// a regular file) is reported on err as readStoreForTool does, and false is
// returned, rather than passed over for the next place. With no file anywhere
// the store gets its defaults. options and saveTarget as for loadDataFile.
bool readDataFileForTool(Options& options, DataStore& store, std::ostream& err,
                         FileSeen* saveTarget = nullptr);
// The same from toolOptions().
bool readDataFileForTool(DataStore& store, std::ostream& err);

// The index of the stored pattern named name (UTF-8), or, failing that, of the
// only one named name plus the trailing space that names saved in the dialog
// get; -1 when there is none.
int findStoredPattern(const DataStore& store, const std::string& name);

// Reads the data or bank file a command-line tool was given. On a file error
// or a refusal writes one line, "lumivane: FILE: " and the text the dialogs
// show (with the reason of a file error), and returns false.
bool readStoreForTool(const std::string& path, DataStore& store, std::ostream& err,
                      FileSeen* seen = nullptr);

// The place loadDataFile reads from: the first of dataFilePlaces that holds
// anything (a file that cannot be read, a FIFO, ... included), or nothing
// when none does.
std::optional<DataFilePlace> foundDataFile(const Options& options);

// Keeps a copy of the file at path as path + ".bak", replacing an older copy
// (a link planted at that name is replaced, never followed). readAs as for
// readRegularFile. Returns whether the copy was made; a failure is reported as
// one line on err.
bool backUpDataFile(const std::string& path, std::ostream& err, const FileSeen* readAs = nullptr);

// Makes the data file's folder when it is missing; false when it cannot be
// made (the save that follows then says why).
bool makeDataFolder(const Options& options);

// Writes the whole store to options.dataDirectory + options.dataFileName,
// creating the folder when needed. readAs is what start-up saw there (a link
// that was not there then is not followed). A failure, a refusal included,
// leaves any old file as it was and is reported as one line on err. Returns
// whether the file was written.
bool saveDataFile(const Options& options, const DataStore& store, std::ostream& err,
                  const FileSeen* readAs = nullptr);

} // namespace lumivane
