// A save that fails when the window asks to save: its message is shown over the window, and the
// window stays with the patch pending, for Exit and for a second Search alike.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fakes.h"

namespace tavlo::test {
namespace {

TEST(SaveFailureInTheWindow, KeepsTheWindowAndThePatchForExitAndSearch) {
    WindowSession s;
    std::filesystem::create_directory(s.Path("gone"));
    WriteFile(s.Path("gone/unit.rgn"), TwoMessageFirmware());
    s.flow.Start();
    s.window.fileName = s.Path("gone/unit.rgn");
    s.window.searchText = "WARNING";
    s.confirmer.replies = {{Answer::Ok, "Mine"}};
    s.flow.Search();
    ASSERT_TRUE(s.image.IsModified());
    std::filesystem::remove_all(s.Path("gone"));  // nowhere to save to

    for (const char* command : {"Exit", "Search"}) {
        SCOPED_TRACE(command);
        s.log.clear();
        s.desktop.boxes.clear();
        s.desktop.answers = {YesNoCancel::Yes};
        std::string(command) == "Exit" ? s.flow.Exit() : s.flow.Search();
        EXPECT_EQ(s.log, (EventLog{"ask Tavlo : Save changes ?", "show Tavlo"}));
        ASSERT_EQ(s.desktop.boxes.size(), 2u);
        EXPECT_EQ(s.desktop.boxes[1].text.rfind("Open for write failed\nCould not write '", 0), 0u)
            << s.desktop.boxes[1].text;
        EXPECT_FALSE(s.window.closed);
        EXPECT_TRUE(s.window.patchPending);
        EXPECT_TRUE(s.image.IsModified());
    }
}

}  // namespace
}  // namespace tavlo::test
