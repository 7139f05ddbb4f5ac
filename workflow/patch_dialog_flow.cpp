#include "workflow/patch_dialog_flow.h"

#include <string>

#include "core/message_format.h"
#include "screen/screen_layout.h"

namespace tavlo {

namespace {

constexpr const char* kCounterText = "Current size: %1 / characters left: %2";
// A file without the receiver's glyph table: a text file named .rgn, or another receiver's.
constexpr const char* kNoFontNote = "No preview: this file holds no receiver font.";

}  // namespace

std::string ShownFoundText(std::string_view message) {
    if (message.size() <= kShownMessageBytes) {
        return std::string(message);
    }
    return FormatMessage("%1...", {message.substr(0, kShownMessageBytes)});
}

NewTextState StateOfNewText(std::string_view text, std::size_t messageLength,
                            const DeviceFont* font) {
    // Both lengths count bytes, a line break one: the second number goes below zero past the
    // limit, with its minus sign.
    const auto newLength = static_cast<long long>(text.size());
    const auto left = static_cast<long long>(messageLength) - newLength;
    NewTextState state;
    state.counter = FormatMessage(kCounterText, {std::to_string(newLength), std::to_string(left)});
    state.fits = left >= 0;
    state.colour = state.fits ? kTextFits : kTextTooLong;
    state.hiddenNote = HiddenTextNote(HiddenOnScreen(font, text));
    state.lines = ScreenLines(font, text);
    return state;
}

PatchDialogFlow::PatchDialogFlow(PatchRequest& request, PatchDialogView& view)
    : request_(request), view_(view), canvas_(request.font, request.magX, request.magY) {}

void PatchDialogFlow::Start() {
    // The box's own change while it takes the proposal is no edit of the user's.
    started_ = false;
    view_.ShowTexts(ShownFoundText(request_.currentText), request_.infoText, request_.newText);
    started_ = true;
    // A fresh start: the whole preview is shown, whatever an earlier showing drew.
    shownNote_.reset();
    if (request_.font == nullptr) {
        view_.ShowPreviewNote(kNoFontNote);
    }
    Update({0, canvas_.Raster().height});
}

void PatchDialogFlow::SetDisplayDpi(int dotsPerInch) {
    const int scale = DisplayScale(dotsPerInch);
    if (scale == displayScale_) {
        return;
    }
    displayScale_ = scale;
    canvas_ = PreviewCanvas(request_.font, request_.magX, request_.magY, scale);
    canvas_.Show(state_.lines, state_.colour);
}

void PatchDialogFlow::NewTextChanged() {
    if (started_) {
        Update({});
    }
}

void PatchDialogFlow::Update(RasterRows shown) {
    state_ = StateOfNewText(view_.NewText(), request_.currentText.size(), request_.font);
    // The colour is set with the text, so the counter shows its new text in the right colour.
    view_.ShowCounter(state_.counter, state_.colour);
    // A label repaints on every new text, even an equal one: the note is set when it changes.
    if (state_.hiddenNote != shownNote_) {
        shownNote_ = state_.hiddenNote;
        view_.ShowHiddenNote(state_.hiddenNote);
    }
    if (request_.font == nullptr) {
        return;  // no preview: its place holds the note that says why
    }
    const RasterRows changed = canvas_.Show(state_.lines, state_.colour);
    if (!shown.Empty() || !changed.Empty()) {
        view_.ShowPreview(canvas_.Raster(), shown.Empty() ? changed : shown);
    }
}

void PatchDialogFlow::Ok() {
    request_.newText = view_.NewText();
    End(Answer::Ok);
}

void PatchDialogFlow::Cancel() {
    End(Answer::Cancel);
}

void PatchDialogFlow::FindNext() {
    End(Answer::FindNext);
}

void PatchDialogFlow::End(Answer answer) {
    answer_ = answer;
    view_.Close();
}

}  // namespace tavlo
