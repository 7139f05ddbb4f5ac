#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <string>
#include <vector>

// The two dialog pictures of the help page, grabbed from the program's own dialogs, and the
// places of their controls on them for the page's image maps.
namespace tavlo::tools {

// A control shown on a picture: where it is, the page's anchor that explains it and the one-line
// tooltip the image map gives it.
struct PictureRegion {
    QString anchor;
    QString tooltip;
    QRect rect;
};

// A dialog's client area as the program draws it, with its controls' places in client pixels.
struct DialogShot {
    QImage client;
    QString caption;
    std::vector<PictureRegion> regions;
};

// The main dialog with its start-up values, in a folder that holds `firmwarePath`'s file (the
// file-name field shows its name). The current directory changes while it is grabbed.
DialogShot GrabMainDialog(const std::string& firmwarePath);

// The patch confirmation dialog at the first "WARNING" of `firmwarePath`, with the proposed
// owner lines and the preview in the file's receiver font. Empty when there is no such match.
DialogShot GrabPatchDialog(const std::string& firmwarePath);

// The shot in a window frame with its caption, scaled if need be to exactly `size`, and the
// regions moved with it. The help page's sizes: 486 x 184 (main), 494 x 355 (patch).
DialogShot FramePicture(const DialogShot& shot, QSize size);

// The page's <map> element for a framed picture: one rectangle <area> per region, linking to
// the region's anchor, with its tooltip as the title.
QString ImageMapHtml(const QString& mapName, const DialogShot& framed);

inline constexpr QSize kMainPictureSize{486, 184};
inline constexpr QSize kPatchPictureSize{494, 355};

}  // namespace tavlo::tools
