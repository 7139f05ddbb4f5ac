#include "core/embedded_resources.h"

#include "core/ascii.h"
#include "core/posix/embedded_resource_table.h"

namespace tavlo {

std::optional<std::span<const std::uint8_t>> FindResource(std::string_view name,
                                                          std::string_view type) {
    for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& resource = kEmbeddedResources[i];
        if (EqualIgnoringAsciiCase(resource.name, name) &&
            EqualIgnoringAsciiCase(resource.type, type)) {
            return std::span<const std::uint8_t>(resource.bytes, resource.size);
        }
    }
    return std::nullopt;
}

}  // namespace tavlo
