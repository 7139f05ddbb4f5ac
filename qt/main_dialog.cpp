#include "qt/main_dialog.h"

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
#include <QShortcut>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/file_names.h"
#include "core/firmware_image.h"
#include "core/version_info.h"
#include "qt/about_dialog.h"
#include "qt/clickable_icon.h"
#include "qt/program_icon.h"
#include "qt/program_starter.h"
#include "qt/text_boundary.h"
#include "qt/typing_limit.h"
#include "qt/ui_services.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/startup_values.h"
#include "workflow/help_flow.h"
#include "workflow/main_dialog_template.h"
#include "workflow/search_loop.h"
#include "workflow/settings_editor_flow.h"

namespace tavlo {

namespace {

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
      ui_(ui),
      desktop_(ui, this),
      flow_(std::move(programPath), *this, desktop_, confirmer),
      programs_(DesktopProgramStarter()),
      controls_(BuildDialog(*this, kMainDialogTemplate, ProgramIcon())),
      icon_(ProgramIcon()) {
    searchList_ = controls_.Get<QComboBox>(kIdSearchText);
    fileNameField_ = controls_.Get<QLineEdit>(kIdFileName);
    welcomeLine_ = controls_.Get<QLabel>(kIdWelcome);
    fileNameLimit_ = fileNameField_->findChild<TypingLimit*>();
    // Where the toolkit puts the modified marker while a patch is not saved yet.
    setWindowTitle(windowTitle() + QStringLiteral("[*]"));

    auto* icon = controls_.Get<ClickableIcon>(kIdIcon);
    connect(icon, &ClickableIcon::clicked, this, &MainDialog::ShowAbout);
    // Without a window menu, the keyboard reaches the About box through Alt+A; the icon's
    // tooltip says so. F1 opens the help, as everywhere.
    icon->setToolTip(QStringLiteral("About Tavlo (Alt+A)"));
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_A), this), &QShortcut::activated, this,
            &MainDialog::ShowAbout);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            [this] { OnViewHelp(); });
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
         {static_cast<QWidget*>(fileNameField_), static_cast<QWidget*>(searchList_)}) {
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
    searchList_->lineEdit()->installEventFilter(this);
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
    // through the icon and its shortcut.
    setWindowIcon(icon_);
    flow_.Start();
    if (const QScreen* display = screen()) {
        move(display->availableGeometry().center() - rect().center());
    }
    fileNameField_->setFocus();
}

bool MainDialog::UpdateData(bool readFields) {
    if (readFields) {
        return flow_.ReadFields();
    }
    flow_.ShowFields();
    return true;
}

std::string MainDialog::FieldText(MainField field) const {
    return ToWindows1252(field == MainField::FileName ? fileNameField_->text()
                                                      : searchList_->currentText());
}

void MainDialog::SetFieldText(MainField field, std::string_view text) {
    if (field == MainField::FileName) {
        fileNameField_->setText(FromWindows1252(text));
        fileNameLimit_->SetMaxLength(kMaxFieldLength);
    } else {
        searchList_->setEditText(FromWindows1252(text));
    }
}

void MainDialog::SetSearchWords(const std::vector<std::string>& words) {
    const QString typed = searchList_->currentText();
    searchList_->clear();
    for (const std::string& word : words) {
        searchList_->addItem(FromWindows1252(word));
    }
    searchList_->setEditText(typed);
}

void MainDialog::SetWelcome(std::string_view text) {
    welcomeLine_->setText(FromWindows1252(text));
}

void MainDialog::FocusField(MainField field) {
    if (field == MainField::FileName) {
        fileNameField_->setFocus();
        fileNameField_->selectAll();
    } else {
        searchList_->setFocus();
    }
}

void MainDialog::Close() {
    done(QDialog::Accepted);
}

void MainDialog::ShowPatchPending(bool pending) {
    setWindowModified(pending);
}

void MainDialog::reject() {
    flow_.Exit();
}

void MainDialog::ShowAbout() {
    AboutDialog about(this);
    about.exec();
}

void MainDialog::OnViewHelp() {
    ViewHelp(desktop_, programs_);
}

void MainDialog::OnEditSettings() {
    EditSettings(flow_, programs_);
}

bool MainDialog::HandleFileDrop(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<QString> file = DroppedFile(drop->mimeData());
    if (!file) {
        return false;
    }
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        flow_.TakeFilePath(QFile::encodeName(*file).toStdString());
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
