#include "tools/sample_firmware.h"

#include <string>

#include "core/container_format.h"

namespace tavlo::tools {
namespace {

// Messages that a receiver set to another language shows at power-on (Windows-1252 text).
constexpr std::string_view kOtherLanguageMessages[] = {
    "WARNUNG\nDieses Ger\xE4t ist nur eine\nNavigationshilfe.",
    "ATTENTION\nCet appareil n'est qu'une\naide \xE0 la navigation.",
    "ATTENZIONE\nQuesto apparecchio \xE8 solo\nun aiuto alla navigazione.",
    "ATENCI\xD3N\nEste aparato es solo una\nayuda a la navegaci\xF3n.",
};

constexpr std::string_view kStatusTexts[] = {
    "Acquiring satellites",
    "Poor satellite reception",
    "Ready to navigate",
    "Battery low",
    "Power off?",
    "Main Menu",
    "Waypoints",
    "Tracks",
    "Routes",
    "Setup",
    "Contrast",
    "Backlight",
    "Units",
    "Time zone",
    "Language",
    "Mark waypoint",
};

constexpr std::string_view kStartUpTexts[] = {
    "Loader 1.10",
    "Checking memory",
    "Software update failed",
    "Loading software",
};

// A fixed xorshift generator: stands in for machine code, the same on every run and platform.
class CodeBytes {
public:
    void Append(std::vector<std::uint8_t>& out, int count) {
        for (int i = 0; i < count; ++i) {
            state_ ^= state_ << 13;
            state_ ^= state_ >> 17;
            state_ ^= state_ << 5;
            out.push_back(static_cast<std::uint8_t>(state_ >> 24));
        }
    }

private:
    std::uint32_t state_ = 0x2F6E1C3Bu;
};

void AppendUint16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendString(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}

// Pads with zero bytes to a multiple of four, as code sections are aligned.
void Align(std::vector<std::uint8_t>& out) {
    while (out.size() % 4 != 0) {
        out.push_back(0);
    }
}

}  // namespace

std::vector<std::uint8_t> BuildSampleFirmware(const std::vector<std::uint8_t>& glyphTable) {
    CodeBytes code;

    std::vector<std::uint8_t> data;
    AppendUint16(data, 250);  // software version 2.50
    AppendString(data, "Handheld GPS receiver software, version 2.50");

    std::vector<std::uint8_t> region;
    code.Append(region, 1024);
    Align(region);
    for (std::string_view text : kStatusTexts) {
        AppendString(region, text);
    }
    Align(region);
    AppendString(region, kSamplePowerOnMessage);
    for (std::string_view message : kOtherLanguageMessages) {
        AppendString(region, message);
    }
    Align(region);
    code.Append(region, 512);
    region.insert(region.end(), 4, 0);  // the font lies in a zero-padded data section
    region.insert(region.end(), glyphTable.begin(), glyphTable.end());
    Align(region);
    code.Append(region, 256);

    std::vector<std::uint8_t> application;
    code.Append(application, 640);
    Align(application);
    for (std::string_view text : kStartUpTexts) {
        AppendString(application, text);
    }

    std::vector<std::uint8_t> file = StartContainer();
    AppendRecord(file, kRecordData, data);
    AppendRecord(file, kRecordRegion, region);
    AppendRecord(file, kRecordApplication, application);
    return file;
}

}  // namespace tavlo::tools
