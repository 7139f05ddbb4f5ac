#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_file.h"
#include "support/test_files.h"

namespace tavlo::test {

// The store is process-wide: every test starts and ends with it empty, and reads real files
// written into its own temporary folder.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { FreeConfig(); }
    void TearDown() override { FreeConfig(); }

    // Writes `bytes` as a settings file and reads it into the store.
    bool ReadText(std::string_view bytes, std::string_view name = "tavlo.CFG") {
        const std::string path = dir_.File(name);
        WriteFile(path, bytes);
        return ReadConfigFile(path);
    }

    static const std::vector<SettingsEntry>& Entries() {
        return SettingsFile::Instance().Entries();
    }

    // The value of an entry that must exist, for readable failures when it does not.
    static std::string ValueOf(std::string_view section, std::string_view key) {
        const SettingsEntry* entry = FindConfigEntry(section, key);
        if (entry == nullptr) {
            ADD_FAILURE() << "no entry [" << section << "] " << key;
            return "<missing>";
        }
        return entry->value;
    }

    TempDir dir_;
};

}  // namespace tavlo::test
