#include "core/version_resource.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "core/ascii.h"

namespace tavlo {

namespace {

constexpr std::size_t kHeaderSize = 6;  // length, value length, type: three 16-bit words
constexpr std::uint16_t kTextType = 1;

std::uint16_t ReadWord(std::span<const std::uint8_t> block, std::size_t offset) {
    return static_cast<std::uint16_t>(block[offset] | (block[offset + 1] << 8));
}

std::size_t AlignUp(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

// One node of the tree, as offsets into the block; every offset lies within [start, end].
struct Node {
    std::size_t end = 0;
    std::size_t keyStart = 0;
    std::size_t keyUnits = 0;  // UTF-16 units of the key, without its zero
    std::size_t valueStart = 0;
    std::size_t valueSize = 0;  // bytes
    std::size_t childrenStart = 0;
    bool isText = false;
};

// The node at `start`, which must end by `limit` (its parent's end), or nothing when its bytes
// do not form a node.
std::optional<Node> ParseNode(std::span<const std::uint8_t> block, std::size_t start,
                              std::size_t limit) {
    if (start > limit || limit - start < kHeaderSize) {
        return std::nullopt;
    }
    const std::size_t length = ReadWord(block, start);
    if (length < kHeaderSize || length > limit - start) {
        return std::nullopt;
    }
    Node node;
    node.end = start + length;
    node.isText = ReadWord(block, start + 4) == kTextType;
    node.keyStart = start + kHeaderSize;
    std::size_t offset = node.keyStart;
    while (true) {
        if (node.end - offset < 2) {
            return std::nullopt;  // the key runs out of the node without its zero
        }
        if (ReadWord(block, offset) == 0) {
            break;
        }
        offset += 2;
        ++node.keyUnits;
    }
    offset += 2;
    // A text value's length counts UTF-16 units, a binary value's counts bytes.
    const std::size_t declared = ReadWord(block, start + 2);
    const std::size_t valueSize = node.isText ? declared * 2 : declared;
    node.valueStart = std::min(AlignUp(offset), node.end);
    node.valueSize = std::min(valueSize, node.end - node.valueStart);
    node.childrenStart = std::min(AlignUp(node.valueStart + node.valueSize), node.end);
    return node;
}

bool KeyEquals(std::span<const std::uint8_t> block, const Node& node, std::string_view name) {
    if (node.keyUnits != name.size()) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned unit = ReadWord(block, node.keyStart + 2 * i);
        const unsigned byte = static_cast<unsigned char>(name[i]);
        if (unit > 0x7F || byte > 0x7F) {
            if (unit != byte) {
                return false;
            }
        } else if (FoldAscii(unit) != FoldAscii(byte)) {
            return false;
        }
    }
    return true;
}

std::optional<Node> FindChild(std::span<const std::uint8_t> block, const Node& parent,
                              std::string_view name) {
    std::size_t offset = parent.childrenStart;
    while (offset < parent.end) {
        const std::optional<Node> child = ParseNode(block, offset, parent.end);
        if (!child) {
            return std::nullopt;
        }
        if (KeyEquals(block, *child, name)) {
            return child;
        }
        offset = AlignUp(child->end);  // each node is at least a header long: always moves on
    }
    return std::nullopt;
}

}  // namespace

std::optional<VersionValue> VerQueryValue(std::span<const std::uint8_t> block,
                                          std::string_view path) {
    std::optional<Node> node = ParseNode(block, 0, block.size());
    while (node && !path.empty()) {
        const std::size_t separator = path.find('\\');
        const std::string_view name = path.substr(0, separator);
        path =
            separator == std::string_view::npos ? std::string_view() : path.substr(separator + 1);
        if (!name.empty()) {
            node = FindChild(block, *node, name);
        }
    }
    if (!node) {
        return std::nullopt;
    }
    return VersionValue{block.subspan(node->valueStart, node->valueSize), node->isText};
}

std::unique_ptr<std::uint8_t[]> VersionResourceSource::AllocateBlock(std::uint32_t size) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size]);
}

}  // namespace tavlo
