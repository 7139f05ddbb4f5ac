#include "core/embedded_resources.h"

#include <algorithm>

namespace tavlo {

namespace {

char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

}  // namespace

std::optional<std::span<const std::uint8_t>> FindResource(std::string_view name,
                                                          std::string_view type) {
    for (std::size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        const EmbeddedResource& resource = kEmbeddedResources[i];
        if (EqualIgnoringCase(resource.name, name) && EqualIgnoringCase(resource.type, type)) {
            return std::span<const std::uint8_t>(resource.bytes, resource.size);
        }
    }
    return std::nullopt;
}

}  // namespace tavlo
