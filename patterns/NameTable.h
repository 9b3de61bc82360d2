// The names an enumeration's values are shown and written with, indexed by
// value (0 to count() - 1). A table is a view of an array of names that lives
// as long as the program.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace lumivane {

class NameTable {
  public:
    template <std::size_t N> constexpr NameTable(const char* const (&names)[N]) : names_(names) {}
    constexpr explicit NameTable(std::span<const char* const> names) : names_(names) {}

    constexpr int count() const { return static_cast<int>(names_.size()); }
    // The name of value; nullptr for a value outside the table.
    constexpr const char* name(int value) const {
        return value >= 0 && value < count() ? names_[static_cast<std::size_t>(value)] : nullptr;
    }
    // The value named exactly text (case counts); nothing when none is.
    constexpr std::optional<int> value(std::string_view text) const {
        for (int i = 0; i < count(); ++i)
            if (text == names_[static_cast<std::size_t>(i)])
                return i;
        return std::nullopt;
    }

    constexpr auto begin() const { return names_.begin(); }
    constexpr auto end() const { return names_.end(); }

  private:
    std::span<const char* const> names_;
};

} // namespace lumivane
