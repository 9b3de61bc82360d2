// Reading JSON with every problem reported: the checks of one part of a
// file, each problem a line naming the place and the field.
#pragma once

#include "patterns/NameTable.h"
#include "patterns/Pattern.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumivane {

// utf8 as a JSON string, controls (C1 ones included) escaped.
std::string quoted(std::string_view utf8);

template <typename Target>
using Readers = std::vector<
    std::pair<const char*, std::function<void(const std::string&, const QJsonValue&, Target&)>>>;

// Collects the problems of one part of the file ("pattern 3 "Name"").
class JsonChecker {
  public:
    JsonChecker(std::vector<std::string>& problems, std::string where)
        : problems_(problems), where_(std::move(where)) {}

    // The value as it was written, for messages.
    static std::string shown(const QJsonValue& value);
    // "\"a\", \"b\" or \"c\"".
    static std::string alternatives(NameTable names);

    void fail(const std::string& field, const std::string& problem);

    // A whole number in lo..hi.
    bool whole(const std::string& field, const QJsonValue& v, double lo, double hi,
               std::int64_t& out);

    void int32(const std::string& field, const QJsonValue& v, std::int32_t& out);

    void byte(const std::string& field, const QJsonValue& v, std::uint8_t& out);

    void enumeration(const std::string& field, const QJsonValue& v, NameTable names,
                     std::int32_t& out);

    void shape(const std::string& field, const QJsonValue& v, std::int32_t& out);

    void colour(const std::string& field, const QJsonValue& v, ColourRef& out);

    void name(const QJsonValue& v, Pattern& p);

    // A list of exactly N values, each read by readOne(field[i], value, element).
    template <typename T, std::size_t N, typename F>
    void list(const std::string& field, const QJsonValue& v, T (&values)[N], F readOne) {
        if (!v.isArray() || v.toArray().size() != static_cast<qsizetype>(N)) {
            fail(field, shown(v) + " is not a list of " + std::to_string(N) + " values");
            return;
        }
        const QJsonArray array = v.toArray();
        for (std::size_t i = 0; i < N; ++i)
            readOne(field + "[" + std::to_string(i) + "]", array[static_cast<qsizetype>(i)],
                    values[i]);
    }

    // Runs the reader of each key of object; unknown keys are problems.
    template <typename Target>
    void members(const std::string& prefix, const QJsonObject& object,
                 const Readers<Target>& readers, Target& target, const char* kind) {
        for (auto it = object.begin(); it != object.end(); ++it) {
            const std::string key = it.key().toStdString();
            bool known = false;
            for (const auto& [name, read] : readers)
                if (key == name) {
                    read(prefix + key, it.value(), target);
                    known = true;
                }
            if (!known)
                fail(prefix.empty() ? std::string() : prefix.substr(0, prefix.size() - 1),
                     quoted(key) + " is not " + kind);
        }
    }

  private:
    std::vector<std::string>& problems_;
    std::string where_;
};

} // namespace lumivane
