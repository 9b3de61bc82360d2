// test_dialog_fuzz [--seed N] [--steps N] [--verbose]
// The seed and the number of steps may also come from LUMIVANE_FUZZ_SEED and
// LUMIVANE_FUZZ_STEPS; the options win. A failure prints the seed and every
// action up to it, and the program ends with status 1.
#include "DialogFuzz.h"

#include "../app/TestFolders.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    std::uint32_t seed = 1;
    int steps = 2000;
    bool verbose = false;
    if (const char* value = std::getenv("LUMIVANE_FUZZ_SEED"))
        seed = std::uint32_t(std::stoul(value));
    if (const char* value = std::getenv("LUMIVANE_FUZZ_STEPS"))
        steps = std::stoi(value);
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--seed" && i + 1 < argc) {
            seed = std::uint32_t(std::stoul(argv[++i]));
        } else if (option == "--steps" && i + 1 < argc) {
            steps = std::stoi(argv[++i]);
        } else if (option == "--verbose") {
            verbose = true;
        } else {
            std::fprintf(stderr, "usage: %s [--seed N] [--steps N] [--verbose]\n", argv[0]);
            return 2;
        }
    }
    lumivane::testing::testConfigHome();
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    lumivane::test::DialogFuzzer fuzzer(seed, steps, verbose);
    return fuzzer.run() ? 0 : 1;
}
