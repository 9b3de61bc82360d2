// "--render OUT.png": draws frames without a display and writes them as PNG.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace lumivane {

struct RenderRequest {
    std::string output;                  // file name, may hold one printf-style %d
    std::optional<std::string> dataFile; // default: the normal start-up search
    std::optional<std::string> patternName;
    std::optional<int> patternIndex;
    bool randomPattern = false;
    std::optional<int> screenShape; // set before --random randomises the pattern
    std::optional<int> symmetry;    // set after it (the generator chooses one)
    int width = 800;
    int height = 600;
    int frames = 100;
    std::optional<unsigned> seed; // default: the time
    bool antiAlias = true;
};

// Parses the arguments that follow "--render" (the output file first). On a
// fault writes one line to err and returns nothing.
std::optional<RenderRequest> parseRenderRequest(const std::vector<std::string>& args,
                                                std::ostream& err);

// The file name for frame (0-based) of an output name that may hold one
// printf-style integer conversion (%d, %4d, %04d; %% is a percent sign).
// Returns nothing for any other conversion and for a second one.
std::optional<std::string> frameFileName(const std::string& pattern, int frame);
bool writesEveryFrame(const std::string& pattern);

// Runs the request: EXIT_DONE when written, EXIT_FAILED for a refused or
// unreadable data file, EXIT_USAGE for bad input (no such pattern) and for any
// output that was not written in full (the reason goes to err; an old regular file is then left as
// it was).
int runRender(const RenderRequest& request, std::ostream& err);

} // namespace lumivane
