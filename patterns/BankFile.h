// Pattern banks: sets of named patterns kept in *.pat files of their own, for
// collecting and exchanging patterns. A bank is a DataStore written in the data
// file's format, byte for byte, so any data file loads as a bank and a bank is
// a valid data file. Only the count and the patterns matter in a bank; its
// working pattern and trailer words are written from the bank's own store.
#pragma once

#include "DataStore.h"
#include "SafeFile.h"

#include <string>

namespace lumivane {

// Title of the box that tells why a bank file was not taken.
constexpr const char* INVALID_BANK_TITLE = "Invalid Pattern File";

// Empties the bank's pattern list and reads the file at path into it. Returns
// what the user is to be told: an empty text when the file was read, otherwise
// "File error!" (unreadable, short or damaged) or the refusal's text; the bank
// then holds no patterns. The reason of a file error goes to reason when it is
// given, and what was found at path to seen. Never throws for a bad file.
std::string loadBank(const std::string& path, DataStore& bank, std::string* reason = nullptr,
                     FileSeen* seen = nullptr);

} // namespace lumivane
