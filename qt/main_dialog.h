#pragma once

#include <QDialog>
#include <QIcon>
#include <optional>
#include <string>

#include "qt/dialog_builder.h"
#include "qt/qt_desktop_programs.h"
#include "qt/qt_desktop_services.h"
#include "workflow/main_window_flow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QMimeData;

namespace tavlo {

class FirmwareImage;
class PatchConfirmer;
class ProgramStarter;
class TypingLimit;
class UiServices;

// The program's one window: the firmware file to patch, the start of the message to search for,
// and the commands Browse, Search, View help, Edit settings and Exit. It runs modally from
// start-up to the end of the program. What the commands do is the main window's flow; the
// dialog shows its fields and passes the buttons on.
class MainDialog : public QDialog, public MainWindowView {
    Q_OBJECT
public:
    // `programPath`: argument zero as the program was started; it locates the settings file and
    // names the program in messages. Message boxes, the file dialog and the question on Exit go
    // through `ui`; each match is confirmed through `confirmer`.
    MainDialog(std::string programPath, UiServices& ui, PatchConfirmer& confirmer,
               QWidget* parent = nullptr);
    ~MainDialog() override;

    // The firmware image the commands work on (not owned); set before the dialog is shown.
    void SetImage(FirmwareImage* image) { flow_.SetImage(image); }
    // The file the program was started with, if any; it fills the file-name field at start-up.
    void SetStartupFile(std::optional<std::string> nativePath) {
        flow_.SetStartupFile(std::move(nativePath));
    }

    void ApplySettings() { flow_.ApplySettings(); }
    // Reading (true) takes the fields over, checking each against 128 characters; showing
    // (false) puts the texts into the fields.
    bool UpdateData(bool readFields);

    // The commands.
    void OnBrowse() { flow_.Browse(); }
    void OnSearch() { flow_.Search(); }
    void OnExit() { flow_.Exit(); }
    void ShowAbout();
    virtual void OnViewHelp();
    virtual void OnEditSettings();

    // The browser and the editor that View help and Edit settings start go through `starter`
    // (the desktop's own unless another is given).
    void SetProgramStarter(ProgramStarter& starter) { programs_.SetStarter(starter); }

    // Initialisation happens once, as the window is first shown.
    void setVisible(bool visible) override;

    // The texts of the flow, Windows-1252.
    const std::string& FileName() const { return flow_.FileName(); }
    const std::string& SearchText() const { return flow_.SearchText(); }
    const std::string& Welcome() const { return flow_.Welcome(); }
    const std::optional<std::string>& SettingsPath() const { return flow_.SettingsPath(); }

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
    virtual void OnInitDialog();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool HandleFileDrop(QEvent* event);

    UiServices& ui_;
    QtDesktopServices desktop_;
    MainWindowFlow flow_;
    QtDesktopPrograms programs_;
    bool initialised_ = false;
    DialogControls controls_;
    QIcon icon_;                       // icon 129
    QComboBox* searchList_ = nullptr;  // control 1005
    QLineEdit* fileNameField_ = nullptr;
    QLabel* welcomeLine_ = nullptr;
    TypingLimit* fileNameLimit_ = nullptr;
};

}  // namespace tavlo
