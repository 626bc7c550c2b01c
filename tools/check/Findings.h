#pragma once

#include <string>
#include <vector>

// What the checker found, one line each in the form compilers and editors
// use: "data/scenario/main.txt:12: error: Undefined label harbour", or for a
// file as a whole "data/menubg.png: error: ...". Paths are relative to the
// game's folder.
struct Finding {
    enum Severity { Error, Warning };

    std::string path;
    int line;  // the game's own line count; 0 for a finding about a whole file
    Severity severity;
    std::string message;
};

std::string FormatFinding(const Finding& finding);

// The closing line: "3 errors, 1 warning".
std::string Summary(const std::vector<Finding>& findings);

// The findings of one check, collected in the order they are made.
class Findings {
public:
    explicit Findings(std::string script) : script(std::move(script)) {}

    void AtLine(int line, Finding::Severity severity, const std::string& message);
    // A game message raised at a script line, placed there without its ending.
    void GameError(int line, const std::string& message);
    void AboutFile(const std::string& path, const std::string& message);

    // Files first, then the script by line; findings of one line keep their order.
    std::vector<Finding> Sorted() const;
    const std::string& Script() const { return script; }

private:
    std::string script;
    std::vector<Finding> all;
};
