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
#include <optional>
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

// A reader of one value by one of the checker's checks.
template <typename T>
auto checked(JsonChecker& c,
             void (JsonChecker::*check)(const std::string&, const QJsonValue&, T&)) {
    return
        [&c, check](const std::string& f, const QJsonValue& v, T& out) { (c.*check)(f, v, out); };
}

// A reader of a value one of names names (or a number).
auto enumerationOf(JsonChecker& c, NameTable names) {
    return [&c, names](const std::string& f, const QJsonValue& v, std::int32_t& out) {
        c.enumeration(f, v, names, out);
    };
}

// The reader of target.*member, by readOne.
template <typename Target, typename T, typename ReadOne>
auto field(T Target::*member, ReadOne readOne) {
    return [member, readOne](const std::string& f, const QJsonValue& v, Target& target) {
        readOne(f, v, target.*member);
    };
}

// The reader of the list target.*member, each element by readOne.
template <typename Target, typename T, std::size_t N, typename ReadOne>
auto listField(JsonChecker& c, T (Target::*member)[N], ReadOne readOne) {
    return [&c, member, readOne](const std::string& f, const QJsonValue& v, Target& target) {
        c.list(f, v, target.*member, readOne);
    };
}

// Readers for a layer, bound to one checker.
Readers<Layer> layerReaders(JsonChecker& c) {
    const auto int32 = checked(c, &JsonChecker::int32);
    return {
        {"shape", listField(c, &Layer::shape, checked(c, &JsonChecker::shape))},
        {"size", listField(c, &Layer::size, int32)},
        {"ratio", listField(c, &Layer::ratio, int32)},
        {"animate", listField(c, &Layer::animate, int32)},
        {"angleMode", listField(c, &Layer::angleMode, enumerationOf(c, ANGLE_MODE_NAMES))},
        {"colour", listField(c, &Layer::colour, checked(c, &JsonChecker::colour))},
        {"colourMode", listField(c, &Layer::colourMode, enumerationOf(c, COLOUR_MODE_NAMES))},
        {"sizeMode", listField(c, &Layer::sizeMode, enumerationOf(c, SIZE_MODE_NAMES))},
        {"border", listField(c, &Layer::border, checked(c, &JsonChecker::byte))},
    };
}

void readLayerObject(JsonChecker& c, const std::string& field, const QJsonValue& value,
                     Layer& layer) {
    if (!value.isObject()) {
        c.fail(field, JsonChecker::shown(value) + " is not a layer object");
        return;
    }
    c.members(field + ".", value.toObject(), layerReaders(c), layer, "a layer field");
}

