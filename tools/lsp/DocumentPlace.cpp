#include "tools/lsp/DocumentPlace.h"

#include <cctype>
#include <cstdio>

#include "core/GamePaths.h"

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string PercentDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
        int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
        if (text[i] == '%' && high >= 0 && low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool Unreserved(unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string PathFromUri(const std::string& uri) {
    const std::string scheme = "file://";
    if (uri.compare(0, scheme.size(), scheme) != 0) return "";
    std::string rest = uri.substr(scheme.size());
    size_t slash = rest.find('/');
    if (slash == std::string::npos) return "";
    return PercentDecode(rest.substr(slash));  // the host (if any) is this machine
}

std::string UriFromPath(const std::string& path) {
    std::string uri = "file://";
    for (unsigned char c : path) {
        if (Unreserved(c)) {
            uri += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri;
}

DocumentPlace PlaceOf(const std::string& uri) {
    DocumentPlace place;
    place.path = PathFromUri(uri);
    const std::string script = std::string("/") + paths::kScript;
    if (EndsWith(place.path, script))
        place.gameFolder = place.path.substr(0, place.path.size() - script.size() + 1);
    if (place.gameFolder.empty() && place.path == paths::kScript) place.gameFolder = ".";
    return place;
}
