// Patterns as text: a whole store (data or bank file) as JSON and back.
//
// The JSON holds the working pattern ("current"), the stored patterns in order
// ("patterns") and the words that follow them in the file. Every field of a
// pattern appears under its field name; enumerations and shapes by name (a
// value without a name as its number), colours as "#RRGGBB" (a colour with a
// non-zero top byte as its number), names as UTF-8. A key left out of the text
// keeps the value of a new pattern or a new store. A file whose unused bytes
// (after a name's NUL, layer padding) are zero survives the way through text
// byte for byte.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace lumivane {

class DataStore;

// The store as indented JSON text (UTF-8), ending in a newline.
std::string storeToJson(const DataStore& store);

// Reads JSON text into store. Returns one line for every problem found (an
// unknown key, a value that does not fit its field, a name longer than 23
// bytes of Windows-1252), each naming the pattern and the field; store is
// filled only when the list is empty.
std::vector<std::string> storeFromJson(const std::string& text, DataStore& store);

// "--dump FILE": the data or bank file at path as JSON on out. Returns the
// exit status (EXIT_FAILED for an unreadable or refused file, with its text on err).
int dumpStoreFile(const std::string& path, std::ostream& out, std::ostream& err);

// The most JSON text "--build" reads: room for the dump of a file of
// MAX_STORED_PATTERNS patterns written with the longest numbers and names
// (about 2268 bytes a pattern), so that everything --dump writes builds again.
inline constexpr std::size_t MAX_JSON_BYTES = 384u * 1024 * 1024;

// "--build OUT IN": writes the store described by the JSON file at jsonPath (a
// file, a pipe or a FIFO; at most MAX_JSON_BYTES) to outPath, replacing it
// only when everything was written. IN that cannot be read (or is too large)
// gives status 1; problems in the text are each reported on err and give
// status 2, as an output that cannot be written does. Nothing is written then.
int buildStoreFile(const std::string& outPath, const std::string& jsonPath, std::ostream& err);

} // namespace lumivane
