#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <string_view>

#include "settings/settings_file.h"
#include "support/test_files.h"

namespace tavlo::test {

// Settings read from real files written into the test's own temporary folder.
class SettingsTest : public ::testing::Test {
protected:
    // Writes `bytes` as a settings file and reads it into the settings.
    bool ReadText(std::string_view bytes, std::string_view name = "tavlo.CFG") {
        const std::string path = dir_.File(name);
        WriteFile(path, bytes);
        return ReadConfigFile(path, settings_);
    }

    const std::deque<SettingsEntry>& Entries() const { return settings_.Entries(); }

    // The value of an entry that must exist, for readable failures when it does not.
    std::string ValueOf(std::string_view section, std::string_view key) const {
        const SettingsEntry* entry = settings_.FindConfigEntry(section, key);
        if (entry == nullptr) {
            ADD_FAILURE() << "no entry [" << section << "] " << key;
            return "<missing>";
        }
        return entry->value;
    }

    Settings settings_;
    TempDir dir_;
};

}  // namespace tavlo::test
