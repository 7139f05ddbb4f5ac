// tavlo-make-help-decorations FOLDER: writes the help page's list bullet (zerbul1a.gif) and
// background tile (zertxtr.gif) into FOLDER. Its output is committed in resources/help/img.
#include <iostream>
#include <string>

#include "tools/help_pictures/gif_file.h"
#include "tools/help_pictures/help_decorations.h"
#include "tools/output_file.h"

int main(int argc, char** argv) {
    using namespace tavlo::tools;
    if (argc != 2) {
        std::cerr << "usage: tavlo-make-help-decorations FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    bool written = true;
    for (const auto& [name, drawing] : {std::pair{"/zerbul1a.gif", DrawListBullet()},
                                        std::pair{"/zertxtr.gif", DrawBackgroundTile()}}) {
        written &= WriteOutputFile(folder + name, EncodeGif(drawing.picture, drawing.colourCount,
                                                            drawing.transparentIndex));
    }
    return written ? 0 : 1;
}
