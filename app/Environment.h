// What the program takes from its environment variables about folders.
#pragma once

#include <string>

namespace lumivane {

// The value of an environment variable that names a folder: only an absolute
// path counts (as in the XDG variables); anything else gives an empty text.
std::string absoluteEnv(const char* name);

// $HOME when it is an absolute path, else the home folder of the password
// database, else "/".
std::string homeDirectory();

} // namespace lumivane
