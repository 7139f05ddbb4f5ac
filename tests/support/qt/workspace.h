#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/firmware_image.h"
#include "qt/main_dialog.h"
#include "support/qt/scripted_services.h"
#include "support/test_files.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tavlo::test {

// A fresh folder that holds the program ("tavlo", so its settings file is tavlo.cfg) and is the
// current directory while the object lives.
class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    std::string ProgramPath() const { return File("tavlo"); }
    std::string File(std::string_view name) const { return folder_.File(name); }
    const std::filesystem::path& Folder() const { return folder_.Path(); }

    // Whole-file helpers; false or nothing when the file system fails.
    bool Write(std::string_view name, std::string_view bytes) const;
    std::optional<std::string> Read(std::string_view name) const;
    bool WriteSettings(std::string_view text) const { return Write("tavlo.cfg", text); }
    static std::optional<std::string> ReadFrom(const std::string& path);

private:
    TempDir folder_;
    std::filesystem::path previous_;
};

// Firmware bytes with the message twice: "WARNING: ..." inside the second string, after two
// other bytes, and "WARNING ..." in the fourth. The file does not start with the text.
std::string TwoMessageFirmware();

// The main dialog over scripted services and a fresh image, shown as the application shows it
// (its initialisation has run).
class DialogUnderTest {
public:
    // `startupFile`: the file the program was started with, if any.
    explicit DialogUnderTest(const std::string& programPath,
                             std::optional<std::string> startupFile = std::nullopt);
    ~DialogUnderTest();

    MainDialog& Dialog() { return *dialog_; }
    QLineEdit* FileField() const;
    QComboBox* SearchBox() const;
    QPushButton* Button(int id) const;

    void Click(int id);  // a real mouse click on the push button with this id
    void SetFileField(const std::string& windows1252);
    void SetSearchText(const std::string& windows1252);

    ScriptedUi ui;
    ScriptedConfirmer confirmer;
    FirmwareImage image;

private:
    std::unique_ptr<MainDialog> dialog_;
};

}  // namespace tavlo::test
