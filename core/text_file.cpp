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
    // One byte more than the file says it holds shows whether it grew; a file that grew, and
    // one that states no size (those under /proc), is read on up to the limit.
    std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
    std::size_t got = 0;
    while (true) {
        const std::int64_t n = ReadUpTo(
            fd.Get(), reinterpret_cast<std::uint8_t*>(bytes.data()) + got, bytes.size() - got);
        if (n < 0) {
            return Refused(ErrorText(errno));
        }
        got += static_cast<std::size_t>(n);
        if (got < bytes.size()) {
            break;
        }
        if (got > kMaxTextFileSize) {
            return Refused(TooLarge());
        }
        bytes.resize(kMaxTextFileSize + 1);
    }
    bytes.resize(got);
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
