#include "Archive.h"

#include <cstring>

namespace lumivane {

void Archive::writeBytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + n);
}

void Archive::writeWord(std::uint32_t word) {
    const std::uint8_t le[4] = {
        static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(word >> 8),
        static_cast<std::uint8_t>(word >> 16), static_cast<std::uint8_t>(word >> 24)};
    writeBytes(le, sizeof le);
}

void Archive::readBytes(void* data, std::size_t n) {
    if (n > remaining())
        throw StoreFileError("the file ends early");
    std::memcpy(data, bytes_.data() + position_, n);
    position_ += n;
}

std::uint32_t Archive::readWord() {
    std::uint8_t le[4];
    readBytes(le, sizeof le);
    return std::uint32_t(le[0]) | std::uint32_t(le[1]) << 8 | std::uint32_t(le[2]) << 16 |
           std::uint32_t(le[3]) << 24;
}

} // namespace lumivane