Readers<Pattern> patternReaders(JsonChecker& c) {
    const auto int32 = checked(c, &JsonChecker::int32);
    const auto layer = [&c](const std::string& f, const QJsonValue& v, Layer& l) {
        readLayerObject(c, f, v, l);
    };
    return {
        {"name", [&c](auto&, const QJsonValue& v, Pattern& p) { c.name(v, p); }},
        {"symmetry", field(&Pattern::symmetry, int32)},
        {"resetTime", field(&Pattern::resetTime, int32)},
        {"rotation", field(&Pattern::rotation, int32)},
        {"speed", field(&Pattern::speed, int32)},
        {"imageSize", field(&Pattern::imageSize, int32)},
        {"balance", field(&Pattern::balance, int32)},
        {"animationLevel", field(&Pattern::animationLevel, int32)},
        {"amount", listField(c, &Pattern::amount, int32)},
        {"backgroundColour", field(&Pattern::backgroundColour, checked(c, &JsonChecker::colour))},
        {"layers", listField(c, &Pattern::layers, layer)},
        {"screenShape", field(&Pattern::screenShape, enumerationOf(c, SCREEN_SHAPE_NAMES))},
        {"darkBorders", field(&Pattern::darkBorders, int32)},
        {"backgroundMode",
         field(&Pattern::backgroundMode, enumerationOf(c, BACKGROUND_MODE_NAMES))},
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

// The text as a JSON object; nothing, with the problem noted, when it is not one.
std::optional<QJsonObject> parseObject(const std::string& text,
                                       std::vector<std::string>& problems) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    if (error.error != QJsonParseError::NoError) {
        problems.push_back(parsePlace(text, error.offset) + ": " +
                           error.errorString().toStdString());
        return std::nullopt;
    }
    if (!document.isObject()) {
        problems.push_back("the text is not a JSON object");
        return std::nullopt;
    }
    return document.object();
}

// An empty store with the values start-up gives one before a file is read:
// what a key the text leaves out keeps.
DataStore storeAtStartValues() {
    DataStore store;
    store.clear();
    store.currentIndex = 0;
    for (ColourRef& colour : store.customColours)
        colour = DEFAULT_CUSTOM_COLOUR;
    return store;
}

// The stored patterns, each a pattern object, into patterns.
void readPatternList(JsonChecker& c, std::vector<std::string>& problems, const std::string& field,
                     const QJsonValue& value, std::vector<Pattern>& patterns) {
    if (!value.isArray()) {
        c.fail(field, JsonChecker::shown(value) + " is not a list of patterns");
        return;
    }
    const QJsonArray array = value.toArray();
    if (array.size() > MAX_STORED_PATTERNS) {
        c.fail(field, std::to_string(array.size()) + " patterns are more than a file holds (" +
                          std::to_string(MAX_STORED_PATTERNS) + ")");
        return;
    }
    patterns.resize(static_cast<std::size_t>(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i)
        readPatternObject(problems, "pattern " + std::to_string(i), array[i],
                          patterns[static_cast<std::size_t>(i)]);
}

// Readers for the keys of a whole store; the stored patterns go to patterns.
Readers<DataStore> storeReaders(JsonChecker& c, std::vector<std::string>& problems,
                                std::vector<Pattern>& patterns) {
    const auto int32 = checked(c, &JsonChecker::int32);
    return {
        {"current",
         [&problems](auto&, const QJsonValue& v, DataStore& s) {
             readPatternObject(problems, "working pattern", v, s.current);
         }},
        {"patterns",
         [&c, &problems, &patterns](auto& f, const QJsonValue& v, DataStore&) {
             readPatternList(c, problems, f, v, patterns);
         }},
        {"customColours",
         listField(c, &DataStore::customColours, checked(c, &JsonChecker::colour))},
        {"reserved", listField(c, &DataStore::reserved, int32)},
        {"currentIndex", field(&DataStore::currentIndex, int32)},
        {"noTabMarks", field(&DataStore::noTabMarks, int32)},
        {"politeMode", field(&DataStore::politeMode, int32)},
        {"warnOnQuit", field(&DataStore::warnOnQuit, int32)},
        {"enterKeepsDialog", field(&DataStore::enterKeepsDialog, int32)},
        {"fullScreenMode",
         field(&DataStore::fullScreenMode, enumerationOf(c, FULL_SCREEN_MODE_NAMES))},
    };
}

// The selection must name a stored pattern, or be 0.
void checkCurrentIndex(JsonChecker& c, std::int32_t currentIndex, std::size_t patternCount) {
    const auto count = static_cast<std::int32_t>(patternCount);
    if (currentIndex == 0 || (currentIndex > 0 && currentIndex < count))
        return;
    c.fail("currentIndex",
           std::to_string(currentIndex) + (count ? " is not the index of a stored pattern (0 to " +
                                                       std::to_string(count - 1) + ")"
                                                 : " is not 0, and there are no stored patterns"));
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
    const std::optional<QJsonObject> object = parseObject(text, problems);
    if (!object)
        return problems;
    DataStore built = storeAtStartValues();
    std::vector<Pattern> patterns;
    JsonChecker c(problems, "");
    c.members("", *object, storeReaders(c, problems, patterns), built, "a key of the file");
    checkCurrentIndex(c, built.currentIndex, patterns.size());
    if (!problems.empty())
        return problems;
    // The selection as written; adding the patterns moves it.
    const std::int32_t currentIndex = built.currentIndex;
    for (const Pattern& p : patterns)
        built.addPattern(p);
    built.currentIndex = currentIndex;
    store = std::move(built);
    return problems;
}

} // namespace lumivane
