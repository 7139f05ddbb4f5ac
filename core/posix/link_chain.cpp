#include "core/posix/link_chain.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "core/posix/posix_io.h"

namespace tavlo {

namespace {

// As many links as the kernel itself follows in one path lookup.
constexpr int kMaxLinks = 40;

int ReadLinkText(const std::string& link, std::string& text) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t size = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (size < 0) {
            return errno;
        }
        if (static_cast<std::size_t>(size) < buffer.size()) {
            text.assign(buffer.data(), static_cast<std::size_t>(size));
            return 0;
        }
        buffer.resize(buffer.size() * 2);  // the text may have been cut; try with more room
    }
}

}  // namespace

int ResolveLinkChain(const std::string& path, std::string& target) {
    std::string current = path;
    for (int hops = 0; hops <= kMaxLinks; ++hops) {
        struct stat info;
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                target = current;
                return 0;
            }
            return errno;
        }
        if (!S_ISLNK(info.st_mode)) {
            target = current;
            return 0;
        }
        std::string linkText;
        if (const int error = ReadLinkText(current, linkText); error != 0) {
            return error;
        }
        if (linkText.starts_with('/') || current.find('/') == std::string::npos) {
            current = linkText;
        } else {
            std::string folder = FolderOf(current);
            current = folder.ends_with('/') ? folder + linkText : folder + "/" + linkText;
        }
    }
    return ELOOP;
}

}  // namespace tavlo
