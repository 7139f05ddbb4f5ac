#include <string>

#include "cli/cli_context.h"
#include "cli/terminal_text.h"
#include "core/container_format.h"
#include "core/firmware_image.h"
#include "screen/device_font.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "workflow/search_loop.h"

namespace tavlo::cli {

void PrintFontLine(const FirmwareImage& image, const DeviceFont* font, const CliContext& context) {
    if (font != nullptr && font->IsLocated()) {
        std::fprintf(context.out, "font: %td\n", font->Table() - image.Data());
    } else {
        std::fprintf(context.out, "font: not found\n");
    }
}

// What a firmware file holds: its size, its font, its container records and the message words.
int RunInfo(const CliArguments& arguments, const CliContext& context) {
    // Nothing here depends on the settings, but a settings file is checked as by every command.
    Settings settings;
    if (!LoadSettings(arguments, context, settings)) {
        return ExitFileError;
    }
    FirmwareImage image;
    if (!LoadFirmware(image, arguments.file, context)) {
        return ExitFileError;
    }
    std::fprintf(context.out, "size: %u\n", image.Length());
    DeviceFont font;
    font.Locate(image);
    PrintFontLine(image, &font, context);

    if (const auto container = ReadContainer(image.Data(), image.Length())) {
        std::fprintf(context.out, "container: KpGr version %u, %zu records\n", container->version,
                     container->records.size());
        for (const ContainerRecord& record : container->records) {
            std::fprintf(context.out, "record: %u %s %u\n", record.offset,
                         EscapeForTerminal(std::string(1, record.type)).c_str(), record.size);
        }
        if (container->truncated) {
            std::fprintf(context.out, "record: %u truncated\n", container->truncatedAt);
        }
    } else {
        std::fprintf(context.out, "container: none (not a firmware update container)\n");
    }

    // Each search word, counted in the order Find Next visits its matches: the search command
    // passes over every match.
    class MatchCounter : public PatchConfirmer {
    public:
        bool WantsMatch(std::int64_t offset) override {
            if (count++ == 0) {
                first = offset;
            }
            return false;
        }
        Answer Confirm(PatchRequest&) override { return Answer::FindNext; }
        int count = 0;
        std::int64_t first = -1;
    };
    for (const char* word : kSearchWords) {
        MatchCounter counter;
        RunSearch(image, word, settings, counter);
        const int count = counter.count;
        const std::int64_t first = counter.first;
        const std::string name = EscapeForTerminal(word);
        if (count == 0) {
            std::fprintf(context.out, "word: %s 0\n", name.c_str());
        } else {
            std::fprintf(context.out, "word: %s %d first at %lld\n", name.c_str(), count,
                         static_cast<long long>(first));
        }
    }
    return ExitOk;
}

}  // namespace tavlo::cli
