#include "app/HeadlessRender.h"

#include "app/DataFile.h"
#include "app/ExitStatus.h"
#include "engine/ColourTools.h"
#include "engine/Random.h"
#include "engine/Scene.h"
#include "patterns/DataStore.h"
#include "patterns/SafeFile.h"

#include <QBuffer>
#include <QImage>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <ostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumivane {
namespace {

constexpr int MAX_RENDER_SIDE = 16384;
constexpr int MAX_FRAMES = 100000;
// Pixels drawn in all (width x height x frames): about 2000 frames of
// 3840x2160, a few minutes of drawing, rather than a day.
constexpr std::int64_t MAX_RENDER_PIXELS = std::int64_t{16} << 30;

template <typename T> std::optional<T> parseNumber(const std::string& text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool parseSize(const std::string& text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string::npos)
        return false;
    const auto w = parseNumber<int>(text.substr(0, x));
    const auto h = parseNumber<int>(text.substr(x + 1));
    if (!w || !h || *w < 1 || *h < 1 || *w > MAX_RENDER_SIDE || *h > MAX_RENDER_SIDE)
        return false;
    width = *w;
    height = *h;
    return true;
}

// A conversion "%[0][width]d" starting at text[i] (which is '%'); returns its
// length and fills zeroPad/width, or 0 when it is not one.
std::size_t integerConversion(const std::string& text, std::size_t i, bool& zeroPad, int& width) {
    std::size_t j = i + 1;
    zeroPad = j < text.size() && text[j] == '0';
    if (zeroPad)
        ++j;
    width = 0;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9' && width < 100)
        width = width * 10 + (text[j++] - '0');
    return j < text.size() && text[j] == 'd' ? j + 1 - i : 0;
}

bool takesValue(const std::string& option) {
    return option == "--data" || option == "--pattern" || option == "--index" ||
           option == "--size" || option == "--frames" || option == "--seed" ||
           option == "--shape" || option == "--symmetry";
}

// The --shape word of a screen shape: its name in lower case with '-' for a
// space ("three-mirror").
std::string shapeWord(int screenShape) {
    std::string word = SCREEN_SHAPE_NAMES.name(screenShape);
    for (char& c : word)
        c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

std::optional<int> screenShapeNamed(const std::string& word) {
    for (int i = 0; i < SCREEN_SHAPE_NAMES.count(); ++i)
        if (word == shapeWord(i))
            return i;
    return std::nullopt;
}

// "circle, oval, rectangle or three-mirror".
std::string shapeWords() {
    std::string words;
    const int count = SCREEN_SHAPE_NAMES.count();
    for (int i = 0; i < count; ++i)
        words += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + shapeWord(i);
    return words;
}

bool applyOption(RenderRequest& r, const std::string& option, const std::string& value,
                 std::ostream& err) {
    if (option == "--data") {
        r.dataFile = value;
    } else if (option == "--pattern") {
        r.patternName = value;
    } else if (option == "--index") {
        r.patternIndex = parseNumber<int>(value);
        if (!r.patternIndex || *r.patternIndex < 0)
            return err << "lumivane: --index needs a pattern number from 0, not \"" << value
                       << "\"\n",
                   false;
    } else if (option == "--size") {
        if (!parseSize(value, r.width, r.height))
            return err << "lumivane: bad size \"" << value << "\" (expected WxH, 1 to "
                       << MAX_RENDER_SIDE << " each)\n",
                   false;
    } else if (option == "--frames") {
        const auto n = parseNumber<int>(value);
        if (!n || *n < 1 || *n > MAX_FRAMES)
            return err << "lumivane: --frames needs a number from 1 to " << MAX_FRAMES << "\n",
                   false;
        r.frames = *n;
    } else if (option == "--shape") {
        r.screenShape = screenShapeNamed(value);
        if (!r.screenShape)
            return err << "lumivane: --shape needs " << shapeWords() << "\n", false;
    } else if (option == "--symmetry") {
        r.symmetry = parseNumber<int>(value);
        if (!r.symmetry || *r.symmetry < MIN_SYMMETRY || *r.symmetry > MAX_SYMMETRY)
            return err << "lumivane: --symmetry needs a number from " << MIN_SYMMETRY << " to "
                       << MAX_SYMMETRY << "\n",
                   false;
    } else if (option == "--seed") {
        r.seed = parseNumber<unsigned>(value);
        if (!r.seed)
            return err << "lumivane: --seed needs a non-negative whole number\n", false;
    }
    return true;
}

// Loads the store from --data or by the start-up search; false after a message.
bool loadStore(const RenderRequest& r, DataStore& store, std::ostream& err) {
    store.currentIndex = 0;
    return r.dataFile ? readStoreForTool(*r.dataFile, store, err) : readDataFileForTool(store, err);
}

std::optional<Pattern> choosePattern(const RenderRequest& r, const DataStore& store,
                                     std::ostream& err) {
    Pattern pattern = store.current;
    if (r.patternName) {
        const int index = findStoredPattern(store, *r.patternName);
        const Pattern* found = store.patternAt(index);
        if (!found)
            return err << "lumivane: no stored pattern is named \"" << *r.patternName << "\"\n",
                   std::nullopt;
        pattern = *found;
    } else if (r.patternIndex) {
        const Pattern* found = store.patternAt(*r.patternIndex);
        if (!found)
            return err << "lumivane: no stored pattern has index " << *r.patternIndex
                       << " (there are " << store.count() << ")\n",
                   std::nullopt;
        pattern = *found;
    }
    if (r.screenShape)
        pattern.screenShape = *r.screenShape;
    if (r.randomPattern)
        ColourTools::randomisePattern(pattern);
    if (r.symmetry)
        pattern.symmetry = *r.symmetry;
    return pattern;
}

std::string reason() {
    return std::strerror(errno);
}

// Where one PNG goes. A regular file (or a new one) is written through
// FileReplacement, so a failed write leaves any old file as it was. Anything
// else that already exists (a FIFO, a device, /dev/stdout on a pipe) is
// written directly: a rename would put a file in place of the device node.
class FrameOutput {
  public:
    FrameOutput() = default;
    FrameOutput(const FrameOutput&) = delete;
    FrameOutput& operator=(const FrameOutput&) = delete;
    ~FrameOutput() { closeDirect(); }

    // Opens the output; false after a message on err.
    bool open(const std::string& fileName, std::ostream& err) {
        closeDirect();
        replacement_.reset();
        fileName_ = fileName;
        try {
            // Links are followed as a save follows them (not another user's
            // link in a shared folder).
            const ResolvedName name(fileName, LinkHandling::ReplaceTarget);
            const FileSeen there = name.look();
            if (there.present && !there.regular) {
                fd_ = ::openat(name.folder(), name.leaf().c_str(),
                               O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
                return fd_ >= 0 || fail(err, reason());
            }
            replacement_ = std::make_unique<FileReplacement>(fileName);
            return true;
        } catch (const StoreFileError& error) {
            return fail(err, error.reason());
        }
    }

    // Writes image as PNG and finishes the output; false after a message on err.
    bool write(const QImage& image, std::ostream& err) {
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
            return fail(err, "cannot encode the image");
        if (replacement_) {
            try {
                replacement_->write(png.constData(), static_cast<std::size_t>(png.size()));
                replacement_->commit();
                replacement_.reset();
                return true;
            } catch (const StoreFileError& error) {
                replacement_.reset();
                return fail(err, error.reason());
            }
        }
        return writeDirect(png) || fail(err, reason());
    }

  private:
    bool writeDirect(const QByteArray& bytes) {
        // A reader that goes away is a failed write, not the end of the process.
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        struct sigaction previous {};
        ::sigaction(SIGPIPE, &ignore, &previous);
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t written = ::write(fd_, bytes.constData() + done,
                                            static_cast<std::size_t>(bytes.size() - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                break;
            done += written;
        }
        const int writeError = errno;
        ::sigaction(SIGPIPE, &previous, nullptr);
        const bool closed = closeDirect();
        if (done < bytes.size())
            errno = writeError;
        return done == bytes.size() && closed;
    }

    bool closeDirect() {
        if (fd_ < 0)
            return true;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

    bool fail(std::ostream& err, const std::string& problem) {
        err << "lumivane: " << fileName_ << ": cannot write it: " << problem << "\n";
        return false;
    }

    std::string fileName_;
    std::unique_ptr<FileReplacement> replacement_;
    int fd_ = -1;
};

} // namespace

std::optional<std::string> frameFileName(const std::string& pattern, int frame) {
    std::string out;
    bool converted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out += pattern[i];
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        bool zeroPad = false;
        int width = 0;
        const std::size_t length = integerConversion(pattern, i, zeroPad, width);
        if (length == 0 || converted)
            return std::nullopt;
        converted = true;
        std::string digits = std::to_string(frame);
        if (static_cast<int>(digits.size()) < width)
            digits.insert(0, static_cast<std::size_t>(width) - digits.size(), zeroPad ? '0' : ' ');
        out += digits;
        i += length - 1;
    }
    return out;
}

bool writesEveryFrame(const std::string& pattern) {
    return frameFileName(pattern, 0) != frameFileName(pattern, 1);
}

std::optional<RenderRequest> parseRenderRequest(const std::vector<std::string>& args,
                                                std::ostream& err) {
    RenderRequest r;
    // "--" before the output allows a name that begins with "--"; after it,
    // it ends the options, and nothing may follow.
    const std::size_t first = !args.empty() && args[0] == "--" ? 1 : 0;
    if (args.size() <= first || (first == 0 && args[0].starts_with("--")))
        return err << "lumivane: --render needs an output file name\n", std::nullopt;
    r.output = args[first];
    if (!frameFileName(r.output, 0))
        return err << "lumivane: the output name may hold only one %d conversion (use %% for %)\n",
               std::nullopt;
    for (std::size_t i = first + 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--") {
            if (i + 1 < args.size())
                return err << "lumivane: unexpected argument for --render after --: " << args[i + 1]
                           << "\n",
                       std::nullopt;
        } else if (option == "--random") {
            r.randomPattern = true;
        } else if (option == "--no-antialias") {
            r.antiAlias = false;
        } else if (takesValue(option)) {
            if (i + 1 >= args.size())
                return err << "lumivane: " << option << " needs a value\n", std::nullopt;
            if (!applyOption(r, option, args[++i], err))
                return std::nullopt;
        } else {
            return err << "lumivane: unknown option for --render: " << option << "\n", std::nullopt;
        }
    }
    const int choices =
        int(r.patternName.has_value()) + int(r.patternIndex.has_value()) + int(r.randomPattern);
    if (choices > 1)
        return err << "lumivane: choose one of --pattern, --index and --random\n", std::nullopt;
    if (const std::int64_t pixels = std::int64_t{r.width} * r.height * r.frames;
        pixels > MAX_RENDER_PIXELS)
        return err << "lumivane: " << r.frames << " frames of " << r.width << "x" << r.height
                   << " are " << pixels << " pixels to draw; at most " << MAX_RENDER_PIXELS
                   << " (about 2000 frames of 3840x2160)\n",
               std::nullopt;
    return r;
}

int runRender(const RenderRequest& r, std::ostream& err) {
    DataStore store;
    if (!loadStore(r, store, err))
        return EXIT_FAILED;
    sharedRandom().seed(r.seed ? *r.seed : static_cast<std::uint32_t>(std::time(nullptr)));
    const std::optional<Pattern> pattern = choosePattern(r, store, err);
    if (!pattern)
        return EXIT_USAGE;

    QImage image(r.width, r.height, QImage::Format_RGB32);
    if (image.isNull())
        return err << "lumivane: not enough memory for a " << r.width << "x" << r.height
                   << " frame\n",
               EXIT_USAGE;
    Surface surface{reinterpret_cast<std::uint32_t*>(image.bits()), r.width, r.height,
                    static_cast<int>(image.bytesPerLine() / 4)};
    auto scene = std::make_unique<Scene>();
    scene->setViewport(0, 0, r.width, r.height);
    scene->loadPattern(*pattern, false);
    // The output is opened before the first frame it gets is drawn, so that an
    // unwritable name fails at once rather than after every frame.
    const bool everyFrame = writesEveryFrame(r.output);
    FrameOutput output;
    if (!output.open(*frameFileName(r.output, everyFrame ? 0 : r.frames - 1), err))
        return EXIT_USAGE;
    for (int frame = 0; frame < r.frames; ++frame) {
        if (everyFrame && frame > 0 && !output.open(*frameFileName(r.output, frame), err))
            return EXIT_USAGE;
        scene->rotate(pattern->rotation);
        scene->renderFrame(surface, r.antiAlias);
        if ((everyFrame || frame == r.frames - 1) && !output.write(image, err))
            return EXIT_USAGE;
    }
    return EXIT_DONE;
}

} // namespace lumivane
