#include "script/ErrorLine.h"

namespace {

bool AllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// Splits "TEXT in PATH at line N" into its parts; false for any other message.
bool SplitPlace(const std::string& message, std::string& text, std::string& place) {
    const std::string atLine = " at line ", in = " in ";
    size_t at = message.rfind(atLine);
    if (at == std::string::npos || !AllDigits(message.substr(at + atLine.size()))) return false;
    size_t pathStart = message.rfind(in, at);
    if (pathStart == std::string::npos || pathStart + in.size() >= at) return false;
    text = message.substr(0, pathStart);
    place = message.substr(pathStart + in.size(), at - pathStart - in.size()) + ":" +
            message.substr(at + atLine.size());
    return true;
}

}  // namespace

std::string ErrorLine(const std::string& message, const std::string& where, int line) {
    std::string trimmed = message;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r'))
        trimmed.pop_back();
    std::string text, place;
    if (!SplitPlace(trimmed, text, place)) {
        text = trimmed;
        place = line > 0 ? where + ":" + std::to_string(line) : where;
    }
    return place + ": error: " + text;
}
