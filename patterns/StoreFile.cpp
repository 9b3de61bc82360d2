#include "StoreFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define LUMIVANE_HAVE_FSYNC 1
#endif

namespace lumivane {
namespace {

// Store files are small (380 bytes a pattern); anything far beyond the largest
// sensible bank is not read into memory.
constexpr long MAX_STORE_FILE_BYTES = 64L * 1024 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

StoreFileError errorFor(const std::string& what, const std::string& path) {
    return StoreFileError(what + " " + path + ": " + std::strerror(errno));
}

std::vector<std::uint8_t> readWholeFile(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw errorFor("cannot open", path);
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (bytes.size() > static_cast<std::size_t>(MAX_STORE_FILE_BYTES))
            throw StoreFileError("file too large: " + path);
    }
    if (std::ferror(file.get()))
        throw errorFor("cannot read", path);
    return bytes;
}

void writeAndFlush(std::FILE* file, const std::vector<std::uint8_t>& bytes,
                   const std::string& path) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0)
        throw errorFor("cannot write", path);
#ifdef LUMIVANE_HAVE_FSYNC
    if (fsync(fileno(file)) != 0)
        throw errorFor("cannot flush", path);
#endif
}

} // namespace

void loadStoreFile(const std::string& path, DataStore& store) {
    Archive archive = Archive::forLoading(readWholeFile(path));
    store.serialize(archive);
}

void saveStoreFile(const std::string& path, const DataStore& store) {
    Archive archive = Archive::forStoring();
    const_cast<DataStore&>(store).serialize(archive); // storing never modifies

    const std::string temporary = path + ".tmp";
    FilePtr file(std::fopen(temporary.c_str(), "wb"));
    if (!file)
        throw errorFor("cannot create", temporary);
    try {
        writeAndFlush(file.get(), archive.bytes(), temporary);
    } catch (...) {
        file.reset();
        std::remove(temporary.c_str());
        throw;
    }
    if (std::fclose(file.release()) != 0) {
        std::remove(temporary.c_str());
        throw errorFor("cannot close", temporary);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw errorFor("cannot replace", path);
    }
}

} // namespace lumivane
