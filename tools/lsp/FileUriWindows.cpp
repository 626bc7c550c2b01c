#include <algorithm>
#include <cctype>

#include "tools/lsp/FileUri.h"

namespace {

// "/c:" or "/c:/...": the URI's form of a drive's path.
bool DriveAfterSlash(const std::string& path) {
    return path.size() >= 3 && path[0] == '/' &&
           std::isalpha(static_cast<unsigned char>(path[1])) && path[2] == ':' &&
           (path.size() == 3 || path[3] == '/');
}

bool StartsWithDrive(const std::string& path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

}  // namespace

// file:///c:/x is c:/x; file://server/share/x is the share's //server/share/x.
// A path with no drive (file:///tmp/x) stays rooted on the current drive,
// where Wine, whose Z: is the Unix root, finds the Unix path.
std::string PathFromUri(const std::string& uri) {
    std::string host, escaped;
    if (!file_uri::Split(uri, host, escaped)) return "";
    std::string path = file_uri::PercentDecode(escaped);
    if (!host.empty() && host != "localhost") return "//" + host + path;
    return DriveAfterSlash(path) ? path.substr(1) : path;
}

std::string UriFromPath(const std::string& path) {
    std::string generic = path;
    std::replace(generic.begin(), generic.end(), '\\', '/');
    if (generic.compare(0, 2, "//") == 0) return "file:" + file_uri::PercentEncode(generic);
    std::string slash = StartsWithDrive(generic) ? "/" : "";
    return "file://" + slash + file_uri::PercentEncode(generic);
}
