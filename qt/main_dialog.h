#pragma once

#include <QDialog>
#include <QIcon>
#include <optional>
#include <string>

#include "qt/dialog_builder.h"
#include "qt/patch_dialog.h"
#include "workflow/main_window_flow.h"
#include "workflow/main_window_keys.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tavlo {

class DesktopPrograms;
class FirmwareImage;
class QtDesktopServices;
class TypingLimit;

// The program's one window: the firmware file to patch, the start of the message to search for,
// and the commands Browse, Search, View help, Edit settings and Exit. What the commands do is
// the main window's flow; this dialog shows its fields, passes the buttons on, and owns the
// message boxes and dialogs the flow opens.
class MainDialog : public QDialog, public MainWindowView {
    Q_OBJECT
public:
    // `programPath`: argument zero as the program was started; it locates the settings file and
    // names the program in messages. The commands work on `image`; message boxes, the file
    // dialog and the questions are `desktop`'s, which the dialog makes their owner; View help
    // and Edit settings start `programs`.
    MainDialog(std::string programPath, FirmwareImage& image, QtDesktopServices& desktop,
               DesktopPrograms& programs);
    ~MainDialog() override;

    // The file the program was started with, if any; it fills the file-name field at start-up.
    void SetStartupFile(std::optional<std::string> nativePath) {
        flow_.SetStartupFile(std::move(nativePath));
    }

    // Initialisation happens once, as the window is first shown.
    void setVisible(bool visible) override;

    // The window as the flow sees it.
    std::string FieldText(MainField field) const override;
    void SetFieldText(MainField field, std::string_view text) override;
    void SetSearchWords(const std::vector<std::string>& words) override;
    void SetWelcome(std::string_view text) override;
    void FocusField(MainField field) override;
    void Close() override;
    void ShowPatchPending(bool pending) override;

    // Escape, the close box and Alt+F4 leave the way Exit does: a pending patch is asked about.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ConnectCommands();
    void ExplainRefusedCharacters();
    void ShowAbout();
    bool HandleFileDrop(QEvent* event);

    QtDesktopServices& desktop_;
    DesktopPrograms& programs_;
    DialogPatchConfirmer confirmer_;
    MainWindowFlow flow_;
    bool initialised_ = false;
    DialogControls controls_;
    QComboBox* searchList_ = nullptr;  // control 1005
    QLineEdit* fileNameField_ = nullptr;
    QLabel* welcomeLine_ = nullptr;
    TypingLimit* fileNameLimit_ = nullptr;
    TypingLimit* searchTextLimit_ = nullptr;
};

}  // namespace tavlo
