#include "BankFile.h"

#include "StoreFile.h"

namespace lumivane {

std::string loadBank(const std::string& path, DataStore& bank, std::string* reason,
                     FileSeen* seen) {
    bank.deleteAll();
    try {
        loadStoreFile(path, bank, seen);
    } catch (const StoreFileError& error) {
        if (reason != nullptr)
            *reason = error.reason();
        return STORE_FILE_ERROR_TEXT;
    }
    return refusalText(bank.loadStatus());
}

} // namespace lumivane
