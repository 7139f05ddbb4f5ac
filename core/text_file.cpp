#include "core/text_file.h"

#include <utility>

#include "core/disk_file.h"

namespace tavlo {

namespace {

const std::string& TooLarge() {
    static const std::string text =
        "Larger than " + std::to_string(kMaxTextFileSize >> 20) + " MiB";
    return text;
}

}  // namespace

TextFile ReadTextFile(const std::string& path) {
    SmallFile small = ReadSmallFile(path, kMaxTextFileSize);
    TextFile file;
    switch (small.result) {
        case SmallFile::Result::NotOpened:
            file.status.errorNumber = small.errorNumber;
            file.status.problem = std::move(small.problem);
            return file;
        case SmallFile::Result::Refused:
        case SmallFile::Result::TooLarge:
            file.status.outcome = TextFileStatus::Outcome::Refused;
            file.status.problem =
                small.result == SmallFile::Result::TooLarge ? TooLarge() : std::move(small.problem);
            return file;
        case SmallFile::Result::Read:
            break;
    }
    DecodedText decoded = DecodeTextFile(small.bytes);
    file.status.outcome = TextFileStatus::Outcome::Read;
    file.status.encoding = decoded.encoding;
    file.status.replaced = decoded.replaced;
    file.status.firstReplaced = decoded.firstReplaced;
    file.text = std::move(decoded.text);
    file.utf8 = std::move(decoded.utf8);
    return file;
}

}  // namespace tavlo
