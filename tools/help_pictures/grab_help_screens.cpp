// tavlo-grab-help-screens FIRMWARE.rgn FOLDER: photographs the main dialog and the patch
// confirmation dialog (at the first "WARNING" of FIRMWARE.rgn), frames them at the help page's
// sizes, writes FOLDER/screen1.png and FOLDER/screen2.png and prints the page's two image maps,
// whose coordinates are the controls' real places on the pictures. make_help_screens.sh turns
// the PNGs into the page's GIFs. Runs on any Qt platform (QT_QPA_PLATFORM=offscreen will do).
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "tools/help_pictures/dialog_pictures.h"

int main(int argc, char** argv) {
    using namespace tavlo::tools;
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tavlo-grab-help-screens FIRMWARE.rgn FOLDER\n");
        return 2;
    }
    qputenv("LC_ALL", "C");  // the search word the main dialog starts with: WARNING
    const std::string firmware = argv[1];
    const QDir folder(QString::fromLocal8Bit(argv[2]));

    struct Picture {
        DialogShot shot;
        QSize size;
        const char* file;
        const char* map;
    };
    const Picture pictures[] = {
        {GrabMainDialog(firmware), kMainPictureSize, "screen1.png", "mainDialogMap"},
        {GrabPatchDialog(firmware), kPatchPictureSize, "screen2.png", "patchDialogMap"},
    };
    int failures = 0;
    for (const Picture& picture : pictures) {
        if (picture.shot.client.isNull()) {
            std::fprintf(stderr, "could not photograph the dialog for %s\n", picture.file);
            ++failures;
            continue;
        }
        std::fprintf(stderr, "%s: the dialog's client area is %d x %d\n", picture.file,
                     picture.shot.client.width(), picture.shot.client.height());
        const DialogShot framed = FramePicture(picture.shot, picture.size);
        if (!framed.client.save(folder.filePath(QString::fromLatin1(picture.file)))) {
            std::fprintf(stderr, "could not write %s\n", picture.file);
            ++failures;
        }
        std::printf("%s", qPrintable(ImageMapHtml(QString::fromLatin1(picture.map), framed)));
    }
    return failures == 0 ? 0 : 1;
}
