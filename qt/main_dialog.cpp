#include "qt/main_dialog.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QToolTip>
#include <QUrl>

#include "qt/about_dialog.h"
#include "qt/clickable_icon.h"
#include "qt/program_icon.h"
#include "qt/qt_desktop_services.h"
#include "qt/text_boundary.h"
#include "qt/typing_limit.h"
#include "workflow/help_flow.h"
#include "workflow/main_dialog_template.h"
#include "workflow/main_window_keys.h"
#include "workflow/settings_editor_flow.h"

namespace tavlo {

namespace {

namespace tpl = main_dialog_template;

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

MainDialog::MainDialog(std::string programPath, FirmwareImage& image, QtDesktopServices& desktop,
                       DesktopPrograms& programs)
    : desktop_(desktop),
      programs_(programs),
      flow_(std::move(programPath), image, *this, desktop, confirmer_),
      controls_(BuildDialog(*this, tpl::kTemplate, ProgramIcon())) {
    desktop_.SetOwner(this);
    searchList_ = controls_.Get<QComboBox>(tpl::kSearchText);
    fileNameField_ = controls_.Get<QLineEdit>(tpl::kFileName);
    welcomeLine_ = controls_.Get<QLabel>(tpl::kWelcome);
    fileNameLimit_ = fileNameField_->findChild<TypingLimit*>();
    searchTextLimit_ = searchList_->lineEdit()->findChild<TypingLimit*>();
    // Where the toolkit puts the modified marker while a patch is not saved yet.
    setWindowTitle(windowTitle() + QStringLiteral("[*]"));
    ConnectCommands();
    ExplainRefusedCharacters();
    // A file dropped anywhere on the window, the fields included, names the file to patch.
    setAcceptDrops(true);
    fileNameField_->installEventFilter(this);
    searchList_->lineEdit()->installEventFilter(this);
}

MainDialog::~MainDialog() {
    desktop_.SetOwner(nullptr);
}

void MainDialog::ConnectCommands() {
    const auto onClick = [this](int id, auto command) {
        connect(controls_.Get<QPushButton>(id), &QPushButton::clicked, this, command);
    };
    onClick(tpl::kBrowse, [this] { flow_.Browse(); });
    onClick(tpl::kSearch, [this] { flow_.Search(); });
    onClick(tpl::kViewHelp, [this] { ViewHelp(desktop_, programs_); });
    onClick(tpl::kEditSettings, [this] { EditSettings(flow_, programs_); });
    onClick(tpl::kExit, [this] { flow_.Exit(); });
    // This toolkit gives no access to the window's system menu: the About box is reached through
    // the icon and its key, which the icon's tooltip names. The window's keys are both windows'
    // (MainWindowKeys); their names are key sequences as Qt writes them.
    auto* icon = controls_.Get<ClickableIcon>(tpl::kIcon);
    connect(icon, &ClickableIcon::clicked, this, &MainDialog::ShowAbout);
    icon->setToolTip(QStringLiteral("About Tavlo (%1)")
                         .arg(QString::fromStdString(KeyNameOf(WindowCommand::About))));
    for (const CommandKey& key : MainWindowKeys()) {
        const QKeySequence sequence(QString::fromStdString(KeyName(key)),
                                    QKeySequence::PortableText);
        connect(new QShortcut(sequence, this), &QShortcut::activated, this,
                [this, command = key.command] {
                    RunWindowCommand(command, desktop_, programs_, [this] { ShowAbout(); });
                });
    }
}

void MainDialog::ExplainRefusedCharacters() {
    // Say why a typed character did not arrive. Only the search text is the receiver's: the
    // file name takes any character.
    QWidget* field = searchList_;
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

void MainDialog::setVisible(bool visible) {
    if (visible && !initialised_) {
        initialised_ = true;
        setWindowIcon(ProgramIcon());
        flow_.Start();
        if (const QScreen* display = screen()) {
            move(display->availableGeometry().center() - rect().center());
        }
        fileNameField_->setFocus();
    }
    QDialog::setVisible(visible);
}

std::string MainDialog::FieldText(MainField field) const {
    switch (field) {
        case MainField::FileName:
            return ToFileName(fileNameField_->text());
        case MainField::SearchText:
            return ToWindows1252(searchList_->currentText());
    }
    return {};
}

void MainDialog::SetFieldText(MainField field, std::string_view text) {
    switch (field) {
        case MainField::FileName:
            fileNameLimit_->SetMaxLength(kMaxFieldLength);
            fileNameLimit_->PutText(FromFileName(text));
            break;
        case MainField::SearchText:
            searchTextLimit_->PutText(FromWindows1252(text));
            break;
    }
}

void MainDialog::SetSearchWords(const std::vector<std::string>& words) {
    const QString typed = searchList_->currentText();
    searchList_->clear();
    for (const std::string& word : words) {
        searchList_->addItem(FromWindows1252(word));
    }
    searchTextLimit_->PutText(typed);
}

void MainDialog::SetWelcome(std::string_view text) {
    welcomeLine_->setText(FromWindows1252(text));
}

void MainDialog::FocusField(MainField field) {
    switch (field) {
        case MainField::FileName:
            fileNameField_->setFocus();
            fileNameField_->selectAll();
            break;
        case MainField::SearchText:
            searchList_->setFocus();
            break;
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

bool MainDialog::HandleFileDrop(QEvent* event) {
    auto* drop = static_cast<QDropEvent*>(event);
    const std::optional<QString> file = DroppedFile(drop->mimeData());
    if (!file) {
        return false;
    }
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop) {
        flow_.TakeFilePath(ToFileName(*file));
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
