#pragma once

#include <QDialog>
#include <QIcon>
#include <optional>
#include <string>

#include "qt/dialog_builder.h"

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
// start-up to the end of the program.
class MainDialog : public QDialog {
    Q_OBJECT
public:
    // `programPath`: argument zero as the program was started; it locates the settings file and
    // names the program in messages. Message boxes, the file dialog and the question on Exit go
    // through `ui`; each match is confirmed through `confirmer`.
    MainDialog(std::string programPath, UiServices& ui, PatchConfirmer& confirmer,
               QWidget* parent = nullptr);
    ~MainDialog() override;

    // Re-reads the settings file and puts the start-up file name and search text into the fields,
    // replacing what the user had typed there.
    void ApplySettings();

    // The exchange between the members and the fields. Reading (true) checks each text against
    // 128 characters; a longer one is reported, gets the focus and ends the exchange there
    // (false). Showing (false) puts the members into the fields.
    bool UpdateData(bool readFields);

    // The commands.
    void OnBrowse();
    void OnSearch();
    void OnExit();
    void ShowAbout();
    virtual void OnViewHelp();
    virtual void OnEditSettings();

    // The browser and the editor that View help and Edit settings start go through `starter`
    // (the desktop's own unless another is given).
    void SetProgramStarter(ProgramStarter& starter) { starter_ = &starter; }

    // Initialisation happens once, as the window is first shown.
    void setVisible(bool visible) override;

    // The dialog's data, as its commands use it.
    FirmwareImage* m_image = nullptr;           // not owned; set before the dialog is shown
    std::optional<std::string> m_settingsPath;  // the settings file read last, if any
    QComboBox* m_searchList = nullptr;          // control 1005
    std::string m_fileName;                     // control 1000
    std::string m_searchText;                   // the edit part of control 1005
    std::string m_welcome;                      // control 1012
    QIcon m_icon;                               // icon 129

protected:
    virtual void OnInitDialog();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ShowMessage(std::string_view title, std::string_view text);
    void ReportTooLong(QWidget* field);
    void ReportUnusableFileName();
    // Puts a chosen or dropped file's path into m_fileName; false (after a message) when the
    // path cannot be field text.
    bool TakeFilePath(const QString& path);
    bool HandleFileDrop(QEvent* event);

    std::string programPath_;
    std::string applicationName_;  // the program file's name without extension
    UiServices& ui_;
    PatchConfirmer& confirmer_;
    ProgramStarter* starter_;
    bool initialised_ = false;
    DialogControls controls_;
    QLineEdit* fileNameField_ = nullptr;
    QLabel* welcomeLine_ = nullptr;
    TypingLimit* fileNameLimit_ = nullptr;
};

}  // namespace tavlo
