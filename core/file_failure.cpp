#include "core/file_failure.h"

#include "core/windows1252.h"

namespace tavlo {

FileFailure FileFailure::Of(const char* what, const std::string& path, const std::string& cause) {
    FileFailure failure;
    failure.message = std::string(what) + " " + Quoted(path) + ": " + cause;
    return failure;
}

std::string Quoted(const std::string& path) {
    return "'" + PathForMessage(path) + "'";
}

}  // namespace tavlo
