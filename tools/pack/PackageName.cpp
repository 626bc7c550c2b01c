#include "tools/pack/PackageName.h"

#include <strings.h>
#include <algorithm>
#include <array>
#include <cctype>

namespace {

bool Kept(unsigned char c) {
    return std::isalnum(c) || c == '.' || c == '_' || c == '-';
}

}  // namespace

std::string SafePackageName(const std::string& wanted) {
    std::string safe;
    for (unsigned char c : wanted) {
        if (Kept(c) && c < 0x80)
            safe += static_cast<char>(c);
        else if (safe.empty() || safe.back() != '-')
            safe += '-';
    }
    size_t start = safe.find_first_not_of(".-");
    safe = start == std::string::npos ? "" : safe.substr(start);
    while (!safe.empty() && (safe.back() == '.' || safe.back() == '-'))
        safe.pop_back();
    return safe.empty() ? "game" : safe;
}

bool ClashesWithPackage(const std::string& name) {
    // Windows compares file names without case, so the check does too.
    static const std::array<const char*, 4> kOwn = {"data", "lib", "licenses", "velmora.settings"};
    return std::any_of(kOwn.begin(), kOwn.end(),
                       [&](const char* own) { return strcasecmp(own, name.c_str()) == 0; });
}
