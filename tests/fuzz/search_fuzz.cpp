// The message search, measurement and replacement over arbitrary images, search texts and
// replacement texts.
//
// The input is split into a search text, a replacement text, a number of Find Next steps and
// the image's bytes, which are loaded from a real file. Every match is compared with a plain
// string-by-string search (the first string that holds the text, with at least one image byte
// after the match), the message length with a count up to the next zero byte, and the
// replacement must write exactly the message's L bytes and nothing else: the image keeps its
// length and every other byte, the zero byte after it included.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/firmware_image.h"
#include "fuzz_support.h"

namespace {

using tavlo::fuzz::InputFile;

// The text search done the long way: string by string through [data, data + length), where the
// last string may end on the zero byte at data[length].
const std::uint8_t* ExpectedStringMatch(const std::uint8_t* data, std::size_t length,
                                        std::string_view text) {
    text = text.substr(0, text.find('\0'));
    const std::uint8_t* end = data + length;
    for (const std::uint8_t* p = data; p < end;) {
        const std::size_t stringLength = std::strlen(reinterpret_cast<const char*>(p));
        for (std::size_t at = 0; at + text.size() <= stringLength; ++at) {
            if (std::memcmp(p + at, text.data(), text.size()) == 0) {
                const std::uint8_t* match = p + at;
                return match + text.size() < end ? match : nullptr;
            }
        }
        p += stringLength + 1;
    }
    return nullptr;
}

// The byte search done the long way: candidates i < length - patternLength.
const std::uint8_t* ExpectedByteMatch(const std::uint8_t* data, std::size_t length,
                                      std::string_view pattern) {
    for (std::size_t i = 0; i + pattern.size() < length; ++i) {
        if (std::memcmp(data + i, pattern.data(), pattern.size()) == 0) {
            return data + i;
        }
    }
    return nullptr;
}

// The search command: reset, then locate again for each Find Next; true when a match is current.
bool SearchAsTheCommandDoes(tavlo::FirmwareImage& image, const std::string& searchText,
                            int findNextSteps) {
    const std::uint8_t* base = image.Data();
    const std::size_t length = image.Length();
    image.ResetSearch();
    bool found = false;
    for (int step = 0; step <= findNextSteps; ++step) {
        const std::int64_t previous = image.MatchOffset();
        const auto from = static_cast<std::size_t>(previous + 1);
        const std::uint8_t* expected = ExpectedStringMatch(base + from, length - from, searchText);
        const bool located = image.LocateMessage(searchText);
        FUZZ_CHECK(located == (expected != nullptr));
        if (!located) {
            FUZZ_CHECK(image.MatchOffset() == previous);
            break;
        }
        found = true;
        FUZZ_CHECK(image.MatchOffset() == expected - base);
        FUZZ_CHECK(image.MatchOffset() > previous);
    }
    return found;
}

// The replacement at the current match, against the image's bytes `before` it.
void CheckReplacement(tavlo::FirmwareImage& image, const std::vector<std::uint8_t>& before,
                      const std::string& newText) {
    const std::uint8_t* base = image.Data();
    const std::size_t length = image.Length();
    // The message runs from the match up to the next zero byte, never past the image.
    const auto offset = static_cast<std::size_t>(image.MatchOffset());
    FUZZ_CHECK(offset < length);
    const void* zero = std::memchr(base + offset, 0, length - offset);
    const std::size_t expectedLength =
        zero == nullptr
            ? length - offset
            : static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - (base + offset));
    const std::size_t messageLength = image.MessageLength();
    FUZZ_CHECK(messageLength == expectedLength);
    FUZZ_CHECK(offset + messageLength <= length);

    // Exactly L bytes change: the new text padded with spaces or cut, taken byte for byte (zero
    // bytes included).
    image.ReplaceMessage(newText);
    FUZZ_CHECK(image.Length() == length && image.Data() == base);
    std::string written = newText.substr(0, messageLength);
    written.resize(messageLength, ' ');
    FUZZ_CHECK(tavlo::FitToLength(newText, messageLength) == written);
    FUZZ_CHECK(std::memcmp(base, before.data(), offset) == 0);
    FUZZ_CHECK(std::memcmp(base + offset, written.data(), messageLength) == 0);
    FUZZ_CHECK(std::memcmp(base + offset + messageLength, before.data() + offset + messageLength,
                           length + 1 - offset - messageLength) == 0);
    FUZZ_CHECK(image.IsModified());
    FUZZ_CHECK(image.MatchOffset() == static_cast<std::int64_t>(offset));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InputFile input;
    FuzzedDataProvider provider(data, size);
    const std::string searchText = provider.ConsumeRandomLengthString(40);
    const std::string newText = provider.ConsumeRandomLengthString(80);
    const int findNextSteps = provider.ConsumeIntegralInRange(0, 8);
    const std::vector<std::uint8_t> bytes = provider.ConsumeRemainingBytes<std::uint8_t>();

    tavlo::FirmwareImage image;
    FUZZ_CHECK(image.Load(input.Write(bytes.data(), bytes.size())));
    const std::size_t length = bytes.size();
    FUZZ_CHECK(image.Length() == length);
    FUZZ_CHECK(image.Data() != nullptr);
    FUZZ_CHECK(length == 0 || std::memcmp(image.Data(), bytes.data(), length) == 0);
    FUZZ_CHECK(image.Data()[length] == 0);
    FUZZ_CHECK(image.MatchOffset() == -1 && !image.IsModified());
    const std::uint8_t* base = image.Data();

    FUZZ_CHECK(image.FindBytes(reinterpret_cast<const std::uint8_t*>(searchText.data()),
                               static_cast<int>(searchText.size())) ==
               ExpectedByteMatch(base, length, searchText));

    const bool found = SearchAsTheCommandDoes(image, searchText, findNextSteps);

    const std::vector<std::uint8_t> before(base, base + length + 1);
    if (!found) {
        // Without a match nothing is written.
        image.ReplaceMessage(newText);
        FUZZ_CHECK(image.Length() == length && image.Data() == base);
        FUZZ_CHECK(std::memcmp(base, before.data(), length + 1) == 0);
        FUZZ_CHECK(!image.IsModified());
        return 0;
    }

    CheckReplacement(image, before, newText);
    return 0;
}
