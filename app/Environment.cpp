#include "app/Environment.h"

#include <cstdlib>

#include <pwd.h>
#include <unistd.h>

namespace lumivane {

std::string absoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

std::string homeDirectory() {
    if (std::string home = absoluteEnv("HOME"); !home.empty())
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? std::string(entry->pw_dir) : std::string("/");
}

} // namespace lumivane
