#include "fakes.h"

#include <gtest/gtest.h>

namespace tavlo::test {

std::string FakeWindow::FieldText(MainField field) const {
    switch (field) {
        case MainField::FileName:
            return fileName;
        case MainField::SearchText:
            return searchText;
    }
    return {};
}

void FakeWindow::SetFieldText(MainField field, std::string_view text) {
    switch (field) {
        case MainField::FileName:
            fileName = showsName ? showsName(text) : std::string(text);
            break;
        case MainField::SearchText:
            searchText = text;
            break;
    }
}

void FakeWindow::Close() {
    closed = true;
    log_.push_back("close");
}

void FakeDesktop::ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    boxes.push_back({std::string(title), std::string(text), icon});
    log_.push_back("show " + std::string(title));
    if (whileShown) {
        whileShown(boxes.back());
    }
}

YesNoCancel FakeDesktop::Answer(std::string_view title, std::string_view text) {
    boxes.push_back({std::string(title), std::string(text), MessageIcon::None});
    log_.push_back("ask " + std::string(title));
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << title;
        return YesNoCancel::Cancel;
    }
    const YesNoCancel answer = answers.front();
    answers.pop_front();
    return answer;
}

bool FakeDesktop::AskYesNo(std::string_view title, std::string_view text) {
    const YesNoCancel answer = Answer(title, text);
    EXPECT_NE(answer, YesNoCancel::Cancel) << "a question without Cancel: " << title;
    return answer == YesNoCancel::Yes;
}

bool FakeDesktop::AskYesNoDefaultNo(std::string_view title, std::string_view text) {
    return AskYesNo(title, text);
}

YesNoCancel FakeDesktop::AskYesNoCancel(std::string_view title, std::string_view text) {
    return Answer(title, text);
}

std::optional<std::string> FakeDesktop::GetOpenFileName(std::string_view initialName,
                                                        std::span<const FileFilter> shown,
                                                        std::string_view extension) {
    log_.push_back("open " + std::string(initialName));
    filters.assign(shown.begin(), shown.end());
    defaultExtension = extension;
    if (choices.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> choice = choices.front();
    choices.pop_front();
    return choice;
}

int FakePrograms::NextResult() {
    if (results.empty()) {
        return 0;
    }
    const int result = results.front();
    results.pop_front();
    return result;
}

LaunchResult FakePrograms::OpenInEditor(const std::string& file) {
    log_.push_back("edit " + file);
    return {NextResult(), EditorName()};
}

LaunchResult FakePrograms::OpenInBrowser(const std::string& address) {
    log_.push_back("browse " + address);
    return {NextResult(), "Browser"};
}

Answer ScriptedConfirmer::Confirm(PatchRequest& request) {
    requests.push_back(request);
    log_.push_back("confirm " + request.currentText);
    if (replies.empty()) {
        ADD_FAILURE() << "the patch dialog was shown more often than the test expected";
        return Answer::Cancel;
    }
    const Reply reply = replies.front();
    replies.pop_front();
    if (reply.typed) {
        request.newText = *reply.typed;
    }
    return reply.answer;
}

void FakePatchDialog::ShowTexts(std::string_view foundText, std::string_view infoText,
                                std::string_view newText) {
    found = foundText;
    info = infoText;
    box = newText;
}

void FakePatchDialog::ShowCounter(std::string_view text, Rgb colour) {
    counter = text;
    counterColour = colour;
}

void FakePatchDialog::ShowPreview(const RgbRaster& raster, RasterRows changed) {
    previews.push_back(changed);
    if (shown.pixels.size() != raster.pixels.size()) {
        // A colour the preview never has, wherever nothing was painted yet.
        shown = RgbRaster{raster.width, raster.height, {}};
        shown.pixels.assign(raster.pixels.size(), Rgb{255, 0, 255});
    }
    // Only the rows said to have changed are painted again.
    for (int y = changed.top; y < changed.bottom; ++y) {
        for (int x = 0; x < raster.width; ++x) {
            shown.At(x, y) = raster.At(x, y);
        }
    }
}

WindowSession::WindowSession(const std::string& firmware) {
    WriteFile(dir.File("unit.rgn"), firmware.empty() ? TwoMessageFirmware() : firmware);
}

std::string TwoMessageFirmware() {
    using namespace std::string_literals;
    return "\x01\x02header\0"s + "xxWARNING: this unit is not yours\0"s + "other text\0"s +
           "WARNING second\0"s + "tail"s;
}

}  // namespace tavlo::test
