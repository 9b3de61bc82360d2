// The pattern-bank tools of the command line, for people who keep patterns in
// scripts and for packagers:
//   --merge-bank BANK [--into FILE]
//       merges the bank into the data file by name, as the banks dialog's
//       "Merge Bank" does (patterns whose names are there already are left
//       out); without --into, into the data file found by the normal search,
//       saved where the configuration dialog's OK would save it.
//   --export-bank OUT.pat [--data FILE] [NAME ...]
//       writes the named stored patterns (all of them without names) as a bank.
// Both exit with EXIT_DONE when done, EXIT_FAILED when a file read was refused
// or unreadable (with the message the banks dialog shows), EXIT_USAGE for bad
// arguments and for an output that could not be written. A file is either replaced whole or left
// as it was.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace lumivane {

// args are the arguments after the option's name, its value first.
int runMergeBank(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runExportBank(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace lumivane
