#include "app/main_dialog.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "app/about_dialog.h"
#include "app/clickable_icon.h"
#include "app/file_names.h"
#include "app/help_viewer.h"
#include "app/main_dialog_template.h"
#include "app/program_icon.h"
#include "app/program_starter.h"
#include "app/settings_editor.h"
#include "app/text_boundary.h"
#include "app/typing_limit.h"
#include "app/ui_services.h"
#include "app/version_info.h"
#include "core/firmware_image.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/startup_values.h"

namespace tavlo {

namespace {

constexpr int kMaxFieldLength = 128;

constexpr const char* kTooLongText = "Please enter no more than 128 characters.";

constexpr const char* kLoadFailedTitle = "Tavlo : Could not load file to patch";
constexpr const char* kLoadFailedBefore = "The specified file '";
constexpr const char* kLoadFailedAfter =
    "' could not be opened.\n\nPlease verify that the file exists.\n"
    "Use the [Browse ...] button to browse for files.";

constexpr const char* kNothingTitle = "Tavlo : Nothing to search for";
constexpr const char* kNothingText =
    "Please enter the start of the message you\nwant to patch into the 'search for' field.\n\n"
    "You left this field empty - Tavlo needs to\nknow what to search for.\n\n"
    "(Example: 'WARNING')\n";

constexpr const char* kNotFoundTitle = "Tavlo : Search text not found";
constexpr const char* kNotFoundText =
    "The text to be patched could not be found.\n\n"
    "Note that the search string is case sensitive.\n\n"
    "Make sure it is spelled correctly and that you\n"
    "got the right firmware file - in a file that has\n"
    "already been patched, the original text will not\n"
    "be found any more !";

constexpr const char* kSaveTitle = "Tavlo : Save changes ?";
constexpr const char* kSaveBefore =
    "The firmware file in memory has been patched successfully.\n"
    "If you click YES, your changes will be saved to the file \n'";
constexpr const char* kSaveAfter =
    "'\n\nA backup of this file is created with a .BAK extension.\n\n"
    "Select NO to exit without saving your changes.";

// Asked when the file on disk is no longer the one Search read (another program changed or
// replaced it); No is the default.
constexpr const char* kChangedTitle = "Tavlo : File changed on disk";
constexpr const char* kChangedBefore = "The file\n'";
constexpr const char* kChangedAfter =
    "'\nhas been changed or replaced on disk since Tavlo read it.\n\n"
    "If you click YES, it is overwritten with the patched firmware;\n"
    "what is on disk now is kept as the backup with a .BAK extension.\n\n"
    "Select NO to leave the file as it is. The patched firmware stays\n"
    "in memory: Exit asks again.";

// A path that the file system has but Windows-1252 cannot spell (a name in Greek, say) cannot
// be put into the field without changing it.
constexpr const char* kUnusableNameTitle = "Tavlo : Unsupported file name";
constexpr const char* kUnusableNameText =
    "The name of the chosen file holds characters that Tavlo cannot handle:\n"
    "Tavlo works with Western European (Windows-1252) names only.\n\n"
    "Please rename the file, or copy it to a folder whose name\n"
    "holds only such characters, and choose it again.";

constexpr const char* kWelcomeBefore = "Welcome to Tavlo, the firmware patch program (Version ";

// The program file's name without its extension, as the title of boxes without one.
std::string ApplicationName(const std::string& programPath) {
    const std::string stem = std::filesystem::path(programPath).stem().string();
    return FieldTextOfPath(stem).value_or(stem);
}

// The five search words, each once, in byte order: the list is sorted.
std::vector<std::string> SortedSearchWords() {
    std::vector<std::string> words(std::begin(kSearchWords), std::end(kSearchWords));
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    return words;
}

// The local file that a drag carries, if it carries exactly one.
std::optional<QString> DroppedFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return std::nullopt;
    }
    const QUrl url = data->urls().first();
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile()) {
        return std::nullopt;
    }
    return url.toLocalFile();
}

}  // namespace

