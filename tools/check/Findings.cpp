#include "tools/check/Findings.h"

#include <algorithm>

#include "script/ErrorLine.h"

std::string FormatFinding(const Finding& finding) {
    return FindingLine(finding.path, finding.line,
                       finding.severity == Finding::Error ? "error" : "warning", finding.message);
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

void Findings::AtLine(int line, Finding::Severity severity, const std::string& message) {
    all.push_back({script, line, severity, OneLine(message)});
}

// The game's message loses its " in PATH at line N", which the finding
// carries in front instead.
void Findings::GameError(int line, const std::string& message) {
    MessagePlace place;
    AtLine(line, Finding::Error, SplitPlace(message, place) ? place.text : message);
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
