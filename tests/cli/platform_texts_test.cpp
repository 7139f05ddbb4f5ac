// The texts a user reads about places and programs (the help page the window carries, and
// tavlo-cli --help) name this platform's, and none of the other's: one source, its platform
// parts chosen at build time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/embedded_resources.h"
#include "support/cli_test_support.h"

namespace tavlo::test {
namespace {

#ifdef _WIN32
const std::vector<std::string> kThisPlatform = {"%APPDATA%\\Tavlo"};
const std::vector<std::string> kOtherPlatform = {"VISUAL",  "BROWSER",      "~/",
                                                 ".config", ".local/share", "tavlo-cli(1)"};
#else
const std::vector<std::string> kThisPlatform = {"~/.config/tavlo/tavlo.cfg"};
const std::vector<std::string> kOtherPlatform = {"%APPDATA%", "%LOCALAPPDATA%", "Notepad", ".msi",
                                                 ".exe"};
#endif

TEST(PlatformTexts, NameThisPlatformsPlacesAndNoneOfTheOthers) {
    const auto page = FindResource("INDEX.HTM", "23");
    ASSERT_TRUE(page);
    const ProcessResult help = RunCli({"--help"});
    ASSERT_EQ(help.exitCode, 0);
    const struct {
        const char* name;
        std::string text;
    } texts[] = {{"the help page", std::string(page->begin(), page->end())},
                 {"tavlo-cli --help", help.out}};
    for (const auto& text : texts) {
        SCOPED_TRACE(text.name);
        for (const std::string& place : kThisPlatform) {
            EXPECT_NE(text.text.find(place), std::string::npos) << place;
        }
        for (const std::string& word : kOtherPlatform) {
            EXPECT_EQ(text.text.find(word), std::string::npos) << word;
        }
    }
}

}  // namespace
}  // namespace tavlo::test
