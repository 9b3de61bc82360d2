#include "Pattern.h"

#include <algorithm>
#include <cstring>

namespace lumivane {

void Pattern::makeEmpty() {
    std::fill(std::begin(amount), std::end(amount), 0);
    backgroundColour = 0x000000;
}

std::string Pattern::nameText() const {
    const char* end = static_cast<const char*>(std::memchr(name, '\0', sizeof name));
    return std::string(name, end ? end : name + sizeof name);
}

void Pattern::setNameText(const std::string& text) {
    std::memset(name, 0, sizeof name);
    std::memcpy(name, text.data(), std::min(text.size(), sizeof name - 1));
}

} // namespace lumivane
