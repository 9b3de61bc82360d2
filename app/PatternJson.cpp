#include "app/PatternJson.h"

#include "app/JsonChecker.h"
#include "engine/Shapes.h"
#include "patterns/StoreFile.h"
#include "patterns/Windows1252.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <ostream>
#include <utility>

namespace lumivane {
namespace {

// ---- Writing ---------------------------------------------------------------

std::string enumText(std::int32_t value, NameTable names) {
    const char* name = names.name(value);
    return name != nullptr ? quoted(name) : std::to_string(value);
}

std::string colourText(ColourRef colour) {
    if (colour > 0xFFFFFF)
        return std::to_string(colour);
    char text[10];
    std::snprintf(text, sizeof text, "\"#%02X%02X%02X\"", colour & 0xFF, (colour >> 8) & 0xFF,
                  (colour >> 16) & 0xFF);
    return text;
}

template <typename T, std::size_t N, typename F> std::string listText(const T (&values)[N], F f) {
    std::string out = "[";
    for (std::size_t i = 0; i < N; ++i)
        out += (i ? ", " : "") + f(values[i]);
    return out + "]";
}

std::string number(std::int64_t value) {
    return std::to_string(value);
}

using Members = std::vector<std::pair<const char*, std::string>>;

std::string indent(int depth) {
    return std::string(static_cast<std::size_t>(depth) * 2, ' ');
}

std::string objectText(const Members& members, int depth) {
    std::string out = "{\n";
    for (std::size_t i = 0; i < members.size(); ++i)
        out += indent(depth + 1) + quoted(members[i].first) + ": " + members[i].second +
               (i + 1 < members.size() ? ",\n" : "\n");
    return out + indent(depth) + "}";
}

std::string layerText(const Layer& l, int depth) {
    const auto shape = [](std::int32_t v) { return enumText(v, shapeNames()); };
    const auto angle = [](std::int32_t v) { return enumText(v, ANGLE_MODE_NAMES); };
    const auto colourMode = [](std::int32_t v) { return enumText(v, COLOUR_MODE_NAMES); };
    const auto sizeMode = [](std::int32_t v) { return enumText(v, SIZE_MODE_NAMES); };
    return objectText({{"shape", listText(l.shape, shape)},
                       {"size", listText(l.size, number)},
                       {"ratio", listText(l.ratio, number)},
                       {"animate", listText(l.animate, number)},
                       {"angleMode", listText(l.angleMode, angle)},
                       {"colour", listText(l.colour, colourText)},
                       {"colourMode", listText(l.colourMode, colourMode)},
                       {"sizeMode", listText(l.sizeMode, sizeMode)},
                       {"border", listText(l.border, [](std::uint8_t b) { return number(b); })}},
                      depth);
}

std::string patternText(const Pattern& p, int depth) {
    std::string layers = "[\n";
    for (int i = 0; i < LAYERS_PER_PATTERN; ++i)
        layers += indent(depth + 2) + layerText(p.layers[i], depth + 2) +
                  (i + 1 < LAYERS_PER_PATTERN ? ",\n" : "\n");
    layers += indent(depth + 1) + "]";
    return objectText({{"name", quoted(windows1252ToUtf8(p.nameText()))},
                       {"symmetry", number(p.symmetry)},
                       {"resetTime", number(p.resetTime)},
                       {"rotation", number(p.rotation)},
                       {"speed", number(p.speed)},
                       {"imageSize", number(p.imageSize)},
                       {"balance", number(p.balance)},
                       {"animationLevel", number(p.animationLevel)},
                       {"amount", listText(p.amount, number)},
                       {"backgroundColour", colourText(p.backgroundColour)},
                       {"layers", layers},
                       {"screenShape", enumText(p.screenShape, SCREEN_SHAPE_NAMES)},
                       {"darkBorders", number(p.darkBorders)},
                       {"backgroundMode", enumText(p.backgroundMode, BACKGROUND_MODE_NAMES)}},
                      depth);
}

// ---- Reading ---------------------------------------------------------------

// Readers for a layer, bound to one checker.
Readers<Layer> layerReaders(JsonChecker& c) {
    const auto int32 = [&c](const std::string& f, const QJsonValue& v, std::int32_t& out) {
        c.int32(f, v, out);
    };
    const auto enumOf = [&c](NameTable names) {
        return [&c, names](const std::string& f, const QJsonValue& v, std::int32_t& out) {
            c.enumeration(f, v, names, out);
        };
    };
    return {
        {"shape",
         [&c](const std::string& f, const QJsonValue& v, Layer& l) {
             c.list(f, v, l.shape,
                    [&c](const std::string& g, const QJsonValue& w, std::int32_t& out) {
                        c.shape(g, w, out);
                    });
         }},
        {"size", [&c, int32](auto& f, auto& v, Layer& l) { c.list(f, v, l.size, int32); }},
        {"ratio", [&c, int32](auto& f, auto& v, Layer& l) { c.list(f, v, l.ratio, int32); }},
        {"animate", [&c, int32](auto& f, auto& v, Layer& l) { c.list(f, v, l.animate, int32); }},
        {"angleMode", [&c, e = enumOf(ANGLE_MODE_NAMES)](
                          auto& f, auto& v, Layer& l) { c.list(f, v, l.angleMode, e); }},
        {"colour",
         [&c](auto& f, auto& v, Layer& l) {
             c.list(f, v, l.colour,
                    [&c](const std::string& g, const QJsonValue& w, ColourRef& out) {
                        c.colour(g, w, out);
                    });
         }},
        {"colourMode", [&c, e = enumOf(COLOUR_MODE_NAMES)](
                           auto& f, auto& v, Layer& l) { c.list(f, v, l.colourMode, e); }},
        {"sizeMode", [&c, e = enumOf(SIZE_MODE_NAMES)](auto& f, auto& v,
                                                       Layer& l) { c.list(f, v, l.sizeMode, e); }},
        {"border",
         [&c](auto& f, auto& v, Layer& l) {
             c.list(f, v, l.border,
                    [&c](const std::string& g, const QJsonValue& w, std::uint8_t& out) {
                        c.byte(g, w, out);
                    });
         }},
    };
}

Readers<Pattern> patternReaders(JsonChecker& c) {
    const auto int32 = [&c](std::int32_t Pattern::*field) {
        return [&c, field](const std::string& f, const QJsonValue& v, Pattern& p) {
            c.int32(f, v, p.*field);
        };
    };
    return {
        {"name", [&c](auto&, const QJsonValue& v, Pattern& p) { c.name(v, p); }},
        {"symmetry", int32(&Pattern::symmetry)},
        {"resetTime", int32(&Pattern::resetTime)},
        {"rotation", int32(&Pattern::rotation)},
        {"speed", int32(&Pattern::speed)},
        {"imageSize", int32(&Pattern::imageSize)},
        {"balance", int32(&Pattern::balance)},
        {"animationLevel", int32(&Pattern::animationLevel)},
        {"amount",
         [&c](auto& f, auto& v, Pattern& p) {
             c.list(f, v, p.amount,
                    [&c](const std::string& g, const QJsonValue& w, std::int32_t& out) {
                        c.int32(g, w, out);
                    });
         }},
        {"backgroundColour",
         [&c](auto& f, auto& v, Pattern& p) { c.colour(f, v, p.backgroundColour); }},
        {"layers",
         [&c](auto& f, auto& v, Pattern& p) {
             c.list(f, v, p.layers, [&c](const std::string& g, const QJsonValue& w, Layer& l) {
                 if (!w.isObject()) {
                     c.fail(g, JsonChecker::shown(w) + " is not a layer object");
                     return;
                 }
                 c.members(g + ".", w.toObject(), layerReaders(c), l, "a layer field");
             });
         }},
        {"screenShape",
         [&c](auto& f, auto& v, Pattern& p) {
             c.enumeration(f, v, SCREEN_SHAPE_NAMES, p.screenShape);
         }},
        {"darkBorders", int32(&Pattern::darkBorders)},
        {"backgroundMode",
         [&c](auto& f, auto& v, Pattern& p) {
             c.enumeration(f, v, BACKGROUND_MODE_NAMES, p.backgroundMode);
         }},
    };
}

// "pattern 3 "Name"", or "pattern 3" when the name is not readable.
std::string patternPlace(const std::string& what, const QJsonValue& value) {
    const QJsonValue name = value.toObject().value("name");
    return name.isString() ? what + " " + quoted(name.toString().toStdString()) : what;
}

void readPatternObject(std::vector<std::string>& problems, const std::string& place,
                       const QJsonValue& value, Pattern& pattern) {
    JsonChecker c(problems, patternPlace(place, value));
    if (!value.isObject()) {
        c.fail("", JsonChecker::shown(value) + " is not a pattern object");
        return;
    }
    c.members("", value.toObject(), patternReaders(c), pattern, "a pattern field");
}

std::string parsePlace(const std::string& text, int offset) {
    int line = 1, column = 1;
    for (int i = 0; i < offset && i < static_cast<int>(text.size()); ++i) {
        if (text[static_cast<std::size_t>(i)] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

} // namespace

std::string storeToJson(const DataStore& s) {
    std::string patterns = "[";
    for (std::int32_t i = 0; i < s.count(); ++i)
        patterns += std::string(i ? ",\n" : "\n") + indent(2) + patternText(*s.patternAt(i), 2);
    patterns += s.count() ? "\n" + indent(1) + "]" : "]";
    return objectText({{"current", patternText(s.current, 1)},
                       {"patterns", patterns},
                       {"customColours", listText(s.customColours, colourText)},
                       {"reserved", listText(s.reserved, number)},
                       {"currentIndex", number(s.currentIndex)},
                       {"noTabMarks", number(s.noTabMarks)},
                       {"politeMode", number(s.politeMode)},
                       {"warnOnQuit", number(s.warnOnQuit)},
                       {"enterKeepsDialog", number(s.enterKeepsDialog)},
                       {"fullScreenMode", enumText(s.fullScreenMode, FULL_SCREEN_MODE_NAMES)}},
                      0) +
           "\n";
}

std::vector<std::string> storeFromJson(const std::string& text, DataStore& store) {
    std::vector<std::string> problems;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    if (error.error != QJsonParseError::NoError) {
        problems.push_back(parsePlace(text, error.offset) + ": " +
                           error.errorString().toStdString());
        return problems;
    }
    if (!document.isObject()) {
        problems.push_back("the text is not a JSON object");
        return problems;
    }

    DataStore built;
    built.clear();
    built.currentIndex = 0;
    for (ColourRef& colour : built.customColours)
        colour = DEFAULT_CUSTOM_COLOUR;
    std::vector<Pattern> patterns;
    JsonChecker c(problems, "");
    const auto int32 = [&c](std::int32_t DataStore::*field) {
        return [&c, field](const std::string& f, const QJsonValue& v, DataStore& s) {
            c.int32(f, v, s.*field);
        };
    };
    const Readers<DataStore> readers = {
        {"current",
         [&problems](auto&, const QJsonValue& v, DataStore& s) {
             readPatternObject(problems, "working pattern", v, s.current);
         }},
        {"patterns",
         [&c, &problems, &patterns](auto& f, const QJsonValue& v, DataStore&) {
             if (!v.isArray()) {
                 c.fail(f, JsonChecker::shown(v) + " is not a list of patterns");
                 return;
             }
             const QJsonArray array = v.toArray();
             if (array.size() > MAX_STORED_PATTERNS) {
                 c.fail(f, std::to_string(array.size()) + " patterns are more than a file holds (" +
                               std::to_string(MAX_STORED_PATTERNS) + ")");
                 return;
             }
             patterns.resize(static_cast<std::size_t>(array.size()));
             for (qsizetype i = 0; i < array.size(); ++i)
                 readPatternObject(problems, "pattern " + std::to_string(i), array[i],
                                   patterns[static_cast<std::size_t>(i)]);
         }},
        {"customColours",
         [&c](auto& f, auto& v, DataStore& s) {
             c.list(f, v, s.customColours,
                    [&c](const std::string& g, const QJsonValue& w, ColourRef& out) {
                        c.colour(g, w, out);
                    });
         }},
        {"reserved",
         [&c](auto& f, auto& v, DataStore& s) {
             c.list(f, v, s.reserved,
                    [&c](const std::string& g, const QJsonValue& w, std::int32_t& out) {
                        c.int32(g, w, out);
                    });
         }},
        {"currentIndex", int32(&DataStore::currentIndex)},
        {"noTabMarks", int32(&DataStore::noTabMarks)},
        {"politeMode", int32(&DataStore::politeMode)},
        {"warnOnQuit", int32(&DataStore::warnOnQuit)},
        {"enterKeepsDialog", int32(&DataStore::enterKeepsDialog)},
        {"fullScreenMode",
         [&c](auto& f, auto& v, DataStore& s) {
             c.enumeration(f, v, FULL_SCREEN_MODE_NAMES, s.fullScreenMode);
         }},
    };
    c.members("", document.object(), readers, built, "a key of the file");

    const auto count = static_cast<std::int32_t>(patterns.size());
    if (built.currentIndex != 0 && (built.currentIndex < 0 || built.currentIndex >= count))
        c.fail("currentIndex", std::to_string(built.currentIndex) +
                                   (count ? " is not the index of a stored pattern (0 to " +
                                                std::to_string(count - 1) + ")"
                                          : " is not 0, and there are no stored patterns"));
    if (!problems.empty())
        return problems;
    const std::int32_t currentIndex = built.currentIndex;
    for (const Pattern& p : patterns)
        built.addPattern(p);
    built.currentIndex = currentIndex;
    store = std::move(built);
    return problems;
}

} // namespace lumivane
