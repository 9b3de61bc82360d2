// A fresh folder of its own for each test of the store files, removed after
// it, and a one-pattern store to write into it.
#pragma once

#include "patterns/DataStore.h"
#include "patterns/Pattern.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace lumivane::testing {

class StoreFileFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("lumivane-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" +
                test->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    static DataStore storeNamed(const char* name) {
        DataStore store;
        Pattern pattern;
        pattern.setNameText(name);
        store.addPattern(pattern);
        return store;
    }

    std::filesystem::path dir_;
};

} // namespace lumivane::testing
