#include "support/qt/workspace.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <iterator>

#include "qt/text_boundary.h"

namespace tavlo::test {

Workspace::Workspace() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder_.Path());
}

Workspace::~Workspace() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

bool Workspace::Write(std::string_view name, std::string_view bytes) const {
    std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

std::optional<std::string> Workspace::Read(std::string_view name) const {
    return ReadFrom(File(name));
}

std::optional<std::string> Workspace::ReadFrom(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string TwoMessageFirmware() {
    using namespace std::string_literals;
    return "\x01\x02header\0"s + "xxWARNING: this unit is not yours\0"s + "other text\0"s +
           "WARNING second\0"s + "tail"s;
}

DialogUnderTest::DialogUnderTest(const std::string& programPath,
                                 std::optional<std::string> startupFile)
    : dialog_(std::make_unique<MainDialog>(programPath, ui, confirmer)) {
    dialog_->SetImage(&image);
    dialog_->SetStartupFile(std::move(startupFile));
    dialog_->show();
    if (!QTest::qWaitForWindowExposed(dialog_.get())) {
        QTest::qFail("the main dialog was not shown", __FILE__, __LINE__);
    }
}

DialogUnderTest::~DialogUnderTest() = default;

QLineEdit* DialogUnderTest::FileField() const {
    return dialog_->findChild<QLineEdit*>(QStringLiteral("control1000"));
}

QComboBox* DialogUnderTest::SearchBox() const {
    return dialog_->findChild<QComboBox*>(QStringLiteral("control1005"));
}

QPushButton* DialogUnderTest::Button(int id) const {
    return dialog_->findChild<QPushButton*>(QStringLiteral("control%1").arg(id));
}

void DialogUnderTest::Click(int id) {
    QPushButton* button = Button(id);
    if (button == nullptr) {
        QTest::qFail("no such button", __FILE__, __LINE__);
        return;
    }
    QTest::mouseClick(button, Qt::LeftButton);
}

void DialogUnderTest::SetFileField(const std::string& windows1252) {
    FileField()->setText(FromWindows1252(windows1252));
}

void DialogUnderTest::SetSearchText(const std::string& windows1252) {
    SearchBox()->setEditText(FromWindows1252(windows1252));
}

}  // namespace tavlo::test
