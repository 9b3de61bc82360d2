// A binary archive over a byte buffer, in storing or loading mode. Integers are
// little-endian whatever the host. Running past the end while loading throws
// StoreFileError, which callers treat as an unreadable file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumivane {

class StoreFileError : public std::runtime_error {
  public:
    // reason is what went wrong in a few words ("No such file or directory",
    // "the file ends early"); the message defaults to it.
    explicit StoreFileError(const std::string& reason, const std::string& message = {})
        : std::runtime_error(message.empty() ? reason : message), reason_(reason) {}
    const std::string& reason() const { return reason_; }

  private:
    std::string reason_;
};

class Archive {
  public:
    static Archive forStoring() { return Archive(true, {}); }
    static Archive forLoading(std::vector<std::uint8_t> bytes) {
        return Archive(false, std::move(bytes));
    }

    bool isStoring() const { return storing_; }
    // Room for n bytes in all, so that a large store is written without copies.
    void reserve(std::size_t n) { bytes_.reserve(n); }

    void writeBytes(const void* data, std::size_t n);
    void writeWord(std::uint32_t word);
    void writeInt(std::int32_t value) { writeWord(static_cast<std::uint32_t>(value)); }

    // Reads exactly n bytes or throws.
    void readBytes(void* data, std::size_t n);
    std::uint32_t readWord();
    std::int32_t readInt() { return static_cast<std::int32_t>(readWord()); }

    std::size_t remaining() const { return bytes_.size() - position_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

  private:
    Archive(bool storing, std::vector<std::uint8_t> bytes)
        : storing_(storing), bytes_(std::move(bytes)) {}

    bool storing_;
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace lumivane
