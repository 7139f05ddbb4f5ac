// tavlo-make-sample-firmware OUT.rgn: writes the sample firmware update file that the tests and
// the README's run command use. The same bytes on every run.
#include <iostream>

#include "tools/output_file.h"
#include "tools/receiver_font.h"
#include "tools/sample_firmware.h"

int main(int argc, char** argv) {
    using namespace tavlo::tools;
    if (argc != 2) {
        std::cerr << "usage: tavlo-make-sample-firmware OUT.rgn\n";
        return 2;
    }
    const FontBuild font = BuildSampleFont();
    if (!font.error.empty()) {
        std::cerr << "tavlo-make-sample-firmware: " << font.error << "\n";
        return 1;
    }
    const GlyphTableBytes table = tavlo::EncodeGlyphTable(font.glyphs);
    if (!table.error.empty()) {
        std::cerr << "tavlo-make-sample-firmware: " << table.error << "\n";
        return 1;
    }
    return WriteOutputFile(argv[1], BuildSampleFirmware(table.bytes)) ? 0 : 1;
}
