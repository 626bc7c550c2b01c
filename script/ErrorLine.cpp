#include "script/ErrorLine.h"

namespace {

bool AllDigits(const std::string& text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

std::string FindingLine(const std::string& path, int line, const char* severity,
                        const std::string& text) {
    std::string place = line > 0 ? path + ":" + std::to_string(line) : path;
    return place + ": " + severity + ": " + text;
}

bool SplitPlace(const std::string& message, MessagePlace& place) {
    const std::string atLine = " at line ", in = " in ";
    size_t at = message.rfind(atLine);
    if (at == std::string::npos || !AllDigits(message.substr(at + atLine.size()))) return false;
    size_t pathStart = message.rfind(in, at);
    if (pathStart == std::string::npos || pathStart + in.size() >= at) return false;
    place.text = message.substr(0, pathStart);
    place.path = message.substr(pathStart + in.size(), at - pathStart - in.size());
    place.line = std::stoi(message.substr(at + atLine.size()));
    return true;
}

std::string ErrorLine(const std::string& message, const std::string& where, int line) {
    std::string trimmed = message;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r'))
        trimmed.pop_back();
    MessagePlace place;
    if (SplitPlace(trimmed, place)) return FindingLine(place.path, place.line, "error", place.text);
    return FindingLine(where, line, "error", trimmed);
}
