#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screen/preview_picture.h"
#include "workflow/patch_step.h"

// The patch dialog ("Confirm / edit patch") without a toolkit: what it shows for the request it
// is given and for each text typed into its box, and the answer it ends with. Every front-end's
// patch dialog is a view of this flow.
namespace tavlo {

// The found message as the dialog shows it: at most its first kShownMessageBytes bytes, then
// "..." when there are more. Its length is counted whole all the same.
std::string ShownFoundText(std::string_view message);

// What the dialog says about one text in its box.
struct NewTextState {
    std::string counter;             // "Current size: N / characters left: M"
    bool fits = true;                // no longer than the message it replaces
    Rgb colour = kTextFits;          // of the counter and of the preview's text: red past the limit
    std::string hiddenNote;          // what of it the receiver does not show, or ""
    std::vector<std::string> lines;  // the lines the preview draws, from the top
};

// `text` (Windows-1252, "\n" line breaks) against a message of `messageLength` bytes, laid out
// in `font` (none: no lines, nothing hidden).
NewTextState StateOfNewText(std::string_view text, std::size_t messageLength,
                            const DeviceFont* font);

// What the flow needs of the dialog itself. Texts are Windows-1252 with "\n" line breaks.
class PatchDialogView {
public:
    virtual ~PatchDialogView() = default;

    // The texts the dialog opens with: the found message (ShownFoundText), the information line
    // and the proposed text, which the box then holds.
    virtual void ShowTexts(std::string_view foundText, std::string_view infoText,
                           std::string_view newText) = 0;
    // What the box holds now.
    virtual std::string NewText() const = 0;
    // The counter's text and colour.
    virtual void ShowCounter(std::string_view text, Rgb colour) = 0;
    // The line under the counter: what of the text the receiver will not show.
    virtual void ShowHiddenNote(std::string_view text) = 0;
    // The preview raster, of which `changed` rows are new: painted at once, not at the next
    // convenient moment. The raster stays where it is while the dialog runs.
    virtual void ShowPreview(const RgbRaster& raster, RasterRows changed) = 0;
    // In the preview's place, instead of it: why there is none. The place keeps the preview's
    // size.
    virtual void ShowPreviewNote(std::string_view text) = 0;
    // Ends the dialog's modal run.
    virtual void Close() = 0;
};

// One showing of the patch dialog for one request. The view passes on what the user does; after
// the dialog's run, Result() is the answer, and after Ok the request holds the edited text.
class PatchDialogFlow {
public:
    // `request` and `view` outlive the flow.
    PatchDialogFlow(PatchRequest& request, PatchDialogView& view);

    // The dialog's initialisation: the texts, then counter, note and preview for the text the
    // box holds. Without a receiver font there is no preview: its place says why.
    void Start();
    // The display the dialog is on, in dots per inch (96 is the scale of 1): the preview is drawn
    // from now on at that display's scale (DisplayScale), the lines it shows drawn again. The
    // view then makes room for Preview()'s new size and paints it whole. Before Start, the
    // dialog opens at this scale.
    void SetDisplayDpi(int dotsPerInch);
    // Each change of the box.
    void NewTextChanged();

    // The three ways to end: OK takes the box's text over; Cancel (also Escape and the close
    // box) and Find Next leave the request as it was.
    void Ok();
    void Cancel();
    void FindNext();

    // Until an end is chosen, Find Next: a dialog that could not be shown lets the search go on.
    Answer Result() const { return answer_; }
    const NewTextState& State() const { return state_; }
    // The preview as it is drawn now; its size is the room the dialog makes for it, also when
    // its place shows a note instead.
    const RgbRaster& Preview() const { return canvas_.Raster(); }

private:
    void Update(RasterRows shown);
    void End(Answer answer);

    PatchRequest& request_;
    PatchDialogView& view_;
    PreviewCanvas canvas_;
    int displayScale_ = 1;  // asked for; the canvas may draw at less (PreviewCanvas)
    NewTextState state_;
    std::optional<std::string> shownNote_;
    bool started_ = false;  // the box holds the texts of this showing
    Answer answer_ = Answer::FindNext;
};

}  // namespace tavlo
