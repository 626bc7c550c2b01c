#include "tools/lsp/FileUri.h"

#include <cctype>
#include <cstdio>

namespace file_uri {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

bool Unreserved(unsigned char c) {
    return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

bool Split(const std::string& uri, std::string& host, std::string& path) {
    const std::string scheme = "file://";
    if (uri.compare(0, scheme.size(), scheme) != 0) return false;
    size_t slash = uri.find('/', scheme.size());
    if (slash == std::string::npos) return false;
    host = uri.substr(scheme.size(), slash - scheme.size());
    path = uri.substr(slash);
    return true;
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

std::string PercentEncode(const std::string& path) {
    std::string out;
    for (unsigned char c : path) {
        if (Unreserved(c)) {
            out += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        }
    }
    return out;
}

}  // namespace file_uri
