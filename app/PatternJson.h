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
// exit status (1 for an unreadable or refused file, with its text on err).
int dumpStoreFile(const std::string& path, std::ostream& out, std::ostream& err);

// "--build OUT IN": writes the store described by the JSON file at jsonPath to
// outPath, replacing it only when everything was written. On any problem every
// problem goes to err, nothing is written and the status is 2.
int buildStoreFile(const std::string& outPath, const std::string& jsonPath, std::ostream& err);

} // namespace lumivane
