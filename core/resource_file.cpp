#include "core/resource_file.h"

#include "core/firmware_image.h"
#include "core/notifier.h"

namespace tavlo {

namespace {

// The caller says what went wrong in its own message.
class QuietNotifier : public Notifier {
public:
    void ShowMessage(std::string_view, std::string_view) override {}
};

}  // namespace

std::optional<std::string> WriteResourceFile(std::string_view name, std::string_view type,
                                             const std::string& path) {
    // An image over the resource's bytes goes through the one safe save there is.
    QuietNotifier quiet;
    FirmwareImage resource(quiet);
    if (!resource.LoadFromResource(name, type, path) || !resource.Save(false)) {
        return resource.LastError().empty() ? std::string("the file could not be written")
                                            : resource.LastError();
    }
    return std::nullopt;
}

}  // namespace tavlo