MainDialog::MainDialog(std::string programPath, UiServices& ui, PatchConfirmer& confirmer,
                       QWidget* parent)
    : QDialog(parent),
      m_icon(ProgramIcon()),
      programPath_(std::move(programPath)),
      applicationName_(ApplicationName(programPath_)),
      ui_(ui),
      confirmer_(confirmer),
      starter_(&DesktopProgramStarter()),
      controls_(BuildDialog(*this, kMainDialogTemplate, ProgramIcon())) {
    m_searchList = controls_.Get<QComboBox>(kIdSearchText);
    fileNameField_ = controls_.Get<QLineEdit>(kIdFileName);
    welcomeLine_ = controls_.Get<QLabel>(kIdWelcome);
    fileNameLimit_ = fileNameField_->findChild<TypingLimit*>();

    connect(controls_.Get<ClickableIcon>(kIdIcon), &ClickableIcon::clicked, this,
            &MainDialog::ShowAbout);
    const auto onClick = [this](int id, void (MainDialog::*command)()) {
        connect(controls_.Get<QPushButton>(id), &QPushButton::clicked, this,
                [this, command] { (this->*command)(); });
    };
    onClick(kIdBrowse, &MainDialog::OnBrowse);
    onClick(kIdSearch, &MainDialog::OnSearch);
    onClick(kIdViewHelp, &MainDialog::OnViewHelp);
    onClick(kIdEditSettings, &MainDialog::OnEditSettings);
    onClick(kIdExit, &MainDialog::OnExit);

    // Say why a typed character did not arrive.
    for (QWidget* field :
         {static_cast<QWidget*>(fileNameField_), static_cast<QWidget*>(m_searchList)}) {
        if (auto* guard = field->findChild<Windows1252Guard*>()) {
            connect(guard, &Windows1252Guard::refused, this, [field](const QString& characters) {
                QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())),
                                   QStringLiteral("Tavlo cannot use \"%1\": its texts hold only "
                                                  "Western European (Windows-1252) characters.")
                                       .arg(characters),
                                   field);
            });
        }
    }

    // A file dropped anywhere on the window, the fields included, names the file to patch.
    setAcceptDrops(true);
    fileNameField_->installEventFilter(this);
    m_searchList->lineEdit()->installEventFilter(this);
}

MainDialog::~MainDialog() = default;

