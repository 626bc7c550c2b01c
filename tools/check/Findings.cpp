#include "tools/check/Findings.h"

#include <algorithm>
#include <cctype>

std::string FormatFinding(const Finding& finding) {
    std::string place = finding.path;
    if (finding.line > 0) place += ":" + std::to_string(finding.line);
    const char* severity = finding.severity == Finding::Error ? "error" : "warning";
    return place + ": " + severity + ": " + finding.message;
}

namespace {

std::string Count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Some game messages end with a line feed (the font's); a finding is one line.
std::string OneLine(std::string message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    std::replace(message.begin(), message.end(), '\n', ' ');
    return message;
}

}  // namespace

std::string Summary(const std::vector<Finding>& findings) {
    size_t errors = std::count_if(findings.begin(), findings.end(),
                                  [](const Finding& f) { return f.severity == Finding::Error; });
    return Count(errors, "error", "errors") + ", " +
           Count(findings.size() - errors, "warning", "warnings");
}

std::string WithoutPlace(const std::string& message, const std::string& path) {
    std::string ending = " in " + path + " at line ";
    size_t at = message.rfind(ending);
    if (at == std::string::npos) return message;
    size_t digits = at + ending.size();
    if (digits == message.size()) return message;
    for (size_t i = digits; i < message.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(message[i]))) return message;
    }
    return message.substr(0, at);
}

void Findings::AtLine(int line, Finding::Severity severity, const std::string& message) {
    all.push_back({script, line, severity, OneLine(message)});
}

void Findings::GameError(int line, const std::string& message) {
    AtLine(line, Finding::Error, WithoutPlace(message, script));
}

void Findings::AboutFile(const std::string& path, const std::string& message) {
    all.push_back({path, 0, Finding::Error, OneLine(message)});
}

std::vector<Finding> Findings::Sorted() const {
    std::vector<Finding> sorted = all;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& a, const Finding& b) {
        return a.line < b.line;  // whole files (line 0) first
    });
    return sorted;
}
