#include "TestFolders.h"

#include <QApplication>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lumivane::testing {

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "lumivane-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const std::filesystem::path& testConfigHome() {
    // Set before any test runs: the profile store remembers its folder on first use.
    static TempFolder home;
    static const std::filesystem::path config = [] {
        const std::filesystem::path folder = home.path() / "config";
        std::filesystem::create_directories(folder);
        ::setenv("HOME", home.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home.path() / "data").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (home.path() / "shared").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", home.path().c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return folder;
    }();
    return config;
}

namespace {
[[maybe_unused]] const bool environmentReady = !testConfigHome().empty();
} // namespace

void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "test_app";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv); // lives until the test program ends
}

} // namespace lumivane::testing
