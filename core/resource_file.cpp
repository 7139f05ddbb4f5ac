#include "core/resource_file.h"

#include "core/atomic_file.h"
#include "core/embedded_resources.h"

namespace tavlo {

std::optional<std::string> WriteResourceFile(std::string_view name, std::string_view type,
                                             const std::string& path) {
    const auto resource = FindResource(name, type);
    if (!resource) {
        return std::string("No such resource");
    }
    // The one safe save there is, without a backup: whatever stands at the name is replaced.
    AtomicFile file(path);
    if (file.Write(*resource) != SaveOutcome::Saved) {
        return file.Failure().message;
    }
    return std::nullopt;
}

}  // namespace tavlo
