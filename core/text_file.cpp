#include "core/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <utility>

#include "core/posix_io.h"

namespace tavlo {

namespace {

TextFile Refused(std::string problem) {
    TextFile file;
    file.status.outcome = TextFileStatus::Outcome::Refused;
    file.status.problem = std::move(problem);
    return file;
}

const std::string& TooLarge() {
    static const std::string text =
        "Larger than " + std::to_string(kMaxTextFileSize >> 20) + " MiB";
    return text;
}

}  // namespace

TextFile ReadTextFile(const std::string& path) {
    // O_NONBLOCK: opening a pipe without a writer must not wait for one.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsOpen()) {
        TextFile file;
        file.status.errorNumber = errno;
        file.status.problem = ErrorText(errno);
        return file;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        return Refused(ErrorText(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return Refused(ErrorText(EISDIR));
    }
    if (!S_ISREG(info.st_mode)) {
        return Refused("Not a regular file");
    }
    if (static_cast<std::uint64_t>(info.st_size) > kMaxTextFileSize) {
        return Refused(TooLarge());
    }
    // The size is checked again while reading: a file can grow, and files under /proc say 0.
    std::string bytes(kMaxTextFileSize + 1, '\0');
    const std::int64_t got =
        ReadUpTo(fd.Get(), reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size());
    if (got < 0) {
        return Refused(ErrorText(errno));
    }
    if (static_cast<std::uint64_t>(got) > kMaxTextFileSize) {
        return Refused(TooLarge());
    }
    bytes.resize(static_cast<std::size_t>(got));
    DecodedText decoded = DecodeTextFile(bytes);
    TextFile file;
    file.status.outcome = TextFileStatus::Outcome::Read;
    file.status.fromUtf8 = decoded.fromUtf8;
    file.status.replaced = decoded.replaced;
    file.status.firstReplaced = decoded.firstReplaced;
    file.text = std::move(decoded.text);
    return file;
}

}  // namespace tavlo
