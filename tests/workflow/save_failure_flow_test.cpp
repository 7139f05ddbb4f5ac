// A save that fails when the window asks to save: its message is shown over the window, and the
// window stays with the patch pending, for Exit and for a second Search alike.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/firmware_image.h"
#include "support/test_files.h"
#include "workflow/desktop_services.h"
#include "workflow/main_window_flow.h"
#include "workflow/patch_step.h"

namespace tavlo::test {
namespace {

using namespace std::string_literals;

class FakeView : public MainWindowView {
public:
    std::string FieldText(MainField field) const override {
        return field == MainField::FileName ? fileName : "WARNING";
    }
    void SetFieldText(MainField, std::string_view) override {}
    void SetSearchWords(const std::vector<std::string>&) override {}
    void SetWelcome(std::string_view) override {}
    void FocusField(MainField) override {}
    void Close() override { closed = true; }
    void ShowPatchPending(bool pending) override { patchPending = pending; }

    std::string fileName;
    bool closed = false;
    bool patchPending = false;
};

// Answers Yes to saving, records the messages.
class FakeDesktop : public DesktopServices {
public:
    void ShowMessage(std::string_view title, std::string_view text, MessageIcon) override {
        messages.push_back(std::string(title) + "|" + std::string(text));
    }
    bool AskYesNo(std::string_view, std::string_view) override { return true; }
    bool AskYesNoDefaultNo(std::string_view, std::string_view) override { return false; }
    YesNoCancel AskYesNoCancel(std::string_view, std::string_view) override {
        return YesNoCancel::Yes;
    }
    std::optional<std::string> GetOpenFileName(std::string_view, std::span<const FileFilter>,
                                               std::string_view) override {
        return std::nullopt;
    }

    std::vector<std::string> messages;
};

class AcceptEveryMatch : public PatchConfirmer {
public:
    Answer Confirm(PatchRequest& request) override {
        request.newText = "Terry N. Owner";
        return Answer::Ok;
    }
};

TEST(SaveFailureInTheWindow, KeepsTheWindowAndThePatchForExitAndSearch) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "gone");
    const std::string file = dir.File("gone/unit.rgn");
    WriteFile(file, "head\0WARNING: do not remove\0tail"s);
    FakeView view;
    view.fileName = file;
    FakeDesktop desktop;
    AcceptEveryMatch confirmer;
    FirmwareImage image;
    MainWindowFlow flow(dir.File("tavlo"), view, desktop, confirmer);
    flow.SetImage(&image);
    flow.Search();
    ASSERT_TRUE(image.IsModified());
    std::filesystem::remove_all(dir.Path() / "gone");  // nowhere to save to

    for (const char* command : {"Exit", "Search"}) {
        SCOPED_TRACE(command);
        desktop.messages.clear();
        std::string(command) == "Exit" ? flow.Exit() : flow.Search();
        ASSERT_EQ(desktop.messages.size(), 1u);
        EXPECT_EQ(desktop.messages[0].rfind("Tavlo|Open for write failed\nCould not write '", 0),
                  0u)
            << desktop.messages[0];
        EXPECT_FALSE(view.closed);
        EXPECT_TRUE(view.patchPending);
        EXPECT_TRUE(image.IsModified());
    }
}

}  // namespace
}  // namespace tavlo::test