void MainDialog::setVisible(bool visible) {
    if (visible && !initialised_) {
        initialised_ = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

void MainDialog::OnInitDialog() {
    // This toolkit gives no access to the window's system menu, so the About box is reached
    // through the icon only.
    setWindowIcon(m_icon);
    ApplySettings();
    m_welcome = kWelcomeBefore + GetProductVersion() + ")";
    UpdateData(false);
    if (const QScreen* display = screen()) {
        move(display->availableGeometry().center() - rect().center());
    }
    fileNameField_->setFocus();
}

void MainDialog::ApplySettings() {
    FreeConfig();
    const char* settingsPath = LoadConfig(programPath_);
    m_settingsPath = settingsPath ? std::optional<std::string>(settingsPath) : std::nullopt;

    std::string fileName = StartupFilePattern();
    if (std::optional<std::string> match = FirstMatchingFile(fileName)) {
        fileName = std::move(*match);
    }
    m_fileName = std::move(fileName);
    m_searchText = StartupSearchText();

    m_searchList->clear();
    for (const std::string& word : SortedSearchWords()) {
        m_searchList->addItem(FromWindows1252(word));
    }
    UpdateData(false);
}

bool MainDialog::UpdateData(bool readFields) {
    if (!readFields) {
        fileNameField_->setText(FromWindows1252(m_fileName));
        fileNameLimit_->SetMaxLength(kMaxFieldLength);
        m_searchList->setEditText(FromWindows1252(m_searchText));
        welcomeLine_->setText(FromWindows1252(m_welcome));
        return true;
    }
    m_fileName = ToWindows1252(fileNameField_->text());
    if (m_fileName.size() > kMaxFieldLength) {
        ReportTooLong(fileNameField_);
        return false;
    }
    m_searchText = ToWindows1252(m_searchList->currentText());
    if (m_searchText.size() > kMaxFieldLength) {
        ReportTooLong(m_searchList);
        return false;
    }
    m_welcome = ToWindows1252(welcomeLine_->text());
    return true;
}

void MainDialog::ReportTooLong(QWidget* field) {
    ui_.ShowMessage(this, applicationName_, kTooLongText, MessageIcon::Exclamation);
    field->setFocus();
    if (field == fileNameField_) {
        fileNameField_->selectAll();
    }
}

void MainDialog::ShowMessage(std::string_view title, std::string_view text) {
    ui_.ShowMessage(this, title, text, MessageIcon::None);
}

void MainDialog::ReportUnusableFileName() {
    ShowMessage(kUnusableNameTitle, kUnusableNameText);
}

bool MainDialog::TakeFilePath(const QString& path) {
    const std::optional<std::string> text = FieldTextOfPath(QFile::encodeName(path).toStdString());
    if (!text) {
        ReportUnusableFileName();
        return false;
    }
    m_fileName = *text;
    return true;
}

void MainDialog::OnBrowse() {
    UpdateData(true);
    const std::vector<FileFilter> filters = {
        {QStringLiteral("Firmware files (*.rgn)"), QStringLiteral("*.rgn")},
        {QStringLiteral("All files (*.*)"), QStringLiteral("*.*")},
    };
    const std::optional<QString> chosen =
        ui_.GetOpenFileName(this, FromWindows1252(m_fileName), filters, QStringLiteral("rgn"));
    if (chosen && TakeFilePath(*chosen)) {
        UpdateData(false);
    }
}

void MainDialog::OnSearch() {
    UpdateData(true);
    if (m_image == nullptr) {
        return;
    }
    // Every search starts from the file as it is on disk: a patch not saved yet is dropped.
    if (!m_image->Load(NativePath(m_fileName))) {
        ShowMessage(kLoadFailedTitle, kLoadFailedBefore + m_fileName + kLoadFailedAfter);
        return;
    }
    if (m_searchText.empty()) {
        ShowMessage(kNothingTitle, kNothingText);
        return;
    }
    m_image->ResetSearch();
    while (m_image->LocateMessage(m_searchText)) {
        // An accepted patch, or Cancel, ends the command; only Find Next goes on.
        if (m_image->PatchMessage(kPatchSection, confirmer_) != PatchFindNext) {
            return;
        }
    }
    ShowMessage(kNotFoundTitle, kNotFoundText);
}

void MainDialog::OnExit() {
    if (m_image != nullptr && m_image->IsModified()) {
        const std::string fileName =
            FieldTextOfPath(m_image->FileName()).value_or(m_image->FileName());
        // A failure is reported by the image; the dialog closes anyway.
        if (ui_.AskYesNo(this, kSaveTitle, kSaveBefore + fileName + kSaveAfter) &&
            m_image->Save(true, IfFileChanged::Keep) == SaveOutcome::FileChanged) {
            // Someone else's change is overwritten only when the user says so; No keeps the
            // patch in memory and the window open.
            if (!ui_.AskYesNoDefaultNo(this, kChangedTitle,
                                       kChangedBefore + fileName + kChangedAfter)) {
                return;
            }
            m_image->Save(true, IfFileChanged::Overwrite);
        }
    }
    done(QDialog::Accepted);
}

void MainDialog::ShowAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainDialog::OnViewHelp() {
    ViewHelp(this, ui_, *starter_);
}

void MainDialog::OnEditSettings() {
    EditSettings({*this, programPath_, applicationName_, ui_, *starter_});
}

bool MainDialog::HandleFileDrop(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<QString> file = DroppedFile(drop->mimeData());
    if (!file) {
        return false;
    }
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop && TakeFilePath(*file)) {
        // Only the file-name field changes: what the user typed elsewhere stays.
        fileNameField_->setText(FromWindows1252(m_fileName));
    }
    return true;
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
    // The fields would take a dropped file as text ("file:///..."); the dialog takes it instead.
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (HandleFileDrop(event)) {
                return true;
            }
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    HandleFileDrop(event);
}

void MainDialog::dragMoveEvent(QDragMoveEvent* event) {
    HandleFileDrop(event);
}

void MainDialog::dropEvent(QDropEvent* event) {
    HandleFileDrop(event);
}

}  // namespace tavlo
