#pragma once

#include <string>

namespace tavlo {

// The path of the file that `path` finally names: symbolic links are followed one by one, a
// relative link target counting from the folder of the link that holds it. When the chain ends
// at a name that does not exist (a new file, a dangling link), that name is the result, so the
// file is created where the links point. Returns 0, or the errno that stopped the walk (ELOOP for
// a chain of more than 40 links).
int ResolveLinkChain(const std::string& path, std::string& target);

}  // namespace tavlo
