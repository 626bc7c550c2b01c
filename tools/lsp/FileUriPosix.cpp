#include "tools/lsp/FileUri.h"

// The host, if any, is this machine: the path is the URI's path.
std::string PathFromUri(const std::string& uri) {
    std::string host, path;
    if (!file_uri::Split(uri, host, path)) return "";
    return file_uri::PercentDecode(path);
}

std::string UriFromPath(const std::string& path) {
    return "file://" + file_uri::PercentEncode(path);
}
