// tavlo-make-screen-picture OUT.bmp: writes the picture of the receiver's screen that the patch
// preview draws on. Its output is committed as resources/screen.bmp; a test checks that the two
// stay the same.
#include <iostream>

#include "tools/output_file.h"
#include "tools/screen_picture.h"

int main(int argc, char** argv) {
    using namespace tavlo::tools;
    if (argc != 2) {
        std::cerr << "usage: tavlo-make-screen-picture OUT.bmp\n";
        return 2;
    }
    const ScreenPictureDrawing drawing = DrawScreenPicture();
    if (!drawing.error.empty()) {
        std::cerr << "tavlo-make-screen-picture: " << drawing.error << "\n";
        return 1;
    }
    return WriteOutputFile(argv[1], EncodeBmp(drawing.picture)) ? 0 : 1;
}
